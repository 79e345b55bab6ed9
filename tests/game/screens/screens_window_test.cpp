// The title, options, credits and instructions screens in the real program: start-up, the main
// loop and the screens driven by injected mouse clicks and keys, one logic tick per frame on a
// fake clock.

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/ui/menu.h"
#include "game/board/board_globals.h"
#include "game/board/program_data.h"
#include "game/screens/game_setup.h"
#include "game/screens/title_screen.h"
#include "game/screens/unlock_splash.h"
#include "platform/files.h"
#include "platform/input.h"
#include "tests/support/program_script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::ProgramScript;
using testing_support::RunsToTheEnd;
using testing_support::SaveScreenshot;
using testing_support::ShellDriver;

constexpr int KEY_ESCAPE = 27;

TTitleScreen& Title() {
    return static_cast<TTitleScreen&>(*TitleScreen);
}

TParticleListPtr Sparkles() {
    return std::dynamic_pointer_cast<TTitleScreen>(TitleScreen)->UnlockParticles;
}

TEST(TitleScreen, ShowsItsMenuShufflesColoursAndEnds) {
    ShellDriver driver;
    ProgramScript script;
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
    EXPECT_TRUE(RunsToTheEnd(driver, script));
    EXPECT_EQ(Game->CurrentTScreen, Game->ExitScreen);
    EXPECT_TRUE(driver.notes.empty());
}

TEST(TitleScreen, LocalGamesStartOnTheBoardAndEscapeLeadsBack) {
    ShellDriver driver;
    ProgramScript script;
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
    EXPECT_TRUE(RunsToTheEnd(driver, script));
    EXPECT_TRUE(driver.notes.empty());
}

TEST(TitleScreen, InstructionsReturnToTheTitle) {
    ShellDriver driver;
    ProgramScript script;
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
    EXPECT_TRUE(RunsToTheEnd(driver, script));
}

TEST(OptionsScreen, ChangesAreSavedAndSurviveARestart) {
    ShellDriver driver;
    ProgramScript script;
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
    ASSERT_TRUE(RunsToTheEnd(driver, script));

    // A fresh start reads the same settings file.
    ProgramScript restart;
    restart.Await("title after restart", &TitleScreen)
        .Check("settings kept",
               [&] {
                   EXPECT_EQ(Game->MusicVolume, music + 10);
                   EXPECT_EQ(Game->SoundVolume, sound - 10);
                   EXPECT_EQ(Game->FullScreen, 1);
               })
        .Key(KEY_ESCAPE);
    EXPECT_TRUE(RunsToTheEnd(driver, restart));
}

TEST(OptionsScreen, FullScreenSwitchShowsTheModeHoweverItChanged) {
    ShellDriver driver;
    ProgramScript script;
    // The picture the switch shows: "ON" or "OFF".
    auto shown = [] { return OptionsScreen->Menu->FindButton("fullscreen")->image->name; };
    auto mode = [](int fullScreen) {
        return [fullScreen] { return Game->FullScreen == fullScreen; };
    };
    script.Await("title", &TitleScreen)
        .Click("options")
        .Await("options", &OptionsScreen)
        .Check("windowed", [&] {
            EXPECT_EQ(Game->FullScreen, 0);
            EXPECT_EQ(shown(), "OFF");
        });
    // Checked in the first frame drawn in the new mode.
    script.Key(platform::KEY_ENTER, platform::KEY_LALT)
        .Then("full screen by Alt+Enter", mode(1), [&] { EXPECT_EQ(shown(), "ON"); })
        .Click("fullscreen", {}, mode(0))
        .Check("windowed by the switch", [&] { EXPECT_EQ(shown(), "OFF"); })
        .Key(platform::KEY_ENTER, platform::KEY_LALT)
        .Then("full screen again", mode(1), [&] { EXPECT_EQ(shown(), "ON"); })
        .Key(platform::KEY_ENTER, platform::KEY_LALT)
        .Then("windowed by Alt+Enter", mode(0), [&] { EXPECT_EQ(shown(), "OFF"); })
        .Key(KEY_ESCAPE)
        .Await("title after options", &TitleScreen)
        .Key(KEY_ESCAPE);
    EXPECT_TRUE(RunsToTheEnd(driver, script));
}

TEST(UnlockSplash, HoldsFourteenSecondsUnlessAKeyEndsIt) {
    ShellDriver driver;
    ProgramScript script;
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
        .Then("title carries on", [] { return ProgramScript::Idle(TitleScreen); })
        .Key(KEY_ESCAPE);
    EXPECT_TRUE(RunsToTheEnd(driver, script));
    EXPECT_GE(whole, 14000);
    EXPECT_LT(whole, 14500);
    EXPECT_GE(skipped, 900);
    EXPECT_LT(skipped, 1500);
}

} // namespace
