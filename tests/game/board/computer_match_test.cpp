// Whole games of two computer players played through the board screen's own logic, headless: every
// move legal, every pawn accounted for after every tick, and the replay log of one seed kept.

#include "tests/game/board/board_screen_fixture.h"
#include "tests/game/board/reference_rule.h"

#include "game/board/strategy.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

using board_test::BoardScreenTest;

// The log that bench_cvc_log 1 3 writes; made again with that command (see the README) when the
// rules, the strategies or the random sequence change on purpose.
constexpr const char* LOG_FIXTURE = "/tests/fixtures/game/board/cvc_seed1_games3.log";

class ComputerMatchTest : public BoardScreenTest {
protected:
    // Checks that hold after every tick of a game.
    void CheckTick() {
        ExpectConsistent();
        const TRules& rules = screen->Rules;
        for (int p = 1; p <= 2; ++p)
            EXPECT_EQ(rules.PawnsOnBoard(p) + rules.BearedOff[static_cast<std::size_t>(p)],
                      PAWNS_PER_PLAYER);
        EXPECT_EQ(rules.Pawn[static_cast<std::size_t>(rules.SquareOfSpecial(SPECIAL_WATER))], 0);
        EXPECT_TRUE(rules.Movement >= 0 && rules.Movement <= MAX_THROW);
        EXPECT_TRUE(screen->Computer.ComputerWaiting >= 0 && screen->Computer.ComputerWaiting <= 3);
        EXPECT_EQ(rules.Movement != 0, screen->Die->visible != 0);
    }

    // Checks of each logged event against the board as it was when its tick began.
    void CheckEvent(const TComputerMatch& match, const TBoardEvent& event) {
        const TRules& before = match.Before;
        switch (event.Kind) {
        case TBoardEvent::TKind::Move:
            ++moves;
            EXPECT_EQ(before.CurrentPlayer, event.Player);
            EXPECT_EQ(before.Movement, event.Throw);
            EXPECT_EQ(before.ValidMovesHere(event.Square), 1);
            EXPECT_TRUE(board_test::ReferenceAllowed(before, event.Square, event.Throw));
            EXPECT_EQ(ComputerChoice(before, event.Strategy), event.Square);
            break;
        case TBoardEvent::TKind::NoMove:
            ++passes;
            EXPECT_EQ(before.Movement, event.Throw);
            EXPECT_EQ(before.AnyValidMoves(), 0);
            break;
        case TBoardEvent::TKind::Win:
            EXPECT_EQ(screen->Rules.BearedOff[static_cast<std::size_t>(event.Player)],
                      PAWNS_PER_PLAYER);
            break;
        case TBoardEvent::TKind::GameStart:
            break;
        }
    }

    int moves = 0;
    int passes = 0;
};

TEST_F(ComputerMatchTest, SeededGamesAreLegalToTheWin) {
    const int settings[] = {STRATEGY_RACER, STRATEGY_PLODDER, STRATEGY_DRAWN};
    for (int seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        TComputerMatch match(*screen, seed);
        ComputerPlayerStrategy = settings[seed % 3];
        match.OnEvent = [&](const TBoardEvent& event) { CheckEvent(match, event); };
        match.AfterTick = [&] { CheckTick(); };
        ASSERT_TRUE(match.Play(2, [&](int ms) { driver.Advance(ms); }));
        EXPECT_EQ(match.Wins, 2);
        EXPECT_EQ(screen->Stats.PlayerWins[1] + screen->Stats.PlayerWins[2], 2);
        if (HasFailure())
            break;
    }
    EXPECT_GT(moves, 24 * 2 * 40);
    EXPECT_GT(passes, 0);
}

TEST_F(ComputerMatchTest, ReplayLogOfOneSeedIsKept) {
    TComputerMatch match(*screen, 1);
    ASSERT_TRUE(match.Play(3, [&](int ms) { driver.Advance(ms); }));
    const char* source = std::getenv("PELORIN_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string expected = testing_support::ReadTextFile(source + std::string(LOG_FIXTURE));
    ASSERT_FALSE(expected.empty()) << "missing " << LOG_FIXTURE;
    if (match.Log.Text != expected) {
        // The whole log for a diff: a change on purpose is kept with the README's command.
        const std::string actual = testing_support::TestOutputDir() + "cvc_seed1_games3.log";
        testing_support::WriteTextFile(actual, match.Log.Text);
        const auto differs = std::mismatch(match.Log.Text.begin(), match.Log.Text.end(),
                                           expected.begin(), expected.end())
                                 .first;
        ADD_FAILURE() << "the replay log differs from " << LOG_FIXTURE << " from line "
                      << 1 + std::count(match.Log.Text.begin(), differs, '\n')
                      << "; this run's log is in " << actual;
    }
}

// The replay command skips the computer's waits; tick by tick, the same games are played.
TEST_F(ComputerMatchTest, SkippingTheWaitsPlaysTheSameGames) {
    std::string logs[2];
    for (int skip = 0; skip < 2; ++skip) {
        TComputerMatch match(*screen, 5);
        ASSERT_TRUE(match.Play(
            1, [&](int ms) { driver.Advance(ms); }, skip == 1));
        logs[skip] = match.Log.Text;
    }
    EXPECT_EQ(logs[0], logs[1]);
}

} // namespace
