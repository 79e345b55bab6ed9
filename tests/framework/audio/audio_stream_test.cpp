#include "framework/audio/audio_stream.h"
#include "platform/system.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testing_support::MakeOgg;
using testing_support::MakeWav;
using testing_support::RampPcm;
using testing_support::TWavSpec;
using testing_support::WavLayout;

namespace {

constexpr int BLOCK_BYTES = 8192;

// A music object that records every buffer it hands to the stream: what the stream queued.
class TRecordingMusic : public TMusic {
public:
    explicit TRecordingMusic(TMusicPtr inner) : inner_(std::move(inner)) {
        SAMPLE_RATE = inner_->SAMPLE_RATE;
        STREAM_FORMAT = inner_->STREAM_FORMAT;
        STREAM_SIZE = inner_->STREAM_SIZE;
    }
    int FillBuffer(void* buffer, int length) override {
        inner_->PlayStatus = PlayStatus;
        inner_->STREAM_LOOP = STREAM_LOOP;
        inner_->FillBuffer(buffer, length);
        PlayStatus = inner_->PlayStatus;
        STREAM_POS = inner_->STREAM_POS;
        queued.append(static_cast<const char*>(buffer), size_t(length));
        ++fills;
        return 0;
    }
    int Free() override {
        ++frees;
        return 0;
    }
    std::string queued;
    int fills = 0;
    int frees = 0;

private:
    TMusicPtr inner_;
};

std::shared_ptr<TRecordingMusic> Recording(const std::string& file) {
    TMusicPtr inner = LoadMusic(platform::MemoryStream(file));
    return inner ? std::make_shared<TRecordingMusic>(inner) : nullptr;
}

// The song played over and over, cut to bytes.
std::string Looped(const std::string& song, size_t bytes) {
    std::string out;
    while (out.size() < bytes) {
        out += song;
    }
    return out.substr(0, bytes);
}

void Tick() {
    platform::TEvent tick;
    tick.id = platform::EVENT_TIMERTICK;
    tick.source = TAudioStream::Timer.get();
    platform::EmitEvent(tick);
    platform::ClearEvents();
}

// The mean level of both sides.
double Level(int frames) {
    const testing_support::TMix mix = testing_support::RenderMix(frames);
    return (mix.left + mix.right) / 2;
}

using MusicStream = testing_support::LoopbackAudioTest;

TEST_F(MusicStream, LoopingSongKeepsQueuingFromItsLoopPoint) {
    const std::string song = RampPcm(3 * BLOCK_BYTES + 1000);
    auto music = Recording(MakeWav(TWavSpec{}, song));
    ASSERT_TRUE(music);
    auto stream = std::dynamic_pointer_cast<TOpenALAudioStream>(CreateAudioStream(music, 1, 1));
    ASSERT_TRUE(stream);
    EXPECT_EQ(music->fills, 16);
    EXPECT_EQ(stream->_source->Queued(), 16);
    EXPECT_TRUE(stream->Playing());

    // One buffer (2048 stereo frames) plays per round and is refilled by the next update.
    for (int round = 1; round <= 40; ++round) {
        Level(2048);
        stream->Update();
        ASSERT_EQ(music->fills, 16 + round);
        ASSERT_EQ(stream->_source->Queued(), 16);
    }
    EXPECT_TRUE(stream->Playing());
    EXPECT_TRUE(music->queued == Looped(song, music->queued.size()));
    stream->Stop();
    EXPECT_EQ(music->frees, 0); // the caller's music
    EXPECT_FALSE(stream->Playing());
}

// A song that does not loop queues only its own buffers, padded with silence, plays out, and
// stops itself from inside its refill (through the timer hook, which held the only reference).
TEST_F(MusicStream, EndingSongPadsWithSilenceAndStopsItself) {
    const std::string song = RampPcm(3 * BLOCK_BYTES + 1000);
    auto music = Recording(MakeWav(TWavSpec{}, song));
    ASSERT_TRUE(music);
    std::weak_ptr<TAudioStream> weak = CreateAudioStream(music, 0, 1);
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(music->fills, 4);
    EXPECT_TRUE(music->queued == song + std::string(BLOCK_BYTES - 1000, '\0'));
    EXPECT_EQ(music->PlayStatus, 0);

    Level(3 * 2048);
    Tick();
    EXPECT_FALSE(weak.expired()); // the last buffer still plays
    EXPECT_TRUE(weak.lock()->Playing());
    Level(2048 + 64);
    Tick();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(music->fills, 4);
}

// The music timer's ticks reach the stream through the event pump (on a fake clock).
TEST_F(MusicStream, RefilledByTheMusicTimerThroughTheEventPump) {
    int now = 1000;
    platform::SetMilliSecsSource([&now] { return now; });
    auto music = Recording(MakeWav(TWavSpec{}, RampPcm(40 * BLOCK_BYTES)));
    ASSERT_TRUE(music);
    TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
    ASSERT_TRUE(stream);
    ASSERT_TRUE(TAudioStream::Timer);
    EXPECT_FLOAT_EQ(TAudioStream::Timer->Hertz(), 120.0f);
    platform::PollSystem();
    Level(2048);
    platform::PollSystem(); // no period has passed: no refill yet
    EXPECT_EQ(music->fills, 16);
    now += 9;
    platform::PollSystem();
    platform::ClearEvents();
    EXPECT_EQ(music->fills, 17);
    stream->Stop();
    platform::SetMilliSecsSource(nullptr);
}

TEST_F(MusicStream, PauseDoesNotAdvanceTheSong) {
    auto music = Recording(MakeWav(TWavSpec{}, RampPcm(40 * BLOCK_BYTES)));
    ASSERT_TRUE(music);
    TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
    ASSERT_TRUE(stream);
    Level(2048);
    stream->Update();
    ASSERT_EQ(music->fills, 17);
    const int position = music->STREAM_POS;

    stream->SetPaused(true);
    stream->SetPaused(true); // a second pause changes nothing
    EXPECT_FALSE(stream->Playing());
    Level(1024); // the short fade-out of a pause
    for (int i = 0; i < 10; ++i) {
        EXPECT_LT(Level(2048), 20.0);
        stream->Update();
    }
    EXPECT_EQ(music->fills, 17);
    EXPECT_EQ(music->STREAM_POS, position);
    EXPECT_FALSE(stream->Playing());

    stream->SetPaused(false);
    EXPECT_TRUE(stream->Playing());
    Level(2048);
    stream->Update();
    EXPECT_EQ(music->fills, 18);
    EXPECT_GT(Level(2048), 1000.0);
    stream->Stop();
}

// Paused while its last buffers play and resumed, a song that does not loop plays them out and
// ends; it does not start again.
TEST_F(MusicStream, EndingSongPausedAtItsEndEndsWhenResumed) {
    const std::string song = RampPcm(3 * BLOCK_BYTES + 1000);
    auto music = Recording(MakeWav(TWavSpec{}, song));
    ASSERT_TRUE(music);
    std::weak_ptr<TAudioStream> weak = CreateAudioStream(music, 0, 1);
    ASSERT_FALSE(weak.expired());
    ASSERT_EQ(music->PlayStatus, 0) << "the whole song is queued";
    Level(2048);
    weak.lock()->SetPaused(true);
    Level(1024);
    Tick();
    weak.lock()->SetPaused(false);
    for (int round = 0; round < 8 && !weak.expired(); ++round) {
        Level(2048);
        Tick();
    }
    EXPECT_TRUE(weak.expired()) << "the song ended";
    EXPECT_EQ(music->fills, 4);
    EXPECT_TRUE(music->queued == song + std::string(BLOCK_BYTES - 1000, '\0'));
}

// Buffers go to OpenAL in the music's own layout and rate: a mono 8-bit buffer of 8192 bytes at
// 22050 Hz lasts 16384 frames of the 44100 Hz output (as 16-bit stereo it would last 2048).
TEST_F(MusicStream, BuffersPlayInTheFilesOwnFormatAndRate) {
    struct Case {
        const char* what;
        std::string file;
        int framesPerBuffer; // output frames at 44100 Hz
    };
    const Case cases[] = {
        {"WAV mono 8-bit 22050", MakeWav(WavLayout(1, 8, 22050), RampPcm(40 * BLOCK_BYTES)), 16384},
        {"WAV stereo 16-bit 22050", MakeWav(WavLayout(2, 16, 22050), RampPcm(40 * BLOCK_BYTES)),
         4096},
        {"Ogg mono 22050", MakeOgg(1, 22050, 22050 * 8), 8192},
        {"Ogg stereo 44100", MakeOgg(2, 44100, 44100 * 2), 2048},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto music = Recording(c.file);
        ASSERT_TRUE(music);
        TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
        ASSERT_TRUE(stream);
        Level(c.framesPerBuffer - 64);
        stream->Update();
        EXPECT_EQ(music->fills, 16);
        Level(128);
        stream->Update();
        EXPECT_EQ(music->fills, 17);
        stream->Stop();
    }
}

TEST_F(MusicStream, ChannelOperationsAndStop) {
    auto music = Recording(MakeWav(WavLayout(1, 16, 44100),
                                   testing_support::Pcm16(std::vector<int16_t>(40000, 8000))));
    ASSERT_TRUE(music);
    TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
    ASSERT_TRUE(stream);
    Level(1024);
    EXPECT_GT(Level(441), 1000.0);
    stream->SetVolume(0.0f);
    Level(1024);
    EXPECT_LT(Level(441), 20.0);
    // The rate is the source's pitch: at twice the rate the queue plays out twice as fast, four
    // buffers of 4096 mono frames in 8192 frames of output where the recorded rate takes two.
    auto buffersPlayedIn8192 = [&] {
        stream->Update();
        const int before = music->fills;
        Level(8192);
        stream->Update();
        return music->fills - before;
    };
    EXPECT_EQ(buffersPlayedIn8192(), 2);
    stream->SetRate(2.0f);
    EXPECT_EQ(buffersPlayedIn8192(), 4);
    // The depth changes nothing: neither the level, nor the rate, nor the side.
    stream->SetVolume(0.5f);
    stream->SetPan(-1.0f);
    Level(1024);
    const double level = Level(441);
    stream->SetDepth(5.0f);
    Level(1024);
    EXPECT_NEAR(Level(441), level, level / 20);
    EXPECT_EQ(buffersPlayedIn8192(), 4);
    stream->SetVolume(1.0f);
    std::vector<int16_t> out(2 * 2048);
    platform::RenderAudio(2048, out.data());
    EXPECT_GT(std::abs(out[4000]), 100 * std::abs(out[4001]) + 1000); // all on the left

    stream->Stop();
    stream->Stop(); // final, and harmless twice
    EXPECT_FALSE(stream->Playing());
    stream->SetVolume(1.0f);
    stream->SetPaused(false);
    stream->Update();
    EXPECT_FALSE(stream->Playing());
    EXPECT_FALSE(stream->Music);
}

TEST_F(MusicStream, SoftwareMixerStreamIsSilentAndLeavesWhenStopped) {
    platform::SetAudioDriver("FreeAudio");
    auto music = Recording(MakeWav(TWavSpec{}, RampPcm(BLOCK_BYTES)));
    ASSERT_TRUE(music);
    TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
    ASSERT_TRUE(std::dynamic_pointer_cast<TFreeAudioAudioStream>(stream));
    stream->SetPaused(true);
    stream->SetVolume(0.5f);
    EXPECT_FALSE(stream->Playing());
    Tick();
    EXPECT_EQ(music->fills, 0);
    std::weak_ptr<TAudioStream> weak = stream;
    stream->Stop();
    stream.reset();
    EXPECT_TRUE(weak.expired());
}

TEST_F(MusicStream, NoStreamWithoutADriverOrAPlayableFile) {
    std::string error;
    EXPECT_FALSE(TAudioStream::Create(platform::MemoryStream("not music"), 1, 1, &error));
    EXPECT_NE(error.find("neither WAV nor Ogg Vorbis"), std::string::npos) << error;
    testing_support::TempDir dir;
    const std::string chain = dir.File("chain.ogg");
    ASSERT_TRUE(
        testing_support::WriteTextFile(chain, MakeOgg(2, 44100, 4410) + MakeOgg(1, 8000, 800, 2)));
    EXPECT_FALSE(TAudioStream::Create(chain, 1, 1, &error));
    EXPECT_EQ(error, "Music file '" + chain +
                         "': a chained Ogg Vorbis file whose links differ (link 2: mono 8000 Hz "
                         "after stereo 44100 Hz)");

    platform::SetAudioDriver("DirectSound");
    EXPECT_FALSE(TAudioStream::Create(platform::MemoryStream(MakeWav(TWavSpec{}, RampPcm(400))), 1,
                                      1, &error));
    EXPECT_EQ(error, ""); // not the file's fault
}

} // namespace

