// The title, options, credits and instructions screens in the real program: start-up, the main
// loop and the screens driven by injected mouse clicks and keys, one logic tick per frame on a
// fake clock.

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "game/app/program.h"
#include "game/screens/game_setup.h"
#include "game/screens/title_screen.h"
#include "game/screens/unlock_splash.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/support/shell_driver.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testing_support::ProcessEnded;
using testing_support::ShellDriver;

constexpr int KEY_ESCAPE = 27;
// Frames a step may wait before the run counts as stuck (each frame is one 5 ms tick).
constexpr int STEP_LIMIT = 2000;

TTitleScreen& Title() {
    return static_cast<TTitleScreen&>(*TitleScreen);
}

// A run of the program as a list of steps, each waiting for its condition and then acting; one
// step at most per frame.
class Script {
public:
    Script& Then(std::string what, std::function<bool()> ready, std::function<void()> act = {}) {
        steps_.push_back({std::move(what), std::move(ready), std::move(act)});
        return *this;
    }
    // Waits until screen is current with no fade running.
    Script& Await(const char* what, const std::shared_ptr<TScreen>* screen) {
        return Then(what, [screen] { return Idle(*screen); });
    }
    // Presses and releases the left mouse button over the centre of the current screen's button.
    // The press waits until the pointer has arrived there, and the move goes again with it; a
    // press the button did not take is tried again (other windows on the same display may move
    // the shared pointer meanwhile).
    // `menu` names the menu when the button is not the current screen's (a dialog's); `taken`
    // tells that the click was taken where the button's own flag does not (a rebuilt button).
    Script& Click(const std::string& button, std::function<TMenuPtr()> menu = {},
                  std::function<bool()> taken = {}) {
        auto find = [button, menu] {
            auto b = (menu ? menu() : Game->CurrentTScreen->Menu)->FindButton(button);
            if (!b)
                throw std::runtime_error("no button " + button);
            return b;
        };
        auto moveTo = [](const TButton& b) {
            int x = static_cast<int>(b.x) + b.w / 2;
            int y = static_cast<int>(b.y) + b.h / 2;
            platform::InjectMouseMove(x, y);
            return Game->Mouse->x == x && Game->Mouse->y == y;
        };
        auto pressed = std::make_shared<TButtonPtr>();
        auto tries = std::make_shared<int>(0);
        Then(
            "point at " + button, [] { return Idle(Game->CurrentTScreen); },
            [find, moveTo] { moveTo(*find()); });
        Then(
            "press " + button, [find, moveTo] { return moveTo(*find()); },
            [find, moveTo, pressed] {
                *pressed = find();
                moveTo(**pressed);
                platform::InjectMouseButton(1, true);
            });
        return Then(
            "release " + button, [] { return true; },
            [this, button, pressed, tries, taken] {
                platform::InjectMouseButton(1, false);
                if (taken ? taken() : (*pressed)->Clicked != 0)
                    return;
                if (++*tries > 5)
                    throw std::runtime_error("the click on " + button + " is not taken");
                next_ -= 3;
            });
    }
    Script& Key(int key) {
        Then(
            "key down", [] { return Idle(Game->CurrentTScreen); },
            [key] { platform::InjectKey(key, true); });
        return Then(
            "key up", [] { return true; }, [key] { platform::InjectKey(key, false); });
    }
    Script& Check(std::string what, std::function<void()> check) {
        return Then(
            std::move(what), [] { return true; }, std::move(check));
    }

    // Called at every flip, also inside a step that draws frames of its own (a splash); the
    // steps wait until that step has ended.
    void operator()() {
        if (onFrame)
            onFrame();
        if (busy_ || next_ >= steps_.size())
            return;
        Step& step = steps_[next_];
        if (!step.ready()) {
            if (++waited_ > STEP_LIMIT)
                throw std::runtime_error("stuck at: " + step.what);
            return;
        }
        waited_ = 0;
        ++next_;
        if (step.act) {
            busy_ = true;
            step.act();
            busy_ = false;
        }
    }
    std::function<void()> onFrame;

    bool Finished() const { return next_ >= steps_.size(); }
    std::string Pending() const { return Finished() ? "" : steps_[next_].what; }

    static bool Idle(const std::shared_ptr<TScreen>& screen) {
        return screen && Game->CurrentTScreen == screen && !Game->GameFade->Active;
    }

private:
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::vector<Step> steps_;
    size_t next_ = 0;
    int waited_ = 0;
    bool busy_ = false;
};

