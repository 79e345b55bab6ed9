#include "framework/util/pixels.h"

#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using platform::ImagePtr;

// An image whose pixel (x, y) is 0xFF000000 + base + x * 16 + y: every pixel tells where it came
// from.
ImagePtr NumberedImage(int w, int h, uint32_t base = 0) {
    ImagePtr image = platform::CreateImage(w, h, 1, 0);
    platform::PixmapPtr p = platform::LockImage(image, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            p->WritePixel(x, y, 0xFF000000u + base + static_cast<uint32_t>(x * 16 + y));
    platform::UnlockImage(image, 0);
    return image;
}

uint32_t Pixel(const ImagePtr& image, int x, int y) {
    return platform::LockImage(image, 0)->ReadPixel(x, y);
}

uint32_t Numbered(int x, int y, uint32_t base = 0) {
    return 0xFF000000u + base + static_cast<uint32_t>(x * 16 + y);
}

TEST(Argb, PacksAndUnpacksChannels) {
    int c = ARGB_Color(255, 1, 2, 3);
    EXPECT_EQ(static_cast<uint32_t>(c), 0xFF010203u);
    EXPECT_EQ(ARGB_Alpha(c), 255);
    EXPECT_EQ(ARGB_Red(c), 1);
    EXPECT_EQ(ARGB_Green(c), 2);
    EXPECT_EQ(ARGB_Blue(c), 3);
    // Channels are not masked: an overflowing one spills into the next.
    EXPECT_EQ(static_cast<uint32_t>(ARGB_Color(0, 0, 1, 256)), 0x00000200u);
    EXPECT_EQ(static_cast<uint32_t>(ARGB_Color(256, 0, 0, 0)), 0u);
}

TEST(ImageCopy, MirrorModesReadTheClippedRectangleBackwards) {
    struct Case {
        int mode;
        bool mirror, flip;
    };
    for (const Case& c : std::vector<Case>{
             {0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}}) {
        ImagePtr src = NumberedImage(3, 2);
        ImagePtr dst = platform::CreateImage(3, 2, 1, 0);
        ccCopyImageToImage(src, 0, 0, 3, 2, dst, 0, 0, c.mode);
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < 3; x++)
                EXPECT_EQ(Pixel(dst, x, y), Numbered(c.mirror ? 2 - x : x, c.flip ? 1 - y : y))
                    << "mode " << c.mode << " at " << x << "," << y;
    }
    ImagePtr src = NumberedImage(3, 2);
    ImagePtr dst = platform::CreateImage(3, 2, 1, 0);
    ccCopyImageToImage(src, 0, 0, 3, 2, dst, 0, 0, 4);
    EXPECT_EQ(Pixel(dst, 0, 0), 0u);
}

