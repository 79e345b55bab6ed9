#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/screen.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/audio.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testing_support::ProcessEnded;
using testing_support::ShellDriver;
using testing_support::TProbeScreen;

// A channel that remembers its volume.
class TVolumeChannel : public platform::TChannel {
public:
    void SetVolume(float v) override { volume = v; }
    float volume = -1.0f;
};

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(std::make_unique<TGame>());
        first = std::make_shared<TProbeScreen>("first", 0);
        second = std::make_shared<TProbeScreen>("second", 1);
        first->PreStart();
    }
    // Leaves the current screen for dest with the usual fade-out.
    void Leave(const std::shared_ptr<TScreen>& dest, int allowAnim = 1) {
        Game->DestinationTScreen = dest;
        Game->GameFade->Init(FADE_SPEED, 1, nullptr, allowAnim, 0);
    }
    ShellDriver driver;
    std::shared_ptr<TProbeScreen> first, second;
};

TEST_F(MainLoop, FrameRunsWholeTicksThenTheRest) {
    struct Case {
        int ms;
        std::vector<float> deltas;
    };
    const Case cases[] = {{12, {1.0f, 1.0f, 0.4f}}, {15, {1.0f, 1.0f, 1.0f}}, {0, {}}, {1, {0.2f}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        Game->FixedRateLogic->Init();
        first->deltas.clear();
        int draws = first->draws;
        EXPECT_EQ(driver.Frame(c.ms), 1);
        ASSERT_EQ(first->deltas.size(), c.deltas.size());
        for (size_t i = 0; i < c.deltas.size(); ++i)
            EXPECT_NEAR(first->deltas[i], c.deltas[i], 1e-6);
        EXPECT_EQ(first->draws, draws + 1); // one drawn frame whatever the ticks
    }
}

TEST_F(MainLoop, EventPumpFillsKeysCharactersAndMouse) {
    platform::InjectKey('A', true);
    platform::InjectKey('A', false);
    platform::InjectText("hi");
    platform::InjectMouseMove(120, 340);
    platform::InjectMouseButton(1, true);
    platform::InjectMouseButton(2, true);
    platform::InjectMouseWheel(3);
    Game->DoPeekEvent();
    EXPECT_EQ(KeyStates['A'], 0); // pressed and released within one pump
    EXPECT_EQ(Keys['A'], 1);      // but the hit is there
    EXPECT_EQ(GetChar(), 'h');
    EXPECT_EQ(GetChar(), 'i');
    const TMousePointer& mouse = *Game->Mouse;
    EXPECT_EQ(mouse.x, 120);
    EXPECT_EQ(mouse.y, 340);
    EXPECT_EQ(mouse.b1, 1); // still held
    EXPECT_EQ(mouse.h1, 0); // a later press clears the earlier hits
    EXPECT_EQ(mouse.h2, 1);
    EXPECT_EQ(mouse.mb, 2);
    EXPECT_EQ(mouse.z, 3);

    // The base pump follows focus changes; a close request is noted.
    platform::InjectQuit();
    platform::EmitEvent({platform::EVENT_APPSUSPEND, 0, 0, 0, nullptr});
    Game->DoPeekEvent();
    EXPECT_EQ(Game->TerminatedEvent, 1);
    EXPECT_EQ(Game->SuspendedEvent, 1);
}

TEST_F(MainLoop, AClickCountsInOneTickOnly) {
    platform::InjectMouseButton(1, true);
    Game->FixedRateLogic->Init();
    driver.Advance(15); // three ticks in one frame
    Game->MainLogicLoop();
    EXPECT_EQ(Game->Mouse->h1, 0);
    EXPECT_EQ(Game->Mouse->b1, 1);
}

TEST_F(MainLoop, NoDrawSkipsExactlyOneFrame) {
    int64_t flips = platform::FlipCount();
    Game->NoDraw = 1;
    driver.Frame();
    EXPECT_EQ(platform::FlipCount(), flips);
    driver.Frame();
    EXPECT_EQ(platform::FlipCount(), flips + 1);
}

TEST_F(MainLoop, ScreenSwitchesThroughTheFade) {
    Leave(second);
    EXPECT_EQ(driver.Ticks(99), 1);
    EXPECT_EQ(Game->CurrentTScreen, first);
    EXPECT_EQ(first->deltas.size(), 99u); // AllowAnim: the leaving screen keeps its logic
    int64_t flips = platform::FlipCount();
    driver.Ticks(1);
    // The fade-out ended: one black frame, the old screen killed, the new one loaded, started
    // and given one logic tick in that same tick.
    EXPECT_EQ(platform::FlipCount(), flips + 2);
    EXPECT_EQ(first->kills, 1);
    EXPECT_EQ(Game->CurrentTScreen, second);
    EXPECT_EQ(Game->LastTScreen, first);
    EXPECT_EQ(Game->DestinationTScreen, second); // not cleared
    EXPECT_EQ(second->loads, 1);
    EXPECT_EQ(second->starts, 1);
    EXPECT_EQ(second->deltas.size(), 1u);
    // Its fade-in does not allow animation: no logic until it ends, then PostFadeIn once.
    driver.Ticks(99);
    EXPECT_EQ(second->deltas.size(), 1u);
    EXPECT_EQ(Game->Fading(), 1);
    driver.Ticks(1);
    EXPECT_EQ(Game->Fading(), 0);
    EXPECT_EQ(second->postFadeIns, 1);
    EXPECT_EQ(second->deltas.size(), 2u); // the tick that ended the fade runs the logic
}

// A screen whose loading takes long enough for the player to press and click meanwhile.
class TSlowScreen : public TProbeScreen {
public:
    using TProbeScreen::TProbeScreen;
    int Load() override {
        platform::InjectKey('K', true); // still held when the screen starts
        platform::InjectText("k");
        platform::InjectMouseButton(1, true);
        platform::InjectMouseWheel(2);
        return TProbeScreen::Load();
    }
};

TEST_F(MainLoop, InputMadeWhileAScreenLoadsIsForgotten) {
    auto slow = std::make_shared<TSlowScreen>("slow", 1);
    Leave(slow);
    driver.Ticks(100);
    ASSERT_EQ(Game->CurrentTScreen, slow);
    driver.Ticks(99);
    EXPECT_EQ(Game->Fading(), 1); // the fade-in is not cut short
    driver.Ticks(1);
    EXPECT_EQ(slow->postFadeIns, 1);
    EXPECT_EQ(Game->GameFade->FadeInAborted, 0);
    EXPECT_EQ(KeyDown('K'), 0);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(Game->Mouse->b1, 0);
    EXPECT_EQ(Game->Mouse->z, 0);
    // The key held through the load reads as up until it is pressed again.
    platform::InjectKey('K', false);
    driver.Ticks(1);
    EXPECT_EQ(KeyDown('K'), 0);
    platform::InjectKey('K', true);
    driver.Ticks(1);
    EXPECT_EQ(KeyHit('K'), 1);
}

TEST_F(MainLoop, StopFlagsKeepDataAndSkipLoading) {
    first->StopKill = 1;
    second->StopInit = 1;
    Game->IgnoreEscapeKey = 1;
    Leave(second);
    driver.Ticks(100);
    EXPECT_EQ(first->kills, 0);
    EXPECT_EQ(Game->CurrentTScreen, second);
    EXPECT_EQ(second->loads + second->starts, 0);
    EXPECT_EQ(Game->Fading(), 0);        // no fade-in started
    EXPECT_EQ(Game->IgnoreEscapeKey, 1); // Start did not run
}

TEST_F(MainLoop, EscapeFadesOutToTheExitScreenAndEnds) {
    platform::InjectKey(27, true);
    driver.Ticks(1);
    EXPECT_EQ(Game->Fading(), 1);
    EXPECT_EQ(Game->DestinationTScreen, Game->ExitScreen);
    EXPECT_EQ(driver.Ticks(99), 1);
    EXPECT_EQ(Game->CurrentTScreen, Game->ExitScreen);
    EXPECT_EQ(Game->InstantExit, 1);
    EXPECT_EQ(first->kills, 1);
    EXPECT_EQ(driver.Ticks(1), -1); // the next tick ends the program
}

TEST_F(MainLoop, EscapeCompletesAFadeAndASecondOneLeaves) {
    Leave(second);
    driver.Ticks(10);
    platform::InjectKey(27, true);
    driver.Ticks(1);
    EXPECT_EQ(Game->CurrentTScreen, second); // the switch followed in the same tick
    platform::InjectKey(27, true);
    driver.Ticks(1); // during the fade-in: completes it
    EXPECT_EQ(Game->Fading(), 0);
    EXPECT_EQ(Game->GameFade->FadeInAborted, 1);
    EXPECT_EQ(Game->GameFade->AbortKey, 0);
    platform::InjectKey(27, true);
    driver.Ticks(1);
    EXPECT_EQ(Game->DestinationTScreen, Game->ExitScreen);
}

TEST_F(MainLoop, LeavingWithoutADestinationIsFatal) {
    Leave(nullptr);
    try {
        driver.Ticks(100);
        FAIL() << "the process should have ended";
    } catch (const ProcessEnded& end) {
        EXPECT_NE(end.status, 0);
    }
    ASSERT_FALSE(driver.notes.empty());
    EXPECT_EQ(driver.notes.back(), "Screen 'first' does not have a destination screen set!");
}

TEST_F(MainLoop, FadeRatioChannelsAndAborts) {
    auto music = std::make_shared<TVolumeChannel>();
    auto speech = std::make_shared<TVolumeChannel>();
    Game->MusicVolume = 80;
    Game->SpeechChannel = speech;
    Game->DestinationTScreen = second;
    Game->GameFade->Init(FADE_SPEED, 1, music, 1, 0);
    EXPECT_EQ(Game->GameFade->Init(FADE_SPEED, 0, nullptr, 0, 0), 0); // refused while running
    driver.Ticks(50);
    EXPECT_FLOAT_EQ(Game->GameFade->Ratio, 0.5f);
    EXPECT_FLOAT_EQ(music->volume, 0.4f);
    EXPECT_FLOAT_EQ(speech->volume, 0.5f); // speech fades with every fade

    // A key cuts the fade-out short: silent music, and the switch in the same tick.
    platform::InjectKey('K', true);
    driver.Ticks(1);
    EXPECT_FLOAT_EQ(music->volume, 0.0f);
    EXPECT_EQ(Game->CurrentTScreen, second);

    // A click cuts a fade-in short and records -1; PostFadeIn still runs.
    platform::InjectMouseButton(3, true);
    driver.Ticks(1);
    EXPECT_EQ(Game->GameFade->FadeInAborted, 1);
    EXPECT_EQ(Game->GameFade->AbortKey, -1);
    EXPECT_EQ(second->postFadeIns, 1);
}

TEST_F(MainLoop, FadesSwitchedOffOrTooShortEndAtOnce) {
    Game->Fade = 0;
    int64_t flips = platform::FlipCount();
    Leave(second);
    EXPECT_EQ(Game->Fading(), 0); // finished inside Init, no black frame
    EXPECT_EQ(platform::FlipCount(), flips);
    driver.Ticks(1);
    EXPECT_EQ(Game->CurrentTScreen, second);

    Game->Fade = 1;
    Game->GameFade->Init(3, 0, nullptr, 0, 0); // shorter than one tick
    EXPECT_EQ(Game->GameFade->Length, 0);
    EXPECT_FLOAT_EQ(Game->GameFade->Ratio, 0.0f);
    EXPECT_EQ(Game->GameFade->Manage(), 1);
    EXPECT_FLOAT_EQ(Game->GameFade->Ratio, 1.0f);
}

TEST_F(MainLoop, PauseFreezesFadeAndLogicButNotDrawing) {
    Game->GameFade->Init(FADE_SPEED, 0, nullptr, 1, 0);
    driver.Ticks(10);
    float counter = Game->GameFade->Counter;
    size_t logic = first->deltas.size();
    int draws = first->draws;
    Game->Paused = 1;
    driver.Ticks(10);
    EXPECT_FLOAT_EQ(Game->GameFade->Counter, counter);
    EXPECT_EQ(first->deltas.size(), logic);
    EXPECT_EQ(first->specificKeys, 10); // not read while paused
    EXPECT_EQ(first->draws, draws + 10);
}

TEST_F(MainLoop, BackgroundsAreDrawnFromTheirCorner) {
    platform::SetDrawLog(true);
    platform::ClearDrawLog();
    first->Draw(); // no background: nothing drawn, no error
    EXPECT_TRUE(platform::DrawLog().empty());

    Game->ImagePath = driver.home.Path();
    ASSERT_TRUE(
        platform::SavePixmapPNG(platform::CreatePixmap(40, 30), Game->ImagePath + "bg.png"));
    platform::AutoMidHandle(true);
    first->ImageLoad("bg.png", -1);
    platform::AutoMidHandle(false);
    ASSERT_NE(first->Image, nullptr);
    EXPECT_FLOAT_EQ(first->Image->handleX, 0.0f);
    EXPECT_FLOAT_EQ(first->Image->handleY, 0.0f);
    first->Draw();
    ASSERT_EQ(platform::DrawLog().size(), 1u);
    EXPECT_EQ(platform::DrawLog()[0].blend, platform::SOLIDBLEND);
    first->Kill();
    EXPECT_EQ(first->Image, nullptr);
    platform::SetDrawLog(false);
}

} // namespace