// Runs the program through the script; returns the exit status. The end of the script is up to
// the script (Escape or "exit" on the title screen).
int RunScript(ShellDriver& driver, Script& script) {
    int frame = 0;
    platform::SetFlipHook([&] {
        // One logic tick per frame, without waiting for the vertical blank.
        if (++frame == 1)
            Game->FastOn();
        driver.Advance(5);
        script();
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

TParticleListPtr Sparkles() {
    return std::dynamic_pointer_cast<TTitleScreen>(TitleScreen)->UnlockParticles;
}

void SaveScreenshot(const std::string& name) {
    auto frame = platform::GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + name));
}

TEST(TitleScreen, ShowsItsMenuShufflesColoursAndEnds) {
    ShellDriver driver;
    Script script;
    std::shared_ptr<TColor> firstColor;
    script.Await("title", &TitleScreen)
        .Check("title shown",
               [&] {
                   SaveScreenshot("title_screen.png");
                   EXPECT_EQ(Game->CurrentTScreen->name, "title");
                   EXPECT_EQ(Game->MusicFileName, "east1.ogg");
                   // Showing the title saves nothing: a crash now must not cost the settings.
                   EXPECT_EQ(platform::FileType(Game->IniChangedPath()), platform::FILETYPE_NONE);
                   auto ankh = TitleScreen->Menu->FindButton("ankh");
                   EXPECT_EQ(ankh->x, 66.0f);
                   EXPECT_EQ(ankh->y, 370.0f);
                   EXPECT_EQ(ankh->SoundMouseOver, nullptr);
                   firstColor = PlayerColor[1];
               })
        // The network button is disabled; the N key opens the host-or-join dialog. Joining asks
        // for the host's address, and the prompt's Cancel (Escape) ends the chain.
        .Check("network button disabled",
               [] { EXPECT_EQ(Title().Menu->FindButton("network")->Disabled, 1); })
        .Key(NETWORK_SETUP_KEY)
        .Check("host or join",
               [] {
                   ASSERT_TRUE(Title().NetworkOptions);
                   EXPECT_EQ(Title().NetworkOptions->Active, 1);
               })
        .Click("client", [] { return Title().NetworkOptions->Menu; })
        .Check("address prompt",
               [] {
                   ASSERT_TRUE(Title().EnterIP);
                   EXPECT_EQ(Title().EnterIP->Active, 1);
                   EXPECT_EQ(myPlayer, 2);
               })
        .Key(KEY_ESCAPE)
        .Check("chain ended",
               [] {
                   EXPECT_FALSE(Title().NetworkOptions || Title().EnterIP || Title().EnterPort ||
                                Title().EnterName);
                   EXPECT_EQ(Game->DestinationTScreen, nullptr);
                   EXPECT_FALSE(Game->GameFade->Active);
               })
        .Click("ankh")
        .Check("colours shuffled",
               [&] {
                   EXPECT_NE(PlayerColor[1], firstColor);
                   EXPECT_EQ(Game->CurrentTScreen, TitleScreen);
                   EXPECT_FALSE(Game->GameFade->Active);
               })
        .Click("exit")
        .Check("the music fades with the picture",
               [] { EXPECT_EQ(Game->GameFade->Channel, Game->MusicChannel); });
    int status = RunScript(driver, script);
    EXPECT_TRUE(script.Finished()) << script.Pending();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Game->CurrentTScreen, Game->ExitScreen);
    EXPECT_TRUE(driver.notes.empty());
}

TEST(TitleScreen, LocalGamesStartOnTheBoardAndEscapeLeadsBack) {
    ShellDriver driver;
    Script script;
    script.Click("oneplayer")
        .Await("board", &GameScreen)
        .Check("one player against the computer",
               [] {
                   EXPECT_EQ(PlayerName[1], "Player 1");
                   EXPECT_EQ(PlayerName[2], "Computer");
                   EXPECT_EQ(ComputerPlayer[1], 0);
                   EXPECT_EQ(ComputerPlayer[2], 1);
                   EXPECT_EQ(ComputerPlayerStrategy, 3);
                   EXPECT_EQ(networkGame, 0);
               })
        .Key(KEY_ESCAPE)
        .Await("back on the title", &TitleScreen)
        .Check("a new menu",
               [] {
                   EXPECT_EQ(std::distance(TitleScreen->Menu->begin(), TitleScreen->Menu->end()),
                             7);
               })
        .Click("twoplayers")
        .Await("board again", &GameScreen)
        .Check("two people",
               [] {
                   EXPECT_EQ(PlayerName[2], "Player 2");
                   EXPECT_EQ(ComputerPlayer[2], 0);
               })
        .Key(KEY_ESCAPE)
        .Await("title again", &TitleScreen)
        .Key(KEY_ESCAPE);
    int status = RunScript(driver, script);
    EXPECT_TRUE(script.Finished()) << script.Pending();
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(driver.notes.empty());
}

TEST(TitleScreen, InstructionsReturnToTheTitle) {
    ShellDriver driver;
    Script script;
    script.Click("instructions")
        .Await("instructions", &InstructionsScreen)
        .Check("instructions shown",
               [] { EXPECT_EQ(InstructionsScreen->Destination, TitleScreen); })
        .Click("ok")
        .Await("title again", &TitleScreen)
        .Click("instructions")
        .Await("instructions again", &InstructionsScreen)
        .Key(KEY_ESCAPE)
        .Await("title once more", &TitleScreen)
        .Key(KEY_ESCAPE);
    int status = RunScript(driver, script);
    EXPECT_TRUE(script.Finished()) << script.Pending();
    EXPECT_EQ(status, 0);
}

