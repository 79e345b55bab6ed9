// The program's real start-up, main loop and end: in this process with a script run at every
// flip, and as the real executable in a child process.

#include "framework/graphics/game_image.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/util/ini.h"
#include "framework/util/input.h"
#include "game/app/my_game.h"
#include "game/board/asset_names.h"
#include "game/board/program_data.h"
#include "game/screens/title_screen.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "tests/support/child_process.h"
#include "tests/support/private_desktop.h"
#include "tests/support/processes.h"
#include "tests/support/program_script.h"
#include "tests/support/temp_dir.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::Arguments;
using testing_support::Descendants;
using testing_support::Process;
using testing_support::ProgramScript;
using testing_support::Running;
using testing_support::RunProgramFrames;
using testing_support::RunsToTheEnd;
using testing_support::ShellDriver;
using testing_support::Within;

// True once the process catches the signal (SIGTERM: the window system turns it into a request to
// close).
bool Catches(pid_t pid, int signal = SIGTERM) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return (mask >> (signal - 1)) & 1;
        }
    }
    return false;
}

TEST(StartUp, ShowsTheFirstScreenAndEndsInOrderOnEscape) {
    ShellDriver driver;
    bool shown = false;
    int status = RunProgramFrames(driver, [&](int frame) {
        if (frame == 150) {
            shown = Game->CurrentTScreen == TitleScreen && !Game->Fading();
            platform::InjectKey(27, true);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(shown);
    std::string folder = driver.home.Path() + "Pelorin Demo/";
    EXPECT_EQ(Game->SubPath, folder);
    // Nothing changed: no good exit to speak for the settings.
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_NONE);
    EXPECT_EQ(platform::FileType(Game->IniFilePath()), platform::FILETYPE_FILE);
    EXPECT_EQ(platform::FileType(folder + "profiles"), platform::FILETYPE_DIR);
    EXPECT_EQ(Game->CurrentTScreen, Game->ExitScreen);
    EXPECT_TRUE(driver.notes.empty());
}

TEST(StartUp, LoadsTheImageBankAndDrawsTheGamesOwnPointer) {
    ShellDriver driver;
    bool pointerDrawn = false;
    int status = RunProgramFrames(driver, [&](int frame) {
        if (frame == 60)
            platform::InjectMouseMove(300, 200);
        if (frame == 149) {
            platform::SetDrawLog(true);
            platform::ClearDrawLog();
        }
        if (frame == 150) {
            // The frame just drawn, before it is shown: the pointer where the mouse state says
            // (other windows on the same display may move the shared pointer meanwhile).
            const TMousePointer& mouse = *Game->Mouse;
            for (const auto& r : platform::DrawLog())
                pointerDrawn = pointerDrawn || (r.image == mouse.Image.get() &&
                                                r.x == static_cast<float>(mouse.x) &&
                                                r.y == static_cast<float>(mouse.y));
            platform::SetDrawLog(false);
            platform::InjectKey(27, true);
        }
    });
    EXPECT_EQ(status, 0);
    ASSERT_EQ(images->size(), BANK_IMAGES.size());
    EXPECT_EQ(images->Find("Pawn")->midhandled, 1);
    const auto explain = images->Find("explain");
    EXPECT_EQ(explain->image->Frames(), 6);
    EXPECT_EQ(explain->w, 324);
    EXPECT_EQ(explain->h, 132);
    EXPECT_EQ(explain->midhandled, 0);
    EXPECT_EQ(images->Find("die")->image->Frames(), 6);
    ASSERT_TRUE(Game->Mouse->Image);
    EXPECT_EQ(Game->Mouse->Image->handleX, 0.0f); // the tip is the picture's top-left corner
    EXPECT_TRUE(pointerDrawn);
}

// What a player does while the program loads: a key pressed and still held, characters typed, the
// left button pressed and still held.
void PressDuringLoading(int key) {
    platform::InjectKey(key, true);
    platform::InjectText("nk");
    platform::InjectMouseButton(1, true);
}

// Whether any of that reached the current screen's ticks.
bool LoadingInputArrived(int key) {
    return KeyStates[key] != 0 || charPut != charGet || Game->Mouse->b1 != 0;
}

TEST(StartUp, InputDuringLoadingHasNoEffectOnTheTitle) {
    for (int fades : {1, 0}) {
        SCOPED_TRACE(fades);
        ShellDriver driver;
        bool pressed = false, arrived = false, networkDialog = false, fadeWhole = false;
        int status = RunProgramFrames(driver, [&](int frame) {
            if (Game->CurrentTScreen != TitleScreen) {
                if (!pressed)
                    Game->Fade = fades;
                pressed = true;
                PressDuringLoading(NETWORK_SETUP_KEY);
                return;
            }
            arrived = arrived || LoadingInputArrived(NETWORK_SETUP_KEY);
            if (frame == 150) {
                networkDialog = static_cast<TTitleScreen&>(*TitleScreen).NetworkOptions != nullptr;
                const TGameFade& fade = *Game->GameFade;
                fadeWhole = !fade.Active && fade.FadeInAborted == 0 &&
                            (!fades || fade.Counter >= static_cast<float>(fade.Length));
                platform::InjectQuit();
            }
        });
        EXPECT_EQ(status, 0);
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(arrived);
        EXPECT_FALSE(networkDialog); // the N pressed during loading opened nothing
        EXPECT_TRUE(fadeWhole);      // the title's fade-in was not cut short
    }
}

TEST(StartUp, InputDuringAScreensLoadHasNoEffectOnIt) {
    constexpr int KEY = 'K';
    ShellDriver driver;
    ProgramScript script;
    int presses = 0;
    // The black frame that stands while the next screen loads, after the tick's events were taken.
    script.onFrame = [&] {
        const TGameFade& fade = *Game->GameFade;
        if (fade.Out == 1 && !fade.Active && Game->DestinationTScreen != Game->ExitScreen &&
            Game->CurrentTScreen != Game->DestinationTScreen) {
            ++presses;
            PressDuringLoading(KEY);
        }
    };
    auto whole = [&](const char* what, const std::shared_ptr<TScreen>* screen) {
        script.Await(what, screen).Check(std::string(what) + ": nothing arrived", [] {
            EXPECT_EQ(Game->GameFade->FadeInAborted, 0);
            EXPECT_GE(Game->GameFade->Counter, static_cast<float>(Game->GameFade->Length));
            EXPECT_FALSE(LoadingInputArrived(KEY));
            // The key held through the load reads as up; its release leaves nothing behind.
            platform::InjectKey(KEY, false);
            platform::InjectMouseButton(1, false);
        });
    };
    script.Await("title", &TitleScreen).Click("instructions");
    whole("instructions", &InstructionsScreen);
    script.Key(27);
    whole("title again", &TitleScreen);
    script.Check("released", [] { EXPECT_FALSE(LoadingInputArrived(KEY)); }).Key(27);
    EXPECT_TRUE(RunsToTheEnd(driver, script));
    EXPECT_EQ(presses, 2);
}

TEST(StartUp, AnErrorInALaterFrameIsShownAndEndsInOrder) {
    ShellDriver driver;
    int status = RunProgramFrames(driver, [&](int frame) {
        if (frame == 30)
            Game->MusicSetVolume(70, 1);
        if (frame == 40)
            throw std::runtime_error("Something broke in frame 40");
    });
    EXPECT_NE(status, 0); // a failure is not reported as success
    ASSERT_FALSE(driver.notes.empty());
    // With the progress code of the display creation in front.
    EXPECT_EQ(driver.notes.back(), "(139) Something broke in frame 40");
    // The end in order speaks for the change made before the error.
    EXPECT_EQ(platform::FileType(driver.home.Path() + "Pelorin Demo/GoodExit.dat"),
              platform::FILETYPE_FILE);
}

// Makes the server report an error to the program's own connection: about a window of another
// client that is gone (as a window manager's frame may be), or about the program's window. False
// when the display is not on X11.
bool CauseXError(bool aboutTheProgramsWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* x = info.info.x11.display;
    if (aboutTheProgramsWindow) {
        // There is no property format 7.
        const unsigned char byte = 0;
        XChangeProperty(x, info.info.x11.window, XA_STRING, XA_STRING, 7, PropModeReplace, &byte,
                        1);
    } else {
        Display* other = XOpenDisplay(nullptr);
        if (!other)
            return false;
        const ::Window gone =
            XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 10, 10, 0, 0, 0);
        XDestroyWindow(other, gone);
        XCloseDisplay(other);
        int wx = 0, wy = 0;
        ::Window child = 0;
        XTranslateCoordinates(x, gone, DefaultRootWindow(x), 0, 0, &wx, &wy, &child);
    }
    XSync(x, False);
    return true;
}

TEST(StartUp, AnXErrorEndsTheGameThroughTheFatalErrorUnlessItIsAboutAWindowNotTheGames) {
    struct Case {
        const char* name;
        bool aboutTheProgramsWindow;
    };
    for (const Case& c : {Case{"a window that is gone", false}, Case{"the game's window", true}}) {
        SCOPED_TRACE(c.name);
        ShellDriver driver;
        bool x11 = true;
        int status = RunProgramFrames(driver, [&](int frame) {
            if (frame == 40)
                x11 = CauseXError(c.aboutTheProgramsWindow);
            if (frame == 150)
                platform::InjectKey(27, true);
        });
        if (!x11)
            GTEST_SKIP() << "the display is not on X11";
        const std::string log =
            testing_support::ReadTextFile(driver.home.Path() + "Pelorin Demo/ErrorLog.txt");
        if (!c.aboutTheProgramsWindow) {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(driver.notes.empty());
            EXPECT_EQ(log, "");
            continue;
        }
        EXPECT_EQ(status, 1);
        ASSERT_FALSE(driver.notes.empty());
        const std::string& text = driver.notes.back();
        EXPECT_EQ(text.rfind("(139) The display failed: X error BadValue", 0), 0u) << text;
        EXPECT_NE(text.find("X_ChangeProperty"), std::string::npos) << text;
        EXPECT_NE(log.find(text), std::string::npos) << log;
    }
}

// Closing the terminal that the game was started from sends it SIGHUP: the same request to end as
// SIGTERM. A run that changed a setting ends in order, and the next start keeps the setting and
// says nothing; a hang-up ignored from the start (nohup) stays ignored. Each case runs in a child,
// the test program started again: a hang-up that nothing catches ends it at once.
TEST(StartUp, AHangUpIsARequestToEndUnlessIgnoredFromTheStart) {
    if (const char* child = std::getenv("PELORIN_HANGUP_CHILD")) {
        const bool ignored = std::string(child) == "ignored";
        signal(SIGHUP, ignored ? SIG_IGN : SIG_DFL);
        signal(SIGPIPE, SIG_DFL);
        ShellDriver driver;
        int lastFrame = 0;
        const int status = RunProgramFrames(driver, [&](int frame) {
            lastFrame = frame;
            if (frame == 150) {
                Game->MusicSetVolume(70, 1);
                if (!ignored) {
                    // Standard error's reader went with the terminal: writing to it fails.
                    int ends[2];
                    ASSERT_EQ(pipe(ends), 0);
                    close(ends[0]);
                    dup2(ends[1], STDERR_FILENO);
                    close(ends[1]);
                    platform::PrintError("written to a pipe whose reader has gone");
                }
                raise(SIGHUP);
            }
            if (frame == 300)
                platform::InjectKey(27, true);
        });
        EXPECT_EQ(status, 0);
        if (ignored) {
            EXPECT_GT(lastFrame, 300) << "ended before the Escape";
        } else {
            EXPECT_LT(lastFrame, 300) << "ended only on the Escape";
        }
        auto next = std::make_unique<TMyGame>();
        next->SoundDriver = "OpenAL";
        next->MusicVolume = 20;
        next->DataInAppBundle = 1;
        driver.UseGame(std::move(next));
        Game->SetSubPathWrapper("Pelorin Demo");
        Game->CheckGoodExit();
        Game->Init(4);
        EXPECT_TRUE(driver.notes.empty()) << driver.notes.back();
        EXPECT_EQ(Game->MusicVolume, 70);
        return;
    }
    for (const char* disposition : {"default", "ignored"}) {
        SCOPED_TRACE(disposition);
        auto run = testing_support::StartChild(
            platform::AppFile(),
            {{"GTEST_FILTER", "StartUp.AHangUpIsARequestToEndUnlessIgnoredFromTheStart"},
             {"GTEST_BRIEF", "1"},
             {"PELORIN_HANGUP_CHILD", disposition}});
        ASSERT_GT(run.pid, 0);
        int status = 0;
        const bool ended = testing_support::WaitChild(run, 120, status);
        const std::string errors = testing_support::ReadErrorOutput(run);
        ASSERT_TRUE(ended) << errors;
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << errors;
        EXPECT_EQ(WEXITSTATUS(status), 0) << errors;
    }
}

TEST(StartUp, TheExecutableStartsAndEndsInOrderOnAClose) {
    testing_support::TempDir home;
    std::string data = home.Path() + "data";
    std::string folder = data + "/Pelorin Demo/";
    std::string exe = platform::AppDir() + "pelorin-demo";
    ASSERT_EQ(platform::FileType(exe), platform::FILETYPE_FILE);
    platform::CreateDir(data, true);
    auto game = testing_support::StartChild(exe, {{"HOME", home.Path()}, {"XDG_DATA_HOME", data}});
    pid_t child = game.pid;
    ASSERT_GT(child, 0);
    // The player's profile is made right before the first screen is shown, once the display is
    // open and the window system turns SIGTERM into a request to close.
    bool started = false;
    for (int i = 0; i < 600 && !started; ++i) {
        started = Catches(child) &&
                  platform::FileType(folder + "profiles/player.dat") == platform::FILETYPE_FILE;
        if (!started)
            usleep(100000);
        int early = 0;
        ASSERT_NE(waitpid(child, &early, WNOHANG), child) << "ended early, status " << early;
    }
    EXPECT_TRUE(started);
    kill(child, SIGTERM);
    int waited = 0;
    if (!testing_support::WaitChild(game, 60, waited))
        FAIL() << "the game did not end on a close request";
    ASSERT_TRUE(WIFEXITED(waited)) << "ended by signal " << WTERMSIG(waited);
    EXPECT_EQ(WEXITSTATUS(waited), 0);
    // Nothing changed: no good exit to speak for the settings.
    EXPECT_EQ(platform::FileType(folder + "GoodExit.dat"), platform::FILETYPE_NONE);
    EXPECT_EQ(platform::FileType(folder + "pelorin-demo.ini"), platform::FILETYPE_FILE);
    EXPECT_EQ(platform::FileType(folder + "profiles"), platform::FILETYPE_DIR);
}

// The real executable (exe) on the desktop, with a home of its own, up to its message box of
// start-up and to its end; nothing it starts outlives the object.
class GameAtItsBox {
public:
    static constexpr const char* TITLE = "Pelorin Demo v1.0";

    // killedRun: the run before changed the settings and was killed (its marker, no good exit),
    // so that this one restores them and says so.
    GameAtItsBox(const std::string& exe, const testing_support::PrivateDesktop& desktop,
                 bool killedRun)
        : desktop_(desktop) {
        const std::string data = home_.Path() + "data";
        folder = data + "/Pelorin Demo/";
        settings = folder + "pelorin-demo.ini";
        bool made = platform::CreateDir(folder, true);
        if (killedRun)
            made = made &&
                   testing_support::WriteTextFile(settings,
                                                  "MUSIC VOLUME=77\r\nPROFILE NAME=Ada\r\n") &&
                   testing_support::WriteTextFile(folder + "inichanged.dat", "");
        if (made)
            game = testing_support::StartChild(exe, {{"HOME", home_.Path()},
                                                     {"XDG_DATA_HOME", data},
                                                     {"DISPLAY", desktop.Name()},
                                                     {"PELORIN_HEADLESS", ""}});
    }
    ~GameAtItsBox() {
        std::vector<Process> left = box;
        int status = 0;
        if (game.pid > 0 && waitpid(game.pid, &status, WNOHANG) == 0) {
            for (const Process& p : Descendants(game.pid))
                left.push_back(p);
            kill(game.pid, SIGKILL);
            waitpid(game.pid, &status, 0);
        }
        // They hold the game's standard error open: gone, it can be read to its end.
        for (const Process& p : left)
            if (Running(p))
                kill(p.pid, SIGKILL);
        testing_support::ReadErrorOutput(game);
    }
    GameAtItsBox(const GameAtItsBox&) = delete;
    GameAtItsBox& operator=(const GameAtItsBox&) = delete;

    // Waits until the box's window is on the desktop (by then the processes that show it run, and
    // box holds them); "" once it is, else why not.
    std::string AwaitBox() {
        if (game.pid <= 0)
            return "not started";
        bool endedEarly = false;
        int early = 0;
        const bool shown = Within(60, [&] {
            endedEarly = endedEarly || waitpid(game.pid, &early, WNOHANG) == game.pid;
            return endedEarly || desktop_.ViewableWindowTitled(TITLE).viewable;
        });
        if (endedEarly)
            return "ended before the box was answered, status " + std::to_string(early);
        if (!shown)
            return "no box";
        box = Descendants(game.pid);
        return box.empty() ? "no process shows the box" : "";
    }
    // The signal, or the player's answer when signal is 0; a run that goes on after the box (a
    // restored one) then goes on to its title screen, where it is asked to end.
    bool Answer(int signal, bool goesOn) {
        if (signal != 0)
            return kill(game.pid, signal) == 0;
        if (!desktop_.CloseWindowTitled(TITLE))
            return false;
        if (goesOn && Within(60, [&] {
                return platform::FileType(folder + "profiles/player.dat") ==
                       platform::FILETYPE_FILE;
            }))
            kill(game.pid, SIGTERM);
        return true;
    }

    struct Ending {
        bool ended = false; // else killed after a minute
        int status = 0;
        bool boxGone = false, boxHidden = false;
        std::string errors;
    };
    // Waits for the game's end, then for the box's (a minute at most each).
    Ending AwaitEnd() {
        Ending e;
        e.ended = testing_support::WaitChild(game, 60, e.status);
        e.boxGone = Within(60, [&] { return std::none_of(box.begin(), box.end(), Running); });
        e.boxHidden = Within(60, [&] { return !desktop_.ViewableWindowTitled(TITLE).viewable; });
        for (const Process& p : box)
            if (Running(p))
                kill(p.pid, SIGKILL);
        e.errors = testing_support::ReadErrorOutput(game);
        return e;
    }

    std::string folder, settings;
    testing_support::ChildProcess game;
    std::vector<Process> box;

private:
    const testing_support::PrivateDesktop& desktop_;
    testing_support::TempDir home_;
};

// The real executable, with the system's message box of start-up on an X server of the test's
// own. A request to end while the box waits (a signal) closes it as the player's answer would,
// nothing of it stays running, and the run ends as it would have after the answer. The restore
// notice comes before the display opens: the run goes on, ends in order (at its first tick when
// asked to end), and the restored settings stay. A fatal error's box (an X server without OpenGL,
// where no window can be made) ends the run with the fatal status, the error logged before the box
// was shown. A game killed at the box (kill -9, or the kernel short of memory) takes the box with
// it.
TEST(StartUp, ARequestToEndAtAStartUpMessageBoxClosesItAsAnAnswerWould) {
    struct Case {
        const char* name;
        bool restoreNotice; // else the fatal error's box
        int signal;         // 0: the player closes the box
    };
    const Case cases[] = {
        {"restore notice, closed", true, 0},      {"restore notice, SIGTERM", true, SIGTERM},
        {"restore notice, SIGHUP", true, SIGHUP}, {"restore notice, SIGKILL", true, SIGKILL},
        {"fatal error, closed", false, 0},        {"fatal error, SIGTERM", false, SIGTERM},
        {"fatal error, SIGHUP", false, SIGHUP},   {"fatal error, SIGKILL", false, SIGKILL},
    };
    const std::string boxProgram = platform::AppDir() + "pelorin-message-box";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.restoreNotice
                                     ? "Default ini file restored!"
                                     : "(28) Cannot create Windowed Mode at 800x600 60Hz";
        testing_support::PrivateDesktop desktop(1024, 768, false, c.restoreNotice);
        ASSERT_EQ(desktop.Error(), "");
        GameAtItsBox run(platform::AppDir() + "pelorin-demo", desktop, c.restoreNotice);
        ASSERT_EQ(run.AwaitBox(), "");
        EXPECT_EQ(Arguments(run.box.front().pid),
                  (std::vector<std::string>{boxProgram, GameAtItsBox::TITLE, "0", text}));
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            EXPECT_TRUE(Catches(run.game.pid, signal)) << "at the box, signal " << signal;
        const std::string log = testing_support::ReadTextFile(run.folder + "ErrorLog.txt");
        if (c.restoreNotice)
            EXPECT_EQ(log, "");
        else
            EXPECT_NE(log.find("\r\n" + text + "\r\n"), std::string::npos) << log;

        ASSERT_TRUE(run.Answer(c.signal, c.restoreNotice));
        const GameAtItsBox::Ending end = run.AwaitEnd();
        ASSERT_TRUE(end.ended) << "did not end\n" << end.errors;
        EXPECT_TRUE(end.boxGone) << "a process of the box still ran";
        EXPECT_TRUE(end.boxHidden) << "the box was still shown";
        if (c.signal == SIGKILL) {
            EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == SIGKILL) << end.status;
        } else {
            ASSERT_TRUE(WIFEXITED(end.status)) << "ended by signal " << WTERMSIG(end.status) << "\n"
                                               << end.errors;
            EXPECT_EQ(WEXITSTATUS(end.status), c.restoreNotice ? 0 : 1) << end.errors;
        }
        if (c.restoreNotice) {
            EXPECT_EQ(ccReadIniLine(run.settings, "music volume"),
                      ccReadIniLine(platform::AppDir() + "data/Default.ini", "music volume"));
            EXPECT_EQ(ccReadIniLine(run.settings, "profile name"), "Ada");
        }
    }
}

