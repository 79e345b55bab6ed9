// Full screen on a desktop larger than the picture, on an X server of the test's own, with and
// without a window manager: the program's window covers the screen, the picture fills it
// letterboxed, and the real pointer lands where the buttons are drawn. Each case needs a process
// of its own (ctest runs every test alone).

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "game/board/program_data.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/support/private_desktop.h"
#include "tests/support/program_script.h"
#include "tests/support/temp_dir.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

namespace {

using testing_support::PrivateDesktop;
using testing_support::ProgramScript;
using testing_support::RunsToTheEnd;
using testing_support::ShellDriver;

constexpr int DESKTOP_W = 1280, DESKTOP_H = 1024;
constexpr int LOGICAL_W = 800, LOGICAL_H = 600;
// Frames a window manager may take to place the window before what it is gets reported.
constexpr int WINDOW_MANAGER_FRAMES = 300;

// The letterbox of the logical screen in a drawable of w by h: scale and offsets.
struct Letterbox {
    double scale, offX, offY;
};

Letterbox LetterboxOf(int w, int h) {
    const double scale =
        std::min(static_cast<double>(w) / LOGICAL_W, static_cast<double>(h) / LOGICAL_H);
    return {scale, (w - LOGICAL_W * scale) / 2, (h - LOGICAL_H * scale) / 2};
}

struct Point {
    int x, y;
};

// Where the centre of logical pixel (x, y) is shown on the screen.
Point OnScreen(const PrivateDesktop::Geometry& window, int x, int y) {
    const Letterbox box = LetterboxOf(window.w, window.h);
    return {window.x + static_cast<int>(std::floor(box.offX + (x + 0.5) * box.scale)),
            window.y + static_cast<int>(std::floor(box.offY + (y + 0.5) * box.scale))};
}

bool CoversDesktop(const PrivateDesktop::Geometry& g) {
    return g.viewable && g.x == 0 && g.y == 0 && g.w == DESKTOP_W && g.h == DESKTOP_H;
}

std::string Describe(const PrivateDesktop::Geometry& g) {
    return std::to_string(g.w) + "x" + std::to_string(g.h) + " at " + std::to_string(g.x) + "," +
           std::to_string(g.y) + (g.viewable ? "" : ", not shown");
}

int Channel(uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 255);
}

// The screen shows the logical frame scaled to its width, centred between black bands.
void ExpectLetterboxed(const std::vector<uint32_t>& screen, const platform::PixmapPtr& frame) {
    ASSERT_EQ(screen.size(), static_cast<size_t>(DESKTOP_W) * DESKTOP_H);
    ASSERT_TRUE(frame);
    const Letterbox box = LetterboxOf(DESKTOP_W, DESKTOP_H);
    const int band = static_cast<int>(box.offY); // 32 rows above and below
    int lit = 0;
    for (int y : {0, band - 1, DESKTOP_H - band, DESKTOP_H - 1})
        for (int x = 0; x < DESKTOP_W; ++x)
            lit += screen[static_cast<size_t>(y) * DESKTOP_W + x] != 0;
    EXPECT_EQ(lit, 0) << "pixels in the black bands";

    // Sampled at the centres of logical pixels: the scaling's filter mixes in at most a third of
    // a neighbour, so the picture matches on average closely; a cropped or shifted one does not.
    const PrivateDesktop::Geometry whole{0, 0, DESKTOP_W, DESKTOP_H, true};
    double difference = 0, spread = 0;
    int samples = 0;
    const uint32_t first = frame->ReadPixel(4, 4) & 0xFFFFFF;
    for (int y = 4; y < LOGICAL_H; y += 8)
        for (int x = 4; x < LOGICAL_W; x += 8) {
            const Point p = OnScreen(whole, x, y);
            const uint32_t shown = screen[static_cast<size_t>(p.y) * DESKTOP_W + p.x];
            const uint32_t drawn = frame->ReadPixel(x, y) & 0xFFFFFF;
            for (int shift : {0, 8, 16}) {
                difference += std::abs(Channel(shown, shift) - Channel(drawn, shift));
                spread += std::abs(Channel(first, shift) - Channel(drawn, shift));
            }
            ++samples;
        }
    EXPECT_GT(spread / samples, 20) << "the picture is too plain to tell anything";
    EXPECT_LT(difference / samples, 12) << "the screen does not show the picture letterboxed";
}

