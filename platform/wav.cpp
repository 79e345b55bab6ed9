#include "platform/wav.h"

#include "platform/audio.h"
#include "platform/files.h"

#include <cstring>

namespace platform {

namespace {

bool Fail(std::string* error, const std::string& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Le16(const unsigned char* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// The tail of the KSDATAFORMAT_SUBTYPE GUIDs after the 16-bit format tag.
constexpr unsigned char SUBTYPE_TAIL[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

constexpr int FORMAT_PCM = 1;
constexpr int FORMAT_IEEE_FLOAT = 3;
constexpr int FORMAT_EXTENSIBLE = 0xFFFE;
// Data sizes that stand for "to the end of the file": what recorders write that cannot seek back
// (and what an RF64 file writes, its sizes being in its ds64 chunk), and sox's placeholder on a
// pipe.
constexpr uint32_t SIZE_TO_END = 0xFFFFFFFFu;
constexpr uint32_t SIZE_PIPE_PLACEHOLDER = 0x7FFFF000u;
constexpr int MAX_RATE = 768000;

// Reads the fmt chunk's body (size bytes) into info.
bool ReadFormat(TStream& stream, uint32_t size, TWavInfo& info, std::string* error) {
    if (size < 16) {
        return Fail(error, "the format chunk is too short");
    }
    unsigned char f[40] = {};
    const int64_t want = size >= 40 ? 40 : 16;
    if (stream.Read(f, want) != want) {
        return Fail(error, "the file ends inside the format chunk");
    }
    int tag = Le16(f);
    if (tag == FORMAT_EXTENSIBLE) {
        if (size < 40 || Le16(f + 16) < 22) {
            return Fail(error, "the extensible format chunk is too short");
        }
        tag = Le16(f + 24);
        if (std::memcmp(f + 26, SUBTYPE_TAIL, sizeof SUBTYPE_TAIL) != 0) {
            return Fail(error, "the extensible format has an unknown sub-format");
        }
    }
    if (tag == FORMAT_IEEE_FLOAT) {
        return Fail(error, "floating-point samples (format tag 3), not integer PCM");
    }
    if (tag != FORMAT_PCM) {
        return Fail(error,
                    "the data is compressed (format tag " + std::to_string(tag) + "), not PCM");
    }
    info.channels = Le16(f + 2);
    info.rate = int(Le32(f + 4) > uint32_t(MAX_RATE) ? 0 : Le32(f + 4));
    info.bits = Le16(f + 14);
    if (info.channels != 1 && info.channels != 2) {
        return Fail(error, std::to_string(info.channels) + " channels (only mono and stereo play)");
    }
    if (info.bits != 8 && info.bits != 16) {
        return Fail(error, std::to_string(info.bits) + "-bit samples (only 8 and 16 bits play)");
    }
    if (info.rate <= 0) {
        return Fail(error, "an impossible sample rate of " + std::to_string(Le32(f + 4)));
    }
    // The rest of the chunk and its pad byte.
    const int64_t next = stream.Pos() + (int64_t(size) - want) + (size & 1);
    if (next > stream.Size() || !stream.Seek(next)) {
        return Fail(error, "the file ends inside the format chunk");
    }
    return true;
}

} // namespace

bool IsWavTag(const void* tag) {
    return std::memcmp(tag, "RIFF", 4) == 0 || std::memcmp(tag, "RF64", 4) == 0;
}

bool ReadWavHeader(TStream& stream, TWavInfo& info, std::string* error) {
    info = TWavInfo();
    unsigned char head[12];
    if (stream.Read(head, 12) != 12 || !IsWavTag(head)) {
        return Fail(error, "not a RIFF file");
    }
    if (std::memcmp(head + 8, "WAVE", 4) != 0) {
        return Fail(error, "a RIFF file but not WAVE audio");
    }
    const bool rf64 = std::memcmp(head, "RF64", 4) == 0;
    // The data size of an RF64 file's ds64 chunk; 0 where it is not known (written to a pipe).
    int64_t ds64Data = 0;
    bool haveFormat = false;
    for (;;) {
        unsigned char chunk[8];
        if (stream.Read(chunk, 8) != 8) {
            return Fail(error, haveFormat ? "no data chunk (the file may be cut short)"
                                          : "no format chunk (the file may be cut short)");
        }
        const uint32_t size = Le32(chunk + 4);
        if (rf64 && std::memcmp(chunk, "ds64", 4) == 0) {
            unsigned char sizes[24];
            if (size < 24 || stream.Read(sizes, 24) != 24) {
                return Fail(error, "the ds64 chunk of an RF64 file is too short");
            }
            const uint64_t data = uint64_t(Le32(sizes + 8)) | uint64_t(Le32(sizes + 12)) << 32;
            ds64Data = data > uint64_t(INT64_MAX) ? INT64_MAX : int64_t(data);
            const int64_t next = stream.Pos() + (int64_t(size) - 24) + (size & 1);
            if (next > stream.Size() || !stream.Seek(next)) {
                return Fail(error, "truncated inside a chunk before the data");
            }
            continue;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (!ReadFormat(stream, size, info, error)) {
                return false;
            }
            haveFormat = true;
            continue;
        }
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                return Fail(error, "the data chunk comes before the format chunk");
            }
            const int64_t left = stream.Size() - stream.Pos();
            int64_t bytes = size;
            if (rf64 && size == SIZE_TO_END && ds64Data > 0) {
                bytes = ds64Data;
            } else if (size == SIZE_TO_END || (size == SIZE_PIPE_PLACEHOLDER && bytes > left)) {
                bytes = left;
            }
            if (bytes > left) {
                return Fail(error, "truncated: the data chunk declares " + std::to_string(bytes) +
                                       " bytes but the file holds " + std::to_string(left));
            }
            bytes -= bytes % info.FrameBytes();
            if (bytes <= 0) {
                return Fail(error, "no sample data");
            }
            info.dataPos = stream.Pos();
            info.dataSize = bytes;
            return true;
        }
        // Any other chunk (LIST, fact, cue ...) is skipped with its pad byte.
        const int64_t next = stream.Pos() + int64_t(size) + (size & 1);
        if (next > stream.Size() || !stream.Seek(next)) {
            return Fail(error, "truncated inside a chunk before the data");
        }
    }
}

namespace {

SoundPtr DecodeFromStream(TStream& stream, int flags, std::string* error) {
    TWavInfo info;
    if (!ReadWavHeader(stream, info, error)) {
        return nullptr;
    }
    auto sound = std::make_shared<TSound>();
    sound->channels = info.channels;
    sound->bits = info.bits;
    sound->rate = info.rate;
    sound->loop = (flags & SOUND_LOOP) != 0;
    sound->pcm.resize(size_t(info.dataSize));
    if (stream.Read(sound->pcm.data(), info.dataSize) != info.dataSize) {
        Fail(error, "the sample data cannot be read");
        return nullptr;
    }
    return sound;
}

} // namespace

SoundPtr LoadSound(const std::string& path, int flags, std::string* error) {
    StreamPtr stream = ReadFile(path);
    if (!stream) {
        Fail(error, "the file cannot be opened");
        return nullptr;
    }
    return DecodeFromStream(*stream, flags, error);
}

SoundPtr DecodeSound(const std::string& bytes, int flags, std::string* error) {
    StreamPtr stream = MemoryStream(bytes);
    return DecodeFromStream(*stream, flags, error);
}

} // namespace platform
