// The board screen inside the whole program: from the title menu's one-player button to the
// board, a game brought to its last move and won with the throw button and a pawn clicked, the
// statistics and the offer of another game, and "No" back to the title screen.

#include "framework/shell/game.h"
#include "game/board/board_globals.h"
#include "game/board/game_screen.h"
#include "game/board/program_data.h"
#include "platform/input.h"
#include "tests/game/board/board_screen_fixture.h"
#include "tests/support/program_script.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ProgramScript;
using testing_support::ShellDriver;

TEST(BoardInTheProgram, FromTheTitleToAWinAndBack) {
    ShellDriver driver;
    auto board = [] { return std::static_pointer_cast<TGameScreen>(GameScreen); };
    std::string caption, winsLine;
    ProgramScript script;
    script.Click("oneplayer")
        .Await("board", &GameScreen)
        .Check("the last move ahead",
               [&] {
                   // Player 1 has borne off four pawns; the last stands on square 29.
                   board_test::PlaceBoard(*board(), {29}, {1, 3, 5, 7, 9}, 1, 0);
                   board()->Rules.BearedOff = {0, 4, 0};
               })
        .ClickAt("the throw button", 402, 549, [&] { return board()->Rules.Movement != 0; })
        .ClickAt("the pawn on 29", SquareX(29), SquareY(29),
                 [&] { return board()->YesNoDialog != nullptr; })
        .Then(
            "the offer of another game", [&] { return !board()->YesNoDialog->Transitioning; },
            [&] {
                caption = board()->YesNoDialog->Caption->Text;
                winsLine = board()->StatBox->Message[2]->Text;
            })
        .Key('N')
        .Await("back on the title", &TitleScreen)
        .Key(platform::KEY_ESCAPE);
    EXPECT_TRUE(testing_support::RunsToTheEnd(driver, script));
    EXPECT_EQ(caption, PlayerName[1] + " wins!  Do you want to play again?");
    EXPECT_EQ(winsLine, PlayerName[1] + " - 1");
    GameScreen = nullptr;
    TitleScreen = nullptr;
    OptionsScreen = nullptr;
    CreditsScreen = nullptr;
    InstructionsScreen = nullptr;
}

} // namespace
