#include "game/board/computer_turn.h"

#include "game/board/strategy.h"

#include "platform/system.h"

void TComputerTurn::Reset() {
    ComputerWaiting = 0;
    WaitUntil = 0;
    WhichStrategy = 0;
}

int TComputerTurn::Strategy(int computerPlayerStrategy) const {
    return StrategyOfTurn(computerPlayerStrategy, WhichStrategy);
}

void TComputerTurn::Advance(int now) {
    if (ComputerWaiting == 0) {
        WaitUntil = ClockAdd(now, ComputerPlayerWait);
        // Drawn at the start of every computer turn, whatever the setting.
        WhichStrategy = platform::Rand(1, 2);
        ComputerWaiting = 1;
    }
    if (ComputerWaiting == 2) {
        WaitUntil = ClockAdd(now, ComputerPlayerWait / 2);
        ComputerWaiting = 3;
    }
}

TComputerStep TComputerTurn::Step(int now, const TRules& rules, int strategy, bool thrown) {
    TComputerStep step;
    if (platform::MilliSecsDiff(now, WaitUntil) < 0)
        return step;
    if (!thrown) {
        WaitUntil = ClockAdd(now, PostThrowWait(strategy, ComputerPlayerWait));
        step.Action = TComputerAction::Throw;
        return step;
    }
    const int square = ComputerChoice(rules, strategy);
    if (square < 0)
        return step;
    if (ComputerWaiting == 1) {
        ComputerWaiting = 2;
        step = {TComputerAction::Highlight, square};
    } else if (ComputerWaiting == 3) {
        ComputerWaiting = 0;
        step = {TComputerAction::Move, square};
    }
    return step;
}
