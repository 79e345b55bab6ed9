#include "framework/audio/music.h"
#include "framework/audio/ogg_stream.h"
#include "framework/audio/wav_stream.h"
#include "platform/audio.h"
#include "platform/system.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using testing_support::MakeOgg;
using testing_support::MakeWav;
using testing_support::RampPcm;
using testing_support::TWavSpec;
using testing_support::WavLayout;

namespace {

constexpr int BLOCK_BYTES = 8192;

TMusicPtr FromBytes(const std::string& bytes, std::string* error = nullptr) {
    return LoadMusic(platform::MemoryStream(bytes), error);
}

std::string Fill(TMusic& music, int length = BLOCK_BYTES) {
    std::string out(size_t(length), '\x55');
    music.FillBuffer(out.data(), length);
    return out;
}

// count consecutive buffers, in order.
std::string FillMany(TMusic& music, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += Fill(music);
    }
    return out;
}

TEST(WavStream, LayoutsAndProperties) {
    struct Case {
        int channels, bits, rate, format;
    };
    const Case cases[] = {
        {1, 8, 11025, 200}, {1, 16, 22050, 201}, {2, 8, 48000, 202}, {2, 16, 44100, 203}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TMusicPtr music = FromBytes(MakeWav(WavLayout(c.channels, c.bits, c.rate), RampPcm(4000)));
        ASSERT_TRUE(std::dynamic_pointer_cast<TWavStream>(music));
        EXPECT_EQ(music->Geti(MUSIC_SIZE), 4000);
        EXPECT_EQ(music->Geti(MUSIC_POSITION), 0);
        EXPECT_EQ(music->Geti(MUSIC_PLAY_STATUS), 0);
        EXPECT_EQ(music->Geti(MUSIC_FORMAT), c.format);
        EXPECT_EQ(music->Geti(MUSIC_RATE), c.rate);
        EXPECT_EQ(music->Geti(MUSIC_LOOP), 1);
        EXPECT_EQ(GetBytesPerSample(c.format), c.channels * c.bits / 8);
    }
    EXPECT_EQ(GetBytesPerSample(199), 0);
    EXPECT_EQ(GetBytesPerSample(204), 0);
}

TEST(WavStream, PropertySetters) {
    TMusicPtr music = FromBytes(MakeWav(TWavSpec{}, RampPcm(400)));
    ASSERT_TRUE(music);
    EXPECT_EQ(music->Seti(MUSIC_FORMAT, 199), 0);
    EXPECT_EQ(music->Seti(MUSIC_FORMAT, 204), 0);
    EXPECT_EQ(music->Geti(MUSIC_FORMAT), 203);
    EXPECT_EQ(music->Seti(MUSIC_FORMAT, 201), 1);
    EXPECT_EQ(music->Geti(MUSIC_FORMAT), 201);
    EXPECT_EQ(music->Seti(MUSIC_LOOP, 0), 1);
    EXPECT_EQ(music->Geti(MUSIC_LOOP), 0);
    EXPECT_EQ(music->Seti(MUSIC_RATE, 22050), 1);
    EXPECT_EQ(music->Geti(MUSIC_RATE), 22050);
    for (int ignored : {int(MUSIC_SIZE), int(MUSIC_POSITION), int(MUSIC_PLAY_STATUS), 6, 99}) {
        EXPECT_EQ(music->Seti(ignored, 5), 0);
    }
    EXPECT_EQ(music->Geti(MUSIC_SIZE), 400);
    EXPECT_EQ(music->Geti(6), 0);
    EXPECT_EQ(music->Setf(1, 1.0f), 0);
    EXPECT_EQ(music->Getf(1), 0.0f);
    EXPECT_EQ(music->GetS(1), "");
    music->WriteBug("a");
    music->WriteBug("b");
    EXPECT_EQ(music->DebugData, "ab");
}

