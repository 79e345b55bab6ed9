#include "platform/audio.h"
#include "platform/input.h"
#include "platform/system.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/processes.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <limits>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

using platform::ChannelPtr;
using platform::SoundPtr;

// A sample of frames frames of a constant value (a DC level is easy to measure after mixing).
SoundPtr ConstantSound(int channels, int frames, int16_t value, int rate = 44100) {
    auto sound = std::make_shared<platform::TSound>();
    sound->channels = channels;
    sound->bits = 16;
    sound->rate = rate;
    sound->pcm = testing_support::Pcm16(std::vector<int16_t>(size_t(channels * frames), value));
    return sound;
}

using testing_support::RenderMix;
using testing_support::TMix;

TMix Render(int frames) {
    return RenderMix(frames);
}

// The level once OpenAL Soft's short ramps after a change (gain, pan, pause) have passed.
TMix Steady() {
    RenderMix(1024);
    return RenderMix(441);
}

using LoopbackAudio = testing_support::LoopbackAudioTest;

TEST(AudioDriver, NamesThatOpenAndNamesThatFail) {
    struct Case {
        const char* name;
        bool ok;
        platform::AudioDriverKind kind;
        const char* driver;
    };
    using K = platform::AudioDriverKind;
    const Case cases[] = {
        {"OpenAL", true, K::OpenAL, "OpenAL"},
        {"FreeAudio", true, K::SoftwareMixer, "FreeAudio"},
        {"OpenAL Generic Software", true, K::OpenAL, "OpenAL Generic Software"},
        {"DirectSound", false, K::None, ""},
        {"None", false, K::None, ""},
        {"openal", false, K::None, ""},
        {"", false, K::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::SetAudioDriver(c.name), c.ok);
        EXPECT_EQ(platform::CurrentAudioDriverKind(), c.kind);
        EXPECT_EQ(platform::AudioDriver(), c.driver);
    }
    EXPECT_EQ(platform::AudioDrivers(),
              (std::vector<std::string>{"OpenAL", "OpenAL Generic Software", "FreeAudio"}));
}

TEST(AudioDriver, NullOutputOpensUnderTheOpenALNames) {
    if (!std::getenv("ALSOFT_DRIVERS")) {
        GTEST_SKIP() << "needs ALSOFT_DRIVERS=null (set by ctest)";
    }
    EXPECT_TRUE(platform::EnableOpenALAudio());
    ASSERT_TRUE(platform::SetAudioDriver("OpenAL"));
    EXPECT_TRUE(platform::AudioDeviceOpen());
    ChannelPtr channel = platform::PlaySound(ConstantSound(1, 44100, 1000));
    EXPECT_TRUE(channel->Playing());
    EXPECT_TRUE(platform::CreateStreamChannel());
    channel.reset();
    platform::SetAudioDriver("FreeAudio");
    EXPECT_FALSE(platform::AudioDeviceOpen());
}

// Silent drivers: channels exist and take every call; no stream source.
TEST(AudioDriver, SilentDriversAcceptEveryCall) {
    for (const char* name : {"FreeAudio", "DirectSound"}) {
        SCOPED_TRACE(name);
        platform::SetAudioDriver(name);
        ChannelPtr channel = platform::AllocChannel();
        ASSERT_TRUE(channel);
        SoundPtr sound = ConstantSound(2, 100, 5);
        EXPECT_EQ(platform::PlaySound(sound, channel), channel);
        platform::SetChannelVolume(channel, 0.5f);
        platform::SetChannelPan(channel, -1.0f);
        platform::SetChannelRate(channel, 2.0f);
        platform::SetChannelDepth(channel, 1.0f);
        platform::PauseChannel(channel);
        platform::ResumeChannel(channel);
        EXPECT_FALSE(platform::ChannelPlaying(channel));
        platform::StopChannel(channel);
        EXPECT_TRUE(platform::CueSound(sound));
        EXPECT_FALSE(platform::CreateStreamChannel());
    }
    // The wrappers take a missing channel too.
    platform::StopChannel(nullptr);
    platform::ResumeChannel(nullptr);
    EXPECT_FALSE(platform::ChannelPlaying(nullptr));
}

