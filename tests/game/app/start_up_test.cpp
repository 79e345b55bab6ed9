// The real executable where no display can be opened: the error is shown and the program still
// ends in order, with a status that says it failed; fatal errors before the display opens; the
// name of the settings file. And the dice of two sessions, each started in a process of its own.

#include "framework/shell/game.h"
#include "game/app/my_game.h"
#include "game/board/board_constants.h"
#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs the program with no display and its data in dataHome, up to its end (at most a minute):
// false when it had to be killed. status is waitpid's, errors what it wrote to standard error.
bool RunWithoutDisplay(const std::string& program, const std::string& home,
                       const std::string& dataHome, int& status, std::string& errors) {
    auto game = testing_support::StartChild(program, {{"HOME", home},
                                                      {"XDG_DATA_HOME", dataHome},
                                                      {"DISPLAY", ""},
                                                      {"WAYLAND_DISPLAY", ""},
                                                      {"SDL_VIDEODRIVER", "dummy"}});
    if (game.pid <= 0)
        return false;
    status = 0;
    const bool ended = testing_support::WaitChild(game, 60, status);
    errors = testing_support::ReadErrorOutput(game);
    return ended;
}

TEST(StartUpWithoutDisplay, ShowsTheErrorAndEndsInOrder) {
    testing_support::TempDir home;
    std::string folder = home.Path() + "Pelorin Demo/";
    int status = 0;
    std::string errors;
    ASSERT_TRUE(RunWithoutDisplay(platform::AppDir() + "pelorin-demo", home.Path(), home.Path(),
                                  status, errors))
        << "the game did not end";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(errors.find("(28) Cannot create Windowed Mode at 800x600 60Hz"), std::string::npos)
        << errors;
    // Nothing changed: no good exit to speak for the settings.
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_NONE);
    EXPECT_EQ(platform::FileType(folder + "pelorin-demo.ini"), platform::FILETYPE_FILE);
}

// Occurrences of text in all.
int Count(const std::string& all, const std::string& text) {
    int n = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
        ++n;
    return n;
}

// A copy of the program beside a data folder that lacks the sound "buttonclick.wav": the folder's
// other entries are links to the built data.
std::string ProgramWithoutTheClickSound(const testing_support::TempDir& dir) {
    const std::string built = platform::AppDir();
    const std::string program = dir.File("pelorin-demo");
    if (!platform::CopyFile(built + "pelorin-demo", program) || chmod(program.c_str(), 0755) != 0)
        return std::string();
    for (const char* folder : {"Data", "data"}) {
        std::vector<std::string> names;
        platform::ReadDir(built + folder, names);
        platform::CreateDir(dir.File(folder));
        for (const std::string& name : names) {
            if (name == "." || name == "..")
                continue;
            if (std::string(folder) == "Data" && name == "sound") {
                std::vector<std::string> sounds;
                platform::ReadDir(built + "Data/sound", sounds);
                platform::CreateDir(dir.File("Data/sound"));
                for (const std::string& sound : sounds)
                    if (sound != "." && sound != ".." && sound != "buttonclick.wav" &&
                        symlink((built + "Data/sound/" + sound).c_str(),
                                dir.File("Data/sound/" + sound).c_str()) != 0)
                        return std::string();
                continue;
            }
            if (symlink((built + folder + "/" + name).c_str(),
                        dir.File(std::string(folder) + "/" + name).c_str()) != 0)
                return std::string();
        }
    }
    return program;
}

