// Whole games played by the engine alone, computer against computer, with seeded throws: after
// every move every pawn is accounted for and the move was legal by an independent reading of the
// rule.

#include "game/board/rules.h"
#include "game/board/strategy.h"
#include "tests/game/board/reference_rule.h"

#include "platform/system.h"

#include <gtest/gtest.h>

namespace {

using board_test::ReferenceAllowed;

struct TGameTally {
    int moves = 0;
    int passes = 0;
    int winner = 0;
};

TGameTally PlayGame(int seed, bool randomLayout) {
    platform::SeedRnd(seed);
    TRules rules;
    rules.PlaceSpecials(randomLayout);
    rules.StartPosition();
    const int water = rules.SquareOfSpecial(SPECIAL_WATER);
    TGameTally tally;
    for (int turn = 0; turn < 20000 && !tally.winner; ++turn) {
        const int strategy = platform::Rand(1, 2);
        rules.Movement = platform::Rand(1, MAX_THROW);
        bool any = false;
        for (int sq = 0; sq < BOARD_SQUARES; ++sq) {
            const bool allowed = rules.ValidMovesHere(sq) == 1;
            EXPECT_EQ(allowed, ReferenceAllowed(rules, sq, rules.Movement))
                << "seed " << seed << " square " << sq << " throw " << rules.Movement;
            any = any || allowed;
        }
        EXPECT_EQ(rules.AnyValidMoves() == 1, any);
        if (!any) {
            rules.PassTurn();
            ++tally.passes;
            continue;
        }
        const int square = ComputerChoice(rules, strategy);
        EXPECT_EQ(rules.ValidMovesHere(square), 1) << "seed " << seed;
        const TMoveResult result = rules.MovePawn(square);
        EXPECT_NE(result.Kind, TMoveKind::None) << "seed " << seed;
        ++tally.moves;
        for (int p = 1; p <= 2; ++p)
            EXPECT_EQ(rules.PawnsOnBoard(p) + rules.BearedOff[p], PAWNS_PER_PLAYER)
                << "seed " << seed << " player " << p;
        EXPECT_EQ(rules.Pawn[water], 0) << "seed " << seed;
        EXPECT_EQ(rules.Movement, 0);
        if (result.Won)
            tally.winner = result.Player;
        if (::testing::Test::HasFailure())
            break;
    }
    return tally;
}

} // namespace

TEST(BoardEngineGames, SeededGamesReachAWinWithEveryPawnAccountedFor) {
    int wins[3] = {0, 0, 0};
    for (int seed = 1; seed <= 300 && !::testing::Test::HasFailure(); ++seed) {
        const TGameTally tally = PlayGame(seed, seed % 4 == 0);
        ASSERT_NE(tally.winner, 0) << "seed " << seed << " did not end";
        ++wins[tally.winner];
    }
    // Both colours win some games.
    EXPECT_GT(wins[1], 0);
    EXPECT_GT(wins[2], 0);
}

TEST(BoardEngineGames, ASeedRepeatsItsGame) {
    const TGameTally first = PlayGame(42, false);
    const TGameTally again = PlayGame(42, false);
    EXPECT_EQ(first.moves, again.moves);
    EXPECT_EQ(first.passes, again.passes);
    EXPECT_EQ(first.winner, again.winner);
}