// Consecutive buffers hold the data in order; at the loop point the same buffer goes on from the
// first sample (a chunk before the data is not replayed); a music that ends pads with silence.
TEST(WavStream, LoopsSeamlesslyAndEndsInSilence) {
    struct Case {
        const char* what;
        TWavSpec spec;
        int loop;
    };
    TWavSpec withList = WavLayout(2, 16, 44100);
    withList.chunkBeforeData = "INFO some text";
    const Case cases[] = {
        {"stereo 16 looping", withList, 1},
        {"stereo 16 ending", withList, 0},
        {"mono 8 looping", WavLayout(1, 8, 8000), 1},
        {"mono 8 ending", WavLayout(1, 8, 8000), 0},
    };
    const std::string pcm = RampPcm(2 * BLOCK_BYTES + 1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMusicPtr music = FromBytes(MakeWav(c.spec, pcm));
        ASSERT_TRUE(music);
        music->Seti(MUSIC_LOOP, c.loop);
        music->PlayStatus = 1;
        EXPECT_TRUE(Fill(*music) == pcm.substr(0, BLOCK_BYTES));
        EXPECT_TRUE(Fill(*music) == pcm.substr(BLOCK_BYTES, BLOCK_BYTES));
        const std::string third = Fill(*music);
        EXPECT_TRUE(third.substr(0, 1000) == pcm.substr(2 * BLOCK_BYTES));
        if (c.loop) {
            EXPECT_TRUE(third.substr(1000) == pcm.substr(0, BLOCK_BYTES - 1000));
            EXPECT_EQ(music->Geti(MUSIC_POSITION), BLOCK_BYTES - 1000);
            EXPECT_EQ(music->PlayStatus, 1);
        } else {
            const char silence = c.spec.bits == 8 ? char(0x80) : '\0';
            EXPECT_TRUE(third.substr(1000) == std::string(BLOCK_BYTES - 1000, silence));
            EXPECT_EQ(music->PlayStatus, 0);
            EXPECT_EQ(music->Geti(MUSIC_POSITION), 0); // rewound to the loop point
            EXPECT_TRUE(Fill(*music) == pcm.substr(0, BLOCK_BYTES));
        }
    }
}

TEST(WavStream, DataOfWholeBlocksEndsInTheCallThatReachesIt) {
    const std::string pcm = RampPcm(2 * BLOCK_BYTES);
    TMusicPtr music = FromBytes(MakeWav(TWavSpec{}, pcm));
    ASSERT_TRUE(music);
    music->Seti(MUSIC_LOOP, 0);
    music->PlayStatus = 1;
    Fill(*music);
    EXPECT_TRUE(Fill(*music) == pcm.substr(BLOCK_BYTES));
    EXPECT_EQ(music->PlayStatus, 0);

    // A data chunk shorter than one buffer loops many times within it.
    TMusicPtr tiny = FromBytes(MakeWav(TWavSpec{}, RampPcm(1000)));
    const std::string out = Fill(*tiny);
    for (int at = 0; at + 1000 <= BLOCK_BYTES; at += 1000) {
        EXPECT_TRUE(out.substr(size_t(at), 1000) == RampPcm(1000)) << at;
    }
}

TEST(OggStream, DecodesMonoAndStereoInTheirOwnFormat) {
    struct Case {
        int channels, rate, frames, format;
    };
    for (const Case& c : {Case{1, 22050, 11025, 201}, Case{2, 44100, 22050, 203}}) {
        SCOPED_TRACE(c.channels);
        TMusicPtr music = FromBytes(MakeOgg(c.channels, c.rate, c.frames));
        ASSERT_TRUE(std::dynamic_pointer_cast<TOGGStream>(music));
        EXPECT_EQ(music->Geti(MUSIC_SIZE), c.frames);
        EXPECT_EQ(music->Geti(MUSIC_RATE), c.rate);
        EXPECT_EQ(music->Geti(MUSIC_FORMAT), c.format);

        // Played once: exactly the file's frames, then silence, and the end is seen.
        music->Seti(MUSIC_LOOP, 0);
        music->PlayStatus = 1;
        const int frame = GetBytesPerSample(c.format);
        std::string all;
        for (int i = 0; i < 100 && music->PlayStatus; ++i) {
            all += Fill(*music);
        }
        ASSERT_EQ(music->PlayStatus, 0);
        const size_t bytes = size_t(c.frames * frame);
        ASSERT_GE(all.size(), bytes);
        EXPECT_TRUE(all.substr(0, bytes) != std::string(bytes, '\0'));
        EXPECT_TRUE(all.substr(bytes) == std::string(all.size() - bytes, '\0'));
        EXPECT_EQ(music->Geti(MUSIC_POSITION), 0);
    }
}