TEST(OptionsScreen, ChangesAreSavedAndSurviveARestart) {
    ShellDriver driver;
    Script script;
    int music = 0;
    int sound = 0;
    script.Await("title", &TitleScreen)
        .Check("stored volumes",
               [&] {
                   music = Game->MusicVolume;
                   sound = Game->SoundVolume;
                   UnlockedSomething = 1;
               })
        // An unlocked bonus sparkles around "options" in pale tints until options is opened.
        .Then(
            "sparkles", [] { return Sparkles()->Count() > 0; },
            [] {
                for (const auto& sparkle : *Sparkles()) {
                    ASSERT_TRUE(sparkle->Color);
                    for (int channel : {sparkle->Color->R, sparkle->Color->G, sparkle->Color->B})
                        EXPECT_TRUE(channel >= 200 && channel <= 255) << channel;
                }
            })
        .Click("options")
        .Await("options", &OptionsScreen)
        .Check("options shown",
               [&] {
                   SaveScreenshot("options_screen.png");
                   EXPECT_EQ(UnlockedSomething, 0);
                   EXPECT_EQ(OptionsScreen->Destination, TitleScreen);
               })
        .Click("musicrightarrow")
        .Click("soundleftarrow")
        .Check("volumes changed",
               [&] {
                   EXPECT_EQ(Game->MusicVolume, music + 10);
                   EXPECT_EQ(Game->SoundVolume, sound - 10);
               })
        .Click("credits")
        .Await("credits", &CreditsScreen)
        .Check("credits lead back to options",
               [] { EXPECT_EQ(CreditsScreen->Destination, OptionsScreen); })
        .Click("ok")
        .Await("options rebuilt", &OptionsScreen)
        .Click("fullscreen", {}, [] { return Game->FullScreen == 1; })
        .Check("full screen",
               [] {
                   EXPECT_EQ(Game->FullScreen, 1);
                   // Rebuilt with the "on" pictures, still under its own name.
                   auto toggle = OptionsScreen->Menu->FindButton("fullscreen");
                   ASSERT_NE(toggle, nullptr);
                   EXPECT_EQ(toggle->name, "FULLSCREEN");
               })
        .Key(KEY_ESCAPE)
        .Await("title after options", &TitleScreen)
        .Then("sparkles faded", [] { return Sparkles()->Count() == 0; })
        .Key(KEY_ESCAPE);
    int status = RunScript(driver, script);
    ASSERT_TRUE(script.Finished()) << script.Pending();
    EXPECT_EQ(status, 0);

    // A fresh start reads the same settings file.
    Script restart;
    restart.Await("title after restart", &TitleScreen)
        .Check("settings kept",
               [&] {
                   EXPECT_EQ(Game->MusicVolume, music + 10);
                   EXPECT_EQ(Game->SoundVolume, sound - 10);
                   EXPECT_EQ(Game->FullScreen, 1);
               })
        .Key(KEY_ESCAPE);
    EXPECT_EQ(RunScript(driver, restart), 0);
    EXPECT_TRUE(restart.Finished()) << restart.Pending();
}

TEST(UnlockSplash, HoldsFourteenSecondsUnlessAKeyEndsIt) {
    ShellDriver driver;
    Script script;
    int whole = 0;
    int skipped = 0;
    int skipAt = -1;
    int frames = 0;
    bool inSplash = false;
    script.onFrame = [&] {
        // The splash draws a frame per flip: larger steps of the clock keep the run short.
        if (inSplash)
            driver.Advance(15);
        if (++frames == skipAt)
            platform::InjectKey(' ', true);
        if (frames == skipAt + 1)
            platform::InjectKey(' ', false);
    };
    script.Await("title", &TitleScreen)
        .Check("whole splash",
               [&] {
                   int start = driver.now;
                   inSplash = true;
                   EXPECT_EQ(UnlockSplash(0), 0);
                   inSplash = false;
                   whole = driver.now - start;
               })
        .Check("skipped splash",
               [&] {
                   int start = driver.now;
                   skipAt = frames + 50; // one second into the fade-in
                   inSplash = true;
                   EXPECT_EQ(UnlockSplash(0), 0);
                   inSplash = false;
                   skipped = driver.now - start;
               })
        .Then("title carries on", [] { return Script::Idle(TitleScreen); })
        .Key(KEY_ESCAPE);
    EXPECT_EQ(RunScript(driver, script), 0);
    EXPECT_TRUE(script.Finished()) << script.Pending();
    EXPECT_GE(whole, 14000);
    EXPECT_LT(whole, 14500);
    EXPECT_GE(skipped, 900);
    EXPECT_LT(skipped, 1500);
}

} // namespace
