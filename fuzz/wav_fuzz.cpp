// The WAV reader on arbitrary bytes, as the sample loader and the music decoder both use it.

#include "framework/audio/wav_stream.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/music_check.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    std::string error;
    platform::DecodeSound(bytes, 0, &error);

    platform::TWavInfo info;
    const platform::StreamPtr header = platform::MemoryStream(bytes);
    if (platform::ReadWavHeader(*header, info)) {
        fuzz::Check(info.channels == 1 || info.channels == 2, "a WAV of odd channels");
        fuzz::Check(info.bits == 8 || info.bits == 16, "a WAV of odd sample bits");
        fuzz::Check(info.dataPos >= 0 && info.dataSize >= 0 &&
                        info.dataPos + info.dataSize <= static_cast<int64_t>(size) &&
                        info.dataSize % info.FrameBytes() == 0,
                    "WAV data outside the file or in part frames");
    }

    const auto music = TWavStream::Load(platform::MemoryStream(bytes), &error);
    if (!music)
        return 0;
    fuzz::PlayThrough(*music);
    return 0;
}