// The screen as a picture in the test output, for people to look at.
void SaveScreen(const std::vector<uint32_t>& screen, const std::string& when) {
    if (screen.size() != static_cast<size_t>(DESKTOP_W) * DESKTOP_H)
        return;
    const platform::PixmapPtr shot =
        platform::CreatePixmap(DESKTOP_W, DESKTOP_H, platform::PF_RGBA8888);
    for (int y = 0; y < DESKTOP_H; ++y) {
        uint8_t* p = shot->PixelPtr(0, y);
        for (int x = 0; x < DESKTOP_W; ++x, p += 4) {
            const uint32_t rgb = screen[static_cast<size_t>(y) * DESKTOP_W + x];
            p[0] = static_cast<uint8_t>(rgb >> 16);
            p[1] = static_cast<uint8_t>(rgb >> 8);
            p[2] = static_cast<uint8_t>(rgb);
            p[3] = 255;
        }
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->name()) + " " + when + ".png";
    for (char& c : name)
        if (c == '/' || c == ' ' || c == '+')
            c = '_';
    platform::SavePixmapPNG(shot, testing_support::TestOutputDir() + name);
}

std::string SettingsFile(const ShellDriver& driver) {
    // The program's settings are named after the executable.
    std::string app = platform::AppFile();
    app = app.substr(app.find_last_of('/') + 1);
    return driver.home.Path() + "Pelorin Demo/" + app.substr(0, app.find('.')) + ".ini";
}