TEST(OggStream, LoopsSeamlessly) {
    const int frames = 5000; // 20000 bytes: the loop point falls inside the third buffer
    TMusicPtr once = FromBytes(MakeOgg(2, 44100, frames));
    ASSERT_TRUE(once);
    once->Seti(MUSIC_LOOP, 0);
    const std::string song = FillMany(*once, 3).substr(0, frames * 4);

    TMusicPtr looped = FromBytes(MakeOgg(2, 44100, frames));
    const std::string out = FillMany(*looped, 4);
    const size_t rest = out.size() - song.size();
    EXPECT_TRUE(out.substr(0, song.size()) == song);
    EXPECT_TRUE(out.substr(song.size()) == song.substr(0, rest));
    EXPECT_EQ(looped->PlayStatus, 0); // never set by the decoder while looping
    EXPECT_EQ(looped->Geti(MUSIC_POSITION), int(rest / 4));
}

// A file decoded once through: the frames it holds, in its own format.
std::string PlayedOnce(TMusic& music) {
    music.Seti(MUSIC_LOOP, 0);
    music.PlayStatus = 1;
    std::string all;
    for (int i = 0; i < 100 && music.PlayStatus; ++i) {
        all += Fill(music);
    }
    EXPECT_EQ(music.PlayStatus, 0);
    return all;
}

std::string Decoded(const std::string& ogg) {
    TMusicPtr music = FromBytes(ogg);
    EXPECT_TRUE(music);
    if (!music) {
        return "";
    }
    const size_t bytes = size_t(music->Geti(MUSIC_SIZE) * GetBytesPerSample(music->STREAM_FORMAT));
    return PlayedOnce(*music).substr(0, bytes);
}

// Each link plays whole and in order (vorbisfile leaves a freshly opened chain at its second link),
// and the loop goes back to the first link.
TEST(OggStream, ChainOfOneFormatPlaysThroughAllItsLinksAndLoops) {
    const std::string first = MakeOgg(2, 44100, 5000, 1);
    const std::string second = MakeOgg(2, 44100, 3000, 2);
    const std::string song = Decoded(first) + Decoded(second);
    ASSERT_EQ(song.size(), 8000u * 4);

    TMusicPtr once = FromBytes(first + second);
    ASSERT_TRUE(once);
    EXPECT_EQ(once->Geti(MUSIC_SIZE), 8000);
    const std::string all = PlayedOnce(*once);
    ASSERT_GE(all.size(), song.size());
    EXPECT_TRUE(all.substr(0, song.size()) == song);
    EXPECT_TRUE(all.substr(song.size()) == std::string(all.size() - song.size(), '\0'));

    TMusicPtr looped = FromBytes(first + second);
    ASSERT_TRUE(looped);
    const std::string out = FillMany(*looped, 6);
    EXPECT_TRUE(out.substr(0, song.size()) == song);
    EXPECT_TRUE(out.substr(song.size()) == song.substr(0, out.size() - song.size()));
}