// A machine without a sound card: the test binary runs itself again with no usable OpenAL
// backend; the child checks that everything still works silently.
TEST(AudioDriver, NoDeviceRunsSilentlyAndSaysSoOnce) {
    if (std::getenv("PELORIN_AUDIO_CHILD")) {
        EXPECT_FALSE(platform::EnableOpenALAudio());
        EXPECT_TRUE(platform::SetAudioDriver("OpenAL"));
        EXPECT_TRUE(platform::SetAudioDriver("OpenAL Generic Software"));
        EXPECT_FALSE(platform::AudioDeviceOpen());
        EXPECT_EQ(platform::CurrentAudioDriverKind(), platform::AudioDriverKind::OpenAL);
        ChannelPtr channel = platform::PlaySound(ConstantSound(1, 100, 5));
        ASSERT_TRUE(channel);
        EXPECT_FALSE(channel->Playing());
        EXPECT_FALSE(platform::CreateStreamChannel());
        return;
    }
    std::array<char, 4096> self{};
    ASSERT_GT(readlink("/proc/self/exe", self.data(), self.size() - 1), 0);
    const std::string command =
        "PELORIN_AUDIO_CHILD=1 ALSOFT_DRIVERS=no-such-backend '" + std::string(self.data()) +
        "' --gtest_filter=AudioDriver.NoDeviceRunsSilentlyAndSaysSoOnce 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string output;
    std::array<char, 4096> chunk;
    while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) {
        output.append(chunk.data(), n);
    }
    EXPECT_EQ(pclose(pipe), 0) << output;
    const std::string line = "audio: no device could be opened";
    const size_t first = output.find(line);
    EXPECT_NE(first, std::string::npos) << output;
    EXPECT_EQ(output.find(line, first + 1), std::string::npos) << output;
}

TEST_F(LoopbackAudio, ChannelPlaysPausesResumesAndFinishes) {
    SoundPtr sound = ConstantSound(1, 4410, 8000);
    ChannelPtr channel = platform::CueSound(sound);
    EXPECT_FALSE(channel->Playing()); // cued, not playing
    EXPECT_LT(Steady().left, 20.0);

    platform::ResumeChannel(channel);
    EXPECT_TRUE(channel->Playing());
    EXPECT_GT(Render(441).left, 1000.0);

    platform::PauseChannel(channel);
    EXPECT_FALSE(channel->Playing());
    EXPECT_LT(Steady().left, 20.0);

    platform::ResumeChannel(channel);
    EXPECT_TRUE(channel->Playing());
    Render(4410); // past the end
    EXPECT_FALSE(channel->Playing());
    platform::ResumeChannel(channel); // a finished channel stays finished
    EXPECT_FALSE(channel->Playing());

    platform::PlaySound(sound, channel);
    EXPECT_TRUE(channel->Playing());
    platform::StopChannel(channel);
    EXPECT_FALSE(channel->Playing());
    platform::ResumeChannel(channel);
    EXPECT_FALSE(channel->Playing());
    EXPECT_LT(Steady().left, 20.0);
}

TEST_F(LoopbackAudio, LoopingSampleKeepsPlaying) {
    SoundPtr sound = ConstantSound(2, 441, 3000);
    sound->loop = true;
    ChannelPtr channel = platform::PlaySound(sound);
    Render(44100);
    EXPECT_TRUE(channel->Playing());
    EXPECT_GT(Render(441).left, 1000.0);
}

