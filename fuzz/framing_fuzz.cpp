// The frame decoder on an arbitrary byte stream, fed in pieces of arbitrary sizes: the messages
// come back the same however the stream is cut, each within the frame limit.

#include "fuzz/fuzz_support.h"
#include "game/net/framing.h"
#include "game/net/net_message.h"

#include <vector>

namespace {

std::vector<std::string> Drain(TFrameDecoder& decoder) {
    std::vector<std::string> messages;
    std::string message;
    while (decoder.Next(message)) {
        fuzz::Check(!message.empty() && message.size() <= MAX_FRAME_PAYLOAD,
                    "a message outside the frame limit");
        fuzz::Check(EncodeFrame(message).substr(1) == message, "a message that cannot be re-sent");
        DecodeMessage(message);
        messages.push_back(message);
    }
    fuzz::Check(!decoder.Ready(), "ready with nothing to give");
    return messages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte seeds the cuts; the rest is the stream.
    unsigned cut = data[0] | 1u;
    const std::string stream = fuzz::Bytes(data + 1, size - 1);

    TFrameDecoder whole;
    whole.Feed(stream);
    const std::vector<std::string> expected = Drain(whole);

    TFrameDecoder pieces;
    std::vector<std::string> got;
    for (size_t at = 0; at < stream.size();) {
        cut = cut * 1103515245u + 12345u;
        const size_t n = std::min<size_t>(stream.size() - at, 1 + (cut >> 16) % 70);
        pieces.Feed(stream.data() + at, n);
        at += n;
        for (const std::string& m : Drain(pieces))
            got.push_back(m);
    }
    fuzz::Check(got == expected, "messages depend on how the stream was cut");
    fuzz::Check(pieces.Rejected == whole.Rejected, "rejections depend on the cuts");
    fuzz::Check(pieces.Buffered() == whole.Buffered(), "left-over bytes depend on the cuts");
    pieces.Clear();
    fuzz::Check(pieces.Buffered() == 0 && !pieces.Ready(), "bytes kept after Clear");
    return 0;
}