// Bytes in memory that count what a decoder asks of them. As the bytes of a pipe that were peeked
// at (oneRewind), they go back to their start once and cannot seek after that, so the decoder
// reads them as a stream whose links it cannot list at open.
class TCountedStream : public platform::TStream {
public:
    explicit TCountedStream(std::string bytes, bool oneRewind = false)
        : bytes_(std::move(bytes)), oneRewind_(oneRewind) {}
    int64_t Read(void* buf, int64_t count) override {
        ++reads;
        const int64_t n = std::min<int64_t>(count, int64_t(bytes_.size()) - at_);
        std::memcpy(buf, bytes_.data() + at_, size_t(n));
        at_ += n;
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Pos() const override { return at_; }
    bool Seek(int64_t pos) override {
        ++seeks;
        if (pos < 0 || pos > int64_t(bytes_.size()) || (oneRewind_ && (pos != 0 || rewound_))) {
            return false;
        }
        rewound_ = true;
        at_ = pos;
        return true;
    }
    int64_t Size() const override { return int64_t(bytes_.size()); }
    bool Close() override { return true; }

    int reads = 0;
    int seeks = 0;

private:
    std::string bytes_;
    bool oneRewind_;
    int64_t at_ = 0;
    bool rewound_ = false;
};

// Read from a stream that cannot seek, a chain plays on through links of its first link's format
// and ends at the first link of another: that link is never played in the wrong format.
TEST(OggStream, UnseekableChainEndsAtALinkOfAnotherFormat) {
    struct Case {
        const char* what;
        std::string first, second;
        bool secondPlays;
    };
    const Case cases[] = {
        {"stereo then mono", MakeOgg(2, 44100, 5000, 1), MakeOgg(1, 44100, 5000, 2), false},
        {"mono 8000 then stereo 48000", MakeOgg(1, 8000, 5000, 1), MakeOgg(2, 48000, 5000, 2),
         false},
        {"stereo 44100 then stereo 22050", MakeOgg(2, 44100, 5000, 1), MakeOgg(2, 22050, 5000, 2),
         false},
        {"one format", MakeOgg(2, 44100, 5000, 1), MakeOgg(2, 44100, 3000, 2), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string song = Decoded(c.first) + (c.secondPlays ? Decoded(c.second) : "");
        std::string error;
        auto music =
            TOGGStream::Load(std::make_shared<TCountedStream>(c.first + c.second, true), &error);
        ASSERT_TRUE(music) << error;
        EXPECT_EQ(music->Geti(MUSIC_SIZE), 0); // unknown: the links were not listed
        const std::string all = PlayedOnce(*music);
        ASSERT_GE(all.size(), song.size());
        EXPECT_TRUE(all.substr(0, song.size()) == song);
        EXPECT_TRUE(all.substr(song.size()) == std::string(all.size() - song.size(), '\0'));
    }
}

// The read loop ends at the end of the data and on damage, never spins: a file cut in the middle of
// its audio, one with garbage in the middle, and one whose stated length is too long all end.
TEST(OggStream, ReadingEndsAtTheEndOfTheDataAndOnDamage) {
    const std::string ogg = MakeOgg(2, 44100, 5 * 44100); // 108 buffers
    std::string damaged = ogg;
    for (size_t i = damaged.size() / 3; i < damaged.size() / 2; ++i) {
        damaged[i] = char(i * 13);
    }
    struct Case {
        const char* what;
        std::string bytes;
        int extraFrames;
        int minCalls, maxCalls;
    };
    const Case cases[] = {
        {"cut short", ogg.substr(0, ogg.size() * 6 / 10), 0, 20, 100},
        {"garbage inside", damaged, 0, 20, 109},
        {"length too long", ogg, 1000000, 100, 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        TMusicPtr music = FromBytes(c.bytes, &error);
        ASSERT_TRUE(music) << error;
        music->STREAM_SIZE += c.extraFrames;
        music->Seti(MUSIC_LOOP, 0);
        music->PlayStatus = 1;
        int calls = 0;
        while (music->PlayStatus && calls < 200) {
            Fill(*music);
            ++calls;
        }
        EXPECT_EQ(music->PlayStatus, 0);
        EXPECT_GE(calls, c.minCalls);
        EXPECT_LE(calls, c.maxCalls);
    }
}

// A looping music of a few samples fills each buffer with its samples repeated, and one buffer
// costs the decoder a few reads and rewinds, not one rewind per pass: 16 buffers at the start of a
// music used to take seconds for a one-sample Ogg file.
TEST(MusicLoop, ShortMusicFillsABufferWithBoundedWork) {
    struct Case {
        const char* what;
        std::string file;
        int maxReads, maxSeeks; // per buffer
    };
    const Case cases[] = {
        {"WAV of 1 stereo frame", MakeWav(TWavSpec{}, RampPcm(4)), 3, 2},
        {"WAV of 10 stereo frames", MakeWav(TWavSpec{}, RampPcm(40)), 3, 2},
        {"WAV of 1 mono 8-bit frame", MakeWav(WavLayout(1, 8, 8000), RampPcm(1)), 3, 2},
        {"Ogg of 1 stereo frame", MakeOgg(2, 44100, 1), 8, 4},
        {"Ogg of 10 stereo frames", MakeOgg(2, 44100, 10), 8, 4},
        {"Ogg of 1 mono frame", MakeOgg(1, 22050, 1), 8, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMusicPtr once = FromBytes(c.file);
        ASSERT_TRUE(once);
        // Sizes and positions count bytes in a WAV file, frames in an Ogg one.
        const size_t unit = std::dynamic_pointer_cast<TOGGStream>(once)
                                ? size_t(GetBytesPerSample(once->STREAM_FORMAT))
                                : 1;
        const std::string song = PlayedOnce(*once).substr(0, size_t(once->Geti(MUSIC_SIZE)) * unit);
        ASSERT_FALSE(song.empty());

        auto stream = std::make_shared<TCountedStream>(c.file);
        TMusicPtr music = LoadMusic(stream);
        ASSERT_TRUE(music);
        music->PlayStatus = 1;
        std::string out;
        for (int i = 0; i < 16; ++i) {
            SCOPED_TRACE(i);
            stream->reads = stream->seeks = 0;
            out += Fill(*music);
            EXPECT_LE(stream->reads, c.maxReads);
            EXPECT_LE(stream->seeks, c.maxSeeks);
        }
        std::string expected;
        while (expected.size() < out.size()) {
            expected += song;
        }
        EXPECT_TRUE(out == expected.substr(0, out.size()));
        EXPECT_EQ(size_t(music->Geti(MUSIC_POSITION)) * unit, out.size() % song.size());
        EXPECT_EQ(music->PlayStatus, 1);
    }
}

TEST(LoadMusic, TriesTheLoadersInOrderAndRewindsStreams) {
    platform::StreamPtr stream = platform::MemoryStream(MakeOgg(2, 44100, 4410));
    stream->Seek(100);
    TMusicPtr music = LoadMusic(stream);
    EXPECT_TRUE(std::dynamic_pointer_cast<TOGGStream>(music));
    EXPECT_FALSE(TWavStream::Load(platform::MemoryStream(MakeOgg(2, 44100, 4410))));
    EXPECT_TRUE(std::dynamic_pointer_cast<TWavStream>(FromBytes(MakeWav(TWavSpec{}, "abcd"))));

    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("song.ogg"), MakeOgg(1, 8000, 800)));
    EXPECT_TRUE(LoadMusic(dir.File("song.ogg")));
    FreeMusic(nullptr);
}

// The file, written into dir, is refused with an error that names it and holds reason.
void ExpectRefused(const testing_support::TempDir& dir, const char* file, const std::string& bytes,
                   const char* reason) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File(file), bytes));
    std::string error;
    EXPECT_FALSE(LoadMusic(dir.File(file), &error));
    EXPECT_NE(error.find(dir.File(file)), std::string::npos) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
}

