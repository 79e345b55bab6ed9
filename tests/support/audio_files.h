#pragma once
// WAV and Ogg Vorbis files made in memory by the tests and the benchmarks themselves. Needs
// libvorbisenc, not GoogleTest.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The layout and the oddities of a WAV file to write.
struct TWavSpec {
    int channels = 2;
    int bits = 16;
    int rate = 44100;
    int formatTag = 1;           // 1 PCM, 3 float ...
    bool extensible = false;     // WAVE_FORMAT_EXTENSIBLE with formatTag as its sub-format
    int fmtExtra = 0;            // bytes after the 16 of a plain format chunk (cbSize and more)
    std::string chunkBeforeData; // the body of a "LIST" chunk written before the data, when set
    int64_t declaredData = -1;   // the data size written in the header; -1 = the real size
    // An RF64 file: its ds64 chunk holds the sizes (declaredData as the data size), and the RIFF
    // and data chunk sizes are 0xFFFFFFFF.
    bool rf64 = false;
};

// A plain PCM layout.
TWavSpec WavLayout(int channels, int bits, int rate);

// A RIFF/WAVE file holding pcm as its data chunk.
std::string MakeWav(const TWavSpec& spec, const std::string& pcm);

// Little-endian PCM bytes.
std::string Pcm16(const std::vector<int16_t>& samples);
// bytes of a pattern that changes from byte to byte and does not repeat within 256 * 256 bytes,
// so that a wrong position in a stream shows.
std::string RampPcm(int bytes);

// An Ogg Vorbis file of frames frames (per channel) of a quiet sine, encoded with libvorbisenc.
// Files joined into a chain need serial numbers of their own.
std::string MakeOgg(int channels, int rate, int frames, int serial = 1234);

// An Ogg stream of Opus's two header packets and one packet of 20 ms of silence, as the link
// that opusenc writes (in 3 pages), for chains of links of two kinds.
std::string MakeOpusLink(int serial);

} // namespace testing_support
