#include "game/net/network_turn.h"

#include "game/net/net_message.h"
#include "platform/net.h"
#include "platform/system.h"

#include <cstdint>

namespace {

constexpr int HOST = 1;
constexpr int JOINING = 2;
constexpr int BEACON_INTERVAL_MS = 1000;
// Who the peer is before its name has come.
constexpr const char* UNNAMED_PEER = "The other player";

int PeerOf(TNetworkBoard& board) {
    return board.MyPlayer() == HOST ? JOINING : HOST;
}

std::string PeerName(TNetworkBoard& board) {
    return board.GotName() ? board.PlayerName(PeerOf(board)) : std::string(UNNAMED_PEER);
}

// A time `ms` after `now`, wrapping as the clock does.
int Later(int now, int ms) {
    return static_cast<int>(static_cast<std::uint32_t>(now) + static_cast<std::uint32_t>(ms));
}

void Log(const std::string& text) {
    platform::Warn("net", text);
}

// In text-indicator mode: whose turn it is now.
void AddTurnLine(TNetworkBoard& board) {
    if (board.TextIndicator() != 1)
        return;
    const int current = board.Rules().CurrentPlayer;
    board.ShowLine(current == board.MyPlayer() ? "Your turn!"
                                               : board.PlayerName(current) + "'s turn!",
                   LINE_TURN);
}

// A new connection starts a new exchange: nothing of an earlier networked game carries over.
void ResetExchange(TNetworkBoard& board) {
    board.SentName() = 0;
    board.GotName() = 0;
    board.LastBeacon() = 0;
    board.NextBeacon() = 0;
    board.needReady() = 0;
    board.ThrowRequested() = 0;
    board.Rules().Movement = 0;
    board.EnableChat(false);
}

// The peer has gone, by its exit message or by the end of the connection: nothing more can come,
// so this side closes too, and the chat line gives the keys back to the shell.
void PeerGone(TNetworkBoard& board, TClient& link) {
    board.PlayNoMoveSound();
    board.ShowLine(ExitLine(PeerName(board)), LINE_SYSTEM);
    board.EnableChat(false);
    link.ShutDown();
}

void ReportConnection(TNetworkBoard& board, TClient& link, TNetEvent event) {
    const std::string port = std::to_string(link.Port);
    const bool host = board.MyPlayer() == HOST;
    switch (event) {
    case TNetEvent::Opened:
        board.ShowLine(host ? "Waiting for another player on port " + port + "."
                            : "Connecting to " + link.Host + " on port " + port + ".",
                       LINE_SYSTEM);
        break;
    case TNetEvent::Failed:
        board.ShowLine(host ? "Could not open port " + port + "."
                            : "Could not connect to " + link.Host + " on port " + port + ".",
                       LINE_SYSTEM);
        break;
    case TNetEvent::Ended:
        PeerGone(board, link);
        break;
    case TNetEvent::None:
    case TNetEvent::Connected:
        break;
    }
}

// A connection gone before the peer's name came was no player: it never spoke in time, or it
// ended first (a port check, a player who gave up). It is given up; the joining side has nothing
// to play with, and the host waits for another player on a board as new, since its player may
// have thrown meanwhile.
void DropNamelessPeer(TNetworkBoard& board, TClient& link, int now, const std::string& why) {
    Log("the other player's connection " + why + "; dropped");
    if (board.MyPlayer() == HOST) {
        board.ShowLine("A connection that did not answer was dropped.", LINE_SYSTEM);
        ResetExchange(board);
        board.HideHighlight(true);
        board.HideDie();
        board.SetThrowButton(1);
        board.Rules().CurrentPlayer = HOST;
        board.NewGame();
    }
    ReportConnection(board, link, link.DropPeer(now));
}

// The name exchange. False when the tick ends here.
bool NameStep(TNetworkBoard& board, TClient& link, const TNetMessage& message, int now) {
    if (!board.SentName()) {
        link.SendString(NameMessage(board.PlayerName(board.MyPlayer())));
        board.SentName() = 1;
        return true;
    }
    if (board.GotName())
        return true;
    if (message.Kind != TNetKind::None && message.Kind != TNetKind::Beacon) {
        if (message.Kind == TNetKind::Name) {
            board.PlayerName(PeerOf(board)) = message.Text;
            board.ShowLine("** " + message.Text + " joined the game. **", LINE_SYSTEM);
            board.GotName() = 1;
            AddTurnLine(board);
            board.RedrawStats();
            board.EnableChat(true);
        }
        return true;
    }
    if (platform::MilliSecsDiff(now, board.NextBeacon()) >= 0) {
        link.SendString(BeaconMessage());
        board.LastBeacon() = now;
        board.NextBeacon() = Later(now, BEACON_INTERVAL_MS);
        return true;
    }
    if (platform::MilliSecsDiff(now, board.LastBeacon()) > 0) {
        board.LastBeacon() = now;
        return false;
    }
    return true;
}

// The peer wants another game; on the host this frees the throw button.
void PeerReady(TNetworkBoard& board) {
    board.needReady() = 0;
    board.ShowLine(PeerName(board) + " is ready.", LINE_SYSTEM);
}

// The end-of-game dialog. False when it is not open; the tick ends when it is.
bool EndOfGameStep(TNetworkBoard& board, TClient& link, const TNetMessage& message) {
    if (!board.EndDialogOpen())
        return false;
    TRules& rules = board.Rules();
    const int answer = board.ManageEndDialog();
    if (message.Kind == TNetKind::Ready) {
        PeerReady(board);
    } else if (message.Kind == TNetKind::Exit) {
        PeerGone(board, link);
    }
    if (answer == 1) {
        board.CloseEndDialog();
        // With the peer gone there is no next game: the finished board stays until the player
        // leaves.
        if (link.Initialized != NET_CONNECTED)
            return true;
        board.HideDie();
        rules.Movement = 0;
        board.ThrowRequested() = 0;
        board.SetThrowButton(1);
        link.SendString(ReadyMessage());
        // The winner of the game just ended moves first. A dialog opened on the host's word, on a
        // board that shows no win, is the host's win: both machines then start with the host.
        rules.CurrentPlayer = rules.BearedOff[JOINING] == WIN_COUNT ? JOINING : HOST;
        board.ShowLine(board.needReady() ? "Waiting for " + PeerName(board) + "."
                                         : std::string("Starting new game."),
                       LINE_SYSTEM);
        AddTurnLine(board);
        board.NewGame();
    } else if (answer == -1) {
        board.CloseEndDialog();
        board.LeaveToTitle();
    }
    return true;
}

// The peer's move, made only when the rules allow it on this board.
bool PeerMove(TNetworkBoard& board, int square) {
    TRules& rules = board.Rules();
    if (rules.Classify(square) == TMoveKind::None) {
        Log("the other player's move from square " + std::to_string(square) + " with a throw of " +
            std::to_string(rules.Movement) + " is not allowed here; ignored");
        return false;
    }
    board.MovePawn(square);
    if (!rules.Winner())
        AddTurnLine(board);
    return true;
}

// A throw that allowed no move: the turn passes. The host's throws are told on both machines;
// the joining side tells its own.
void PassWithoutMove(TNetworkBoard& board) {
    board.PlayNoMoveSound();
    if (board.Rules().CurrentPlayer == HOST)
        board.ShowLine(board.PlayerName(HOST) + " has no possible moves.", LINE_SYSTEM);
    board.HideDie();
    board.Rules().PassTurn();
    board.SetThrowButton(1);
    AddTurnLine(board);
}

// The peer's win claim, taken only while no end-of-game dialog is open: after the winning move the
// dialog is open already, so a claim acts only where this board did not show the win. The host
// checks the joining player's claim against its board and counts the win. The joining side takes
// the host's word, as it takes the host's throws, uncounted: the host has finished the game, so
// the joining side finishes it too, and "Yes" on both machines starts them on one board again.
void PeerClaimsWin(TNetworkBoard& board) {
    const int peer = PeerOf(board);
    if (peer == JOINING) {
        if (board.Rules().BearedOff[JOINING] != WIN_COUNT) {
            board.ShowLine("ERROR: The client seems to think it won.", LINE_SYSTEM);
            return;
        }
        board.UpdateWins(JOINING);
    }
    const std::string name = board.PlayerName(peer);
    board.ShowLine(name + " wins!", LINE_SYSTEM);
    board.OpenEndDialog(name + " wins!  Do you want to play again?");
}

// The peer says its throw allows no move. The host drew that throw, so it asks the rules and keeps
// the turn where the throw has a move (or none was drawn); the joining side never learns a throw
// of the host's that allows no move, and takes the host's word.
bool NoMovesBorneOut(TNetworkBoard& board) {
    const TRules& rules = board.Rules();
    if (board.MyPlayer() != HOST || (rules.Movement != 0 && rules.AnyValidMoves() == 0))
        return true;
    Log("the other player claims no move with a throw of " + std::to_string(rules.Movement) +
        "; refused");
    // The joining machine has passed its turn and waits for the host's throw, the host for its
    // move: neither will come, and the players are told so.
    board.ShowLine("No-moves claim refused: the game cannot go on. Escape leaves.", LINE_SYSTEM);
    return false;
}

// The host draws a throw and shows it.
void DrawThrow(TNetworkBoard& board) {
    TRules& rules = board.Rules();
    board.PlayRollSound();
    rules.Movement = platform::Rand(1, MAX_THROW);
    board.ShowDie();
    board.SetThrowButton(0);
}

// The messages both sides act on alike; false for the others.
bool CommonMessage(TNetworkBoard& board, TClient& link, const TNetMessage& message) {
    const int peer = PeerOf(board);
    const int current = board.Rules().CurrentPlayer;
    switch (message.Kind) {
    case TNetKind::Chat:
        // The code alone carries no line.
        if (!message.Text.empty())
            board.ShowLine(message.Text, peer);
        return true;
    case TNetKind::Beacon:
        link.SendString(NameMessage(board.PlayerName(board.MyPlayer())));
        return true;
    case TNetKind::Move:
        if (current == peer)
            PeerMove(board, message.Value);
        return true;
    case TNetKind::NoMoves:
        // On the host, the joining player's throw, drawn here, goes with the turn.
        if (current == peer && NoMovesBorneOut(board))
            PassWithoutMove(board);
        return true;
    case TNetKind::Exit:
        PeerGone(board, link);
        return true;
    case TNetKind::Ready:
        PeerReady(board);
        return true;
    default:
        return false;
    }
}

void HostMessage(TNetworkBoard& board, TClient& link, const TNetMessage& message) {
    TRules& rules = board.Rules();
    if (!CommonMessage(board, link, message)) {
        if (message.Kind == TNetKind::ThrowRequest && rules.CurrentPlayer == JOINING &&
            rules.Movement == 0) {
            DrawThrow(board);
            link.SendString(ThrowResultMessage(rules.Movement));
        } else if (message.Kind == TNetKind::ClientWin) {
            PeerClaimsWin(board);
        }
        // Names, throw results, the host's own claim and unknown codes are not for the host.
    }
    if (link.Initialized != NET_CONNECTED)
        return;
    if (board.DieClicked() && rules.CurrentPlayer == HOST && board.needReady() == 0 &&
        rules.Movement == 0) {
        DrawThrow(board);
        if (rules.AnyValidMoves()) {
            link.SendString(ThrowResultMessage(rules.Movement));
        } else {
            link.SendString(NoMovesMessage());
            PassWithoutMove(board);
        }
    }
    NetworkMove(board, link);
}

void JoiningMessage(TNetworkBoard& board, TClient& link, const TNetMessage& message) {
    TRules& rules = board.Rules();
    if (!CommonMessage(board, link, message)) {
        // The host's own throw, or the answer to this side's request; a throw the player never
        // asked for is not taken.
        if (message.Kind == TNetKind::ThrowResult && rules.Movement == 0 &&
            (rules.CurrentPlayer == HOST || board.ThrowRequested())) {
            board.ThrowRequested() = 0;
            rules.Movement = message.Value;
            board.ShowDie();
            board.SetThrowButton(0);
        } else if (message.Kind == TNetKind::HostWin) {
            PeerClaimsWin(board);
        }
        // Names, throw requests, the joining side's own claim and unknown codes are not for it.
    }
    if (link.Initialized != NET_CONNECTED)
        return;
    if (board.DieClicked() && rules.CurrentPlayer == JOINING && rules.Movement == 0) {
        board.PlayRollSound();
        link.SendString(ThrowRequestMessage());
        board.ThrowRequested() = 1;
    }
    // Only a throw result sets Movement, so this waits for it. The die stays up until the host's
    // next throw or no-moves message.
    if (rules.CurrentPlayer == JOINING && rules.AnyValidMoves() == 0) {
        link.SendString(NoMovesMessage());
        board.ShowLine("You have no possible moves.", LINE_SYSTEM);
        rules.PassTurn();
        AddTurnLine(board);
    }
    NetworkMove(board, link);
}

} // namespace

