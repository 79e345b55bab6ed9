#include "game/board/stats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(BoardStats, LinesAfterSequencesOfWins) {
    struct Case {
        std::vector<int> winners;
        std::string line3, line4;
        TStatLine streak;
    };
    const Case cases[] = {
        {{}, "Ann - 0", "Computer - 0", {" ", 0}},
        {{1}, "Ann - 1", "Computer - 0", {" ", 0}},
        {{1, 1}, "Ann - 2", "Computer - 0", {"Ann has won 2 games in a row.", 3}},
        {{1, 1, 2}, "Ann - 2", "Computer - 1", {" ", 0}},
        {{1, 1, 2, 2, 2}, "Ann - 2", "Computer - 3", {"Computer has won 3 games in a row.", 3}},
        {{2, 1, 0, 7}, "Ann - 1", "Computer - 1", {" ", 0}}, // not a player: ignored
    };
    for (const auto& c : cases) {
        TStats stats;
        for (int p : c.winners)
            stats.UpdateWins(p);
        const auto lines = stats.StatLines("Ann", "Computer");
        SCOPED_TRACE(c.line3 + " / " + c.line4);
        const std::vector<std::pair<std::string, int>> expected = {
            {"Game Statistics", 0},          {" ", 0}, {c.line3, 1}, {c.line4, 2}, {" ", 0},
            {c.streak.Text, c.streak.Color}, {" ", 0}};
        for (int k = 0; k < STAT_LINES; ++k) {
            EXPECT_EQ(lines[k].Text, expected[k].first) << "line " << k + 1;
            EXPECT_EQ(lines[k].Color, expected[k].second) << "line " << k + 1;
        }
        EXPECT_TRUE(stats.PlayerStreak[1] == 0 || stats.PlayerStreak[2] == 0);
    }
}

TEST(BoardStats, ResetForANewVisit) {
    TStats stats;
    stats.UpdateWins(2);
    stats.UpdateWins(2);
    stats.Reset();
    EXPECT_EQ(stats.PlayerWins, (std::array<int, 3>{}));
    EXPECT_EQ(stats.PlayerStreak, (std::array<int, 3>{}));
    EXPECT_EQ(stats.StatLines("A", "B")[2].Text, "A - 0");
}
