// Full-screen starts of the real executable under a window manager, on X servers of the test's
// own: every start shows the title in a window that covers the desktop. Start-up opens and closes
// a first window and then opens the display again while the window manager is still busy with the
// first one, so a fault there shows in some starts only: many run, several desktops at a time.

#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/child_process.h"
#include "tests/support/private_desktop.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::ChildProcess;
using testing_support::PrivateDesktop;
using testing_support::TempDir;
using Clock = std::chrono::steady_clock;

struct DesktopSize {
    int w, h;
};
constexpr DesktopSize SIZES[] = {{800, 600}, {1280, 1024}};
// Desktops of each size run at once, each one start after the other.
constexpr int DESKTOPS_PER_SIZE = 3;
constexpr int STARTS_PER_DESKTOP = 8;
// A start that shows nothing for this long has failed (start-up takes a few seconds at most).
constexpr auto START_LIMIT = std::chrono::seconds(60);

// One desktop and the start running on it.
struct Lane {
    std::unique_ptr<PrivateDesktop> desktop;
    int done = 0;                  // starts over
    std::unique_ptr<TempDir> home; // the running start's user-data folder
    ChildProcess child;
    Clock::time_point started;
};

std::string Where(const Lane& lane) {
    return std::to_string(lane.desktop->Width()) + "x" + std::to_string(lane.desktop->Height()) +
           " on " + lane.desktop->Name() + ", start " + std::to_string(lane.done + 1);
}

std::string DataFolder(const Lane& lane) {
    return lane.home->Path() + "data/Pelorin Demo/";
}

bool Start(Lane& lane) {
    lane.home = std::make_unique<TempDir>();
    const std::string data = lane.home->Path() + "data";
    if (mkdir(data.c_str(), 0700) != 0 || mkdir(DataFolder(lane).c_str(), 0700) != 0 ||
        !testing_support::WriteTextFile(DataFolder(lane) + "pelorin-demo.ini", "FULL SCREEN=1\r\n"))
        return false;
    lane.child = testing_support::StartChild(
        platform::AppDir() + "pelorin-demo",
        {{"HOME", lane.home->Path()}, {"XDG_DATA_HOME", data}, {"DISPLAY", lane.desktop->Name()}});
    lane.started = Clock::now();
    return lane.child.pid > 0;
}

// Why a start ended on its own, with what it left on standard error and in the error log.
std::string Death(Lane& lane, int status) {
    std::string text = Where(lane) + ": ";
    text += WIFEXITED(status) ? "ended with status " + std::to_string(WEXITSTATUS(status))
                              : "ended by signal " + std::to_string(WTERMSIG(status));
    text += "\n  standard error: " + testing_support::ReadErrorOutput(lane.child);
    text += "\n  error log: " + testing_support::ReadTextFile(DataFolder(lane) + "ErrorLog.txt");
    return text;
}

// Ends the start with a close request once it is shown; "" when it ended in order.
std::string Close(Lane& lane) {
    kill(lane.child.pid, SIGTERM);
    int status = 0;
    if (!testing_support::WaitChild(lane.child, 60, status)) {
        testing_support::ReadErrorOutput(lane.child);
        return Where(lane) + ": did not end on a close request";
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Death(lane, status);
    testing_support::ReadErrorOutput(lane.child);
    return "";
}

// One look at a lane's start: "" while it is running or when it ended well, else what failed.
// over is set once the start is over.
std::string Look(Lane& lane, bool& over) {
    over = false;
    int status = 0;
    if (waitpid(lane.child.pid, &status, WNOHANG) == lane.child.pid) {
        over = true;
        return Death(lane, status);
    }
    const PrivateDesktop::Geometry g = lane.desktop->WindowOf(lane.child.pid);
    // The player's profile is made right before the title screen starts.
    const bool title =
        platform::FileType(DataFolder(lane) + "profiles/player.dat") == platform::FILETYPE_FILE;
    const bool covers = g.viewable && g.x == 0 && g.y == 0 && g.w == lane.desktop->Width() &&
                        g.h == lane.desktop->Height();
    if (title && covers) {
        over = true;
        return Close(lane);
    }
    if (Clock::now() - lane.started > START_LIMIT) {
        over = true;
        kill(lane.child.pid, SIGKILL);
        waitpid(lane.child.pid, &status, 0);
        testing_support::ReadErrorOutput(lane.child);
        return Where(lane) + ": no title in a window covering the desktop (" +
               (title ? "title shown" : "no title") + ", window " + std::to_string(g.w) + "x" +
               std::to_string(g.h) + " at " + std::to_string(g.x) + "," + std::to_string(g.y) +
               (g.viewable ? "" : ", not shown") + ")";
    }
    return "";
}

// Each desktop puts back the DISPLAY it found: the last one made goes first.
struct Lanes : std::vector<Lane> {
    ~Lanes() {
        while (!empty())
            pop_back();
    }
};

TEST(FullScreenStart, UnderAWindowManagerShowsTheTitleCoveringTheDesktopEveryTime) {
    Lanes lanes;
    for (const DesktopSize& size : SIZES)
        for (int i = 0; i < DESKTOPS_PER_SIZE; ++i) {
            lanes.emplace_back();
            lanes.back().desktop = std::make_unique<PrivateDesktop>(size.w, size.h, true);
            ASSERT_EQ(lanes.back().desktop->Error(), "");
        }
    for (Lane& lane : lanes)
        ASSERT_TRUE(Start(lane));

    std::vector<std::string> failures;
    int starts = 0;
    for (bool running = true; running;) {
        running = false;
        for (Lane& lane : lanes) {
            if (lane.done == STARTS_PER_DESKTOP)
                continue;
            running = true;
            bool over = false;
            const std::string failure = Look(lane, over);
            if (!failure.empty())
                failures.push_back(failure);
            if (!over)
                continue;
            ++starts;
            if (++lane.done < STARTS_PER_DESKTOP) {
                ASSERT_TRUE(Start(lane));
            }
        }
        usleep(20000);
    }
    EXPECT_EQ(starts, static_cast<int>(std::size(SIZES)) * DESKTOPS_PER_SIZE * STARTS_PER_DESKTOP);
    std::string all;
    for (const std::string& f : failures)
        all += f + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << starts << " starts failed:\n"
                                  << all;
}

} // namespace