// Both copies share the clipping; each case is run through both.
TEST(ImageCopy, ClipsToSourceAndDestination) {
    struct Case {
        const char* name;
        int sx, sy, w, h, dx, dy;
        // Destination pixels expected to be written: the rectangle (x0, y0)-(x1, y1) exclusive,
        // holding source pixel (x - shiftX, y - shiftY).
        int x0, y0, x1, y1, shiftX, shiftY;
    };
    const std::vector<Case> cases = {
        {"source start beyond the width", 16, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0},
        {"into the last 4 columns", 0, 0, 10, 10, 12, 0, 12, 0, 16, 10, 12, 0},
        {"past the source's bottom", 0, 14, 4, 4, 0, 0, 0, 0, 4, 2, 0, -14},
        {"negative source start", -2, -1, 4, 4, 5, 5, 7, 6, 9, 9, 7, 6},
        {"negative destination start", 3, 3, 4, 4, -1, -2, 0, 0, 3, 2, -4, -5},
        {"empty size", 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (int raw = 0; raw < 2; raw++) {
        for (const Case& c : cases) {
            ImagePtr src = NumberedImage(16, 16);
            ImagePtr dst = NumberedImage(16, 16, 0x100000);
            if (raw)
                ccCopyImageRect(src, c.sx, c.sy, c.w, c.h, dst, c.dx, c.dy);
            else
                ccCopyImageToImage(src, c.sx, c.sy, c.w, c.h, dst, c.dx, c.dy, 0);
            for (int y = 0; y < 16; y++) {
                for (int x = 0; x < 16; x++) {
                    bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                    uint32_t want =
                        inside ? Numbered(x - c.shiftX, y - c.shiftY) : Numbered(x, y, 0x100000);
                    ASSERT_EQ(Pixel(dst, x, y), want)
                        << c.name << (raw ? " (raw)" : "") << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ImageCopy, ASourceThatIsAlsoTheDestinationIsReadBeforeItIsWritten) {
    for (int raw = 0; raw < 2; raw++) {
        ImagePtr image = NumberedImage(8, 1);
        if (raw)
            ccCopyImageRect(image, 0, 0, 6, 1, image, 2, 0);
        else
            ccCopyImageToImage(image, 0, 0, 6, 1, image, 2, 0, 0);
        for (int x = 2; x < 8; x++)
            EXPECT_EQ(Pixel(image, x, 0), Numbered(x - 2, 0)) << x << (raw ? " raw" : "");
    }
}

TEST(DrawOnPixmap, BlendsBySourceAlpha) {
    struct Case {
        const char* name;
        uint32_t source, target;
        float alpha, brightness;
        uint32_t result;
    };
    const std::vector<Case> cases = {
        {"opaque source replaces", 0xFF804020, 0xFF0000FF, 1.0f, 1.0f, 0xFF804020},
        {"brightness scales the colour", 0xFF804020, 0xFF0000FF, 1.0f, 0.5f, 0xFF402010},
        {"alpha 0 writes nothing", 0xFF804020, 0x11223344, 0.0f, 1.0f, 0x11223344},
        {"transparent source writes nothing", 0x00804020, 0x11223344, 1.0f, 1.0f, 0x11223344},
        {"half over transparent", 0xFF804020, 0x00000000, 0.5f, 1.0f, 0x7F804020},
        {"faint source over transparent", 0xFF804020, 0x00000000, 0.001f, 1.0f, 0x00000000},
        {"brightness above 1 is clamped", 0xFFC04020, 0xFF000000, 1.0f, 2.0f, 0xFFFF8040},
    };
    for (const Case& c : cases) {
        ImagePtr image = platform::CreateImage(1, 1, 1, 0);
        platform::LockImage(image, 0)->WritePixel(0, 0, c.source);
        auto target = platform::CreatePixmap(3, 3);
        target->WritePixel(1, 1, c.target);
        ccDrawOnPixmap(image, 0, target, 1, 1, c.alpha, c.brightness);
        EXPECT_EQ(target->ReadPixel(1, 1), c.result) << c.name;
        EXPECT_EQ(target->ReadPixel(0, 0), 0u) << c.name;
    }
}

TEST(DrawOnPixmap, SkipsTargetsOutsideAndRefusesAMissingImage) {
    ImagePtr image = NumberedImage(4, 4);
    auto target = platform::CreatePixmap(2, 2);
    ccDrawOnPixmap(image, 0, target, -1, -1, 1.0f, 1.0f);
    EXPECT_EQ(target->ReadPixel(0, 0), Numbered(1, 1));
    EXPECT_EQ(target->ReadPixel(1, 1), Numbered(2, 2));
    EXPECT_EQ(ccDrawOnPixmap(image, 3, target, 0, 0, 1.0f, 1.0f), 0); // no such frame
    try {
        ccDrawOnPixmap(nullptr, 0, target, 0, 0, 1.0f, 1.0f);
        FAIL() << "no error raised";
    } catch (const platform::TRuntimeError& e) {
        EXPECT_STREQ(e.what(), "image doesnt exist");
    }
}

TEST(DrawOnPixmap, ReadsAFrameBlendedOntoItselfBeforeWritingIt) {
    ImagePtr image = NumberedImage(4, 1);
    ccDrawOnPixmap(image, 0, platform::LockImage(image, 0), 1, 0, 1.0f, 1.0f);
    for (int x = 1; x < 4; x++)
        EXPECT_EQ(Pixel(image, x, 0), Numbered(x - 1, 0)) << x;
}

class ClippedDraws : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDrawLog(true);
        platform::ClearDrawLog();
    }
};

TEST_F(ClippedDraws, ClipImageToViewportDrawsOnlyWhatLiesInTheView) {
    ImagePtr image = NumberedImage(20, 20);
    ccClipImageToViewport(image, 120, 130, 100, 100, 200, 200, 3, 4);
    ASSERT_EQ(platform::DrawLog().size(), 1u);
    EXPECT_EQ(platform::DrawLog()[0].x, 123.0f);
    EXPECT_EQ(platform::DrawLog()[0].y, 134.0f);

    platform::ClearDrawLog();
    ccClipImageToViewport(image, 301, 130, 100, 100, 200, 200, 0, 0);
    ccClipImageToViewport(image, 120, 70, 100, 100, 200, 200, 0, 0);
    EXPECT_TRUE(platform::DrawLog().empty());
    ccClipImageToViewport(nullptr, 120, 130, 100, 100, 200, 200, 0, 0);
    EXPECT_TRUE(platform::DrawLog().empty());
}

TEST_F(ClippedDraws, CopyRectLeavesTheViewportOnTheWholeScreen) {
    ImagePtr image = NumberedImage(20, 20);
    platform::SetViewport(10, 10, 20, 20);
    ccCopyRect(image, 5, 6, 7, 8, 0);
    ASSERT_EQ(platform::DrawLog().size(), 1u);
    int x, y, w, h;
    platform::GetViewport(x, y, w, h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    ccCopyRect(image, 5, 6, 7, 8, 1); // no such frame: nothing reaches the layer
    EXPECT_EQ(platform::DrawLog().size(), 1u);
}

} // namespace