TEST_F(LoopbackAudio, VolumePanAndRate) {
    SoundPtr sound = ConstantSound(1, 44100, 8000);
    ChannelPtr channel = platform::PlaySound(sound);
    const TMix full = Steady();

    channel->SetVolume(0.5f);
    EXPECT_NEAR(Steady().left, full.left / 2, full.left / 20);
    for (float bad : {-1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        channel->SetVolume(bad);
        EXPECT_LT(Steady().left, 20.0);
    }
    channel->SetVolume(1.0f);

    // Pan is a position on a half circle: hard left, hard right (2 acts as 1), centre.
    channel->SetPan(-1.0f);
    TMix left = Steady();
    EXPECT_GT(left.left, 100 * left.right + 1000);
    channel->SetPan(2.0f);
    TMix right = Steady();
    EXPECT_GT(right.right, 100 * right.left + 1000);
    channel->SetPan(0.0f);
    TMix centre = Steady();
    EXPECT_NEAR(centre.left, centre.right, centre.left / 50);

    // At twice the rate the rest of the second runs out in half the time; a rate of 0 or below
    // still plays (slowly) instead of failing.
    channel->SetRate(-5.0f);
    EXPECT_TRUE(channel->Playing());
    platform::PlaySound(sound, channel);
    channel->SetRate(2.0f);
    Render(22050 + 441);
    EXPECT_FALSE(channel->Playing());
}

TEST_F(LoopbackAudio, StreamSourceQueuesAndPausesWithoutRacingAhead) {
    platform::StreamChannelPtr stream = platform::CreateStreamChannel(4);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->BufferCount(), 4);
    const std::string pcm = testing_support::Pcm16(std::vector<int16_t>(2 * 2048, 4000));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(stream->Queue(i, pcm.data(), int(pcm.size()), 2, 16, 44100));
    }
    EXPECT_EQ(stream->Queued(), 4);
    EXPECT_EQ(stream->Unqueue(), -1); // nothing played yet
    stream->Play();
    EXPECT_TRUE(stream->Playing());
    Render(2048);
    EXPECT_EQ(stream->Processed(), 1);

    stream->SetPaused(true);
    EXPECT_FALSE(stream->Playing());
    Render(3 * 2048);
    EXPECT_EQ(stream->Processed(), 1);
    stream->SetPaused(false);
    EXPECT_TRUE(stream->Playing());
    Render(2048);
    EXPECT_EQ(stream->Processed(), 2);
    EXPECT_EQ(stream->Unqueue(), 0);
    EXPECT_EQ(stream->Unqueue(), 1);
    EXPECT_EQ(stream->Queued(), 2);

    // Bad requests are refused, and so is a layout other than the one queued.
    const std::string mono8(1000, char(0x80));
    EXPECT_FALSE(stream->Queue(0, mono8.data(), 1000, 1, 8, 22050));
    EXPECT_FALSE(stream->Queue(4, mono8.data(), 1000, 1, 8, 22050));
    EXPECT_FALSE(stream->Queue(1, mono8.data(), 1000, 3, 8, 22050));
    EXPECT_FALSE(stream->Queue(1, pcm.data(), 3, 2, 16, 44100));
    EXPECT_FALSE(stream->Queue(1, mono8.data(), 1000, 1, 8, 0));

    stream->Stop();
    EXPECT_EQ(stream->Queued(), 0);
    EXPECT_FALSE(stream->Playing());
    // Stopping empties the queue: every buffer is free, for any layout.
    EXPECT_TRUE(stream->Queue(3, mono8.data(), 1000, 1, 8, 22050));
}

TEST_F(LoopbackAudio, ChannelsOfAClosedDriverGoSilentSafely) {
    SoundPtr sound = ConstantSound(1, 44100, 8000);
    ChannelPtr channel = platform::PlaySound(sound);
    platform::StreamChannelPtr stream = platform::CreateStreamChannel(2);
    ASSERT_TRUE(stream);
    platform::SetAudioDriver("FreeAudio");
    EXPECT_FALSE(channel->Playing());
    platform::PlaySound(sound, channel);
    channel->SetVolume(1.0f);
    EXPECT_FALSE(stream->Queue(0, sound->pcm.data(), 2000, 1, 16, 44100));
    EXPECT_EQ(stream->Unqueue(), -1);
    stream->Play();
    EXPECT_FALSE(stream->Playing());
    // The sample's buffer is remade on the next device.
    ASSERT_TRUE(platform::OpenLoopbackAudio(44100));
    ChannelPtr again = platform::PlaySound(sound);
    EXPECT_TRUE(again->Playing());
    EXPECT_GT(Render(441).left, 1000.0);
}

} // namespace

