#include "game/board/strategy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TRules Board(const std::vector<int>& mine, const std::vector<int>& theirs, int movement) {
    TRules rules;
    rules.PlaceSpecials(false);
    rules.Movement = movement;
    for (int sq : mine)
        rules.Pawn[sq] = 1;
    for (int sq : theirs)
        rules.Pawn[sq] = 2;
    return rules;
}

} // namespace

TEST(ComputerChoice, RacerAndPlodder) {
    struct Case {
        std::string name;
        std::vector<int> mine, theirs;
        int movement;
        int racer, plodder;
    };
    const Case cases[] = {
        {"foremost and rearmost", {3, 12, 20}, {}, 1, 20, 3},
        {"an illegal pawn is passed over", {5, 10, 28}, {}, 1, 10, 5},
        {"a 2 takes the pawn off square 28 first", {4, 28, 29}, {}, 2, 28, 28},
        {"a 3 takes the pawn off square 27 first", {5, 27}, {}, 3, 27, 27},
        {"water last, even for the foremost pawn", {10, 22}, {}, 4, 10, 10},
        {"water when nothing else is legal", {22, 27}, {}, 4, 22, 22},
        {"an attack only as the foremost or rearmost", {5, 18}, {21}, 3, 18, 5},
        {"bearing off is an ordinary move", {2, 29}, {}, 5, 29, 2},
        {"no legal move", {27, 28}, {}, 4, -1, -1},
        {"no throw", {3, 12}, {}, 0, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TRules rules = Board(c.mine, c.theirs, c.movement);
        EXPECT_EQ(ComputerChoice(rules, STRATEGY_RACER), c.racer);
        EXPECT_EQ(ComputerChoice(rules, STRATEGY_PLODDER), c.plodder);
        // Player 2 in the same position chooses alike.
        TRules mirror = rules;
        for (auto& owner : mirror.Pawn)
            owner = owner == 0 ? 0 : static_cast<std::uint8_t>(3 - owner);
        mirror.CurrentPlayer = 2;
        EXPECT_EQ(ComputerChoice(mirror, STRATEGY_RACER), c.racer);
        EXPECT_EQ(ComputerChoice(mirror, STRATEGY_PLODDER), c.plodder);
    }
}

TEST(ComputerChoice, ExitPassAsksTheRule) {
    // A layout in which the exit-on-2 special stands mid-board: its pawn would land on an own pawn.
    // The exit pass must not pick a move that would then be refused.
    TRules rules = Board({10, 12, 3}, {}, 2);
    rules.Special[10] = SPECIAL_EXIT_ON_2;
    ASSERT_EQ(rules.ValidMovesHere(10), 0);
    EXPECT_EQ(ComputerChoice(rules, STRATEGY_RACER), 12);
    EXPECT_EQ(ComputerChoice(rules, STRATEGY_PLODDER), 3);
}

TEST(ComputerChoice, UnknownStrategyChoosesNothing) {
    const TRules rules = Board({3}, {}, 1);
    for (int strategy : {0, STRATEGY_DRAWN, 4, -1})
        EXPECT_EQ(ComputerChoice(rules, strategy), -1) << strategy;
}

TEST(ComputerStrategy, TurnStrategyNameAndWait) {
    struct Case {
        int setting, which, strategy;
    };
    const Case cases[] = {{1, 2, 1}, {2, 1, 2}, {3, 1, 1}, {3, 2, 2},
                          {3, 0, 2}, {0, 1, 0}, {4, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(StrategyOfTurn(c.setting, c.which), c.strategy) << c.setting << " " << c.which;
    EXPECT_STREQ(StrategyName(STRATEGY_RACER), "racer");
    EXPECT_STREQ(StrategyName(STRATEGY_PLODDER), "plodder");
    EXPECT_STREQ(StrategyName(0), "");
    EXPECT_EQ(PostThrowWait(STRATEGY_RACER, 1000), 1000);
    EXPECT_EQ(PostThrowWait(STRATEGY_PLODDER, 1000), 500);
    EXPECT_EQ(PostThrowWait(STRATEGY_PLODDER, 1001), 500);
}
