#pragma once
// The loopback device that renders what is played, and (from audio_files.h) the WAV and Ogg
// Vorbis files that the tests make themselves.

#include "platform/audio.h"
#include "tests/support/audio_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace testing_support {

// The mean absolute level of each side of frames frames rendered on the loopback device.
struct TMix {
    double left = 0;
    double right = 0;
};
TMix RenderMix(int frames);

// OpenAL Soft's loopback device at 44100 Hz for each test (the test is skipped where it is
// missing), and the software mixer again after it.
class LoopbackAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!platform::OpenLoopbackAudio(44100))
            GTEST_SKIP() << "OpenAL Soft's loopback device is not available";
    }
    void TearDown() override { platform::SetAudioDriver("FreeAudio"); }
};

// The loopback device lost and found again through the layer's probes, on a clock of the test's.
// The clock is the test's before the device opens: the device's watch counts from it.
class LostDeviceTest : public LoopbackAudioTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Polls the events after ms of the test's clock, then until a try to open a device that the
    // poll started has been taken; what the layer said on standard error meanwhile.
    std::string After(int ms);
    // The same poll without waiting for a try it starts.
    void PollAfter(int ms);

    int now = 1000;
    std::atomic<bool> connected{true};
    std::atomic<bool> serverUp{true};
};

} // namespace testing_support
