// The board screen's logic tick: the explanation of the special squares, then the local turn
// (the no-move and win dialogs, the computer's timed turn, the human's throw and move).

#include "game/board/game_screen.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "game/board/board_constants.h"
#include "game/board/board_globals.h"
#include "game/board/network_hooks.h"
#include "game/board/program_data.h"
#include "game/board/strategy.h"

#include "platform/system.h"

TNetworkHooks NetworkHooks;

int TGameScreen::Logic() {
    TScreen::Logic();
    HighlightParticles.Move();
    const int now = platform::MilliSecs();
    const bool dialogOpen = OKDialog || YesNoDialog;
    if (!dialogOpen)
        ExplainLogic(now);

    if (networkGame == 1) {
        NetworkGameLogic();
    } else if (OKDialog) {
        if (OKDialog->Manage() != 0) {
            OKDialog = nullptr;
            Die->visible = 0;
            Menu->AcceptInput = 1;
            Computer.ComputerWaiting = 0;
            Rules.PassTurn();
        }
    } else if (YesNoDialog) {
        const int answer = YesNoDialog->Manage();
        if (answer == 1) {
            // Another game: the winner (still CurrentPlayer) throws first; the specials, the wins
            // and the streaks stay.
            YesNoDialog = nullptr;
            AddStartPawns();
            Record(TBoardEvent::TKind::GameStart, Rules.CurrentPlayer, -1, 0);
        } else if (answer == -1) {
            YesNoDialog = nullptr;
            LeaveToTitle();
        }
    } else if (AnyValidMoves() == 0) {
        // Also on a computer's turn, which then waits for the OK. No sound.
        Record(TBoardEvent::TKind::NoMove, Rules.CurrentPlayer, -1, Rules.Movement);
        OKDialog = TDialogOK::Create(PlayerName[static_cast<std::size_t>(Rules.CurrentPlayer)] +
                                         " has no possible moves.",
                                     DialogBG, BOARD_DIALOG_WIDTH, 0, 0);
        OKDialog->Start();
    } else if (ComputerPlayer[static_cast<std::size_t>(Rules.CurrentPlayer)] == 1) {
        ComputerTurn(now);
    } else if (HumanTurn() == -1) {
        // The pointer rests on one of the player's pawns before the throw: the pawns keep their
        // places this tick.
        return 0;
    }
    PlacePawns();
    return 0;
}

int TGameScreen::NetworkGameLogic() {
    return NetworkHooks.GameLogic ? NetworkHooks.GameLogic(*this) : 0;
}

int TGameScreen::PlacePawns() {
    for (const auto& square : Squares) {
        if (square.pawn) {
            square.pawn->x = static_cast<float>(square.x);
            square.pawn->y = static_cast<float>(square.y);
        }
    }
    return 0;
}

// ---- The explanation of the special squares -----------------------------------------------------

int TGameScreen::ExplainLogic(int now) {
    // At most one square is ever under the pointer.
    const int under = SquareUnder(Game->Mouse->x, Game->Mouse->y);
    bool found = false;
    for (auto& square : Squares) {
        if (!square.special || square.id != under)
            continue;
        if (square.hover == 0) {
            for (auto& other : Squares)
                other.hover = 0;
            square.hover = ClockAdd(now, EXPLAIN_HOVER_DELAY);
            // 0 means "not hovered": a time that falls on it is taken a millisecond later.
            if (square.hover == 0)
                square.hover = 1;
        }
        if (platform::MilliSecsDiff(now, square.hover) > 0) {
            Explain->ImageFrame = square.special->id;
            ExplainFade->ImageFrame = square.special->id;
            ExplainFade->visible = 0;
            ExplainFade->Alpha = 1.0f;
            ExplainFade->fadeTime = 0;
        }
        found = true;
    }
    if (!found) {
        // The frames differ only from the second call after the pointer has left, the first one
        // having put Explain back to its idle frame.
        if (ExplainFade->ImageFrame != Explain->ImageFrame && ExplainFade->fadeTime == 0) {
            ExplainFade->fadeMax = ClockAdd(now, EXPLAIN_FADE_LENGTH);
            ExplainFade->visible = 1;
            ExplainFade->fadeTime = 1;
        }
        Explain->ImageFrame = 0;
        for (auto& square : Squares)
            square.hover = 0;
    }
    if (ExplainFade->visible) {
        if (platform::MilliSecsDiff(now, ExplainFade->fadeMax) >= 0) {
            ExplainFade->visible = 0;
            ExplainFade->ImageFrame = 0;
            ExplainFade->Alpha = 1.0f;
            ExplainFade->fadeTime = 0;
        } else if (platform::MilliSecsDiff(ExplainFade->fadeMax, now) <= EXPLAIN_FADE_SHRINK) {
            // Once per logic call, not scaled by Delta.
            ExplainFade->Alpha *= EXPLAIN_FADE_FACTOR;
        }
    }
    return 0;
}

