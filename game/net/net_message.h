#pragma once
// The messages two copies of the game exchange over their connection: a string of bytes whose
// first byte, the code, tells the kind. Only the name and the chat message carry text after the
// code. Building and reading them are pure functions, so that anything a peer may send can be
// tried on the reader without a connection or a board.

#include <string>

// Message codes. The move message's code is the square the pawn left, 0 to 29; the throw result's
// is THROW_RESULT_BASE + the throw; the name message's is the digit of the name's length minus 1.
constexpr int MSG_BEACON = '{';
constexpr int MSG_CHAT = 255;
constexpr int MSG_THROW_REQUEST = 200;
constexpr int THROW_RESULT_BASE = 200;
constexpr int MSG_NO_MOVES = 'd';
constexpr int MSG_HOST_WIN = 'i';
constexpr int MSG_CLIENT_WIN = 'j';
constexpr int MSG_READY = 220;
constexpr int MSG_EXIT = 222;

// The longest name (the name prompt's limit, which one digit can announce) and chat line.
constexpr int NAME_MAX_LENGTH = 10;
constexpr int CHAT_MAX_LENGTH = 35;

enum class TNetKind {
    None,         // the empty text: nothing came
    Name,         // Text: the peer's name
    Beacon,       // asks for the name
    Chat,         // Text: the line, empty for the code alone
    ThrowRequest, // the client asks the host to throw for it
    ThrowResult,  // Value: the throw, 1 to 6
    Move,         // Value: the square the moved pawn left, 0 to 29
    NoMoves,      // the sender's throw allowed no move
    HostWin,      // the host claims the game
    ClientWin,    // the client claims the game
    Ready,        // the sender's player wants another game
    Exit,         // the sender's player has left
    Unknown,      // Value: a code that means nothing
};

struct TNetMessage {
    TNetKind Kind = TNetKind::None;
    int Value = 0;
    std::string Text;
};

// ---- Building ----

// The digit of the length minus 1, then the name. A name is cut to NAME_MAX_LENGTH characters;
// an empty one goes out as one blank.
std::string NameMessage(const std::string& name);
std::string BeaconMessage();
// The chat code and the line (cut to CHAT_MAX_LENGTH characters).
std::string ChatMessage(const std::string& text);
std::string ThrowRequestMessage();
// The throw result for a throw of 1 to 6.
std::string ThrowResultMessage(int throwValue);
// The move of the pawn that stood on square 0 to 29.
std::string MoveMessage(int square);
std::string NoMovesMessage();
std::string HostWinMessage();
std::string ClientWinMessage();
std::string ReadyMessage();
std::string ExitMessage();

// ---- Reading ----

// The code of the first byte, 0 to 255; -1 for the empty text.
int MessageCode(const std::string& message);
// The kind of a message and its field, read from its code as the receiver acts on it (bytes after
// a code that carries no field are not looked at). A name is the n + 1 bytes after the digit n,
// filled with blanks when the message is shorter; a chat line is the bytes after the code, cut
// to CHAT_MAX_LENGTH. Both come back as CleanPeerText.
TNetMessage DecodeMessage(const std::string& message);

// Text from the peer made safe to show: at most maxLength bytes, every byte outside the
// printable characters 32 to 126 replaced by '?'.
std::string CleanPeerText(const std::string& text, std::size_t maxLength);
