#pragma once
// Games between two computer players on the board screen, played headless by the screen's own
// logic: tick by tick on a clock the caller moves, the no-move dialog answered at once and "Yes" to
// another game after every win but the last, both by their keys. The replay-log command and the
// tests use it.

#include "game/board/board_log.h"
#include "game/board/game_screen.h"

#include <functional>

// What start-up loads for the board screen, without a window: the image and sound banks from the
// game object's folders, the dialog background and the player colours. The game object must exist
// with its folders set.
void LoadBoardData();

class TComputerMatch {
public:
    // Loads `screen` for a match of two computer players, each turn's strategy drawn (setting 3),
    // in the standard layout, with the random sequence seeded by `seed`. The caller may change
    // ComputerPlayerStrategy before Play.
    TComputerMatch(TGameScreen& screen, int seed);
    ~TComputerMatch();
    TComputerMatch(const TComputerMatch&) = delete;
    TComputerMatch& operator=(const TComputerMatch&) = delete;

    // Plays until `games` games have been won (the last win's dialog is left open),
    // `advanceClock(ms)` moving the clock before every tick by one logic tick (5 ms) or, with
    // `skipWaits`, straight to the end of the computer's wait: the events of a turn come in the
    // same order with the same random draws either way. False when the games are not won within
    // `tickLimit` ticks.
    bool Play(int games, const std::function<void(int)>& advanceClock, bool skipWaits = true,
              int tickLimit = 20000000);

    // The log of every game start, turn and win so far.
    TBoardLog Log;
    // Called with every event, after it is logged; Before holds the board as it was when the tick
    // of the event began.
    std::function<void(const TBoardEvent&)> OnEvent;
    // Called after every tick.
    std::function<void()> AfterTick;
    TRules Before;
    int Wins = 0;
    int Ticks = 0;

private:
    TGameScreen& screen_;
};
