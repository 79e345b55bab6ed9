#pragma once
// The computer players' choice of a pawn, as a pure function of the board and the throw. The board
// screen runs the timing (waits, throw, highlight, move); this only says which square to move.

#include "game/board/rules.h"

// Values of ComputerPlayerStrategy and WhichStrategy.
constexpr int STRATEGY_RACER = 1;   // ComputerRacer: the foremost movable pawn
constexpr int STRATEGY_PLODDER = 2; // ComputerPlodder: the rearmost movable pawn
constexpr int STRATEGY_DRAWN = 3;   // one of the two, drawn with Rand(1, 2) at each computer turn

// The strategy that plays a turn: the setting itself when it is 1 or 2, the turn's WhichStrategy
// when it is 3 (1 the Racer, anything else the Plodder), and 0 for any other setting, under which
// the computer does nothing.
int StrategyOfTurn(int computerPlayerStrategy, int whichStrategy);

// "racer" or "plodder" (or "" for another value), as the event log names them.
const char* StrategyName(int strategy);

// The pause after the computer's throw: ComputerPlayerWait for the Racer, half of it for the
// Plodder.
int PostThrowWait(int strategy, int computerPlayerWait);

// The square whose pawn the strategy moves with rules.Movement, or -1 when there is none (no throw,
// no legal move, or a strategy other than the Racer and the Plodder). Both scan the board in their
// own order (the Racer from 29 down to 0, the Plodder from 0 up): first a pawn that can leave an
// exit square with its exact throw, then any legal move but one onto the water square, and the
// water move only when nothing else is legal.
int ComputerChoice(const TRules& rules, int strategy);