using LostDevice = testing_support::LostDeviceTest;

TEST_F(LostDevice, NothingPlaysOrRefillsUntilANewDeviceTakesTheSoundsOver) {
    SoundPtr loop = ConstantSound(1, 441, 6000);
    loop->loop = true;
    ChannelPtr looping = platform::PlaySound(loop);
    looping->SetVolume(0.5f);
    const double half = Steady().left;
    ChannelPtr once = platform::PlaySound(ConstantSound(1, 44100, 6000));
    platform::StreamChannelPtr stream = platform::CreateStreamChannel(2);
    ASSERT_TRUE(stream);
    const std::string pcm = testing_support::Pcm16(std::vector<int16_t>(2 * 2048, 3000));
    ASSERT_TRUE(stream->Queue(0, pcm.data(), int(pcm.size()), 2, 16, 44100));
    stream->Play();

    // Asked a few times a second, not at every poll.
    connected = false;
    EXPECT_EQ(After(100), "");
    EXPECT_TRUE(looping->Playing());
    const std::string lost = After(150);
    EXPECT_NE(lost.find("audio: the sound device was lost"), std::string::npos) << lost;
    EXPECT_EQ(std::count(lost.begin(), lost.end(), '\n'), 1) << lost;

    // Gone: nothing reports itself played (so nothing is refilled) or playing (so nothing is
    // started again), and new sounds and music sources wait too.
    EXPECT_FALSE(looping->Playing());
    EXPECT_FALSE(stream->Playing());
    EXPECT_EQ(stream->Processed(), 0);
    EXPECT_EQ(stream->Queued(), 0);
    EXPECT_EQ(stream->Unqueue(), -1);
    EXPECT_FALSE(stream->Queue(1, pcm.data(), int(pcm.size()), 2, 16, 44100));
    looping->SetVolume(0.25f);
    ChannelPtr during = platform::PlaySound(ConstantSound(1, 44100, 6000));
    EXPECT_FALSE(during->Playing());
    platform::StreamChannelPtr later = platform::CreateStreamChannel(3);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->BufferCount(), 3);
    EXPECT_EQ(later->Processed(), 0);
    EXPECT_LT(Steady().left, 1.0);

    // The server is still away: tried every few seconds, quietly.
    connected = true;
    serverUp = false;
    EXPECT_EQ(After(2900), "");
    EXPECT_EQ(After(200), "");
    EXPECT_FALSE(platform::AudioDeviceOpen());

    serverUp = true;
    EXPECT_EQ(After(1000), "");
    const std::string back = After(2000);
    EXPECT_NE(back.find("audio: a sound device is open again"), std::string::npos) << back;
    EXPECT_TRUE(platform::AudioDeviceOpen());

    // The looping sound plays on at the volume set meanwhile; what played once does not come back.
    EXPECT_TRUE(looping->Playing());
    EXPECT_FALSE(once->Playing());
    EXPECT_FALSE(during->Playing());
    EXPECT_NEAR(Steady().left, half / 2, half / 20);
    // Every buffer of a music source comes back played, to be filled anew.
    for (const platform::StreamChannelPtr& s : {stream, later}) {
        EXPECT_EQ(s->Processed(), s->BufferCount());
        for (int i = 0; i < s->BufferCount(); ++i) {
            EXPECT_EQ(s->Unqueue(), i);
            EXPECT_TRUE(s->Queue(i, pcm.data(), int(pcm.size()), 2, 16, 44100));
        }
        EXPECT_EQ(s->Processed(), 0);
    }
    stream->Play();
    EXPECT_TRUE(stream->Playing());
    ChannelPtr after = platform::PlaySound(ConstantSound(1, 44100, 6000));
    EXPECT_TRUE(after->Playing());
}

