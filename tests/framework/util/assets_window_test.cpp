// A screenshot taken from a real window holds what the back buffer shows.

#include "framework/util/assets.h"

#include "framework/util/drawing.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/framework/util/local_time.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenShotInWindow, SavesTheWholeScreenAsDrawn) {
    ASSERT_TRUE(platform::Graphics(800, 600, 0));
    platform::SetLocalTimeSource([] { return util_tests::LocalTimeAt(2027, 3, 4, 9, 5, 7); });
    testing_support::TempDir dir;
    ccRestoreSolidMode();
    ccClsNoFlip(0, 0, 255);
    platform::SetColor(255, 0, 0);
    platform::DrawRect(790, 590, 10, 10);
    EXPECT_EQ(ccScreenShot(dir.Path()), 0);
    platform::SetLocalTimeSource(nullptr);
    platform::EndGraphics();

    platform::PixmapPtr shot = platform::LoadPixmap(dir.File("2027-03-04 090507 screenshot.png"));
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->Width(), 800);
    ASSERT_EQ(shot->Height(), 600);
    EXPECT_EQ(shot->ReadPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(shot->ReadPixel(799, 599), 0xFFFF0000u);
    EXPECT_EQ(shot->ReadPixel(789, 599), 0xFF0000FFu);
}

} // namespace
