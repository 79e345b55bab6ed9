// The board screen's logic tick: the human's throw and move by pointer and click, the computer's
// timed turn, and the explanation of the special squares, headless on a fake clock.

#include "tests/game/board/board_screen_fixture.h"

#include "game/board/strategy.h"
#include "platform/input.h"

#include <gtest/gtest.h>

namespace {

using board_test::BoardScreenTest;

class TurnTest : public BoardScreenTest {
protected:
    // The pointer at (x, y) as the event pump leaves it; `presses` button presses pending.
    void Pointer(int x, int y, int presses = 0) {
        Game->Mouse->x = x;
        Game->Mouse->y = y;
        Game->Mouse->h1 = presses;
        Game->Mouse->CalcButtonTotals();
    }
    void PointAt(int square, int presses = 0) {
        Pointer(SquareX(square), SquareY(square), presses);
    }
};

TEST_F(TurnTest, ThrowButtonThrowsOnceThroughTheShell) {
    // Click the button through the shell's own loop, as a player does.
    platform::InjectMouseMove(402, 549);
    driver.Ticks(2);
    platform::InjectMouseButton(1, true);
    driver.Ticks(1);
    platform::InjectMouseButton(1, false);
    driver.Ticks(1);
    const int thrown = screen->Rules.Movement;
    EXPECT_TRUE(thrown >= 1 && thrown <= MAX_THROW) << thrown;
    EXPECT_EQ(screen->Die->visible, 1);
    EXPECT_EQ(screen->Die->ImageFrame, thrown - 1);
    EXPECT_EQ(screen->Menu->AcceptInput, 0);
    ASSERT_NE(screen->SoundRoll, nullptr);
    // A second click on the button does not throw again.
    platform::InjectMouseButton(1, true);
    driver.Ticks(1);
    platform::InjectMouseButton(1, false);
    driver.Ticks(1);
    EXPECT_EQ(screen->Rules.Movement, thrown);
}

TEST_F(TurnTest, HoverShowsTheDestinationAndAClickMoves) {
    SetBoard({3, 5, 29}, {12, 13}, 1, 4);
    // Hovering a pawn that may step: the destination sign on square 7, no move without a click.
    PointAt(3);
    Logic();
    EXPECT_EQ(screen->Highlight->visible, 1);
    EXPECT_EQ(screen->Highlight->x, static_cast<float>(SquareX(7)));
    EXPECT_EQ(screen->Highlight->y, static_cast<float>(SquareY(7)));
    EXPECT_EQ(screen->Rules.Pawn[3], 1);
    // A pawn whose move the rule forbids (a blockade of two plus the target's protection) gets
    // no sign.
    SetBoard({10, 2}, {11, 12, 13}, 1, 3);
    PointAt(10);
    Logic();
    EXPECT_EQ(screen->Highlight->visible, 0);
    // Two presses at once are not a move.
    SetBoard({3, 5, 29}, {12, 13}, 1, 4);
    PointAt(3, 2);
    Logic();
    EXPECT_EQ(screen->Rules.Pawn[3], 1);
    // One press moves, and the turn passes.
    PointAt(3, 1);
    Logic();
    EXPECT_EQ(screen->Rules.Pawn[3], 0);
    EXPECT_EQ(screen->Rules.Pawn[7], 1);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 2);
    EXPECT_EQ(screen->Highlight->visible, 0);
    EXPECT_EQ(screen->Die->visible, 0);
    EXPECT_EQ(screen->HighlightParticles.Count(), 42);
    ExpectConsistent();
}

TEST_F(TurnTest, BearingOffShowsItsSignWhileHovered) {
    SetBoard({29, 5}, {12}, 1, 4);
    PointAt(29);
    Logic(3);
    EXPECT_EQ(screen->Highlight->visible, 0);
    EXPECT_GE(screen->HighlightParticles.Count(), 1);
    screen->HighlightParticles.Clear();
    PointAt(29, 1);
    Logic();
    EXPECT_EQ(screen->Rules.BearedOff[1], 1);
    EXPECT_EQ(screen->Pawns.size(), 2u);
    EXPECT_EQ(screen->HighlightParticles.Count(), 2);
    ExpectConsistent();
}

