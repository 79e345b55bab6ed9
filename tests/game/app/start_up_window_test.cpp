// The program's real start-up, main loop and end: in this process through RunProgram with a
// script run at every flip, and as the real executable in a child process.

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "game/app/program.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::ProcessEnded;
using testing_support::ShellDriver;

// Runs the program with a script called at every flip; returns the exit status.
int RunScripted(ShellDriver& driver, const std::function<void(int)>& script) {
    int frame = 0;
    platform::SetFlipHook([&] {
        // One logic tick per frame, without waiting for the vertical blank.
        if (++frame == 1)
            Game->FastOn();
        driver.Advance(5);
        script(frame);
    });
    int status = -1;
    try {
        RunProgram();
    } catch (const ProcessEnded& end) {
        status = end.status;
    }
    platform::SetFlipHook(nullptr);
    return status;
}

TEST(StartUp, ShowsTheFirstScreenAndEndsInOrderOnEscape) {
    ShellDriver driver;
    bool shown = false;
    int status = RunScripted(driver, [&](int frame) {
        if (frame == 150) {
            shown = Game->CurrentTScreen == TitleScreen && !Game->Fading();
            platform::InjectKey(27, true);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(shown);
    std::string folder = driver.home.Path() + "Pelorin Demo/";
    EXPECT_EQ(Game->SubPath, folder);
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_FILE);
    EXPECT_EQ(platform::FileType(Game->IniFilePath()), platform::FILETYPE_FILE);
    EXPECT_EQ(platform::FileType(folder + "profiles"), platform::FILETYPE_DIR);
    EXPECT_EQ(Game->CurrentTScreen, Game->ExitScreen);
    EXPECT_TRUE(driver.notes.empty());
}

TEST(StartUp, AnErrorInALaterFrameIsShownAndEndsInOrder) {
    ShellDriver driver;
    int status = RunScripted(driver, [&](int frame) {
        if (frame == 40)
            throw std::runtime_error("Something broke in frame 40");
    });
    EXPECT_NE(status, 0); // a failure is not reported as success
    ASSERT_FALSE(driver.notes.empty());
    EXPECT_EQ(driver.notes.back(), "Something broke in frame 40");
    EXPECT_EQ(platform::FileType(driver.home.Path() + "Pelorin Demo/GoodExit.dat"),
              platform::FILETYPE_FILE);
}

TEST(StartUp, TheExecutableStartsAndEndsInOrderOnAClose) {
    testing_support::TempDir home;
    std::string data = home.Path() + "data";
    std::string folder = data + "/Pelorin Demo/";
    std::string exe = platform::AppDir() + "pelorin-demo";
    ASSERT_EQ(platform::FileType(exe), platform::FILETYPE_FILE);
    platform::CreateDir(data, true);
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        chdir("/"); // the game finds its data beside itself, from any working directory
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The profile is made right before the first screen, with the display open.
    bool started = false;
    for (int i = 0; i < 600 && !started; ++i) {
        started = platform::FileType(folder + "profiles/player.dat") == platform::FILETYPE_FILE;
        if (!started)
            usleep(100000);
        int waited = 0;
        if (waitpid(child, &waited, WNOHANG) == child)
            FAIL() << "the game ended before its first screen, status " << waited;
    }
    EXPECT_TRUE(started);
    EXPECT_EQ(platform::FileType(folder + "pelorin-demo.ini"), platform::FILETYPE_FILE);
    kill(child, SIGTERM); // the window system's request to close
    int waited = 0;
    ASSERT_EQ(waitpid(child, &waited, 0), child);
    ASSERT_TRUE(WIFEXITED(waited)) << "ended by signal " << WTERMSIG(waited);
    EXPECT_EQ(WEXITSTATUS(waited), 0);
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_FILE);
}

} // namespace