struct Case {
    const char* name;
    bool windowManager;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class FullScreenOnALargeDesktop : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        if (SDL_WasInit(SDL_INIT_VIDEO))
            GTEST_SKIP() << "the display is already open in this process";
        // Kept to the end of the process: the display's connection to it is never closed.
        static PrivateDesktop* const desktop =
            new PrivateDesktop(DESKTOP_W, DESKTOP_H, GetParam().windowManager);
        desktop_ = desktop;
        ASSERT_EQ(desktop_->Error(), "");
    }

    // Moves the real pointer onto a button of the current screen once it is idle, waits for the
    // game's pointer to arrive on its centre, and clicks there.
    void ClickWithThePointer(ProgramScript& script, const std::string& button) {
        auto target = std::make_shared<Point>();
        const PrivateDesktop* desktop = desktop_;
        auto arrived = [target] {
            return Game->Mouse->x == target->x && Game->Mouse->y == target->y;
        };
        script
            .Then(
                "point at " + button, [] { return ProgramScript::Idle(Game->CurrentTScreen); },
                [desktop, target, button] {
                    const TButtonPtr b = Game->CurrentTScreen->Menu->FindButton(button);
                    ASSERT_NE(b, nullptr) << button;
                    *target = {static_cast<int>(b->x) + b->w / 2,
                               static_cast<int>(b->y) + b->h / 2};
                    const Point p = OnScreen(desktop->ProgramWindow(), target->x, target->y);
                    desktop->WarpPointer(p.x, p.y);
                })
            .Then("pointer on " + button, arrived, [] { platform::InjectMouseButton(1, true); })
            .Then(
                "release on " + button, [] { return true; },
                [] { platform::InjectMouseButton(1, false); });
    }

    // Waits for the window to cover the desktop, then checks what the screen shows.
    void ExpectCoveredAndLetterboxed(ProgramScript& script, const std::string& when) {
        const PrivateDesktop* desktop = desktop_;
        auto frame = std::make_shared<platform::PixmapPtr>();
        auto frames = std::make_shared<int>(0);
        script
            .Then("window covers the desktop " + when,
                  [desktop, frames] {
                      return (Game->FullScreen == 1 && CoversDesktop(desktop->ProgramWindow())) ||
                             ++*frames > WINDOW_MANAGER_FRAMES;
                  })
            // The frame drawn now is on the screen at the next flip.
            .Check("frame " + when,
                   [frame] { *frame = platform::GrabPixmap(0, 0, LOGICAL_W, LOGICAL_H); })
            .Check("screen " + when, [desktop, frame, when] {
                SCOPED_TRACE(when);
                EXPECT_EQ(Game->FullScreen, 1);
                EXPECT_TRUE(CoversDesktop(desktop->ProgramWindow()))
                    << Describe(desktop->ProgramWindow());
                const std::vector<uint32_t> screen = desktop->Screen();
                SaveScreen(screen, when);
                ExpectLetterboxed(screen, *frame);
            });
    }

    // Waits for a framed window of the logical size, then checks it is on the desktop.
    void ExpectWindowed(ProgramScript& script, const std::string& when) {
        const PrivateDesktop* desktop = desktop_;
        auto frames = std::make_shared<int>(0);
        auto windowed = [desktop] {
            const PrivateDesktop::Geometry g = desktop->ProgramWindow();
            return Game->FullScreen == 0 && g.viewable && g.w == LOGICAL_W && g.h == LOGICAL_H;
        };
        script
            .Then("window " + when,
                  [windowed, frames] { return windowed() || ++*frames > WINDOW_MANAGER_FRAMES; })
            .Check("window on the desktop " + when, [desktop, windowed, when] {
                SCOPED_TRACE(when);
                const PrivateDesktop::Geometry g = desktop->ProgramWindow();
                EXPECT_TRUE(windowed()) << Describe(g);
                EXPECT_GE(g.x, 0) << Describe(g);
                EXPECT_GE(g.y, 0) << Describe(g);
                EXPECT_LE(g.x + g.w, DESKTOP_W) << Describe(g);
                EXPECT_LE(g.y + g.h, DESKTOP_H) << Describe(g);
            });
    }

    PrivateDesktop* desktop_ = nullptr;
};

TEST_P(FullScreenOnALargeDesktop, CoversTheScreenAndTakesClicksWhereButtonsAreDrawn) {
    ShellDriver driver;
    ASSERT_EQ(mkdir((driver.home.Path() + "Pelorin Demo").c_str(), 0700), 0);
    ASSERT_TRUE(testing_support::WriteTextFile(SettingsFile(driver), "FULL SCREEN=1\r\n"));

    ProgramScript script(600);
    script.Await("title", &TitleScreen);
    ExpectCoveredAndLetterboxed(script, "at start-up");
    ClickWithThePointer(script, "options");
    script.Await("options", &OptionsScreen);
    ClickWithThePointer(script, "fullscreen");
    ExpectWindowed(script, "after the options switch");
    ClickWithThePointer(script, "fullscreen");
    ExpectCoveredAndLetterboxed(script, "after the options switch");
    script.Key(platform::KEY_ENTER, platform::KEY_LALT);
    ExpectWindowed(script, "after Alt+Enter");
    script.Key(platform::KEY_ENTER, platform::KEY_LALT);
    ExpectCoveredAndLetterboxed(script, "after Alt+Enter");
    // Ended at once, without the fade to the exit.
    script.Check("quit", [] {
        Game->FadeOnExit = 0;
        platform::InjectQuit();
    });
    EXPECT_TRUE(RunsToTheEnd(driver, script));
}

INSTANTIATE_TEST_SUITE_P(Desktops, FullScreenOnALargeDesktop,
                         ::testing::Values(Case{"without_window_manager", false},
                                           Case{"with_openbox", true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
