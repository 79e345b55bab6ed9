#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/hot_keys.h"
#include "framework/util/drawing.h"
#include "framework/util/input.h"
#include "platform/files.h"
#include "platform/input.h"
#include "tests/framework/shell/hot_keys_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST_F(HotKeys, BlockKeysStopsEverythingButTheCloseRequest) {
    Game->BlockKeys = 1;
    Press(ESC);
    Tick();
    EXPECT_EQ(Game->Fading(), 0);
    EXPECT_EQ(screen->specificKeys, 0);
    EXPECT_EQ(Keys[ESC], 1); // left pending for whoever holds the keyboard

    platform::InjectQuit();
    Tick();
    EXPECT_EQ(Game->Fading(), 1);
    EXPECT_EQ(Game->GameFade->Out, 1);
    EXPECT_EQ(Game->DestinationTScreen, Game->ExitScreen);
    EXPECT_EQ(screen->specificKeys, 0);
}

TEST_F(HotKeys, EscapeWhilePausedResumesAndStays) {
    Game->Paused = 1;
    Game->Pause();
    Press(ESC);
    Tick();
    EXPECT_EQ(Game->Paused, 0);
    EXPECT_EQ(Game->Fading(), 0);
    EXPECT_EQ(Game->CurrentTScreen, screen);
}

TEST_F(HotKeys, EscapeHeldByADialogIsPutBack) {
    Game->IgnoreEscapeKey = 1;
    Press(ESC);
    Game->DoPeekEvent();
    Game->ReadKeys();
    EXPECT_EQ(Game->Fading(), 0);
    EXPECT_EQ(KeyHit(ESC), 1); // the screen reads it in the same tick
}

TEST_F(HotKeys, EscapeFadeKeepsTheMusicPlayingUnlessAsked) {
    Game->MusicChannel = platform::AllocChannel();
    Game->FadeMusic = 0;
    Press(ESC);
    Tick();
    EXPECT_EQ(Game->GameFade->Channel, nullptr);
    EXPECT_EQ(Game->FadeMusic, 1);
}

TEST_F(HotKeys, CtrlXEndsBeforeTheScreenLogicWithoutFlushing) {
    Press(LCTRL);
    Press('X');
    Press('Q');
    size_t logic = screen->deltas.size();
    EXPECT_EQ(driver.Frame(5), -1);
    EXPECT_EQ(screen->deltas.size(), logic);
    EXPECT_EQ(Keys['Q'], 1); // no flush
    EXPECT_EQ(Game->InstantExit, 1);
}

TEST_F(HotKeys, XAloneAndDebugKeysWithoutDebugDoNothing) {
    for (int key : {'X', 'T', 'L', 'I', 'N'})
        Press(key);
    Tick();
    EXPECT_EQ(Game->InstantExit, 0);
    for (int key : {'T', 'L', 'I', 'N'})
        EXPECT_EQ(Keys[key], 1) << key;
    EXPECT_EQ(Game->Fast, 0);
}

TEST_F(HotKeys, DebugSpeedKeys) {
    Game->Debug = 1;
    Press('T');
    Tick();
    EXPECT_EQ(Game->Fast, 1);
    Press('L');
    Tick();
    EXPECT_EQ(Game->SlowMotion, 1);
    EXPECT_EQ(Game->Fast, 0); // one mode switches the other off
    // The flip sync key steps 1, then -1, 0 and 1 again.
    for (int expected : {-1, 0, 1}) {
        Press('I');
        Tick();
        EXPECT_EQ(ccFlipSync, expected);
    }
    Press('N');
    Tick();
    EXPECT_EQ(Game->NoTiming, 1);
}

TEST_F(HotKeys, VolumeKeysStepAllThreeAndSave) {
    Game->SoundVolume = 95;
    Game->MusicVolume = 20;
    Game->SpeechVolume = 5;
    Press(FRAMEWORK_VOLUME_UP_KEY);
    Tick();
    EXPECT_EQ(Game->SoundVolume, 100);
    EXPECT_EQ(Game->MusicVolume, 30);
    EXPECT_EQ(Game->SpeechVolume, 15);
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 1);
}

TEST_F(HotKeys, PauseKeyAndClickResume) {
    Game->MusicRestart = 0;
    Press(FRAMEWORK_PAUSE_KEY);
    Tick();
    EXPECT_EQ(Game->Paused, 1);
    EXPECT_EQ(Game->Music, 0); // silenced
    platform::InjectMouseButton(1, true);
    Tick();
    EXPECT_EQ(Game->Paused, 0);
    EXPECT_EQ(Game->Music, 1);

    // With the pause key ignored (as this game has it) a click while paused does not resume.
    Game->IgnorePauseKey = 1;
    Game->Paused = 1;
    platform::InjectMouseButton(1, true);
    Tick();
    EXPECT_EQ(Game->Paused, 1);
}

TEST_F(HotKeys, DebugKeyResetsTheMeters) {
    Game->FPS->minimum = 12;
    Press(FRAMEWORK_DEBUG_KEY);
    Tick();
    EXPECT_EQ(Game->Debug, 1);
    EXPECT_EQ(Game->FPS->minimum, 999);
    Game->IgnoreDebugKey = 1;
    Press(FRAMEWORK_DEBUG_KEY);
    Tick();
    EXPECT_EQ(Game->Debug, 1);
}

TEST_F(HotKeys, SoundDriverKeyCyclesInTheFrameworkReader) {
    struct Case {
        const char* from;
        const char* to;
    };
    const Case cases[] = {{"FreeAudio", "None"}, // DirectSound does not exist here
                          {"None", "FreeAudio"},
                          {"OpenAL Generic Software", "FreeAudio"},
                          {"OpenAL", "OpenAL"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        Game->SoundDriver = c.from;
        Press(FRAMEWORK_SOUNDDRIVER_KEY);
        Tick();
        EXPECT_EQ(Game->SoundDriver, c.to);
    }
}

TEST_F(HotKeys, CloseRequestFadesOutEvenDuringAFadeIn) {
    Game->GameFade->Init(FADE_SPEED, 0, nullptr, 0, 0);
    driver.Ticks(10);
    platform::InjectQuit();
    Tick();
    EXPECT_EQ(Game->GameFade->Out, 1);
    EXPECT_EQ(Game->Fading(), 1);
    EXPECT_EQ(Game->DestinationTScreen, Game->ExitScreen);
    EXPECT_EQ(driver.Ticks(101), -1);

    Game->FadeOnExit = 0;
    Game->InstantExit = 0;
    platform::InjectQuit();
    EXPECT_EQ(driver.Frame(5), -1); // at once
}

TEST_F(HotKeys, TerminatedUserFunctionCanRefuse) {
    int asked = 0;
    Game->TerminatedUserFunction = [&] { return ++asked == 1 ? 1 : 0; };
    Game->FadeOnExit = 0;
    platform::InjectQuit();
    EXPECT_EQ(driver.Frame(5), 1);
    platform::InjectQuit();
    EXPECT_EQ(driver.Frame(5), -1);
    EXPECT_EQ(asked, 2);
}

} // namespace
