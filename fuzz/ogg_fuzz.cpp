// The Ogg Vorbis music decoder on arbitrary bytes in memory: it opens or refuses, then plays out
// and rewinds without fault.

#include "framework/audio/ogg_stream.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const auto music = TOGGStream::Load(platform::MemoryStream(fuzz::Bytes(data, size)), &error);
    if (!music)
        return 0;
    // Played once through (to its end), then rewound.
    music->STREAM_LOOP = 0;
    music->PlayStatus = 1;
    std::vector<unsigned char> buffer(4096);
    for (int i = 0; i < 64 && music->PlayStatus != 0; ++i)
        music->FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    music->Stop();
    music->FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    music->Free();
    return 0;
}