// A lost device reports every queued buffer played: a music source found run dry has the device
// asked at the next poll, before the stream refills it again and again.
TEST_F(LostDevice, AMusicSourceRunDryHasTheDeviceAskedAtOnce) {
    platform::StreamChannelPtr stream = platform::CreateStreamChannel(2);
    ASSERT_TRUE(stream);
    const std::string pcm = testing_support::Pcm16(std::vector<int16_t>(2 * 512, 3000));
    ASSERT_TRUE(stream->Queue(0, pcm.data(), int(pcm.size()), 2, 16, 44100));
    stream->Play();
    connected = false;
    EXPECT_EQ(After(10), "");
    Render(2048);
    EXPECT_EQ(stream->Processed(), 1);
    EXPECT_NE(After(10).find("audio: the sound device was lost"), std::string::npos);
}

TEST_F(LostDevice, ADeviceClosedOnPurposeIsNeitherMournedNorReopened) {
    connected = false;
    platform::SetAudioDriver("FreeAudio");
    EXPECT_EQ(After(5000), "");
    EXPECT_EQ(After(5000), "");
    EXPECT_FALSE(platform::AudioDeviceOpen());
}

// A try to open a device waits for the sound server's answer, which a server that accepts and
// never answers does not give: polls go on meanwhile, no second try starts, and the device that
// the try opens at last is taken.
TEST_F(LostDevice, ATryThatWaitsHoldsNoPollAndItsDeviceIsTakenAtLast) {
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    std::atomic<int> tries{0};
    std::atomic<bool> waitedInVain{false};
    platform::SetAudioDeviceProbes([this] { return connected.load(); },
                                   [&] {
                                       ++tries;
                                       // Bounded, so that a poll that waits for the try fails the
                                       // test instead of hanging it.
                                       if (answered.wait_for(std::chrono::seconds(10)) ==
                                           std::future_status::ready)
                                           return true;
                                       waitedInVain = true;
                                       return false;
                                   });
    SoundPtr loop = ConstantSound(1, 441, 6000);
    loop->loop = true;
    ChannelPtr looping = platform::PlaySound(loop);
    connected = false;
    EXPECT_NE(After(250).find("audio: the sound device was lost"), std::string::npos);
    connected = true;
    PollAfter(3000);
    for (int i = 0; i < 10000 && tries == 0; ++i)
        usleep(1000);
    for (int i = 0; i < 100; ++i)
        PollAfter(100);
    EXPECT_EQ(tries.load(), 1);
    EXPECT_TRUE(platform::AudioDeviceSought());
    EXPECT_FALSE(platform::AudioDeviceOpen());
    EXPECT_FALSE(looping->Playing());

    answer.set_value();
    const std::string back = After(0);
    EXPECT_NE(back.find("audio: a sound device is open again"), std::string::npos) << back;
    EXPECT_FALSE(waitedInVain.load());
    EXPECT_EQ(tries.load(), 1);
    EXPECT_TRUE(looping->Playing());
    EXPECT_GT(Steady().left, 1000.0);
}

// The end of the program is process-wide, so it is made in a process of its own (the test run
// anew, not a fork of this one, whose sound library has threads of its own): it ends at once while
// a try to open a device hangs, leaving the try behind.
using LostDeviceDeathTest = testing_support::LostDeviceTest;

