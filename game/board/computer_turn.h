#pragma once
// The computer player's turn as a small timed state machine: it waits, throws, waits again, shows
// the destination it chose, waits once more and moves. The board screen advances it once per logic
// tick of a computer turn and carries out the action that the strategy's step returns (the throw
// with its sound, the highlight, the move with its effects); the choice of the square is
// ComputerChoice.
//
// Times are MilliSecs values, compared with MilliSecsDiff, so the waits survive the clock's wrap.

#include "game/board/board_constants.h"
#include "game/board/rules.h"

#include <cstdint>

enum class TComputerAction : std::uint8_t {
    None,      // waiting, or nothing to do this tick
    Throw,     // throw the die now
    Highlight, // show the destination of the move from Square
    Move,      // move the pawn on Square
};

struct TComputerStep {
    TComputerAction Action = TComputerAction::None;
    int Square = -1;
};

class TComputerTurn {
public:
    // The computer's base pause in milliseconds.
    int ComputerPlayerWait = COMPUTER_PLAYER_WAIT;
    // 0 no computer turn under way; 1 waiting to throw, then waiting to choose; 2 destination
    // shown; 3 waiting to move.
    int ComputerWaiting = 0;
    // The MilliSecs value before which the strategy does nothing.
    int WaitUntil = 0;
    // The strategy drawn for this turn, 1 the Racer or 2 the Plodder (setting 3 plays it).
    int WhichStrategy = 0;

    // Back to no turn under way: a new game never inherits a half-played computer turn.
    void Reset();

    // The strategy that plays this turn under the setting ComputerPlayerStrategy: 1 or 2, or 0 for
    // a setting under which the computer does nothing.
    int Strategy(int computerPlayerStrategy) const;

    // The screen's part of a computer turn's tick at time `now`: begins the turn (its first wait
    // and, drawn with platform::Rand, its strategy), or arms the wait before the move once the
    // destination is shown.
    void Advance(int now);
    // One step of `strategy` (STRATEGY_RACER or STRATEGY_PLODDER) at time `now`; `thrown` says
    // whether this turn's die is showing. The caller carries out the returned action: for Throw
    // the roll sound, Movement and the die; for Highlight ComputerHighlight(Square); for Move
    // MovePawn(Square).
    TComputerStep Step(int now, const TRules& rules, int strategy, bool thrown);
};
