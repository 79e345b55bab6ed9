#include "framework/util/input.h"

#include "platform/input.h"
#include "platform/system.h"

#include <gtest/gtest.h>

namespace {

class InputLayer : public ::testing::Test {
protected:
    static void Click(int button) {
        platform::InjectMouseButton(button, true);
        platform::InjectMouseButton(button, false);
    }
};

TEST_F(InputLayer, KeyHitTakesAHitOnceAndCountsOfTwoHideFromKeyPressed) {
    ccInputKeyDown(65);
    ccInputKeyDown(65);
    EXPECT_EQ(Keys[65], 2);
    EXPECT_EQ(KeyPressed(), -1);
    EXPECT_EQ(AnyKeyPressed(), 0);
    EXPECT_EQ(KeyHit(65), 1);
    EXPECT_EQ(KeyHit(65), 0);
    EXPECT_EQ(KeyDown(65), 1);
    ccInputKeyUp(65);
    EXPECT_EQ(KeyDown(65), 0);
}

TEST_F(InputLayer, KeyPressedGivesTheLowestCodeAndTakesNothing) {
    ccInputKeyDown(65);
    ccInputKeyDown(32);
    EXPECT_EQ(KeyPressed(), 32);
    EXPECT_EQ(AnyKeyPressed(), 1);
    EXPECT_EQ(Keys[32], 1);
    EXPECT_EQ(Keys[65], 1);
}

TEST_F(InputLayer, CodesOutsideTheTableAreIgnored) {
    ccInputKeyDown(-1);
    ccInputKeyDown(256);
    EXPECT_EQ(KeyPressed(), -1);
    EXPECT_EQ(KeyHit(256), 0);
    EXPECT_EQ(KeyDown(-5), 0);
}

TEST_F(InputLayer, CharacterRingKeepsOrderAndDropsThe257th) {
    for (int i = 0; i < 257; i++)
        ccInputChar(i % 250 + 1);
    EXPECT_EQ(charPut - charGet, 256);
    for (int i = 0; i < 256; i++)
        ASSERT_EQ(GetChar(), i % 250 + 1) << i;
    EXPECT_EQ(GetChar(), 0);
    // The ring goes on past its end.
    ccInputChar(77);
    EXPECT_EQ(GetChar(), 77);
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputLayer, FlushKeysReleasesHeldKeysAndEmptiesTheRing) {
    ccInputKeyDown(40);
    ccInputChar('a');
    FlushKeys();
    EXPECT_EQ(KeyDown(40), 0);
    EXPECT_EQ(KeyHit(40), 0);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(charGet, 0);
    EXPECT_EQ(charPut, 0);
}

TEST_F(InputLayer, DroppingKeyPressesKeepsHeldKeysHeldInEitherMode) {
    for (int polled : {0, 1}) {
        SCOPED_TRACE(polled);
        if (polled) {
            ccEnablePolledInput();
            platform::InjectKey(65, true); // held on
            platform::InjectKey(66, true);
            platform::InjectKey(66, false);
            platform::InjectText("xy");
        } else {
            ccInputKeyDown(65);
            ccInputKeyDown(66);
            ccInputKeyUp(66);
            ccInputChar('x');
            ccInputChar('y');
        }
        ccDropKeyPresses();
        EXPECT_EQ(KeyHit(65), 0);
        EXPECT_EQ(KeyHit(66), 0);
        EXPECT_EQ(GetChar(), 0);
        EXPECT_EQ(KeyDown(65), 1);
        ccDisablePolledInput();
        ccCreateInputArrays();
    }
}

TEST_F(InputLayer, FlushAllQueuedForgetsInputStillQueuedButNotACloseRequest) {
    platform::InjectKey(65, true);
    platform::InjectText("a");
    platform::InjectQuit();
    Click(1);
    ccFlushAllQueued();
    ASSERT_TRUE(platform::PollEvent());
    EXPECT_EQ(platform::CurrentEvent().id, platform::EVENT_APPTERMINATE);
    EXPECT_FALSE(platform::PollEvent());
}

TEST_F(InputLayer, AnyKeyPressedTakesOnlyTheFirstHit) {
    ccInputKeyDown(10);
    ccInputKeyDown(200);
    EXPECT_EQ(ccAnyKeyPressed(), 1);
    EXPECT_EQ(Keys[10], 0);
    EXPECT_EQ(Keys[200], 1);
    EXPECT_EQ(ccAnyKeyPressed(), 1);
    EXPECT_EQ(ccAnyKeyPressed(), 0);
}

TEST_F(InputLayer, FlushMouseInNormalModeAsksTheDrawnPointerHook) {
    static int calls = 0;
    calls = 0;
    void (*saved)() = FlushDrawnMouseHook;
    FlushDrawnMouseHook = nullptr;
    FlushMouse(); // no pointer hooked: nothing to clear, no crash
    FlushDrawnMouseHook = [] { ++calls; };
    ccFlushAll();
    EXPECT_EQ(calls, 1);
    ccEnablePolledInput();
    FlushMouse(); // polled mode asks the platform only
    EXPECT_EQ(calls, 1);
    FlushDrawnMouseHook = saved;
}

TEST_F(InputLayer, PolledModeAsksThePlatform) {
    ccEnablePolledInput();
    EXPECT_EQ(ccPolledInputState, 1);
    platform::InjectKey(65, true);
    platform::InjectKey(65, false);
    platform::InjectKey(65, true);
    platform::InjectText("q");
    EXPECT_EQ(Keys[65], 0);
    EXPECT_EQ(KeyDown(65), 1);
    EXPECT_EQ(KeyHit(platform::KEY_A), 2); // the platform's count
    EXPECT_EQ(GetChar(), 'q');
    FlushKeys();
    EXPECT_EQ(KeyDown(65), 0);
}

TEST_F(InputLayer, MouseButtonsSumsAndTakesEveryHit) {
    ccEnablePolledInput();
    Click(1);
    Click(1);
    Click(2);
    EXPECT_EQ(ccMouseButtons(), 3);
    EXPECT_EQ(ccMouseButtons(), 0);
}

TEST_F(InputLayer, MouseHitStopsAtTheFirstButton) {
    ccEnablePolledInput();
    Click(1);
    Click(3);
    EXPECT_EQ(ccMouseHit(), 1);
    EXPECT_EQ(ccMouseHit(), 1); // button 3's hit was still pending
    EXPECT_EQ(ccMouseHit(), 0);
    platform::InjectMouseButton(2, true);
    EXPECT_EQ(ccMouseDown(), 1);
    EXPECT_EQ(ccMouseDownTotal(), 1);
    platform::InjectMouseButton(2, false);
    EXPECT_EQ(ccMouseDown(), 0);
}

TEST_F(InputLayer, DisablingPolledInputDiscardsQueuedEventsButACloseRequest) {
    ccEnablePolledInput();
    platform::EmitEvent({platform::EVENT_KEYDOWN, 65, 0, 0, nullptr});
    platform::EmitEvent({platform::EVENT_APPTERMINATE, 0, 0, 0, nullptr});
    platform::EmitEvent({platform::EVENT_MOUSEDOWN, 1, 0, 0, nullptr});
    platform::EmitEvent({platform::EVENT_APPTERMINATE, 0, 0, 0, nullptr});
    ccDisablePolledInput();
    EXPECT_EQ(ccPolledInputState, 0);
    // The request to close stays for the program's pump, once.
    ASSERT_TRUE(platform::PollEvent());
    EXPECT_EQ(platform::CurrentEvent().id, platform::EVENT_APPTERMINATE);
    EXPECT_FALSE(platform::PollEvent());
}

TEST_F(InputLayer, WaitForTimeEndsOnInputOrAfterTheTime) {
    int now = 0;
    platform::SetMilliSecsSource([&] { return now += 10; });
    EXPECT_EQ(ccWaitForTime(100.0f), 0);
    EXPECT_GT(now, 100);

    ccInputKeyDown(13); // a key hit waiting in normal mode
    EXPECT_EQ(ccWaitForTime(100000.0f), -1);
    EXPECT_EQ(Keys[13], 0);

    ccEnablePolledInput();
    Click(1);
    int before = now;
    EXPECT_EQ(ccWaitForTime(0.0f), -1); // a wait of 0 still looks once
    EXPECT_LE(now - before, 20);
}

} // namespace
