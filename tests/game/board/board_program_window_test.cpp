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

// A click at a place, one frame for the move with the press and one for the release, made again
// while its effect has not come some frames later: other windows on the same display move the
// shared pointer, which the drawn pointer follows between frames.
class TClicker {
public:
    // Aims at (x, y) until `taken` says the click had its effect.
    void Aim(int toX, int toY, std::function<bool()> taken) {
        x = toX;
        y = toY;
        taken_ = std::move(taken);
        step_ = 1;
        tries_ = 0;
    }
    // One frame; true while the aim is not yet reached.
    bool Busy() {
        if (!taken_)
            return false;
        if (taken_()) {
            taken_ = nullptr;
            return false;
        }
        if (step_ == 1 || step_ == 2) {
            platform::MoveMouse(x, y);
            platform::InjectMouseMove(x, y);
            platform::InjectMouseButton(1, step_ == 1);
        }
        // Twenty frames for the effect, then the click again.
        if (++step_ > 20) {
            step_ = 1;
            ++tries_;
        }
        return true;
    }
    int Tries() const { return tries_; }

private:
    int x = 0, y = 0;
    std::function<bool()> taken_;
    int step_ = 0;
    int tries_ = 0;
};

TEST(BoardInTheProgram, FromTheTitleToAWinAndBack) {
    ShellDriver driver;
    auto board = [] { return std::static_pointer_cast<TGameScreen>(GameScreen); };
    auto shown = [](const std::shared_ptr<TScreen>& screen) {
        return Game->CurrentTScreen == screen && !Game->Fading();
    };
    enum class TStage { Title, Board, Throw, Move, Won, Back } stage = TStage::Title;
    TClicker clicker;
    std::string caption, winsLine;
    int frame = 0;
    platform::SetFlipHook([&] {
        if (++frame == 1)
            Game->FastOn();
        driver.Advance(5);
        if (frame > 5000 || clicker.Tries() > 10)
            platform::InjectKey(platform::KEY_ESCAPE, true);
        if (clicker.Busy())
            return;
        switch (stage) {
        case TStage::Title:
            if (shown(TitleScreen)) {
                const auto button = TitleScreen->Menu->FindButton("oneplayer");
                clicker.Aim(static_cast<int>(button->x) + button->w / 2,
                            static_cast<int>(button->y) + button->h / 2,
                            [&] { return Game->CurrentTScreen != TitleScreen; });
                stage = TStage::Board;
            }
            break;
        case TStage::Board:
            if (shown(GameScreen)) {
                // Player 1 has borne off four pawns; the last stands on square 29.
                board_test::PlaceBoard(*board(), {29}, {1, 3, 5, 7, 9}, 1, 0);
                board()->Rules.BearedOff = {0, 4, 0};
                clicker.Aim(402, 549, [&] { return board()->Rules.Movement != 0; });
                stage = TStage::Throw;
            }
            break;
        case TStage::Throw:
            clicker.Aim(SquareX(29), SquareY(29), [&] { return board()->YesNoDialog != nullptr; });
            stage = TStage::Move;
            break;
        case TStage::Move:
            if (!board()->YesNoDialog->Transitioning) {
                caption = board()->YesNoDialog->Caption->Text;
                winsLine = board()->StatBox->Message[2]->Text;
                platform::InjectKey('N', true);
                stage = TStage::Won;
            }
            break;
        case TStage::Won:
            platform::InjectKey('N', false);
            if (shown(TitleScreen)) {
                stage = TStage::Back;
                platform::InjectKey(platform::KEY_ESCAPE, true);
            }
            break;
        case TStage::Back:
            break;
        }
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
