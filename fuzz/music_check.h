#pragma once
// The property both music decoders keep on arbitrary bytes: a stream that opened plays once
// through to its end, then rewinds, loops and frees, without fault.

#include <vector>

namespace fuzz {

template <class Stream> void PlayThrough(Stream& music) {
    music.STREAM_LOOP = 0;
    music.PlayStatus = 1;
    std::vector<unsigned char> buffer(4096);
    for (int i = 0; i < 64 && music.PlayStatus != 0; ++i)
        music.FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    music.Stop();
    music.FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    // Looping, however short or damaged the data: a few buffers from the loop point.
    music.STREAM_LOOP = 1;
    for (int i = 0; i < 4; ++i)
        music.FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    music.Free();
}

} // namespace fuzz
