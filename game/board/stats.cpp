#include "game/board/stats.h"

void TStats::Reset() {
    PlayerWins.fill(0);
    PlayerStreak.fill(0);
}

void TStats::UpdateWins(int p) {
    if (p != 1 && p != 2)
        return;
    ++PlayerWins[p];
    ++PlayerStreak[p];
    PlayerStreak[p == 1 ? 2 : 1] = 0;
}

std::array<TStatLine, STAT_LINES> TStats::StatLines(const std::string& name1,
                                                    const std::string& name2) const {
    const std::array<const std::string*, 3> names = {nullptr, &name1, &name2};
    // A streak shows from its second win on, never for a single win.
    TStatLine streak{" ", 0};
    for (int p = 1; p <= 2; ++p) {
        if (PlayerStreak[p] > 1) {
            streak = {
                *names[p] + " has won " + std::to_string(PlayerStreak[p]) + " games in a row.", 3};
            break;
        }
    }
    return {{
        {"Game Statistics", 0},
        {" ", 0},
        {name1 + " - " + std::to_string(PlayerWins[1]), 1},
        {name2 + " - " + std::to_string(PlayerWins[2]), 2},
        {" ", 0},
        streak,
        {" ", 0},
    }};
}
