#include "game/screens/game_setup.h"

#include "framework/util/color.h"
#include "game/board/board_globals.h"
#include "platform/system.h"

std::string hostAddress;
int hostPort = 0;
int UnlockedSomething = 0;

namespace {

void SetUpLocalGame(const char* secondName, int computerOpponent) {
    PlayerName[1] = "Player 1";
    PlayerName[2] = secondName;
    ComputerPlayer[1] = 0;
    ComputerPlayer[2] = computerOpponent;
    ComputerPlayerStrategy = SETUP_STRATEGY;
    networkGame = 0;
}

using TPattern = std::array<int, 3>;

bool Dark(const TPattern& pattern) {
    return pattern[0] == 0 && pattern[1] == 0 && pattern[2] == 0;
}

// Each channel of the pattern times a draw of 200 to 255; the draws go blue, green, red, and a
// dark channel still takes its draw, so a seeded run gives the same colours whatever the pattern.
TColorValues Light(const TPattern& pattern) {
    TColorValues color{};
    for (int channel = 2; channel >= 0; --channel)
        color[channel] = pattern[channel] * platform::Rand(200, 255);
    return color;
}

} // namespace

void SetUpOnePlayerGame() {
    SetUpLocalGame("Computer", 1);
}

void SetUpTwoPlayerGame() {
    SetUpLocalGame("Player 2", 0);
}

void SetUpNetworkGame(const std::string& typedName) {
    PlayerName[myPlayer == 2 ? 2 : 1] = typedName;
    ComputerPlayer[1] = 0;
    ComputerPlayer[2] = 0;
    ComputerPlayerStrategy = SETUP_STRATEGY;
    networkGame = 1;
}

void ChooseNetworkHost() {
    myPlayer = 1;
    hostAddress = "127.0.0.1";
}

void ChooseNetworkJoin() {
    myPlayer = 2;
}

std::array<TColorValues, 2> ShuffledColorValues() {
    std::array<TPattern, 2> rows{};
    do {
        for (auto& row : rows)
            for (int& lit : row)
                lit = platform::Rand(0, 1);
    } while (Dark(rows[0]) || Dark(rows[1]) || rows[0] == rows[1]);
    TColorValues first = Light(rows[0]);
    return {first, Light(rows[1])};
}

void ShufflePlayerColors() {
    auto colors = ShuffledColorValues();
    for (int player = 1; player <= 2; ++player) {
        const TColorValues& c = colors[player - 1];
        PlayerColor[player] = TColor::Create(c[0], c[1], c[2], 1.0f);
    }
}