// Two sessions, one after the other, each a new process through the game object's start-up as the
// program runs it, up to the board's first throws: they throw differently.
TEST(StartUp, TwoSessionsThrowDifferentDice) {
    constexpr int THROWS = 18;
    if (const char* out = std::getenv("PELORIN_THROWS_FILE")) {
        Game = std::make_unique<TMyGame>();
        Game->SoundDriver = "OpenAL";
        Game->DataInAppBundle = 1;
        Game->SetSubPathWrapper("Pelorin Demo");
        Game->CheckGoodExit();
        Game->Init(0);
        std::string throws;
        for (int i = 0; i < THROWS; ++i)
            throws += std::to_string(platform::Rand(1, MAX_THROW));
        Game.reset();
        ASSERT_TRUE(testing_support::WriteTextFile(out, throws));
        return;
    }
    std::array<char, 4096> self{};
    ASSERT_GT(readlink("/proc/self/exe", self.data(), self.size() - 1), 0);
    testing_support::TempDir home;
    std::vector<std::string> sessions;
    for (int session = 0; session < 2; ++session) {
        const std::string out = home.File("throws" + std::to_string(session));
        auto child = testing_support::StartChild(
            self.data(), {{"GTEST_FILTER", "StartUp.TwoSessionsThrowDifferentDice"},
                          {"GTEST_BRIEF", "1"},
                          {"PELORIN_THROWS_FILE", out},
                          {"HOME", home.Path()},
                          {"XDG_DATA_HOME", home.Path()}});
        ASSERT_GT(child.pid, 0);
        int status = 0;
        testing_support::WaitChild(child, 60, status);
        const std::string errors = testing_support::ReadErrorOutput(child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << errors;
        sessions.push_back(testing_support::ReadTextFile(out));
        ASSERT_EQ(sessions.back().size(), static_cast<size_t>(THROWS)) << errors;
    }
    EXPECT_NE(sessions[0], sessions[1]);
}

// A copy of the program in the folder `inside` of dir, beside links to the built data folders.
std::string ProgramIn(const testing_support::TempDir& dir, const std::string& inside) {
    const std::string built = platform::AppDir();
    const std::string folder = dir.File(inside) + "/";
    const std::string program = folder + "pelorin-demo";
    if (!platform::CreateDir(folder, true) ||
        !platform::CopyFile(built + "pelorin-demo", program) || chmod(program.c_str(), 0755) != 0)
        return std::string();
    for (const char* data : {"Data", "data"})
        if (symlink((built + data).c_str(), (folder + data).c_str()) != 0)
            return std::string();
    return program;
}

// The settings file is named after the executable, or after the bundle it lies in; a folder that
// only has ".app" in its name is no bundle.
TEST(StartUpWithoutDisplay, TheSettingsFileIsNamedAfterTheProgramOrItsBundle) {
    struct Case {
        const char* folder;
        const char* settings;
    };
    const Case cases[] = {
        {"games.apps", "pelorin-demo.ini"},
        {".apps", "pelorin-demo.ini"},
        {"Pelorin.app/Contents/MacOS", "Pelorin.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        testing_support::TempDir home;
        const std::string program = ProgramIn(home, c.folder);
        ASSERT_FALSE(program.empty());
        int status = 0;
        std::string errors;
        ASSERT_TRUE(RunWithoutDisplay(program, home.Path(), home.Path(), status, errors))
            << "the game did not end";
        std::vector<std::string> names;
        platform::ReadDir(home.Path() + "Pelorin Demo", names);
        EXPECT_EQ(std::count(names.begin(), names.end(), c.settings), 1) << errors;
        EXPECT_EQ(std::count_if(names.begin(), names.end(),
                                [](const std::string& name) {
                                    return name.size() > 4 &&
                                           name.compare(name.size() - 4, 4, ".ini") == 0;
                                }),
                  1);
    }
}

// A fatal error before the display opens ends the process with status 1, its message written
// once to standard error and to the error log where the game's folder exists; never an abort.
TEST(StartUpWithoutDisplay, AnEarlyFatalErrorEndsWithStatusOneAndItsMessage) {
    struct Case {
        const char* what;
        std::string message;
        bool logged;
    };
    const Case cases[] = {
        {"game folder cannot be made", "Cannot create shared data folder ", false},
        {"settings cannot be written", "Failed to save file ", true},
        {"click sound missing", "Error loading sample ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TempDir home;
        std::string data = home.Path() + "share";
        std::string program = platform::AppDir() + "pelorin-demo";
        if (c.message.rfind("Cannot", 0) == 0) {
            ASSERT_TRUE(testing_support::WriteTextFile(data, "a file, not a folder"));
        } else if (c.message.rfind("Failed", 0) == 0) {
            ASSERT_TRUE(platform::CreateDir(data + "/Pelorin Demo/pelorin-demo.ini", true));
        } else {
            program = ProgramWithoutTheClickSound(home);
            ASSERT_FALSE(program.empty());
        }
        int status = 0;
        std::string errors;
        ASSERT_TRUE(RunWithoutDisplay(program, home.Path(), data, status, errors))
            << "the game did not end";
        ASSERT_TRUE(WIFEXITED(status))
            << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << "\n"
            << errors;
        EXPECT_EQ(WEXITSTATUS(status), 1) << errors;
        EXPECT_EQ(Count(errors, c.message), 1) << errors;
        const std::string log = testing_support::ReadTextFile(data + "/Pelorin Demo/ErrorLog.txt");
        if (c.logged) {
            EXPECT_NE(log.find("\r\n" + c.message), std::string::npos) << log;
        }
    }
}

} // namespace