// The sound device lost mid-song (its server ended) and a new one found: no refills and no
// restarts meanwhile, then the song goes on from where its decoder was, paused if it was.
using MusicStreamLostDevice = testing_support::LostDeviceTest;

TEST_F(MusicStreamLostDevice, NoRefillsUntilANewDeviceGetsTheSongBack) {
    auto music = Recording(MakeWav(TWavSpec{}, RampPcm(400 * BLOCK_BYTES)));
    ASSERT_TRUE(music);
    TAudioStreamPtr stream = CreateAudioStream(music, 1, 1);
    auto paused = Recording(MakeWav(TWavSpec{}, RampPcm(400 * BLOCK_BYTES)));
    TAudioStreamPtr quiet = CreateAudioStream(paused, 1, 1);
    ASSERT_TRUE(stream && quiet);
    quiet->SetPaused(true);

    connected = false;
    const std::string said = After(250);
    EXPECT_NE(said.find("audio: the sound device was lost"), std::string::npos) << said;
    for (int i = 0; i < 100; ++i) {
        Tick();
    }
    EXPECT_EQ(music->fills, 16);
    EXPECT_FALSE(stream->Playing());

    connected = true;
    After(3000);
    platform::ClearEvents();
    Tick();
    EXPECT_EQ(music->fills, 32);
    EXPECT_TRUE(stream->Playing());
    EXPECT_TRUE(music->queued == RampPcm(32 * BLOCK_BYTES));
    EXPECT_FALSE(quiet->Playing());
    quiet->SetPaused(false);
    Tick();
    EXPECT_TRUE(quiet->Playing());
    EXPECT_GT(Level(2048), 1000.0);

    stream->Stop();
    quiet->Stop();
}
