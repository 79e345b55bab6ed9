#include "platform/frame_pacing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace platform;
using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;
using std::chrono::nanoseconds;

constexpr nanoseconds PERIOD = nanoseconds(1'000'000'000 / 60);
// An arbitrary reading of the clock, far from its epoch.
const TimePoint T0 = TimePoint(1000h);

TEST(FramePace, DecisionTable) {
    struct Case {
        std::string what;
        nanoseconds sinceLast; // now - lastFlip
        bool sync, vsyncWorks;
        nanoseconds sleep;
        nanoseconds newLastSinceLast; // the returned lastFlip - the old one
    };
    const Case cases[] = {
        {"no sync: never waits", 1ms, false, false, 0ns, 1ms},
        {"early frame waits for the boundary", 5ms, true, false, PERIOD - 5ms, PERIOD},
        {"frame on the boundary", PERIOD, true, false, 0ns, PERIOD},
        {"late frame starts from now", 40ms, true, false, 0ns, 40ms},
        {"swap waited for the blank", 15ms, true, true, 0ns, 15ms},
        {"swap returned early despite vsync", 2ms, true, true, PERIOD - 2ms, PERIOD},
        {"clock stepped back by minutes: one period", -5min, true, false, PERIOD, -5min + PERIOD},
        {"clock stepped back by minutes, vsync", -5min, true, true, PERIOD, -5min + PERIOD},
        {"clock stepped back a little: one period", -3ms, true, false, PERIOD, PERIOD - 3ms},
        {"clock jumped forward", 10min, true, false, 0ns, 10min},
        {"clock jumped forward, vsync", 10min, true, true, 0ns, 10min},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TFramePace pace = FramePace(T0 + c.sinceLast, T0, PERIOD, c.sync, c.vsyncWorks);
        EXPECT_EQ(pace.sleep, c.sleep);
        EXPECT_EQ(pace.lastFlip - T0, c.newLastSinceLast);
    }
}

// A loop that draws in 4 ms and flips without a working vertical blank, on a clock that steps
// back by ten minutes and later forward by an hour: every wait is at most a period, and the frames
// keep coming at one a period before, between and after the steps.
TEST(FramePace, LoopKeepsItsRateAcrossClockSteps) {
    nanoseconds real{0};     // time as it passes
    nanoseconds offset{0};   // what the clock adds to it
    TimePoint lastFlip = T0; // as the display starts
    nanoseconds realAt[3]{}; // when frames 60, 120 and 180 have been shown
    for (int frame = 0; frame < 180; ++frame) {
        if (frame == 60)
            offset -= 10min;
        if (frame == 120)
            offset += 1h;
        real += 4ms; // drawing
        const TFramePace pace = FramePace(T0 + real + offset, lastFlip, PERIOD, true, false);
        ASSERT_LE(pace.sleep, PERIOD) << "frame " << frame;
        real += pace.sleep;
        lastFlip = pace.lastFlip;
        if ((frame + 1) % 60 == 0)
            realAt[frame / 60] = real;
    }
    // The first frame after each step may be a frame late or early (its boundary is gone); the
    // rest are paced as before.
    EXPECT_EQ(realAt[0], 60 * PERIOD);
    EXPECT_GE(realAt[1] - realAt[0], 59 * PERIOD);
    EXPECT_LE(realAt[1] - realAt[0], 61 * PERIOD);
    EXPECT_GE(realAt[2] - realAt[1], 59 * PERIOD);
    EXPECT_LE(realAt[2] - realAt[1], 61 * PERIOD);
}

} // namespace
