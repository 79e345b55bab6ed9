#include "game/board/board_log.h"

#include "game/board/strategy.h"

void TBoardLog::Record(const TBoardEvent& event) {
    const std::string p = std::to_string(event.Player);
    switch (event.Kind) {
    case TBoardEvent::TKind::GameStart:
        Text += "game " + std::to_string(Games++) + " start\n";
        break;
    case TBoardEvent::TKind::Move: {
        const std::string strategy = event.Strategy ? StrategyName(event.Strategy) : "human";
        Text += "turn " + p + " throw " + std::to_string(event.Throw) + " move " +
                std::to_string(event.Square) + " " + strategy + "\n";
        break;
    }
    case TBoardEvent::TKind::NoMove:
        Text += "turn " + p + " throw " + std::to_string(event.Throw) + " none\n";
        break;
    case TBoardEvent::TKind::Win:
        Text += "win " + p + "\n";
        break;
    }
}
