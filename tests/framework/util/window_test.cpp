#include "framework/util/window.h"

#include "framework/util/records.h"
#include "platform/graphics.h"
#include "platform/system.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(WindowFunctions, FixMacWindowYTurnsBetweenBottomUpAndTopDown) {
    struct Case {
        int y, height, result;
    };
    for (const Case& c : std::vector<Case>{{100, 900, 200}, {200, 900, 100}, {0, 600, 0}}) {
        EXPECT_EQ(ccFixMacWindowY(c.y, c.height), c.result);
        EXPECT_EQ(ccFixMacWindowY(c.result, c.height), c.y);
    }
}

TEST(WindowFunctions, FindScreenResNeedsAllFourValues) {
    ASSERT_GT(platform::CountGraphicsModes(), 0);
    int w, h, d, hz;
    ASSERT_TRUE(platform::GetGraphicsMode(0, w, h, d, hz));
    EXPECT_EQ(ccFindScreenRes(w, h, d, hz), 1);
    EXPECT_EQ(ccFindScreenRes(w, h, d, hz + 1000), 0);
    EXPECT_EQ(ccFindScreenRes(w + 1, h, d, hz), 0);
}

TEST(WindowFunctions, SharedUserDataFolderFollowsXdgDataHome) {
    const char* old = std::getenv("XDG_DATA_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", "/tmp/pelorin-xdg", 1);
    EXPECT_EQ(ccGetSharedUserDataFolder(), "/tmp/pelorin-xdg");
    if (old)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(WindowFunctions, WithoutAWindowTheQueriesGiveNeutralValues) {
    ASSERT_FALSE(platform::GraphicsOpen());
    EXPECT_EQ(ccGetActiveWindowOSX(), 0);
    TPoint origin = ccGetWindowOriginOSX(0);
    EXPECT_EQ(origin.X, 0);
    EXPECT_EQ(origin.Y, 0);
    int w = 0, h = 0;
    EXPECT_EQ(ccGetDesktopSize(w, h), 1);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
}

// The display's creation and the pause pass the priorities of the settings file, whatever they
// are, to ccSetPriority; here it must leave the scheduling of the game as it is. The debug overlay
// shows used = total - available memory: nothing of nothing, never a negative figure.
TEST(WindowFunctions, NeutralFunctionsReturnTheirFixedValues) {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    ASSERT_EQ(errno, 0);
    const int policy = sched_getscheduler(0);
    struct Priorities {
        int process, thread;
    };
    for (const Priorities p : {Priorities{0, 0}, Priorities{1, 2}, Priorities{-4, 15},
                               Priorities{19, 19}, Priorities{2, -1}}) {
        EXPECT_EQ(ccSetPriority(p.process, p.thread), 0);
        EXPECT_EQ(getpriority(PRIO_PROCESS, 0), nice) << p.process << " " << p.thread;
        EXPECT_EQ(sched_getscheduler(0), policy) << p.process << " " << p.thread;
    }
    const TMemoryStatus memory = ccGetMemoryStatus();
    EXPECT_EQ(memory.dwLength, 32);
    EXPECT_EQ(memory.dwTotalPhys, 0);
    EXPECT_EQ(memory.dwAvailPhys, 0);
    EXPECT_EQ(ccGetWindowInfo().cbSize, 0);
    EXPECT_EQ(ccWindowPosition(), nullptr);
    EXPECT_EQ(ccGetCursorPos().X, 0);
    EXPECT_EQ(ccDirectXVersionIsValid(), 1);
    EXPECT_EQ(ccGetSpecialFolder(26), "");
    EXPECT_EQ(ccCreateMutex("Pelorin Demo"), 0);
    EXPECT_EQ(ccGetVideoMemory(), 0);
}

} // namespace
