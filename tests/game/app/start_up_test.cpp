// The real executable where no display can be opened: the error is shown and the program still
// ends in order, with a status that says it failed.

#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

TEST(StartUpWithoutDisplay, ShowsTheErrorAndEndsInOrder) {
    testing_support::TempDir home;
    std::string folder = home.Path() + "Pelorin Demo/";
    auto game = testing_support::StartChild(platform::AppDir() + "pelorin-demo",
                                            {{"HOME", home.Path()},
                                             {"XDG_DATA_HOME", home.Path()},
                                             {"DISPLAY", ""},
                                             {"WAYLAND_DISPLAY", ""},
                                             {"SDL_VIDEODRIVER", "dummy"}});
    ASSERT_GT(game.pid, 0);
    int status = 0;
    if (!testing_support::WaitChild(game, 60, status)) {
        kill(game.pid, SIGKILL);
        waitpid(game.pid, &status, 0);
        FAIL() << "the game did not end";
    }
    std::string errors = testing_support::ReadErrorOutput(game);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(errors.find("(28) Cannot create Windowed Mode at 800x600 60Hz"), std::string::npos)
        << errors;
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_FILE);
    EXPECT_EQ(platform::FileType(folder + "pelorin-demo.ini"), platform::FILETYPE_FILE);
}

} // namespace
