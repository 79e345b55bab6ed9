#include "framework/shell/counter.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using testing_support::ShellDriver;

class LogicClock : public ::testing::Test {
protected:
    void SetUp() override { driver.UseGame(std::make_unique<TGame>()); }
    TFixedRateLogic& Clock() { return *Game->FixedRateLogic; }
    // Measures one frame that lasted ms.
    double FrameOf(int ms) {
        driver.Advance(ms);
        Clock().Calc();
        return Clock().NumTicks;
    }
    ShellDriver driver;
};

TEST_F(LogicClock, TicksDueForFrameSequences) {
    struct Case {
        const char* what;
        std::vector<int> frames; // durations in ms, right after Init
        double lastTicks;        // ticks due for the last frame
    };
    const Case cases[] = {
        {"200 ticks a second: 5 ms is one tick", {5}, 1.0},
        {"a 60 Hz frame", {16}, 3.2},
        {"a long frame is clamped to 50 ms", {120}, 10.0},
        {"a 2 s stall within the first five frames", {16, 16, 2000}, 10.0},
        {"the sixth frame starts the history: its own duration", {16, 16, 16, 16, 16, 10}, 2.0},
        {"averaged over the history", {5, 5, 5, 5, 5, 10, 20}, 3.0},
        {"a stall once averaging runs adds one entry of 50",
         {5, 5, 5, 5, 5, 10, 10, 10, 2000},
         4.0},
        {"a 0 ms frame still due the average", {5, 5, 5, 5, 5, 10, 0}, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Clock().HistoryClear();
        Clock().Init();
        double ticks = 0;
        for (int ms : c.frames)
            ticks = FrameOf(ms);
        EXPECT_NEAR(ticks, c.lastTicks, 1e-9);
    }
}

TEST_F(LogicClock, HistoryAveragesOverAtMostFiftyFrames) {
    for (int i = 0; i < 5; ++i)
        FrameOf(5);
    for (int i = 0; i < 50; ++i)
        FrameOf(50);
    EXPECT_EQ(Clock().HistorySize, 50);
    EXPECT_NEAR(FrameOf(5), (49 * 50 + 5) / 50.0 / 5.0, 1e-9); // the oldest entry is replaced
    Clock().HistoryClear();
    EXPECT_NEAR(FrameOf(20), 4.0, 1e-9); // after a clear: its own duration
}

TEST_F(LogicClock, ClockGoingBackOrWrappingRepeatsTheLastCount) {
    FrameOf(15);
    driver.now -= 1000;
    Clock().Calc();
    EXPECT_DOUBLE_EQ(Clock().NumTicks, 3.0);
    driver.now = INT_MAX - 2;
    Clock().Init();
    FrameOf(10); // wraps past INT_MAX
    EXPECT_DOUBLE_EQ(Clock().NumTicks, 1.0);
    EXPECT_NEAR(FrameOf(10), 2.0, 1e-9);
}

TEST_F(LogicClock, FastModeRunsOneTickPerFrameAndLeavesTheClock) {
    Game->FastOn();
    EXPECT_DOUBLE_EQ(FrameOf(40), 1.0);
    EXPECT_DOUBLE_EQ(FrameOf(0), 1.0);
    EXPECT_EQ(Clock().maximum, 0); // fast frames do not raise the clock's maximum
    Game->FastOff();
    EXPECT_DOUBLE_EQ(FrameOf(10), 2.0); // no burst after leaving fast mode
}

TEST_F(LogicClock, SlowMotionRunsAQuarterOfTheTicksWithTheSameLengths) {
    EXPECT_FLOAT_EQ(Game->CalcAnimLength(500), 100.0f);
    Game->SlowMotionOn();
    EXPECT_FLOAT_EQ(Clock().Framerate, 50.0f);
    EXPECT_FLOAT_EQ(Clock().MS, 20.0f);
    EXPECT_FLOAT_EQ(Game->CalcAnimLength(500), 100.0f);
    EXPECT_NEAR(FrameOf(20), 1.0, 1e-9);
    Game->SlowMotionOff();
    EXPECT_FLOAT_EQ(Clock().Framerate, 200.0f);
    EXPECT_NEAR(FrameOf(20), 4.0, 1e-9);
}

TEST_F(LogicClock, AnimLengths) {
    EXPECT_FLOAT_EQ(Game->CalcAnimLength(0), 0.0f);
    EXPECT_FLOAT_EQ(Game->CalcAnimLength(5), 1.0f);
    EXPECT_FLOAT_EQ(Game->CalcAnimLengthFromFloat(12.5f), 2.5f);
}

TEST_F(LogicClock, FastAndFlipSync) {
    Game->VSync = 0;
    Game->SetFlipSync();
    EXPECT_EQ(ccFlipSync, 0);
    Game->FastOn();
    Game->FastOff();
    EXPECT_EQ(ccFlipSync, 0);
    Game->VSync = 1;
    Game->SetFlipSync();
    Game->FastOff(); // not in fast mode: changes nothing
    EXPECT_EQ(ccFlipSync, 1);
}

TEST_F(LogicClock, Meters) {
    TDebugVar logic;
    logic.Label = "Logic   ";
    logic.Init();
    logic.Start();
    driver.Advance(1500);
    logic.Calc();
    EXPECT_EQ(logic.current, 1500);
    EXPECT_EQ(logic.maximum, 999);
    logic.current = 7;
    logic.maximum = 12;
    EXPECT_EQ(logic.GetDisplay(), "Logic   007/012");

    TFPSCounter fps;
    fps.Label = "FPS     ";
    fps.Init();
    for (int i = 0; i < 61; ++i) { // 60 frames a second; the window closes after 1001 ms
        driver.Advance(17);
        fps.Calc();
    }
    EXPECT_NEAR(fps.current, 60, 1);
    for (int i = 0; i < 60; ++i) {
        driver.Advance(18);
        fps.Calc();
    }
    EXPECT_EQ(fps.minimum, 56);
    fps.current = 60;
    fps.minimum = 58;
    EXPECT_EQ(fps.GetDisplay(), "FPS     060/058");
}

TEST_F(LogicClock, Counters) {
    auto zero = TCounter::Create(0);
    EXPECT_EQ(zero->Active, 1);
    EXPECT_EQ(zero->Manage(), 0);

    auto second = TCounter::Create(1000);
    int reportedAt = 0;
    for (int tick = 1; tick <= 205; ++tick) {
        Delta = 1.0f;
        if (second->Manage())
            reportedAt = reportedAt ? -1 : tick; // once only
    }
    EXPECT_EQ(reportedAt, 200);

    TCounterList list;
    list.push_back(std::make_shared<TObject>()); // not a counter: skipped
    list.AddNew(5);
    list.AddNew(10);
    Delta = 1.0f;
    list.Manage(0);
    EXPECT_EQ(list.size(), 3u); // kept when finished
    list.Manage(1);
    EXPECT_EQ(list.size(), 2u); // the 2-tick counter reported and left
}

} // namespace
