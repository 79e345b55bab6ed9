#include "game/board/computer_turn.h"
#include "game/board/strategy.h"

#include "platform/system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// When each action of one computer turn happened, relative to the turn's first tick.
struct TTimeline {
    int thrown = -1, highlighted = -1, moved = -1;
    int square = -1;
};

// Runs one computer turn on 5 ms ticks from `start`, carrying out the actions as the board screen
// does (the throw is fixed at `throwValue`).
TTimeline RunTurn(TComputerTurn& turn, TRules& rules, int setting, int start, int throwValue) {
    TTimeline timeline;
    bool thrown = false;
    for (int elapsed = 0; elapsed < 10000; elapsed += 5) {
        const int now = ClockAdd(start, elapsed);
        turn.Advance(now);
        const TComputerStep step = turn.Step(now, rules, turn.Strategy(setting), thrown);
        switch (step.Action) {
        case TComputerAction::Throw:
            timeline.thrown = elapsed;
            rules.Movement = throwValue;
            thrown = true;
            break;
        case TComputerAction::Highlight:
            timeline.highlighted = elapsed;
            timeline.square = step.Square;
            break;
        case TComputerAction::Move:
            timeline.moved = elapsed;
            EXPECT_EQ(step.Square, timeline.square) << "the move takes the highlighted pawn";
            rules.MovePawn(step.Square);
            return timeline;
        case TComputerAction::None:
            break;
        }
    }
    return timeline;
}

TRules StartBoard() {
    TRules rules;
    rules.PlaceSpecials(false);
    rules.StartPosition();
    return rules;
}

} // namespace

TEST(ComputerTurn, TimelineOfEachStrategy) {
    struct Case {
        int setting;
        int start;
        int highlight;
        int square; // with a throw of 1 from the start position
    };
    const Case cases[] = {
        {STRATEGY_RACER, 1000, 2000, 8},
        {STRATEGY_PLODDER, 1000, 1500, 0},
        // The clock wraps in the middle of the turn: the waits still last as long.
        {STRATEGY_RACER, INT_MAX - 1200, 2000, 8},
        {STRATEGY_PLODDER, INT_MAX - 700, 1500, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "setting " << c.setting << " from " << c.start);
        TComputerTurn turn;
        TRules rules = StartBoard();
        const TTimeline t = RunTurn(turn, rules, c.setting, c.start, 1);
        EXPECT_EQ(t.thrown, 1000);
        EXPECT_EQ(t.highlighted, c.highlight);
        EXPECT_EQ(t.square, c.square);
        // Stage 3 is armed on the tick after the highlight, and the move comes 500 ms later.
        EXPECT_EQ(t.moved, c.highlight + 5 + 500);
        EXPECT_EQ(turn.ComputerWaiting, 0);
        EXPECT_EQ(rules.CurrentPlayer, 2);
    }
}

TEST(ComputerTurn, DrawnStrategyIsKeptForTheTurnAndDrawnAgainForTheNext) {
    platform::SeedRnd(7);
    TRules rules = StartBoard();
    TComputerTurn turn;
    std::vector<int> drawn;
    for (int n = 0; n < 20; ++n) {
        rules.CurrentPlayer = 1;
        rules.StartPosition();
        const TTimeline t = RunTurn(turn, rules, STRATEGY_DRAWN, 100000 * n, 1);
        drawn.push_back(turn.WhichStrategy);
        // The turn was played by the strategy drawn at its start, from beginning to end.
        EXPECT_EQ(t.highlighted, turn.WhichStrategy == STRATEGY_RACER ? 2000 : 1500);
        EXPECT_EQ(t.square, turn.WhichStrategy == STRATEGY_RACER ? 8 : 0);
    }
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), STRATEGY_RACER), 0);
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), STRATEGY_PLODDER), 0);
}

TEST(ComputerTurn, ResetStartsAfresh) {
    TRules rules = StartBoard();
    TComputerTurn turn;
    // A turn abandoned while waiting to move: after Reset the next turn waits the full second
    // before its throw again.
    turn.ComputerWaiting = 3;
    turn.WaitUntil = 0;
    turn.Reset();
    for (int now : {10000, 10995, 11000}) {
        turn.Advance(now);
        EXPECT_EQ(turn.Step(now, rules, STRATEGY_RACER, false).Action,
                  now < 11000 ? TComputerAction::None : TComputerAction::Throw);
    }
}