TEST_F(LostDeviceDeathTest, TheEndDoesNotWaitForATryThatHangs) {
    EXPECT_EXIT(
        {
            alarm(60); // a run that waits for the try fails rather than hangs
            std::atomic<bool> trying{false};
            platform::SetAudioDeviceProbes([] { return false; },
                                           [&trying] {
                                               trying = true;
                                               for (;;)
                                                   pause();
                                               return true;
                                           });
            PollAfter(250);
            PollAfter(3000);
            for (int i = 0; i < 60000 && !trying; ++i)
                usleep(1000);
            platform::End(trying ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
}

// A device whose close waits for a sound server that has stopped answering (stopped, or hung while
// connected): the end goes on without it after a moment, with its status.
using LoopbackAudioDeathTest = LoopbackAudio;

TEST_F(LoopbackAudioDeathTest, TheEndWaitsForTheDevicesCloseAMomentOnly) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            alarm(60);
            platform::SetAudioDeviceProbes(nullptr, nullptr, [] {
                for (;;)
                    pause();
            });
            platform::End(3);
        },
        testing::ExitedWithCode(3), "");
    // Half a minute is what the sound server's library would have waited.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

namespace {

// The programs asking whether a device would open that this process runs now.
std::vector<testing_support::Process> ProbesRunning() {
    std::vector<testing_support::Process> probes;
    for (const testing_support::Process& p : testing_support::Descendants(getpid()))
        if (testing_support::Running(p) &&
            testing_support::ProgramOf(p.pid) == platform::AppDir() + "pelorin-audio-probe")
            probes.push_back(p);
    return probes;
}

// Every kill(2) by a number other than this process's own ends the process with SIGSYS from now
// on: the number of a program that has ended and been reaped may be another program's by then.
// False where the kernel has no system-call filters.
bool TrapSignalsByNumber() {
    const auto self = static_cast<uint32_t>(getpid());
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_kill, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, self, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

// The loss of a real (null-output) device, and the tries that follow, which ask a program of the
// layer's own whether a device would open. The program is sent to OpenAL's file output, into a file
// of the test's choosing; the game's own OpenAL, set up already, keeps its null output. Each test
// runs as a game started by a launcher that lets SIGCHLD be and by one that ignores it (the kernel
// then reaps the program at its end, before anyone can wait for it).
class LostRealDevice : public testing_support::LostDeviceTest {
protected:
    void SetUp() override {
        const char* drivers = std::getenv("ALSOFT_DRIVERS");
        if (!drivers || std::string(drivers) != "null")
            GTEST_SKIP() << "needs ALSOFT_DRIVERS=null (set by ctest)";
        LostDeviceTest::SetUp();
        ASSERT_TRUE(platform::EnableOpenALAudio());
        ASSERT_TRUE(platform::SetAudioDriver("OpenAL"));
    }
    void TearDown() override {
        if (!IsSkipped()) {
            setenv("ALSOFT_DRIVERS", "null", 1);
            unsetenv("ALSOFT_CONF");
        }
        signal(SIGCHLD, SIG_DFL);
        platform::SetAudioProbeDeadline(0);
        LostDeviceTest::TearDown();
    }
    // The program's file output writes into file. Not before a test is run anew in a process of
    // its own: that process sets up its own OpenAL under the environment it is given.
    void ProgramWritesTo(const std::string& file) {
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", config.c_str(), 1);
        ASSERT_TRUE(testing_support::WriteTextFile(config, "[wave]\nfile = " + file));
    }
    // Loses the device; its message.
    std::string Lose() {
        connected = false;
        const std::string lost = After(250);
        connected = true;
        return lost;
    }
    // A file whose open for writing waits for a reader that never comes, as an open waits for a
    // sound server that accepts and never answers.
    std::string NeverOpens() {
        const std::string fifo = File("fifo.wav");
        if (access(fifo.c_str(), F_OK) != 0) {
            EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        }
        return fifo;
    }

    // A test run anew in a process of its own has the folder of the test's own run.
    std::string File(const std::string& name) const { return dir.File(name); }

    testing_support::TempDir dir;
    const std::string config = dir.File("alsoft.conf");
};

// What the sound libraries say there is shown for the first try of a loss only: the program first
// writes into a folder that does not exist, then into one that does.
TEST_F(LostRealDevice, TheSoundLibrariesComplaintsAreShownForTheFirstTryOfALossOnly) {
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "SIGCHLD ignored" : "SIGCHLD at its default");
        signal(SIGCHLD, ignored ? SIG_IGN : SIG_DFL);
        ProgramWritesTo(File("no/out.wav"));
        EXPECT_NE(Lose().find("audio: the sound device was lost"), std::string::npos);
        const std::string first = After(3000);
        EXPECT_NE(first.find("Could not open file '" + File("no/out.wav") + "'"), std::string::npos)
            << first;
        EXPECT_EQ(After(3000), "");
        EXPECT_FALSE(platform::AudioDeviceOpen());

        ProgramWritesTo(File("out.wav"));
        EXPECT_EQ(After(3000), "audio: a sound device is open again: sound is back\n");
        EXPECT_TRUE(platform::AudioDeviceOpen());
        EXPECT_TRUE(ProbesRunning().empty());
    }
}

// A program whose sound library waits for good is ended at its deadline, which is said once, and
// the next try goes ahead as usual.
TEST_F(LostRealDevice, AProgramThatNeverAnswersIsEndedAtItsDeadlineAndTheNextTryGoesAhead) {
    platform::SetAudioProbeDeadline(2000);
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "SIGCHLD ignored" : "SIGCHLD at its default");
        signal(SIGCHLD, ignored ? SIG_IGN : SIG_DFL);
        ProgramWritesTo(NeverOpens());
        EXPECT_NE(Lose().find("audio: the sound device was lost"), std::string::npos);
        EXPECT_EQ(After(3000), "audio: the sound system did not answer within 2 s\n");
        EXPECT_TRUE(ProbesRunning().empty());
        EXPECT_EQ(After(3000), "");
        EXPECT_FALSE(platform::AudioDeviceOpen());

        ProgramWritesTo(File("out.wav"));
        EXPECT_EQ(After(3000), "audio: a sound device is open again: sound is back\n");
        EXPECT_TRUE(platform::AudioDeviceOpen());
    }
}

