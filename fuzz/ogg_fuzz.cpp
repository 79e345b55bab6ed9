// The Ogg Vorbis music decoder on arbitrary bytes in memory: it opens or refuses, then plays out
// and rewinds without fault.

#include "framework/audio/ogg_stream.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/music_check.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const auto music = TOGGStream::Load(platform::MemoryStream(fuzz::Bytes(data, size)), &error);
    if (!music)
        return 0;
    fuzz::PlayThrough(*music);
    return 0;
}
