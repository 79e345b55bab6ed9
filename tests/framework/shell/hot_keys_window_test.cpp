// Alt+Enter changes the display mode, which opens a window.

#include "framework/shell/game.h"
#include "framework/util/input.h"
#include "tests/framework/shell/hot_keys_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST_F(HotKeys, AltEnterOnlyWithAlt) {
    Game->IgnoreFrameworkKeys = 1;
    Press(ENTER);
    Game->DoPeekEvent();
    Game->ReadKeys();
    EXPECT_EQ(KeyHit(ENTER), 1); // Enter alone stays for the screen
    Game->FullScreen = 0;
    Press(LALT);
    Press(ENTER);
    Game->DoPeekEvent();
    Game->ReadKeys();
    EXPECT_EQ(Game->FullScreen, 1); // works whatever IgnoreFrameworkKeys says
    EXPECT_EQ(KeyDown(LALT), 0);    // and flushes
}

} // namespace
