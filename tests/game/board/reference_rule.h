#pragma once
// The legal-move rule written a second time, apart from the engine, as the list of reasons that
// forbid a move: the whole-game tests check every move the engine or the screen makes against it.

#include "game/board/rules.h"

namespace board_test {

// The rule as the list of reasons that forbid a move, written apart from the engine.
inline bool ReferenceAllowed(const TRules& r, int i, int m) {
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

} // namespace board_test