std::string ExitLine(const std::string& peerName) {
    return "** " + peerName + " exited the game. **";
}

int NetworkTick(TNetworkBoard& board, TClient& link, int now) {
    // A win claim arriving after "No" would otherwise be counted again and open a second dialog
    // over the fade; leaving the board sends the exit message.
    if (board.Leaving())
        return 0;
    if (link.Initialized == NET_CREATED)
        ResetExchange(board);
    const TNetEvent event = link.ConnectStep(now);
    if (event == TNetEvent::Ended && !board.GotName()) {
        DropNamelessPeer(board, link, now, "ended before its name came");
        return 0;
    }
    ReportConnection(board, link, event);
    if (link.Initialized != NET_CONNECTED) {
        // The dialog of a game that ended with the connection still answers, so that the player
        // is never left with a dialog that holds the Escape key and takes no answer.
        EndOfGameStep(board, link, TNetMessage());
        return 0;
    }
    const TNetMessage message = DecodeMessage(link.ReceiveString());
    // Leaving before the name is ending before it.
    if (!board.GotName() && message.Kind == TNetKind::Exit) {
        DropNamelessPeer(board, link, now, "left before its name came");
        return 0;
    }
    const bool goOn = NameStep(board, link, message, now);
    if (!board.GotName() && platform::MilliSecsDiff(now, link.ConnectedAt()) >= NAME_TIMEOUT_MS) {
        DropNamelessPeer(board, link, now,
                         "sent no name within " + std::to_string(NAME_TIMEOUT_MS / 1000) + " s");
        return 0;
    }
    if (!goOn)
        return 0;
    // Keys typed into the chat line must not answer the end-of-game dialog, and the peer would
    // drop a line sent meanwhile: the chat waits while the dialog is open.
    std::string line;
    if (!board.EndDialogOpen() && board.TakeChatLine(line)) {
        board.ShowLine(line, board.MyPlayer());
        link.SendString(ChatMessage(line));
    }
    if (EndOfGameStep(board, link, message))
        return 0;
    if (board.MyPlayer() == HOST)
        HostMessage(board, link, message);
    else
        JoiningMessage(board, link, message);
    return 0;
}

