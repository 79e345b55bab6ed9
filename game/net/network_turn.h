#pragma once
// The turn loop of a networked game, on the host and on the joining machine alike: the name
// exchange, the chat line, the one incoming message of the tick, the throw button, the move of
// this machine's player and the end-of-game dialog. The board it plays on is reached through
// TNetworkBoard: the board screen stands behind it in the game, a plain recording board in the
// tests, so that two copies of the loop can play each other over loopback without a window.
//
// The peer is not trusted: every message it sends is read by DecodeMessage, acted on only where
// it fits the side, the turn and the pending throw, and every move it sends is checked by the
// rules engine before the board changes.

#include "game/board/rules.h"
#include "game/net/client.h"

#include <string>

// Indexes into PlayerColor of the lines the loop shows.
constexpr int LINE_SYSTEM = 0;
constexpr int LINE_TURN = 3;

// A peer whose name has not come this long after the connection is dropped, so that a connection
// that never speaks (a port scan, another program, a frozen peer) cannot hold the game.
constexpr int NAME_TIMEOUT_MS = 10000;

// What the loop needs of the board screen.
class TNetworkBoard {
public:
    virtual ~TNetworkBoard() = default;

    // ---- The game both machines keep equal, and who plays here ----
    virtual TRules& Rules() = 0;
    // 1 on the host, 2 on the joining machine.
    virtual int MyPlayer() const = 0;
    virtual std::string& PlayerName(int player) = 0;
    // 1: turn changes are also written as lines.
    virtual int TextIndicator() const = 0;

    // ---- The exchange's own state (times are MilliSecs values) ----
    virtual int& SentName() = 0;
    virtual int& GotName() = 0;
    virtual int& LastBeacon() = 0;
    virtual int& NextBeacon() = 0;
    // On the host: 1 while the joining player's ready message is awaited after the host won.
    virtual int& needReady() = 0;
    // On the joining side: 1 from its throw request until the throw result answers it.
    virtual int& ThrowRequested() = 0;

    // ---- The player's input of this tick ----
    virtual bool DieClicked() = 0;
    // True when the player finished a chat line this tick; the line is put in `text` and the chat
    // line is made ready for the next one.
    virtual bool TakeChatLine(std::string& text) = 0;
    // The pointer's part of this player's move: shows where the pawn under the pointer would go
    // and returns the square of the pawn clicked for a legal move, or -1.
    virtual int ChosenSquare() = 0;

    // ---- What the player sees and hears ----
    virtual void ShowLine(const std::string& text, int color) = 0;
    virtual void PlayRollSound() = 0;
    virtual void PlayNoMoveSound() = 0;
    // The die shows Rules().Movement; hidden, the throw button stands in its place.
    virtual void ShowDie() = 0;
    virtual void HideDie() = 0;
    virtual void SetThrowButton(int acceptInput) = 0;
    // The chat line takes typing (and keeps the shell's hot keys) only while enabled.
    virtual void EnableChat(bool on) = 0;
    virtual void RedrawStats() = 0;

    // ---- Moves, wins and games ----
    // The peer's move, as the board makes a move it was told of: the effects and the end of the
    // turn, a win counted and its dialog opened. Called only for a move the rules allow.
    virtual void MovePawn(int square) = 0;
    // This player's move with its sound and particles; the turn's end is the loop's.
    virtual void ApplyLocalMove(int square) = 0;
    // Hides the destination marker; on a win the move's particles go too.
    virtual void HideHighlight(bool clearParticles) = 0;
    virtual void UpdateWins(int player) = 0;
    virtual bool EndDialogOpen() = 0;
    // 1 Yes, -1 No, 0 while open.
    virtual int ManageEndDialog() = 0;
    virtual void OpenEndDialog(const std::string& caption) = 0;
    virtual void CloseEndDialog() = 0;
    // The ten start pawns again, nothing borne off.
    virtual void NewGame() = 0;
    virtual void LeaveToTitle() = 0;
    // True while the board fades away: the peer's messages no longer act on it.
    virtual bool Leaving() = 0;
};

// One logic tick of the networked game at time `now`: the connection step first (opening, the
// peer's arrival, the end of the connection, each told in a line), then, while the connection
// stands, the turn loop with the next message from `link`. A connection that ends, or stays
// silent for NAME_TIMEOUT_MS, before the peer's name has come is dropped: the host listens again,
// the joining side fails as a connect does. Always 0.
int NetworkTick(TNetworkBoard& board, TClient& link, int now);

// The move of this machine's player, on its turn: the pawn chosen with the pointer is moved, the
// peer is told the square it left, and the turn ends (or the game, with the win claim). Always 0.
int NetworkMove(TNetworkBoard& board, TClient& link);

// This machine's player leaves the networked game: the peer is told, and the connection closed.
void LeaveNetworkGame(TClient& link);

// Texts of the loop that other parts of the game show too.
std::string ExitLine(const std::string& peerName);