TEST_F(TurnTest, OnlyTheCurrentPlayersPawnsAnswerThePointer) {
    SetBoard({3}, {6}, 1, 2);
    PointAt(6, 1);
    Logic();
    EXPECT_EQ(screen->Rules.Pawn[6], 2);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
    EXPECT_EQ(screen->Highlight->visible, 0);
}

TEST_F(TurnTest, TurnLinesOfTwoPeopleWhenAsked) {
    ComputerPlayer = {0, 0, 0};
    screen->TextIndicator = 1;
    SetBoard({3}, {12}, 1, 1);
    PointAt(3, 1);
    Logic();
    ASSERT_NE(screen->MessageBox->Message[0], nullptr);
    EXPECT_EQ(screen->MessageBox->Message[0]->Text, "Computer's turn!");
    EXPECT_EQ(screen->MessageBox->Message[0]->Color, PlayerColor[3]);
}

TEST_F(TurnTest, ComputerTurnTimeline) {
    ComputerPlayer = {0, 1, 0};
    ComputerPlayerStrategy = STRATEGY_PLODDER;
    // Before its throw the computer's turn ignores the throw button.
    Pointer(402, 549);
    const int start = platform::MilliSecs();
    int thrownAt = -1, highlightAt = -1, movedAt = -1;
    for (int i = 0; i < 1000 && movedAt < 0; ++i) {
        Logic();
        const int t = platform::MilliSecsDiff(platform::MilliSecs(), start);
        if (thrownAt < 0 && screen->Die->visible)
            thrownAt = t;
        if (highlightAt < 0 && screen->Highlight->visible)
            highlightAt = t;
        if (screen->Rules.CurrentPlayer == 2)
            movedAt = t;
    }
    // The first tick (at 5 ms) begins the turn.
    EXPECT_EQ(thrownAt, 1005);
    EXPECT_EQ(highlightAt, 1505);
    EXPECT_EQ(movedAt, 2010);
    EXPECT_EQ(screen->Computer.ComputerWaiting, 0);
    EXPECT_EQ(screen->Rules.PawnsOnBoard(1), 5);
    EXPECT_NE(screen->Rules.Pawn[0], 1) << "the Plodder moved its rearmost pawn";
}

TEST_F(TurnTest, ComputerBearingOffShowsNoDestination) {
    ComputerPlayer = {0, 0, 1};
    ComputerPlayerStrategy = STRATEGY_RACER;
    SetBoard({3}, {29, 5}, 2, 3);
    screen->Computer.ComputerWaiting = 1;
    screen->Computer.WaitUntil = platform::MilliSecs();
    Logic();
    EXPECT_EQ(screen->Computer.ComputerWaiting, 2);
    EXPECT_EQ(screen->Highlight->visible, 0);
    Logic(110);
    EXPECT_EQ(screen->Rules.BearedOff[2], 1);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
}

TEST_F(TurnTest, ComputerWithoutAMoveWaitsForTheOK) {
    ComputerPlayer = {0, 0, 1};
    SetBoard({3}, {28}, 2, 4);
    screen->Computer.ComputerWaiting = 1;
    Logic();
    ASSERT_NE(screen->OKDialog, nullptr);
    EXPECT_EQ(screen->OKDialog->Caption->Text, "Computer has no possible moves.");
    Logic(500);
    EXPECT_NE(screen->OKDialog, nullptr) << "the computer waits for someone to answer";
    PressKey(platform::KEY_ENTER);
    Logic(100);
    EXPECT_EQ(screen->OKDialog, nullptr);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
    EXPECT_EQ(screen->Computer.ComputerWaiting, 0);
}

// An N pressed during the match, long before anyone asks, does not answer the win dialog: only
// the Y pressed while it is open does. Everything goes through the shell's event pump.
TEST_F(TurnTest, AKeyPressedDuringTheMatchDoesNotAnswerTheWinDialog) {
    SetBoard({29}, {3}, 1, 2);
    screen->Rules.BearedOff = {0, 4, 0};
    const auto press = [this](int key, const char* typed) {
        platform::InjectKey(key, true);
        platform::InjectText(typed);
        driver.Ticks(1);
        platform::InjectKey(key, false);
        driver.Ticks(1);
    };
    press('N', "n");
    // The last pawn borne off by a click.
    platform::InjectMouseMove(SquareX(29), SquareY(29));
    driver.Ticks(2);
    platform::InjectMouseButton(1, true);
    driver.Ticks(1);
    platform::InjectMouseButton(1, false);
    ASSERT_EQ(screen->Rules.BearedOff[1], 5);
    ASSERT_NE(screen->YesNoDialog, nullptr);
    driver.Ticks(50);
    ASSERT_NE(screen->YesNoDialog, nullptr) << "the dialog waits for its answer";
    EXPECT_FALSE(Game->Fading());
    press('Y', "y");
    driver.Ticks(5);
    EXPECT_EQ(screen->YesNoDialog, nullptr);
    EXPECT_EQ(Game->CurrentTScreen, GameScreen);
    EXPECT_EQ(screen->Rules.BearedOff, (std::array<int, 3>{0, 0, 0})) << "a new game";
}