int NetworkMove(TNetworkBoard& board, TClient& link) {
    TRules& rules = board.Rules();
    const int me = board.MyPlayer();
    if (rules.CurrentPlayer != me)
        return 0;
    const int square = board.ChosenSquare();
    if (square < 0 || rules.Classify(square) == TMoveKind::None)
        return 0;
    board.ApplyLocalMove(square);
    link.SendString(MoveMessage(square));
    board.HideDie();
    rules.Movement = 0;
    if (rules.BearedOff[me] == WIN_COUNT) {
        board.HideHighlight(true);
        board.SetThrowButton(1);
        board.UpdateWins(me);
        board.ShowLine("You win!", LINE_SYSTEM);
        if (me == HOST) {
            link.SendString(HostWinMessage());
            board.needReady() = 1;
        } else {
            link.SendString(ClientWinMessage());
        }
        // The turn stays with the winner, as on the peer's board; "Yes" gives the first move of
        // the next game to the winner either way.
        board.OpenEndDialog("You win!  Do you want to play again?");
    } else {
        AddTurnLine(board);
        board.HideHighlight(false);
    }
    return 0;
}

void LeaveNetworkGame(TClient& link) {
    if (link.Initialized == NET_CONNECTED)
        link.SendString(ExitMessage());
    link.ShutDown();
}