TEST(LoadMusic, ErrorsNameTheFileAndTheProblem) {
    testing_support::TempDir dir;
    TWavSpec longer;
    longer.declaredData = 100000;
    const std::string ogg = MakeOgg(2, 44100, 4410);
    struct Case {
        const char* file;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"cut.wav", MakeWav(longer, RampPcm(1000)), "truncated"},
        {"float.wav",
         [] {
             TWavSpec f;
             f.formatTag = 3;
             return MakeWav(f, RampPcm(1000));
         }(),
         "floating-point samples (format tag 3), not integer PCM"},
        {"header.ogg", ogg.substr(0, 60), "Ogg"},
        {"setup.ogg", ogg.substr(0, 200), "Ogg"},
        {"noise.ogg", std::string(5000, 'x'), "neither WAV nor Ogg Vorbis"},
        // Two first pages of one stream, the second damaged.
        {"pages.ogg",
         testing_support::ReadTextFile(std::string(std::getenv("PELORIN_SOURCE_DIR")) +
                                       "/tests/fixtures/framework/audio/damaged_header_pages.ogg"),
         "Ogg"},
        {"empty.wav", "", "neither WAV nor Ogg Vorbis"},
        {"stereo-mono.ogg", ogg + MakeOgg(1, 44100, 4410, 2),
         "a chained Ogg Vorbis file whose links differ (link 2: mono 44100 Hz after stereo "
         "44100 Hz)"},
        {"rate-channels.ogg", MakeOgg(1, 8000, 800) + MakeOgg(2, 48000, 4800, 2),
         "(link 2: stereo 48000 Hz after mono 8000 Hz)"},
        {"rate.ogg", ogg + MakeOgg(2, 22050, 2205, 2),
         "(link 2: stereo 22050 Hz after stereo 44100 Hz)"},
        {"third.ogg", ogg + MakeOgg(2, 44100, 4410, 2) + MakeOgg(1, 44100, 4410, 3),
         "(link 3: mono 44100 Hz after stereo 44100 Hz)"},
        // A chain cut in its third link's headers: vorbisfile refuses it (and loses the second
        // link's header state, which the sanitizer build's leak check must let pass).
        {"cut-chain.ogg",
         ogg + MakeOgg(2, 44100, 4410, 2) + MakeOgg(2, 44100, 4410, 3).substr(0, 200), "Ogg"},
    };
    for (const Case& c : cases) {
        ExpectRefused(dir, c.file, c.bytes, c.reason);
    }
    std::string error;
    EXPECT_FALSE(LoadMusic(dir.File("missing.ogg"), &error));
    EXPECT_NE(error.find("missing.ogg' cannot be opened"), std::string::npos) << error;
}

