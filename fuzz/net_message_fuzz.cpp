// The reader of the peer's messages on arbitrary bytes: every kind's field within its range, and
// the texts safe to show.

#include "fuzz/fuzz_support.h"
#include "game/board/board_constants.h"
#include "game/net/net_message.h"

namespace {

bool Printable(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    const TNetMessage message = DecodeMessage(bytes);
    fuzz::Check((message.Kind == TNetKind::None) == bytes.empty(), "nothing read from something");
    fuzz::Check(Printable(message.Text), "peer text with unprintable bytes");
    switch (message.Kind) {
    case TNetKind::Name:
        fuzz::Check(!message.Text.empty() &&
                        message.Text.size() <= static_cast<size_t>(NAME_MAX_LENGTH),
                    "a name of the wrong length");
        // A name read back is the name as it would be sent again.
        fuzz::Check(DecodeMessage(NameMessage(message.Text)).Text == message.Text,
                    "a name that does not survive a resend");
        break;
    case TNetKind::Chat:
        fuzz::Check(message.Text.size() <= static_cast<size_t>(CHAT_MAX_LENGTH), "a long chat");
        fuzz::Check(DecodeMessage(ChatMessage(message.Text)).Text == message.Text,
                    "a chat line that does not survive a resend");
        break;
    case TNetKind::ThrowResult:
        fuzz::Check(message.Value >= 1 && message.Value <= MAX_THROW, "a throw out of range");
        fuzz::Check(ThrowResultMessage(message.Value) == bytes.substr(0, 1), "a throw re-sent");
        break;
    case TNetKind::Move:
        fuzz::Check(message.Value >= 0 && message.Value < BOARD_SQUARES, "a square off the board");
        fuzz::Check(MoveMessage(message.Value) == bytes.substr(0, 1), "a move re-sent");
        break;
    default:
        fuzz::Check(message.Text.empty(), "text on a message that carries none");
        break;
    }
    const std::string clean = CleanPeerText(bytes, 20);
    fuzz::Check(clean.size() <= 20 && clean.size() <= bytes.size() && Printable(clean),
                "peer text not made safe");
    return 0;
}
