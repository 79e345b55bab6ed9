#pragma once
// The loopback device that renders what is played, and (from audio_files.h) the WAV and Ogg
// Vorbis files that the tests make themselves.

#include "platform/audio.h"
#include "tests/support/audio_files.h"

#include <gtest/gtest.h>

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

} // namespace testing_support
