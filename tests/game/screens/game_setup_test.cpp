// The title menu's set-up of each kind of game, the colour shuffle's rule and the unlock picture's
// path.

#include "framework/util/color.h"
#include "game/board/board_globals.h"
#include "game/screens/game_setup.h"
#include "game/screens/unlock_splash.h"
#include "platform/system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>

namespace {

struct SetupCase {
    const char* label;
    std::function<void()> setUp;
    int myPlayer; // 0: not a networked game
    std::array<std::string, 3> names;
    std::array<int, 3> computer;
    int network;
};

TEST(GameSetup, EachChainSetsThePlayerArrays) {
    const SetupCase cases[] = {
        {"one player", SetUpOnePlayerGame, 0, {"", "Player 1", "Computer"}, {0, 0, 1}, 0},
        {"two players", SetUpTwoPlayerGame, 0, {"", "Player 1", "Player 2"}, {0, 0, 0}, 0},
        // The other player's name arrives from the peer: whatever stood there stays.
        {"network host",
         [] {
             ChooseNetworkHost();
             SetUpNetworkGame("Ada");
         },
         1,
         {"", "Ada", "stale 2"},
         {0, 0, 0},
         1},
        {"network join",
         [] {
             ChooseNetworkJoin();
             SetUpNetworkGame("Bea");
         },
         2,
         {"", "stale 1", "Bea"},
         {0, 0, 0},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // Leftovers of an earlier game of another kind, which every chain must overwrite.
        PlayerName = {"", "stale 1", "stale 2"};
        ComputerPlayer = {0, 1, 1};
        ComputerPlayerStrategy = 1;
        networkGame = c.network ? 0 : 1;
        myPlayer = 0;
        c.setUp();
        EXPECT_EQ(PlayerName, c.names);
        EXPECT_EQ(ComputerPlayer, c.computer);
        EXPECT_EQ(ComputerPlayerStrategy, 3);
        EXPECT_EQ(networkGame, c.network);
        if (c.myPlayer) {
            EXPECT_EQ(myPlayer, c.myPlayer);
        }
    }
    ChooseNetworkJoin();
    hostAddress = "10.0.0.2";
    ChooseNetworkHost();
    EXPECT_EQ(hostAddress, "127.0.0.1");
}

TEST(GameSetup, ColourShuffleNeverGivesDarkOrEqualPatterns) {
    std::set<std::pair<int, int>> pairs;
    auto pattern = [](const TColorValues& c) {
        return (c[0] ? 4 : 0) | (c[1] ? 2 : 0) | (c[2] ? 1 : 0);
    };
    for (int seed = 0; seed < 200; ++seed) {
        platform::SeedRnd(seed);
        for (int draw = 0; draw < 50; ++draw) {
            auto colors = ShuffledColorValues();
            for (const auto& color : colors) {
                for (int channel : color)
                    ASSERT_TRUE(channel == 0 || (channel >= 200 && channel <= 255)) << channel;
                ASSERT_NE(pattern(color), 0);
            }
            ASSERT_NE(pattern(colors[0]), pattern(colors[1]));
            pairs.insert({pattern(colors[0]), pattern(colors[1])});
        }
    }
    // Every ordered pair of two different lit patterns turns up.
    EXPECT_EQ(pairs.size(), 42u);
}

// The colours that a shuffle from the seed gives, drawn here one number at a time: the table of
// lit channels (row 0 first, each row red, green, blue) until both rows are lit and differ, then
// each colour's channels blue first, green, red, a dark channel using up its draw as well.
std::array<TColorValues, 2> ShuffleFromSeed(int seed) {
    platform::SeedRnd(seed);
    std::array<std::array<int, 3>, 2> lit{};
    auto dark = [](const std::array<int, 3>& row) { return row == std::array<int, 3>{0, 0, 0}; };
    do {
        for (auto& row : lit)
            for (int& channel : row)
                channel = platform::Rand(0, 1);
    } while (dark(lit[0]) || dark(lit[1]) || lit[0] == lit[1]);
    std::array<TColorValues, 2> colors{};
    for (int player = 0; player < 2; ++player) {
        const int blue = platform::Rand(200, 255);
        const int green = platform::Rand(200, 255);
        const int red = platform::Rand(200, 255);
        const auto& row = lit[static_cast<std::size_t>(player)];
        colors[static_cast<std::size_t>(player)] = {row[0] * red, row[1] * green, row[2] * blue};
    }
    return colors;
}

TEST(GameSetup, ColourShuffleIsSeededAndReplacesTheColourObjects) {
    // Seeds enough for every kind of pattern: all three channels lit, dark ones before lit ones.
    for (int seed = 0; seed < 60; ++seed) {
        SCOPED_TRACE(seed);
        const auto expected = ShuffleFromSeed(seed);
        platform::SeedRnd(seed);
        EXPECT_EQ(ShuffledColorValues(), expected);
    }

    PlayerColor[1] = TColor::Create(0, 0, 255, 1.0f);
    PlayerColor[2] = TColor::Create(0, 255, 0, 1.0f);
    auto held = PlayerColor[1]; // a pawn of the last game keeps its tint
    const auto expected = ShuffleFromSeed(7);
    platform::SeedRnd(7);
    ShufflePlayerColors();
    EXPECT_NE(PlayerColor[1], held);
    EXPECT_EQ(held->B, 255);
    EXPECT_EQ((std::array<int, 3>{PlayerColor[1]->R, PlayerColor[1]->G, PlayerColor[1]->B}),
              expected[0]);
    EXPECT_EQ((std::array<int, 3>{PlayerColor[2]->R, PlayerColor[2]->G, PlayerColor[2]->B}),
              expected[1]);
    EXPECT_EQ(PlayerColor[2]->Alpha, 1.0f);
}

TEST(UnlockSplash, PicturePathPrefersThePng) {
    testing_support::TempDir folder;
    ASSERT_TRUE(testing_support::WriteTextFile(folder.File("unlock.png"), "x"));
    ASSERT_TRUE(testing_support::WriteTextFile(folder.File("unlock.jpg"), "x"));
    ASSERT_TRUE(testing_support::WriteTextFile(folder.File("unlock3.jpg"), "x"));
    EXPECT_EQ(UnlockPicturePath(folder.Path(), 0), folder.File("unlock.png"));
    EXPECT_EQ(UnlockPicturePath(folder.Path(), 3), folder.File("unlock3.jpg"));
    // Neither picture: the JPEG path, which the loader then reports.
    EXPECT_EQ(UnlockPicturePath(folder.Path(), 12), folder.File("unlock12.jpg"));
}

} // namespace