// Files that other programs write and play: each plays as the plain file of the same sound does.
// Others are refused with their cause.
TEST(LoadMusic, FilesOfOtherProgramsAndTheCausesOfRefusals) {
    const std::string pcm = RampPcm(3 * BLOCK_BYTES + 400);
    const std::string wav = MakeWav(TWavSpec{}, pcm);
    const std::string ogg = MakeOgg(2, 44100, 5000);
    TWavSpec soxPipe;
    soxPipe.declaredData = 0x7FFFF000;
    TWavSpec rf64;
    rf64.rf64 = true;
    TWavSpec rf64Pipe = rf64;
    rf64Pipe.declaredData = 0;
    TWavSpec rf64Cut = rf64;
    rf64Cut.declaredData = int64_t(pcm.size()) + 4;
    // An ID3v2.3 tag with one title frame; the second has a footer (flag 0x10, version 4).
    const std::string title = std::string("TIT2\0\0\0\x06\0\0\0Title", 16);
    const std::string id3 = std::string("ID3\x03\0\0\0\0\0\x10", 10) + title;
    const std::string id3Footer = std::string("ID3\x04\0\x10\0\0\0\x10", 10) + title +
                                  std::string("3DI\x04\0\x10\0\0\0\x10", 10);
    struct Accepted {
        const char* what;
        std::string file, plain;
    };
    const Accepted accepted[] = {
        {"WAV from sox on a pipe", MakeWav(soxPipe, pcm), wav},
        {"RF64", MakeWav(rf64, pcm), wav},
        {"RF64 from ffmpeg on a pipe", MakeWav(rf64Pipe, pcm), wav},
        {"Ogg Vorbis after an ID3v2 tag", id3 + ogg, ogg},
        {"Ogg Vorbis after two ID3v2 tags", id3Footer + id3 + ogg, ogg},
    };
    for (const Accepted& c : accepted) {
        SCOPED_TRACE(c.what);
        std::string error;
        TMusicPtr music = FromBytes(c.file, &error);
        EXPECT_TRUE(music) << error;
        TMusicPtr plain = FromBytes(c.plain);
        if (!music) {
            continue;
        }
        ASSERT_TRUE(plain);
        EXPECT_EQ(music->Geti(MUSIC_SIZE), plain->Geti(MUSIC_SIZE));
        EXPECT_EQ(music->Geti(MUSIC_FORMAT), plain->Geti(MUSIC_FORMAT));
        EXPECT_TRUE(FillMany(*music, 6) == FillMany(*plain, 6)); // looped at least once
    }

    testing_support::TempDir dir;
    struct Refused {
        const char* file;
        std::string bytes;
        const char* reason;
    };
    const Refused refused[] = {
        {"vorbis-opus.ogg", ogg + testing_support::MakeOpusLink(2),
         "a chained Ogg file whose link 2 is Opus audio, not Vorbis"},
        {"vorbis-vorbis-opus.ogg",
         ogg + MakeOgg(2, 44100, 5000, 2) + testing_support::MakeOpusLink(3),
         "a chained Ogg file whose link 3 is Opus audio, not Vorbis"},
        {"opus.ogg", testing_support::MakeOpusLink(2),
         "an Ogg file whose data is Opus audio, not Vorbis"},
        {"id3-noise.ogg", id3 + std::string(5000, 'x'), "neither WAV nor Ogg Vorbis audio"},
        {"rf64-cut.wav", MakeWav(rf64Cut, pcm), "truncated"},
    };
    for (const Refused& c : refused) {
        ExpectRefused(dir, c.file, c.bytes, c.reason);
    }
}

