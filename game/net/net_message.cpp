#include "game/net/net_message.h"

#include "game/board/board_constants.h"

namespace {

std::string Code(int code) {
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

bool Printable(unsigned char c) {
    return c >= 32 && c <= 126;
}

} // namespace

std::string NameMessage(const std::string& name) {
    std::string text = name.substr(0, NAME_MAX_LENGTH);
    if (text.empty())
        text = " ";
    return Code('0' + static_cast<int>(text.size()) - 1) + text;
}

std::string BeaconMessage() {
    return Code(MSG_BEACON);
}

std::string ChatMessage(const std::string& text) {
    return Code(MSG_CHAT) + text.substr(0, CHAT_MAX_LENGTH);
}

std::string ThrowRequestMessage() {
    return Code(MSG_THROW_REQUEST);
}

std::string ThrowResultMessage(int throwValue) {
    return Code(THROW_RESULT_BASE + throwValue);
}

std::string MoveMessage(int square) {
    return Code(square);
}

std::string NoMovesMessage() {
    return Code(MSG_NO_MOVES);
}

std::string HostWinMessage() {
    return Code(MSG_HOST_WIN);
}

std::string ClientWinMessage() {
    return Code(MSG_CLIENT_WIN);
}

std::string ReadyMessage() {
    return Code(MSG_READY);
}

std::string ExitMessage() {
    return Code(MSG_EXIT);
}

int MessageCode(const std::string& message) {
    return message.empty() ? -1 : static_cast<unsigned char>(message[0]);
}

TNetMessage DecodeMessage(const std::string& message) {
    TNetMessage result;
    const int code = MessageCode(message);
    if (code < 0)
        return result;
    result.Value = code;
    if (code < BOARD_SQUARES) {
        result.Kind = TNetKind::Move;
    } else if (code >= '0' && code <= '9') {
        const std::size_t length = static_cast<std::size_t>(code - '0') + 1;
        std::string name = message.substr(1, length);
        name.resize(length, ' ');
        result.Kind = TNetKind::Name;
        result.Value = 0;
        result.Text = CleanPeerText(name, NAME_MAX_LENGTH);
    } else if (code > THROW_RESULT_BASE && code <= THROW_RESULT_BASE + MAX_THROW) {
        result.Kind = TNetKind::ThrowResult;
        result.Value = code - THROW_RESULT_BASE;
    } else {
        switch (code) {
        case MSG_BEACON:
            result.Kind = TNetKind::Beacon;
            break;
        case MSG_CHAT:
            result.Kind = TNetKind::Chat;
            result.Text = CleanPeerText(message.substr(1), CHAT_MAX_LENGTH);
            break;
        case MSG_THROW_REQUEST:
            result.Kind = TNetKind::ThrowRequest;
            break;
        case MSG_NO_MOVES:
            result.Kind = TNetKind::NoMoves;
            break;
        case MSG_HOST_WIN:
            result.Kind = TNetKind::HostWin;
            break;
        case MSG_CLIENT_WIN:
            result.Kind = TNetKind::ClientWin;
            break;
        case MSG_READY:
            result.Kind = TNetKind::Ready;
            break;
        case MSG_EXIT:
            result.Kind = TNetKind::Exit;
            break;
        default:
            result.Kind = TNetKind::Unknown;
            return result;
        }
        result.Value = 0;
    }
    return result;
}

std::string CleanPeerText(const std::string& text, std::size_t maxLength) {
    std::string clean = text.substr(0, maxLength);
    for (char& c : clean)
        if (!Printable(static_cast<unsigned char>(c)))
            c = '?';
    return clean;
}
