// Drawing functions checked by reading the frame back from a real window.

#include "framework/util/drawing.h"

#include "framework/util/pixels.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "tests/support/drawing_support.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using testing_support::Filled;

class DrawingInWindow : public testing_support::InWindow<> {
protected:
    void SetUp() override {
        InWindow::SetUp();
        tolerance = 2;
        ccRestoreSolidMode();
        platform::SetViewport(0, 0, 800, 600);
        ccClsNoFlip(0, 0, 0);
    }
    bool Lit(int x, int y) const {
        const testing_support::Rgb c = At(x, y);
        return c.r + c.g + c.b > 0;
    }
    // The columns of lit pixels in a band of rows: [first, last], or (-1, -1) when none.
    std::pair<int, int> LitColumns(int top, int bottom) const {
        int first = -1, last = -1;
        for (int x = 0; x < 800; x++)
            for (int y = top; y < bottom; y++)
                if (Lit(x, y)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return {first, last};
    }
    static platform::ImagePtr Solid(int w, int h, uint32_t argb) {
        return platform::LoadImage(Filled(w, h, argb), 0);
    }
};

TEST_F(DrawingInWindow, DimScreenDarkensEverythingByItsAlpha) {
    ccClsNoFlip(200, 100, 50);
    ccDimScreen(0.5f);
    Grab();
    ExpectNear(At(0, 0), {100, 50, 25}, "top-left");
    ExpectNear(At(799, 599), {100, 50, 25}, "bottom-right");
}

TEST_F(DrawingInWindow, AlignedTextSitsLeftOfCentredOnOrRightOfX) {
    const std::string text = "HHHH";
    const int w = platform::TextWidth(text);
    const int h = platform::TextHeight(text);
    ccDrawTextAligned(text, 400.0f, 100.0f, 0, 0, 1);
    ccDrawTextAligned(text, 400.0f, 200.0f, 0, 1, 1);
    ccDrawTextAligned(text, 400.0f, 300.0f, 0, 2, 1);
    ccDrawTextAligned(text, 400.0f, 400.0f, 0, 7, 1);
    Grab();
    auto left = LitColumns(100, 100 + h);
    auto centred = LitColumns(200, 200 + h);
    auto right = LitColumns(300, 300 + h);
    ASSERT_GE(left.first, 0);
    EXPECT_GE(left.first, 400);
    EXPECT_LE(left.second, 400 + w);
    EXPECT_LE(std::abs((centred.first + centred.second + 1) / 2 - 400), 2);
    EXPECT_LT(right.second, 400);
    EXPECT_GE(right.first, 400 - w);
    EXPECT_EQ(LitColumns(400, 400 + h).first, -1);
}

TEST_F(DrawingInWindow, RectOutlineIsOnePixelAroundTheRectangle) {
    ccDrawRectOutline(100, 100, 50, 30);
    Grab();
    for (auto [x, y] : {std::pair{100, 100},
                        {149, 100},
                        {149, 129},
                        {100, 129},
                        {120, 100},
                        {149, 115},
                        {120, 129},
                        {100, 115}})
        EXPECT_TRUE(Lit(x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{150, 100}, {100, 130}, {99, 100}, {120, 115}, {101, 101}})
        EXPECT_FALSE(Lit(x, y)) << x << "," << y;
}

TEST_F(DrawingInWindow, ImageAreaPastTheRightEdgeDrawsOnlyThePartInside) {
    platform::ImagePtr red = Solid(16, 16, 0xFFFF0000);
    ccDrawImageArea(red, 200.0f, 200.0f, 10.0f, 0.0f, 10.0f, 16.0f, 0);
    Grab();
    ExpectNear(At(200, 200), {255, 0, 0}, "first column");
    ExpectNear(At(205, 215), {255, 0, 0}, "last column");
    EXPECT_FALSE(Lit(206, 205));
    EXPECT_FALSE(Lit(205, 216));
}

TEST_F(DrawingInWindow, ClipImageToViewportCutsTheImageToTheView) {
    platform::ImagePtr green = Solid(20, 20, 0xFF00FF00);
    ccClipImageToViewport(green, 90.0f, 90.0f, 100.0f, 100.0f, 50.0f, 50.0f, 0, 0);
    Grab();
    ExpectNear(At(100, 100), {0, 255, 0}, "view corner");
    ExpectNear(At(109, 109), {0, 255, 0}, "image corner");
    EXPECT_FALSE(Lit(99, 105));
    EXPECT_FALSE(Lit(105, 99));
    EXPECT_FALSE(Lit(110, 105));
}

TEST_F(DrawingInWindow, ShadowTextLeavesItsShadowBelowRight) {
    ccClsNoFlip(100, 100, 100);
    platform::SetColor(255, 255, 255);
    ccShadowText(300.0f, 300.0f, "I", 0);
    Grab();
    // Somewhere the text lies over its own shadow's edge: a white pixel with a darker pixel one
    // step below and right, darker than the background.
    bool found = false;
    for (int y = 295; y < 325 && !found; y++)
        for (int x = 295; x < 320 && !found; x++)
            found = At(x, y).r > 200 && At(x + 1, y + 1).r < 90;
    EXPECT_TRUE(found);
}

} // namespace