// The program's number is never signalled once the program may have gone: neither after it
// answered, nor at its deadline, nor when a try is given up. Made in a process of its own, whose
// signals by number are trapped.
using LostRealDeviceDeathTest = LostRealDevice;

TEST_F(LostRealDeviceDeathTest, NoSignalGoesToTheNumberOfAProgramThatMayHaveGone) {
    if (testing_support::ReadTextFile("/proc/self/status").find("Seccomp_filters:") ==
        std::string::npos)
        GTEST_SKIP() << "the kernel has no system-call filters";
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "SIGCHLD ignored" : "SIGCHLD at its default");
        EXPECT_EXIT(
            {
                alarm(60);
                signal(SIGCHLD, ignored ? SIG_IGN : SIG_DFL);
                if (!TrapSignalsByNumber())
                    _exit(2);
                platform::SetAudioProbeDeadline(1000);
                ProgramWritesTo(File("no/out.wav"));
                Lose();
                After(3000); // answered
                ProgramWritesTo(NeverOpens());
                After(3000); // ended at its deadline
                PollAfter(3000);
                const bool asked =
                    testing_support::Within(60, [] { return !ProbesRunning().empty(); });
                platform::CloseAudio(); // the try given up while its program waits
                const bool ended =
                    testing_support::Within(60, [] { return ProbesRunning().empty(); });
                platform::End(asked && ended ? 7 : 3);
            },
            testing::ExitedWithCode(7), "");
    }
}

// A game killed (kill -9) while its program waits for the sound server: the program ends with it
// instead of holding its connection until the library gives up.
TEST_F(LostRealDeviceDeathTest, AProgramThatWaitsEndsWithAKilledGame) {
    const std::string left = File("probe");
    EXPECT_EXIT(
        {
            alarm(60);
            ProgramWritesTo(NeverOpens());
            Lose();
            PollAfter(3000);
            testing_support::Within(60, [] { return !ProbesRunning().empty(); });
            const std::vector<testing_support::Process> probes = ProbesRunning();
            if (!probes.empty())
                testing_support::WriteTextFile(left, std::to_string(probes[0].pid) + " " +
                                                         probes[0].started);
            raise(SIGKILL);
        },
        testing::KilledBySignal(SIGKILL), "");
    testing_support::Process probe;
    std::istringstream(testing_support::ReadTextFile(left)) >> probe.pid >> probe.started;
    ASSERT_GT(probe.pid, 0) << "no program asked";
    const bool ended =
        testing_support::Within(60, [&] { return !testing_support::Running(probe); });
    if (!ended)
        kill(probe.pid, SIGKILL);
    EXPECT_TRUE(ended) << "the program outlived the game";
}
