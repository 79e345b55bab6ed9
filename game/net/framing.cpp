#include "game/net/framing.h"

std::string EncodeFrame(const std::string& message) {
    if (message.empty() || message.size() > MAX_FRAME_PAYLOAD)
        return std::string();
    return static_cast<char>(static_cast<unsigned char>(message.size())) + message;
}

void TFrameDecoder::Feed(const char* data, std::size_t count) {
    // Bytes already given back are dropped before the buffer grows.
    if (read_ > 0 && read_ * 2 >= buffer_.size()) {
        buffer_.erase(0, read_);
        read_ = 0;
    }
    buffer_.append(data, count);
}

bool TFrameDecoder::Next(std::string& message) {
    while (read_ < buffer_.size()) {
        const std::size_t length = static_cast<unsigned char>(buffer_[read_]);
        if (buffer_.size() - read_ - 1 < length)
            return false;
        const std::size_t start = read_ + 1;
        read_ = start + length;
        if (length == 0 || length > MAX_FRAME_PAYLOAD) {
            ++Rejected;
            continue;
        }
        message.assign(buffer_, start, length);
        return true;
    }
    return false;
}

bool TFrameDecoder::Ready() const {
    for (std::size_t at = read_; at < buffer_.size();) {
        const std::size_t length = static_cast<unsigned char>(buffer_[at]);
        if (buffer_.size() - at - 1 < length)
            return false;
        if (length != 0 && length <= MAX_FRAME_PAYLOAD)
            return true;
        at += 1 + length;
    }
    return false;
}

void TFrameDecoder::Clear() {
    buffer_.clear();
    read_ = 0;
}
