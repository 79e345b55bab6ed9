#include "game/board/computer_match.h"

#include "framework/shell/game.h"
#include "framework/util/input.h"
#include "game/board/board_globals.h"
#include "game/board/program_data.h"
#include "game/board/strategy.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

constexpr int TICK_MS = 5;

// A key pressed and let go, as the event pump records it: the open dialog takes the hit.
void PressKey(int code) {
    ccInputKeyDown(code);
    ccInputKeyUp(code);
}

} // namespace

void LoadBoardData() {
    images = std::make_shared<TImageBank>();
    images->SetPath(Game->ImagePath);
    sounds = std::make_shared<TSoundBank>();
    sounds->SetPath(Game->SoundPath);
    LoadSounds();
    LoadImages();
    PlayerColor = {TColor::Create(240, 240, 240, 1.0f), TColor::Create(0, 0, 255, 1.0f),
                   TColor::Create(0, 255, 0, 1.0f), TColor::Create(255, 229, 153, 1.0f)};
}

TComputerMatch::TComputerMatch(TGameScreen& screen, int seed) : screen_(screen) {
    screen_.EventHook = [this](const TBoardEvent& event) {
        Log.Record(event);
        if (event.Kind == TBoardEvent::TKind::Win)
            ++Wins;
        if (OnEvent)
            OnEvent(event);
    };
    ComputerPlayer = {0, 1, 1};
    PlayerName = {"", "Computer 1", "Computer 2"};
    ComputerPlayerStrategy = STRATEGY_DRAWN;
    networkGame = 0;
    RandomSquares = 0;
    platform::SeedRnd(seed);
    screen_.Load();
}

TComputerMatch::~TComputerMatch() {
    screen_.EventHook = nullptr;
}

bool TComputerMatch::Play(int games, const std::function<void(int)>& advanceClock, bool skipWaits,
                          int tickLimit) {
    bool answeredOK = false;
    bool answeredYesNo = false;
    for (int tick = 0; tick < tickLimit; ++tick) {
        // Straight to the end of the computer's wait when nothing else is pending.
        int step = TICK_MS;
        const TComputerTurn& computer = screen_.Computer;
        if (skipWaits && !screen_.OKDialog && !screen_.YesNoDialog &&
            (computer.ComputerWaiting == 1 || computer.ComputerWaiting == 3)) {
            const int wait = platform::MilliSecsDiff(computer.WaitUntil, platform::MilliSecs());
            if (wait > step)
                step = wait;
        }
        advanceClock(step);
        Before = screen_.Rules;
        screen_.Logic();
        ++Ticks;
        if (AfterTick)
            AfterTick();
        // Each dialog is answered once, by its key; it closes on a later tick.
        if (!screen_.OKDialog) {
            answeredOK = false;
        } else if (!answeredOK) {
            answeredOK = true;
            PressKey(platform::KEY_ESCAPE);
        }
        if (!screen_.YesNoDialog) {
            answeredYesNo = false;
        } else if (!answeredYesNo) {
            if (Wins >= games)
                return true;
            answeredYesNo = true;
            PressKey(platform::KEY_A + ('Y' - 'A'));
        }
    }
    return false;
}
