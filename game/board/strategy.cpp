#include "game/board/strategy.h"

int StrategyOfTurn(int computerPlayerStrategy, int whichStrategy) {
    switch (computerPlayerStrategy) {
    case STRATEGY_RACER:
    case STRATEGY_PLODDER:
        return computerPlayerStrategy;
    case STRATEGY_DRAWN:
        return whichStrategy == STRATEGY_RACER ? STRATEGY_RACER : STRATEGY_PLODDER;
    default:
        return 0;
    }
}

const char* StrategyName(int strategy) {
    switch (strategy) {
    case STRATEGY_RACER:
        return "racer";
    case STRATEGY_PLODDER:
        return "plodder";
    default:
        return "";
    }
}

int PostThrowWait(int strategy, int computerPlayerWait) {
    return strategy == STRATEGY_PLODDER ? computerPlayerWait / 2 : computerPlayerWait;
}

int ComputerChoice(const TRules& rules, int strategy) {
    if (strategy != STRATEGY_RACER && strategy != STRATEGY_PLODDER)
        return -1;
    const int m = rules.Movement;
    const int p = rules.CurrentPlayer;
    if (m <= 0 || m > MAX_THROW)
        return -1;
    const bool racer = strategy == STRATEGY_RACER;
    const int first = racer ? BOARD_SQUARES - 1 : 0;
    const int step = racer ? -1 : 1;
    auto inOrder = [&](int k) { return first + step * k; };

    // The exit squares first, with their exact throw. The rule is asked too, so that a layout in
    // which an exit square does not lead off the board can never leave the computer choosing a
    // move that is then refused, turn after turn.
    const int exitId = m == 2 ? SPECIAL_EXIT_ON_2 : m == 3 ? SPECIAL_EXIT_ON_3 : SPECIAL_NONE;
    if (exitId != SPECIAL_NONE) {
        for (int k = 0; k < BOARD_SQUARES; ++k) {
            const int sq = inOrder(k);
            if (rules.Pawn[sq] == p && rules.Special[sq] == exitId && rules.ValidMovesHere(sq))
                return sq;
        }
    }
    // Then the first legal move in scan order, keeping a move onto the water square for last.
    int water = -1;
    for (int k = 0; k < BOARD_SQUARES; ++k) {
        const int sq = inOrder(k);
        if (rules.Pawn[sq] != p || !rules.ValidMovesHere(sq))
            continue;
        const int t = sq + m;
        if (t < BOARD_SQUARES && rules.Special[t] == SPECIAL_WATER) {
            water = sq;
            continue;
        }
        return sq;
    }
    return water;
}