// ---- The throw ----------------------------------------------------------------------------------

int TGameScreen::Throw() {
    PlayRollSound();
    Rules.Movement = platform::Rand(1, MAX_THROW);
    Die->ImageFrame = Rules.Movement - 1;
    Menu->AcceptInput = 0;
    Die->visible = 1;
    return 0;
}

// ---- The human's turn ---------------------------------------------------------------------------

int TGameScreen::HumanTurn() {
    if (Menu->Clicked("die"))
        Throw();
    const int square = PointerMove();
    if (square == POINTER_BEFORE_THROW)
        return -1;
    TMoveResult result;
    if (square >= 0 && MakeMove(square, true, result))
        FinishMove(result, true);
    return 0;
}

int TGameScreen::PointerMove() {
    Highlight->visible = 0;
    const int under = SquareUnder(Game->Mouse->x, Game->Mouse->y);
    const int p = Rules.CurrentPlayer;
    for (auto& square : Squares) {
        const TPawnPtr& pawn = square.pawn;
        if (!pawn)
            continue;
        pawn->x = static_cast<float>(square.x);
        pawn->y = static_cast<float>(square.y);
        pawn->Shadow = 0;
        if (pawn->Player != p || square.id != under)
            continue;
        if (Rules.Movement == 0)
            return POINTER_BEFORE_THROW;
        const int i = square.id;
        const TMoveKind kind = Rules.Classify(i);
        if (kind == TMoveKind::None)
            continue;
        if (kind == TMoveKind::BearOff) {
            AddBearOffSign(i);
        } else {
            const TSquare& target = Squares[static_cast<std::size_t>(i + Rules.Movement)];
            Highlight->SetPosition(static_cast<float>(target.x), static_cast<float>(target.y));
            Highlight->visible = 1;
        }
        // Exactly one press since the last tick makes the move (the count is taken either way).
        // The pointer is over one square only, so nothing else of the scan could act.
        if (Game->Mouse->GetMh(1) == 1)
            return i;
    }
    return POINTER_NO_MOVE;
}

// ---- The computer's turn ------------------------------------------------------------------------

int TGameScreen::ComputerTurn(int now) {
    Computer.Advance(now);
    switch (StrategyOfTurn(ComputerPlayerStrategy, Computer.WhichStrategy)) {
    case STRATEGY_RACER:
        return ComputerRacer();
    case STRATEGY_PLODDER:
        return ComputerPlodder();
    default:
        // Any other setting leaves the computer idle.
        return 0;
    }
}

int TGameScreen::ComputerRacer() {
    return ComputerStrategyStep(platform::MilliSecs(), STRATEGY_RACER);
}

int TGameScreen::ComputerPlodder() {
    return ComputerStrategyStep(platform::MilliSecs(), STRATEGY_PLODDER);
}

int TGameScreen::ComputerStrategyStep(int now, int strategy) {
    const TComputerStep step = Computer.Step(now, Rules, strategy, Die->visible != 0);
    switch (step.Action) {
    case TComputerAction::Throw:
        return Throw();
    case TComputerAction::Highlight:
        return ComputerHighlight(step.Square);
    case TComputerAction::Move:
        return MovePawn(step.Square);
    case TComputerAction::None:
        break;
    }
    return 0;
}

int TGameScreen::ComputerHighlight(int i) {
    const int t = i + Rules.Movement;
    if (i < 0 || t >= BOARD_SQUARES)
        return 0;
    const TSquare& target = Squares[static_cast<std::size_t>(t)];
    Highlight->x = static_cast<float>(target.x);
    Highlight->y = static_cast<float>(target.y);
    Highlight->visible = 1;
    return 0;
}
