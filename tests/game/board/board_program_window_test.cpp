// The board screen inside the whole program: from the title menu's one-player button to the
// board, a game brought to its last move and won with the throw button and a pawn clicked, the
// statistics and the offer of another game, and "No" back to the title screen.

#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "game/app/program.h"
#include "game/board/game_screen.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/game/board/board_screen_fixture.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::ProcessEnded;
using testing_support::ShellDriver;

// The pointer to (x, y) and a click there, spread over the frames the script is called at.
struct TClicker {
    int x = 0, y = 0;
    int step = 0; // 0 idle; 1 moved; 2 pressed; 3 released
    void Start(int toX, int toY) {
        x = toX;
        y = toY;
        step = 1;
        platform::MoveMouse(x, y);
        platform::InjectMouseMove(x, y);
    }
    // One frame of the click; true once it is over.
    bool Frame() {
        if (step == 1 || step == 2)
            platform::InjectMouseButton(1, step == 1);
        if (step > 0 && ++step == 4)
            step = 0;
        return step == 0;
    }
};

TEST(BoardInTheProgram, FromTheTitleToAWinAndBack) {
    ShellDriver driver;
    auto board = [] { return std::static_pointer_cast<TGameScreen>(GameScreen); };
    enum class TStage { Title, Board, Throw, Move, Won, Back } stage = TStage::Title;
    TClicker clicker;
    int waitUntil = 60;
    std::string caption, winsLine;
    int frame = 0;
    platform::SetFlipHook([&] {
        if (++frame == 1)
            Game->FastOn();
        driver.Advance(5);
        if (frame < waitUntil || !clicker.Frame())
            return;
        switch (stage) {
        case TStage::Title:
            if (Game->CurrentTScreen == TitleScreen && !Game->Fading()) {
                const auto button = TitleScreen->Menu->FindButton("oneplayer");
                clicker.Start(static_cast<int>(button->x) + button->w / 2,
                              static_cast<int>(button->y) + button->h / 2);
                stage = TStage::Board;
            }
            break;
        case TStage::Board:
            if (Game->CurrentTScreen == GameScreen && !Game->Fading()) {
                // Player 1 has borne off four pawns; the last stands on square 29.
                board_test::PlaceBoard(*board(), {29}, {1, 3, 5, 7, 9}, 1, 0);
                board()->Rules.BearedOff = {0, 4, 0};
                clicker.Start(402, 549);
                stage = TStage::Throw;
            }
            break;
        case TStage::Throw:
            clicker.Start(SquareX(29), SquareY(29));
            stage = TStage::Move;
            break;
        case TStage::Move:
            if (board()->YesNoDialog && !board()->YesNoDialog->Transitioning) {
                caption = board()->YesNoDialog->Caption->Text;
                winsLine = board()->StatBox->Message[2]->Text;
                platform::InjectKey('N', true);
                stage = TStage::Won;
            }
            break;
        case TStage::Won:
            platform::InjectKey('N', false);
            if (Game->CurrentTScreen == TitleScreen && !Game->Fading()) {
                stage = TStage::Back;
                platform::InjectKey(platform::KEY_ESCAPE, true);
            }
            break;
        case TStage::Back:
            break;
        }
        if (frame > 3000)
            platform::InjectKey(platform::KEY_ESCAPE, true);
    });
    int status = -1;
    try {
        RunProgram();
    } catch (const ProcessEnded& end) {
        status = end.status;
    }
    platform::SetFlipHook(nullptr);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(stage, TStage::Back);
    EXPECT_EQ(caption, PlayerName[1] + " wins!  Do you want to play again?");
    EXPECT_EQ(winsLine, PlayerName[1] + " - 1");
    GameScreen = nullptr;
    TitleScreen = nullptr;
    OptionsScreen = nullptr;
    CreditsScreen = nullptr;
    InstructionsScreen = nullptr;
}

} // namespace
