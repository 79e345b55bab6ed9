#pragma once
// Win counts and winning streaks of one visit to the board screen, and the seven lines of its
// statistics box. The screen plays the win sound and writes the lines into its message area.

#include <array>
#include <string>

// One line of the statistics box: its text and the index into PlayerColor of its colour.
struct TStatLine {
    std::string Text;
    int Color = 0;
};

constexpr int STAT_LINES = 7;

class TStats {
public:
    // Games won by players 1 and 2 (index 0 unused).
    std::array<int, 3> PlayerWins{};
    // The current run of consecutive wins of players 1 and 2; at most one is above 0.
    std::array<int, 3> PlayerStreak{};

    // Both players back to no wins and no streak (a new visit to the board screen).
    void Reset();
    // A win of player p (1 or 2): one more win and one more in the streak; the other player's
    // streak ends. Other values of p are ignored.
    void UpdateWins(int p);
    // The statistics box: a heading, each player's name and wins, and the streak of a player who
    // has won two games or more in a row. `name1` and `name2` are PlayerName[1] and [2].
    std::array<TStatLine, STAT_LINES> StatLines(const std::string& name1,
                                                const std::string& name2) const;
};
