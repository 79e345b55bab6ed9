// Whole games played by the engine alone, computer against computer, with seeded throws: after
// every move every pawn is accounted for and the move was legal by an independent reading of the
// rule.

#include "game/board/rules.h"
#include "game/board/strategy.h"

#include "platform/system.h"

#include <gtest/gtest.h>

namespace {

// The rule as the list of reasons that forbid a move, written apart from the engine.
bool ReferenceAllowed(const TRules& r, int i, int m) {
    const int p = r.CurrentPlayer;
    if (r.Pawn[i] != p)
        return false;
    const int t = i + m;
    if (t < BOARD_SQUARES && r.Pawn[t] != 0) {
        const int owner = r.Pawn[t];
        if (owner == p)
            return false;
        if (r.Pawn[t - 1] == owner || (t + 1 < BOARD_SQUARES && r.Pawn[t + 1] == owner))
            return false;
        if (r.Special[t] == SPECIAL_SAFE)
            return false;
    }
    const bool scanned = t < BOARD_SQUARES ? m >= 3 : (BOARD_SQUARES - 1) - i >= 3;
    if (scanned) {
        const int end = t < BOARD_SQUARES ? t : BOARD_SQUARES - 1;
        for (int start = i + 1; start + 2 <= end; ++start) {
            bool run = true;
            for (int k = 0; k < 3; ++k)
                run = run && r.Pawn[start + k] == 3 - p;
            if (run)
                return false;
        }
    }
    if (r.Special[i] == SPECIAL_EXIT_ON_2 && m != 2)
        return false;
    if (r.Special[i] == SPECIAL_EXIT_ON_3 && m != 3)
        return false;
    return true;
}

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