// ---- The explanation of the special squares ----------------------------------------------------

class ExplainTest : public TurnTest {
protected:
    int Frame() const { return screen->Explain->ImageFrame; }
    bool Fading() const { return screen->ExplainFade->visible != 0; }
};

TEST_F(ExplainTest, RestingShowsLeavingFades) {
    // The first tick starts the wait; 900 ms later it is not yet over, 5 ms after that it is.
    PointAt(26);
    Logic(181);
    EXPECT_EQ(Frame(), 0);
    Logic();
    EXPECT_EQ(Frame(), 3);
    Pointer(400, 40);
    Logic();
    EXPECT_EQ(Frame(), 0);
    EXPECT_FALSE(Fading()) << "the fade starts on the second call after leaving";
    Logic();
    ASSERT_TRUE(Fading());
    EXPECT_EQ(screen->ExplainFade->ImageFrame, 3);
    Logic(99); // 500 ms at full opacity
    EXPECT_EQ(screen->ExplainFade->Alpha, 1.0f);
    Logic();
    EXPECT_LT(screen->ExplainFade->Alpha, 1.0f);
    Logic(399);
    EXPECT_TRUE(Fading());
    Logic();
    EXPECT_FALSE(Fading()) << "hidden 2500 ms after it began";
    EXPECT_EQ(screen->ExplainFade->ImageFrame, 0);
    EXPECT_EQ(screen->ExplainFade->Alpha, 1.0f);
}

TEST_F(ExplainTest, LeavingEarlyOrAPlainSquareShowsNothing) {
    PointAt(26);
    Logic(100);
    Pointer(400, 40);
    Logic(3);
    EXPECT_EQ(Frame(), 0);
    EXPECT_FALSE(Fading());
    PointAt(24);
    Logic(300);
    EXPECT_EQ(Frame(), 0);
    for (const auto& square : screen->Squares)
        EXPECT_EQ(square.hover, 0);
}

TEST_F(ExplainTest, NeighbouringSpecialSquares) {
    // Through the gap between the squares: the old explanation starts fading, and the new one
    // waits its own 900 ms from the moment the pointer reaches the square.
    PointAt(26);
    Logic(182);
    EXPECT_EQ(Frame(), 3);
    Pointer((SquareX(26) + SquareX(27)) / 2, SquareY(26));
    Logic(2);
    EXPECT_TRUE(Fading());
    PointAt(27);
    Logic(181);
    EXPECT_EQ(Frame(), 0);
    Logic();
    EXPECT_EQ(Frame(), 4);
    EXPECT_FALSE(Fading());

    // Straight from one square to the next within a tick: the old explanation stays until the
    // new one is due.
    PointAt(28);
    Logic(181);
    EXPECT_EQ(Frame(), 4);
    Logic();
    EXPECT_EQ(Frame(), 5);
}

TEST_F(ExplainTest, StandsStillWhileADialogIsOpen) {
    PointAt(26);
    Logic(182);
    Pointer(400, 40);
    Logic(120);
    ASSERT_TRUE(Fading());
    SetBoard({27, 28}, {3}, 1, 4);
    Logic();
    ASSERT_NE(screen->OKDialog, nullptr);
    const float alpha = screen->ExplainFade->Alpha;
    PointAt(14);
    Logic(600);
    EXPECT_EQ(screen->ExplainFade->Alpha, alpha);
    EXPECT_TRUE(Fading());
    EXPECT_EQ(screen->Squares[14].hover, 0);
    // Its time ran out meanwhile: hidden at the first call after the dialog closes.
    PressKey(platform::KEY_ENTER);
    Logic(2);
    EXPECT_FALSE(Fading());
}

} // namespace
