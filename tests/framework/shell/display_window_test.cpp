#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/graphics.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ShellDriver;

class Display : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(std::make_unique<TGame>());
        Game->SetSubPathWrapper("Display Test");
        Game->Init(4);
        Game->FullScreen = 0;
    }
    void TearDown() override { platform::EndGraphics(); }
    ShellDriver driver;
};

TEST_F(Display, OpensAWindowAndSwitchesToFullScreenAndBack) {
    Game->GraphicsCreate();
    EXPECT_TRUE(platform::GraphicsOpen());
    EXPECT_FALSE(platform::GraphicsFullScreen());
    EXPECT_EQ(DebugInt, 139);
    EXPECT_EQ(Game->Driver, 1);
    EXPECT_EQ(Game->DesktopRefreshRate, 60);
    EXPECT_EQ(Game->GameRefreshRate, -1);
    EXPECT_NE(Game->WindowHandle, 0);
    int x = 0, y = 0;
    ASSERT_TRUE(platform::WindowPosition(x, y));
    EXPECT_EQ(Game->ClientX, x);
    EXPECT_EQ(Game->ClientY, y);

    Game->Mouse->x = 900;
    Game->Mouse->y = -5;
    Game->ToggleFullScreen();
    EXPECT_EQ(Game->FullScreen, 1);
    EXPECT_TRUE(platform::GraphicsFullScreen());
    EXPECT_EQ(Game->Mouse->x, 799);
    EXPECT_EQ(Game->Mouse->y, 0);
    // Full screen too, the pointer is measured from the window's own origin.
    Game->SetClientCoords();
    ASSERT_TRUE(platform::WindowPosition(x, y));
    EXPECT_EQ(Game->ClientX, x);
    EXPECT_EQ(Game->ClientY, y);
    Game->ToggleFullScreen();
    EXPECT_EQ(Game->FullScreen, 0);
    EXPECT_TRUE(platform::GraphicsOpen());
    EXPECT_FALSE(platform::GraphicsFullScreen());

    EXPECT_EQ(Game->SetDriver(1), 0); // already the OpenGL driver
    EXPECT_EQ(Game->SetDriver(0), 1); // re-opened, and OpenGL again
    EXPECT_EQ(Game->Driver, 1);
    EXPECT_TRUE(platform::GraphicsOpen());
}

TEST_F(Display, FullScreenOnceRefusedCannotBeEnteredAgain) {
    Game->ForceWindowedMode = 1;
    Game->VSync = 1;
    std::string before = testing_support::ReadTextFile(Game->IniFilePath());
    EXPECT_EQ(Game->ToggleFullScreen(), 0);
    EXPECT_EQ(Game->FullScreen, 0);
    EXPECT_EQ(testing_support::ReadTextFile(Game->IniFilePath()), before);
}

} // namespace
