#pragma once
// RIFF/WAVE headers: where the PCM data of a WAV file lies and how it is laid out. Shared by the
// sample loader and the music decoder, so both accept and refuse the same files.

#include <cstdint>
#include <string>

namespace platform {

class TStream;

struct TWavInfo {
    int channels = 0;     // 1 or 2
    int bits = 0;         // 8 (unsigned) or 16 (signed)
    int rate = 0;         // frames per second
    int64_t dataPos = 0;  // stream position of the first sample byte
    int64_t dataSize = 0; // bytes of sample data, whole frames, all present in the stream
    int FrameBytes() const { return channels * bits / 8; }
};

// Whether 4 bytes are the tag of a WAV file: "RIFF", or "RF64" (whose sizes lie in a ds64 chunk).
bool IsWavTag(const void* tag);

// Reads a WAV header from the start of the stream up to the first sample byte and leaves the stream
// there. Accepts PCM (and WAVE_FORMAT_EXTENSIBLE with a PCM sub-format) of 8 or 16 bits in one or
// two channels, in RIFF or RF64 files; chunks before the data are skipped with their pad byte. A
// data size of 0xFFFFFFFF (written by recorders that could not seek back, and by RF64 files whose
// ds64 chunk does not tell the size), or sox's 0x7FFFF000 beyond the end of the file (written to
// a pipe), means "to the end of the file". False, with the reason in error, for anything else: a
// wrong tag, another format, no sample data, or a file cut short of what its header declares.
bool ReadWavHeader(TStream& stream, TWavInfo& info, std::string* error = nullptr);

} // namespace platform