// A copy of the game's folder whose box program is missing, or crashes: the restore notice is
// shown in the game's own process, where nothing can close it but the player. A request to end
// there ends the game at once, with nothing lost (the restore is written before its notice) and
// nothing of the box left; a box that the player answers is followed by a run that answers the
// requests to end in order again.
TEST(StartUp, WithoutAWorkingBoxProgramTheNoticeIsShownInTheGameAndARequestToEndEndsIt) {
    enum class Box { Missing, Crashes };
    struct Case {
        const char* name;
        Box box;
        int signal; // 0: the player closes the box
    };
    const Case cases[] = {
        {"missing, SIGTERM", Box::Missing, SIGTERM}, {"missing, SIGINT", Box::Missing, SIGINT},
        {"missing, SIGHUP", Box::Missing, SIGHUP},   {"crashes, closed", Box::Crashes, 0},
        {"crashes, SIGTERM", Box::Crashes, SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir bin;
        const std::string exe = bin.Path() + "pelorin-demo";
        ASSERT_TRUE(platform::CopyFile(platform::AppDir() + "pelorin-demo", exe));
        ASSERT_EQ(chmod(exe.c_str(), 0755), 0);
        for (const char* data : {"data", "Data"})
            ASSERT_EQ(symlink((platform::AppDir() + data).c_str(), (bin.Path() + data).c_str()), 0);
        if (c.box == Box::Crashes) {
            const std::string box = bin.Path() + "pelorin-message-box";
            ASSERT_TRUE(testing_support::WriteTextFile(box, "#!/bin/sh\nkill -SEGV $$\n"));
            ASSERT_EQ(chmod(box.c_str(), 0755), 0);
        }
        testing_support::PrivateDesktop desktop(1024, 768, false);
        ASSERT_EQ(desktop.Error(), "");
        GameAtItsBox run(exe, desktop, true);
        ASSERT_EQ(run.AwaitBox(), "");
        // SDL's fork of the game shows it; no program of the box runs.
        ASSERT_EQ(run.box.size(), 1u);
        EXPECT_EQ(testing_support::ProgramOf(run.box[0].pid), exe);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            EXPECT_FALSE(Catches(run.game.pid, signal)) << "at the box, signal " << signal;
        // Restored before the notice.
        EXPECT_EQ(ccReadIniLine(run.settings, "music volume"),
                  ccReadIniLine(platform::AppDir() + "data/Default.ini", "music volume"));
        EXPECT_EQ(ccReadIniLine(run.settings, "profile name"), "Ada");

        ASSERT_TRUE(run.Answer(c.signal, true));
        const GameAtItsBox::Ending end = run.AwaitEnd();
        ASSERT_TRUE(end.ended) << "did not end\n" << end.errors;
        EXPECT_TRUE(end.boxGone) << "a process of the box still ran";
        EXPECT_TRUE(end.boxHidden) << "the box was still shown";
        if (c.signal != 0)
            EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == c.signal)
                << end.status << end.errors;
        else
            EXPECT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0)
                << end.status << end.errors;
        EXPECT_EQ(ccReadIniLine(run.settings, "profile name"), "Ada");
    }
}

} // namespace