TEST(LoadMusic, ExtensionsText) {
    EXPECT_EQ(MusicExtensions(1, 1), "All supported:,wav,ogg;Microsoft Wave \".wav\":wav;"
                                     "Ogg Vorbis \".ogg\":ogg;All Files:*");
    EXPECT_EQ(MusicExtensions(0, 0), "Microsoft Wave \".wav\":wav;Ogg Vorbis \".ogg\":ogg");
    EXPECT_EQ(MaxModLoader::List().front()->Name.size(), 21u);
}

} // namespace

namespace {

// The data folder built beside the tests: every effect the game loads decodes, and the title
// music streams and loops.
TEST(GameData, SoundsAndTitleMusicDecode) {
    const std::string data = platform::AppDir() + "Data/";
    for (const char* name : {"buttonclick", "buttonMO", "water", "roll0", "roll1", "exitboard",
                             "swap", "move", "nomove", "win"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_TRUE(platform::LoadSound(data + "sound/" + name + ".wav", 0, &error)) << error;
    }
    std::string error;
    TMusicPtr music = LoadMusic(data + "music/east1.ogg", &error);
    ASSERT_TRUE(std::dynamic_pointer_cast<TOGGStream>(music)) << error;
    EXPECT_GT(music->Geti(MUSIC_SIZE), 0);
    const int buffers =
        music->Geti(MUSIC_SIZE) * GetBytesPerSample(music->STREAM_FORMAT) / BLOCK_BYTES;
    music->PlayStatus = 1;
    FillMany(*music, buffers + 2);
    EXPECT_EQ(music->PlayStatus, 1); // looped
    EXPECT_GT(music->Geti(MUSIC_POSITION), 0);
}

} // namespace
