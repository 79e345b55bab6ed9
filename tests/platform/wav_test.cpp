#include "platform/audio.h"
#include "platform/files.h"
#include "platform/wav.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testing_support::MakeWav;
using testing_support::RampPcm;
using testing_support::TWavSpec;
using testing_support::WavLayout;

namespace {

TEST(WavDecode, AcceptedLayouts) {
    struct Case {
        const char* what;
        TWavSpec spec;
    };
    TWavSpec mono8 = WavLayout(1, 8, 11025);
    TWavSpec stereo8 = WavLayout(2, 8, 22050);
    TWavSpec mono16 = WavLayout(1, 16, 48000);
    TWavSpec stereo16 = WavLayout(2, 16, 44100);
    TWavSpec extensible = WavLayout(2, 16, 32000);
    extensible.extensible = true;
    TWavSpec fmt18 = WavLayout(1, 16, 8000);
    fmt18.fmtExtra = 2;
    TWavSpec oddChunk = WavLayout(2, 16, 44100);
    oddChunk.chunkBeforeData = "INFOISFT\x03\x00\x00\x00"
                               "ab"; // 15 bytes: padded to 16
    TWavSpec toEnd = WavLayout(1, 8, 8000);
    toEnd.declaredData = 0xFFFFFFFF;
    TWavSpec soxPipe = WavLayout(2, 16, 44100);
    soxPipe.declaredData = 0x7FFFF000; // sox's placeholder on a pipe
    TWavSpec rf64 = WavLayout(2, 16, 48000);
    rf64.rf64 = true;
    TWavSpec rf64Pipe = rf64;
    rf64Pipe.declaredData = 0; // sizes unknown in the ds64 chunk
    const Case cases[] = {
        {"mono 8-bit", mono8},
        {"stereo 8-bit", stereo8},
        {"mono 16-bit", mono16},
        {"stereo 16-bit", stereo16},
        {"extensible PCM", extensible},
        {"18-byte format chunk", fmt18},
        {"odd chunk before the data", oddChunk},
        {"data size to the end", toEnd},
        {"sox's placeholder size", soxPipe},
        {"RF64", rf64},
        {"RF64 written to a pipe", rf64Pipe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string pcm = RampPcm(4 * 301);
        std::string error;
        platform::SoundPtr sound = platform::DecodeSound(MakeWav(c.spec, pcm), 0, &error);
        ASSERT_TRUE(sound) << error;
        EXPECT_EQ(sound->channels, c.spec.channels);
        EXPECT_EQ(sound->bits, c.spec.bits);
        EXPECT_EQ(sound->rate, c.spec.rate);
        EXPECT_EQ(sound->pcm, pcm);
        EXPECT_FALSE(sound->loop);
    }
    // A chunk before "fmt " (as some editors write) is stepped over too.
    const std::string pcm = RampPcm(4 * 301);
    std::string wav = MakeWav(mono16, pcm);
    wav.insert(12, std::string("JUNK\x04\x00\x00\x00"
                               "abcd",
                               12));
    wav[4] = static_cast<char>(static_cast<unsigned char>(wav[4]) + 12);
    std::string error;
    platform::SoundPtr sound = platform::DecodeSound(wav, 0, &error);
    ASSERT_TRUE(sound) << error;
    EXPECT_EQ(sound->rate, 48000);
    EXPECT_EQ(sound->pcm, pcm);
}

TEST(WavDecode, RefusesWithAReason) {
    const std::string pcm = RampPcm(400);
    const std::string good = MakeWav(TWavSpec{}, pcm);
    TWavSpec floatData;
    floatData.formatTag = 3;
    TWavSpec floatExtensible;
    floatExtensible.formatTag = 3;
    floatExtensible.extensible = true;
    TWavSpec adpcm;
    adpcm.formatTag = 2;
    TWavSpec alawExtensible;
    alawExtensible.formatTag = 6;
    alawExtensible.extensible = true;
    TWavSpec bits24 = WavLayout(2, 24, 44100);
    TWavSpec channels3 = WavLayout(3, 16, 44100);
    TWavSpec longer;
    longer.declaredData = 4000;
    TWavSpec longerRf64 = longer;
    longerRf64.rf64 = true;
    struct Case {
        const char* what;
        std::string file;
        const char* reason; // a word the reason must contain
    };
    std::string rifx = good;
    rifx[3] = 'X';
    std::string notWave = good;
    notWave[8] = 'A';
    std::string noData = good.substr(0, 36); // RIFF header and format chunk only
    std::string dataFirst = good.substr(0, 12) + good.substr(36, 8) + good.substr(12, 24);
    const Case cases[] = {
        {"empty file", "", "RIFF"},
        {"RIFX", rifx, "RIFF"},
        {"not WAVE", notWave, "WAVE"},
        {"float", MakeWav(floatData, pcm),
         "floating-point samples (format tag 3), not integer PCM"},
        {"float extensible", MakeWav(floatExtensible, pcm),
         "floating-point samples (format tag 3), not integer PCM"},
        {"ADPCM", MakeWav(adpcm, pcm), "compressed (format tag 2), not PCM"},
        {"A-law extensible", MakeWav(alawExtensible, pcm), "compressed (format tag 6), not PCM"},
        {"24-bit", MakeWav(bits24, RampPcm(600)), "24-bit"},
        {"3 channels", MakeWav(channels3, RampPcm(600)), "channels"},
        {"no data chunk", noData, "data"},
        {"cut inside the format chunk", good.substr(0, 24), "format"},
        {"data declared longer than the file", MakeWav(longer, pcm), "truncated"},
        {"RF64 data declared longer than the file", MakeWav(longerRf64, pcm), "truncated"},
        {"no sample data", MakeWav(TWavSpec{}, ""), "no sample data"},
        {"data before format", dataFirst, "before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(platform::DecodeSound(c.file, 0, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(WavDecode, HeaderLeavesTheStreamAtTheData) {
    TWavSpec spec = WavLayout(1, 16, 22050);
    spec.chunkBeforeData = "abc";
    const std::string pcm = RampPcm(64);
    platform::StreamPtr stream = platform::MemoryStream(MakeWav(spec, pcm));
    platform::TWavInfo info;
    ASSERT_TRUE(platform::ReadWavHeader(*stream, info));
    EXPECT_EQ(info.dataPos, stream->Pos());
    EXPECT_EQ(info.dataSize, 64);
    EXPECT_EQ(info.FrameBytes(), 2);
    char first[4];
    ASSERT_EQ(stream->Read(first, 4), 4);
    EXPECT_EQ(std::string(first, 4), pcm.substr(0, 4));
}

TEST(WavDecode, LoadsFilesAndKeepsTheLoopFlag) {
    testing_support::TempDir dir;
    const std::string pcm = RampPcm(200);
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("beep.wav"), MakeWav(TWavSpec{}, pcm)));
    platform::SoundPtr sound = platform::LoadSound(dir.File("beep.wav"), platform::SOUND_LOOP);
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->loop);
    EXPECT_EQ(sound->pcm, pcm);

    std::string error;
    EXPECT_FALSE(platform::LoadSound(dir.File("missing.wav"), 0, &error));
    EXPECT_NE(error.find("cannot be opened"), std::string::npos);
}

} // namespace
