#pragma once
// How messages travel on the stream: each one is preceded by its length in one byte, so that the
// receiver gets back exactly the messages that were sent, however TCP joins or splits them (a
// move and a win claim leave in one tick; a chat line may hold any printable character). Every
// message of the game is far below the limit; a longer frame from the peer is skipped whole, so
// the stream stays in step.

#include <cstddef>
#include <string>

// The longest message a frame may carry (the longest message of the game, a chat line, is 36).
constexpr std::size_t MAX_FRAME_PAYLOAD = 64;

// The length byte and the message; "" for an empty message or one longer than MAX_FRAME_PAYLOAD.
std::string EncodeFrame(const std::string& message);

// Takes the bytes of the stream as they come and gives back the messages, one at a time.
class TFrameDecoder {
public:
    void Feed(const char* data, std::size_t count);
    void Feed(const std::string& bytes) { Feed(bytes.data(), bytes.size()); }
    // Takes the next whole message into `message`; false while none is complete. Empty frames and
    // frames longer than MAX_FRAME_PAYLOAD are dropped on the way and counted in Rejected.
    bool Next(std::string& message);
    // True when Next would give a message.
    bool Ready() const;
    // Bytes fed and not yet given back. The owner stops reading its socket above a limit of its
    // own, so a flood from the peer waits in the network instead of piling up here.
    std::size_t Buffered() const { return buffer_.size() - read_; }
    // Drops everything held (the connection has ended).
    void Clear();

    int Rejected = 0;

private:
    std::string buffer_;
    std::size_t read_ = 0;
};
