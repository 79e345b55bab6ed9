// The window queries against a real window: bottom-up desktop positions that give back the
// window's client coordinates exactly.

#include "framework/util/records.h"
#include "framework/util/window.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace {

using WindowQueries = testing_support::InWindow<>;

TEST_F(WindowQueries, OriginAndCursorTurnBackIntoClientCoordinates) {
    int handle = ccGetActiveWindowOSX();
    ASSERT_NE(handle, 0);
    int clientX = 0, clientY = 0;
    ASSERT_TRUE(platform::WindowPosition(clientX, clientY));
    int desktopWidth = 0, desktopHeight = 0;
    ccGetDesktopSize(desktopWidth, desktopHeight);

    TPoint origin = ccGetWindowOriginOSX(handle);
    EXPECT_EQ(origin.X, clientX);
    EXPECT_EQ(ccFixMacWindowY(origin.Y, desktopHeight), clientY);
    TPoint other = ccGetWindowOriginOSX(handle + 1);
    EXPECT_EQ(other.X, 0);
    EXPECT_EQ(other.Y, 0);

    // The drawn pointer's sums: the cursor less the client origin is the pointer in the window.
    TPoint cursor = ccGetCursorPosOSX();
    EXPECT_EQ(cursor.X - clientX, platform::MouseX());
    EXPECT_EQ((desktopHeight - cursor.Y) - clientY, platform::MouseY());
}

} // namespace
