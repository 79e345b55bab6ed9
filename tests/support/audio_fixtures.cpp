#include "tests/support/audio_fixtures.h"

#include "platform/audio.h"
#include "platform/input.h"
#include "platform/system.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace testing_support {

TMix RenderMix(int frames) {
    std::vector<int16_t> out(2 * size_t(frames));
    platform::RenderAudio(frames, out.data());
    TMix mix;
    for (int i = 0; i < frames; ++i) {
        mix.left += std::abs(out[2 * size_t(i)]);
        mix.right += std::abs(out[2 * size_t(i) + 1]);
    }
    mix.left /= frames;
    mix.right /= frames;
    return mix;
}

void LostDeviceTest::SetUp() {
    platform::SetMilliSecsSource([this] { return now; });
    LoopbackAudioTest::SetUp();
    platform::SetAudioDeviceProbes([this] { return connected.load(); },
                                   [this] { return serverUp.load(); });
}

void LostDeviceTest::TearDown() {
    platform::SetAudioDeviceProbes(nullptr, nullptr);
    LoopbackAudioTest::TearDown();
    platform::SetMilliSecsSource(nullptr);
}

void LostDeviceTest::PollAfter(int ms) {
    now += ms;
    platform::PollSystem();
}

std::string LostDeviceTest::After(int ms) {
    testing::internal::CaptureStderr();
    PollAfter(ms);
    // A try runs on a thread of its own: its end is taken by a later poll.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (platform::AudioDeviceSought() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        platform::PollSystem();
    }
    EXPECT_FALSE(platform::AudioDeviceSought()) << "a try to open a device never ended";
    return testing::internal::GetCapturedStderr();
}

} // namespace testing_support
