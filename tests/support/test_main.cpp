// The main of every test executable: GoogleTest's, with the global state put back before and after
// each test, so that a whole executable passes in one process, in any order.

#include "tests/support/drawing_support.h"
#include "tests/support/state_reset.h"
#include "tests/support/test_rerun.h"

#include "platform/audio.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image_codecs.h"
#include "platform/input.h"
#include "platform/net.h"
#include "platform/system.h"

#include <gtest/gtest.h>

#include <vector>

namespace testing_support {

bool windowKeptForSuite = false;

namespace {

std::vector<void (*)()>& Resets() {
    static std::vector<void (*)()> resets;
    return resets;
}

void ResetAll() {
    // A clock of a test's fixture is gone by the test's end, and the resets below may poll, which
    // reads the clock.
    platform::SetMilliSecsSource(nullptr);
    for (auto reset : Resets())
        reset();
    ResetPlatformState();
    ResetRerunState();
}

class StateReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ResetAll(); }
    void OnTestEnd(const ::testing::TestInfo&) override { ResetAll(); }
};

} // namespace

void AddStateReset(void (*reset)()) {
    Resets().push_back(reset);
}

void ResetPlatformState() {
    using namespace platform;
    SetMilliSecsSource(nullptr);
    SetDelayHandler(nullptr);
    SetRunSeedSource(nullptr);
    SetFileChangeHook(nullptr);
    SetJpegOutputHook(nullptr);
    SetEndHandler(nullptr);
    SetNotifyHandler(nullptr);
    SetLocalTimeSource(nullptr);
    SetFlipHook(nullptr);
    SetLinkTimeouts(LINK_TIMEOUTS);
    // No sound device of an earlier test: its watch would read the clock at every poll.
    SetAudioDeviceProbes(nullptr, nullptr);
    SetAudioProbeDeadline(0);
    SetAudioDriver("");
    // Turning polled input on starts its key and button counts afresh; off, they would stay.
    EnablePolledInput();
    DisablePolledInput();
    // A re-run of a test starts afresh, with nothing to drain, and stays without SDL's threads
    // until its test wants SDL: a forker's re-run must have none.
    if (!InRerun())
        PollSystem();
    ClearEvents();
    SetDrawLog(false);
    ClearDrawLog();
    ResetDrawingState();
    SetClsColor(0, 0, 0);
    SetImageFont(nullptr);
    AutoMidHandle(false);
    ResetCollisions();
    // A window left open would, among other things, make the next fatal error wait for a key.
    if (GraphicsOpen() && !windowKeptForSuite)
        EndGraphics();
}

} // namespace testing_support

int main(int argc, char** argv) {
    // A death test's child is the test binary run again: a fork of a process with threads (SDL's,
    // the sound library's) could inherit their locks, some held.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new testing_support::StateReset);
    const int result = RUN_ALL_TESTS();
    testing_support::EndRerun();
    return result;
}
