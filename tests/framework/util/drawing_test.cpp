#include "framework/util/drawing.h"

#include "framework/util/color.h"
#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::TDrawRecord;

// Records every drawing call; the drawing state is put back to neutral around each test.
class DrawingFunctions : public ::testing::Test {
protected:
    void SetUp() override {
        Neutral();
        platform::SetDrawLog(true);
        platform::ClearDrawLog();
    }
    static void Neutral() {
        platform::SetBlend(platform::SOLIDBLEND);
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(1.0f);
        platform::SetScale(1.0f, 1.0f);
        platform::SetImageFont(nullptr);
    }
    static const std::vector<TDrawRecord>& Log() { return platform::DrawLog(); }
    static void ExpectState(int blend, int r, int g, int b, float alpha) {
        int cr, cg, cb;
        platform::GetColor(cr, cg, cb);
        EXPECT_EQ(platform::GetBlend(), blend);
        EXPECT_EQ(cr, r);
        EXPECT_EQ(cg, g);
        EXPECT_EQ(cb, b);
        EXPECT_FLOAT_EQ(platform::GetAlpha(), alpha);
    }
    static platform::ImagePtr Digits() { return platform::CreateImage(8, 12, 10, 0); }
};

TEST_F(DrawingFunctions, ShadowTextDrawsABlackCopyThenTheTextAndKeepsColourAndBlend) {
    platform::SetColor(10, 20, 30);
    platform::SetAlpha(0.3f);
    ccTextAlpha = 0.8f;
    ccShadowText(100.0f, 50.0f, "Hello", 0);
    ASSERT_EQ(Log().size(), 2u);
    const TDrawRecord& shadow = Log()[0];
    const TDrawRecord& text = Log()[1];
    EXPECT_EQ(shadow.kind, TDrawRecord::TEXT);
    EXPECT_FLOAT_EQ(shadow.x, 101.0f);
    EXPECT_FLOAT_EQ(shadow.y, 51.0f);
    EXPECT_EQ(shadow.r + shadow.g + shadow.b, 0);
    EXPECT_FLOAT_EQ(shadow.alpha, 0.4f);
    EXPECT_EQ(shadow.blend, platform::ALPHABLEND);
    EXPECT_FLOAT_EQ(text.x, 100.0f);
    EXPECT_EQ(text.r, 10);
    EXPECT_FLOAT_EQ(text.alpha, 0.8f);
    ExpectState(platform::SOLIDBLEND, 10, 20, 30, 0.8f);

    platform::ClearDrawLog();
    ccShadowText(100.0f, 50.0f, "Hello", 1);
    EXPECT_FLOAT_EQ(Log()[1].x, 100.0f - static_cast<float>(platform::TextWidth("Hello")) / 2.0f);
}

TEST_F(DrawingFunctions, ShadowTextWrappedSpacesLinesByTheFontHeightWhenGivenNone) {
    std::vector<std::string> lines = {"one", "three", ""};
    ccShadowTextWrapped(400.0f, 10.0f, lines, 1, 0);
    ASSERT_EQ(Log().size(), 6u);
    const float step = static_cast<float>(platform::TextHeight("ABCXYZ"));
    for (size_t i = 0; i < lines.size(); i++) {
        const TDrawRecord& text = Log()[2 * i + 1];
        EXPECT_EQ(text.text, lines[i]);
        EXPECT_FLOAT_EQ(text.y, 10.0f + step * static_cast<float>(i));
        EXPECT_FLOAT_EQ(text.x, 400.0f - static_cast<float>(platform::TextWidth(lines[i])) / 2.0f);
    }
    platform::ClearDrawLog();
    ccShadowTextWrapped(0.0f, 0.0f, {}, 0, 0);
    EXPECT_TRUE(Log().empty());
    ExpectState(platform::SOLIDBLEND, 255, 255, 255, 1.0f);
}

TEST_F(DrawingFunctions, AlignedTextPlacesTheTextOrDrawsNothing) {
    const std::string text = "Align me";
    const float w = static_cast<float>(platform::TextWidth(text));
    struct Case {
        int alignment;
        float x; // -1: nothing drawn
    };
    for (const Case& c : std::vector<Case>{
             {0, 300.0f}, {1, 300.0f - w / 2.0f}, {2, 300.0f - w}, {3, -1.0f}, {-1, -1.0f}}) {
        platform::ClearDrawLog();
        ccDrawTextAligned(text, 300.0f, 40.0f, 0, c.alignment, 0);
        if (c.x < 0.0f) {
            EXPECT_TRUE(Log().empty()) << c.alignment;
            continue;
        }
        ASSERT_EQ(Log().size(), 1u) << c.alignment;
        EXPECT_FLOAT_EQ(Log()[0].x, c.x) << c.alignment;
        EXPECT_FLOAT_EQ(Log()[0].y, 40.0f);
    }
    platform::ClearDrawLog();
    ccDrawTextAligned(text, 300.0f, 40.0f, 1, 0, 0);
    EXPECT_EQ(Log().size(), 2u); // with its shadow
}

TEST_F(DrawingFunctions, CentredTextFollowsTheScaleAndRightTextRoundsFirst) {
    const std::string text = "Scaled";
    const float w = static_cast<float>(platform::TextWidth(text));
    const float h = static_cast<float>(platform::TextHeight(text));
    platform::SetScale(2.0f, 2.0f);
    ccDrawTextCentred(text, 400.0f, 100.0f, 0, 0);
    platform::SetScale(1.0f, 1.0f);
    ccDrawTextRight(text, 10.6f, 20.4f, 0, 1);
    ccDrawText(text, 10.5f, 20.49f, 0, 1);
    ccDrawTextCentreAll(text, 0, 0);
    ASSERT_EQ(Log().size(), 4u);
    EXPECT_FLOAT_EQ(Log()[0].x, 400.0f - w);
    EXPECT_FLOAT_EQ(Log()[0].y, 100.0f - h / 2.0f);
    EXPECT_FLOAT_EQ(Log()[1].x, 11.0f - w);
    EXPECT_FLOAT_EQ(Log()[1].y, 20.0f);
    EXPECT_FLOAT_EQ(Log()[2].x, 11.0f);
    EXPECT_FLOAT_EQ(Log()[2].y, 20.0f);
    EXPECT_FLOAT_EQ(Log()[3].x, static_cast<float>((800 - platform::TextWidth(text)) / 2));
    EXPECT_FLOAT_EQ(Log()[3].y, static_cast<float>((600 - platform::TextHeight(text)) / 2));
}

TEST_F(DrawingFunctions, SpacedTextShiftsEachGlyphByItsIndex) {
    platform::ImageFontPtr font = platform::DefaultFont();
    const platform::TGlyph* a = font->Glyph('A');
    const platform::TGlyph* w = font->Glyph('W');
    ASSERT_TRUE(a && a->image && w && w->image);
    ccDrawTextSpaced("AWA", 10.0f, 20.0f, 5);
    ASSERT_EQ(Log().size(), 3u);
    EXPECT_FLOAT_EQ(Log()[0].x, 10.0f + static_cast<float>(a->x));
    EXPECT_FLOAT_EQ(Log()[0].y, 20.0f + static_cast<float>(a->y));
    EXPECT_FLOAT_EQ(Log()[1].x, 10.0f + static_cast<float>(a->advance + w->x + 5));
    EXPECT_FLOAT_EQ(Log()[2].x, 10.0f + static_cast<float>(a->advance + w->advance + a->x + 10));

    platform::ClearDrawLog();
    ccDrawTextSpacedRounded("A", 10.75f, 20.5f, 0);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_FLOAT_EQ(Log()[0].x, 10.0f + static_cast<float>(a->x));
    EXPECT_FLOAT_EQ(Log()[0].y, 20.5f + static_cast<float>(a->y));
}

TEST_F(DrawingFunctions, DigitsDrawTheirFramesAndSkipFramesTheImageLacks) {
    platform::ImagePtr digits = Digits();
    ccDrawNumbers("105", 20.0f, 30.0f, digits, 0.0f, 0, 0);
    ASSERT_EQ(Log().size(), 3u);
    const int frames[] = {1, 0, 5};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(Log()[static_cast<size_t>(i)].frame, frames[i]);
        EXPECT_FLOAT_EQ(Log()[static_cast<size_t>(i)].x, 20.0f + 8.0f * static_cast<float>(i));
    }
    platform::ClearDrawLog();
    platform::ImagePtr short_strip = platform::CreateImage(8, 12, 3, 0);
    ccDrawNumbers("1729", 0.0f, 0.0f, short_strip, 0.0f, 1, 1);
    ASSERT_EQ(Log().size(), 2u); // 7 and 9 are not in the strip
    EXPECT_FLOAT_EQ(Log()[0].x, -16.0f);
    EXPECT_EQ(Log()[1].frame, 2);
    EXPECT_FLOAT_EQ(Log()[1].x, 0.0f);
    ccDrawNumbers("12", 0.0f, 0.0f, nullptr, 8.0f, 0, 0);
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(DrawingFunctions, VariableWidthDigitsAreCentredWithoutATrailingGap) {
    std::vector<int> advances = {10, 4, 8, 8, 8, 8, 8, 8, 8, 8};
    std::vector<int> offsets = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    // 1, 0, 1 at scale 2 with gap 1: (4 + 1 + 10 + 1 + 4) * 2 = 40.
    EXPECT_FLOAT_EQ(ccDrawNumbersVariableWidthCalcWidth("101", advances, offsets, 1.0f, 2.0f),
                    40.0f);
    EXPECT_EQ(ccDrawNumbersVariableWidth("101", 100.0f, 0.0f, Digits(), advances, offsets, 1.0f, 1,
                                         1, 2.0f),
              40);
    ASSERT_EQ(Log().size(), 3u);
    EXPECT_FLOAT_EQ(Log()[0].x, 80.0f - 2.0f);
    EXPECT_FLOAT_EQ(Log()[1].x, 90.0f);
    EXPECT_FLOAT_EQ(Log()[2].x, 112.0f - 2.0f);
    EXPECT_FLOAT_EQ(ccDrawNumbersVariableWidthCalcWidth("", advances, offsets, 1.0f, 1.0f), 0.0f);
}

TEST_F(DrawingFunctions, ShadowedImageAndRectangleEndInAKnownState) {
    auto shadow = TShadow::Create(3.0f, 4.0f, 0.25f);
    platform::ImagePtr image = platform::CreateImage(10, 10, 1, 0);
    platform::SetColor(200, 100, 50);
    platform::SetAlpha(0.5f);
    ccDrawImage(image, 10.0f, 20.0f, shadow.get());
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_FLOAT_EQ(Log()[0].x, 13.0f);
    EXPECT_FLOAT_EQ(Log()[0].y, 24.0f);
    EXPECT_EQ(Log()[0].r, 0);
    EXPECT_FLOAT_EQ(Log()[0].alpha, 0.25f);
    EXPECT_EQ(Log()[1].r, 255); // the shadow's Restore leaves white
    EXPECT_FLOAT_EQ(Log()[1].alpha, 1.0f);

    platform::ClearDrawLog();
    platform::SetColor(200, 100, 50);
    platform::SetAlpha(0.5f);
    ccDrawRect(1.0f, 2.0f, 30.0f, 40.0f, shadow.get());
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_FLOAT_EQ(Log()[0].x, 4.0f);
    EXPECT_FLOAT_EQ(Log()[0].alpha, 0.25f);
    EXPECT_EQ(Log()[1].r, 200);
    EXPECT_FLOAT_EQ(Log()[1].alpha, 1.0f);
    ExpectState(platform::SOLIDBLEND, 200, 100, 50, 1.0f);

    platform::ClearDrawLog();
    ccDrawImage(nullptr, 0.0f, 0.0f, shadow.get());
    ccDrawImageCentred(image);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_FLOAT_EQ(Log()[0].x, 395.0f);
    EXPECT_FLOAT_EQ(Log()[0].y, 295.0f);
}

TEST_F(DrawingFunctions, DimLightAndSolidModesLeaveTheirStates) {
    ccDimScreen(0.6f);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].kind, TDrawRecord::RECT);
    EXPECT_FLOAT_EQ(Log()[0].w, 800.0f);
    EXPECT_FLOAT_EQ(Log()[0].h, 600.0f);
    EXPECT_EQ(Log()[0].r, 0);
    EXPECT_FLOAT_EQ(Log()[0].alpha, 0.6f);
    ExpectState(platform::ALPHABLEND, 255, 255, 255, 1.0f);

    platform::ClearDrawLog();
    platform::SetAlpha(0.7f);
    ccDrawImageLight(platform::CreateImage(4, 4, 1, 0), 5.0f, 6.0f, 0.5f, 1.0f, 0.5f, 0.0f, 0);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].blend, platform::LIGHTBLEND);
    EXPECT_EQ(Log()[0].r, 127);
    EXPECT_EQ(Log()[0].g, 63);
    EXPECT_EQ(Log()[0].b, 0);
    ExpectState(platform::ALPHABLEND, 255, 255, 255, 0.7f);

    ccRestoreSolidMode();
    ExpectState(platform::SOLIDBLEND, 255, 255, 255, 1.0f);
}

TEST_F(DrawingFunctions, RectOutlineLeavesOutEachLinesLastPixel) {
    ccDrawRectOutline(10, 20, 5, 3);
    ASSERT_EQ(Log().size(), 4u);
    const float ends[4][4] = {
        {10, 20, 14, 20}, {14, 20, 14, 22}, {14, 22, 10, 22}, {10, 22, 10, 20}};
    for (size_t i = 0; i < 4; i++) {
        EXPECT_EQ(Log()[i].kind, TDrawRecord::LINE);
        EXPECT_FLOAT_EQ(Log()[i].x, ends[i][0]);
        EXPECT_FLOAT_EQ(Log()[i].y, ends[i][1]);
        EXPECT_FLOAT_EQ(Log()[i].w, ends[i][2]);
        EXPECT_FLOAT_EQ(Log()[i].h, ends[i][3]);
    }
}

TEST_F(DrawingFunctions, InvalidFramesAndMissingImagesNeverReachTheLayer) {
    platform::ImagePtr image = platform::CreateImage(16, 16, 2, 0);
    ccDrawImageArea(image, 0, 0, 0, 0, 8, 8, 2);
    ccDrawImageArea(image, 0, 0, 0, 0, 8, 8, -1);
    ccDrawImageArea(nullptr, 0, 0, 0, 0, 8, 8, 0);
    ccDrawImageArea(image, 0, 0, 16, 0, 8, 8, 0); // starts at the right edge: nothing left
    ccDrawImageLight(image, 0, 0, 1.0f, 1.0f, 1.0f, 1.0f, 5);
    ccDrawImageRect(nullptr, 0, 0, 0, 0, 4, 4);
    ccDrawImageRect(image, 0, 0, 20, 20, 4, 4);
    ccCreateFrames(nullptr);
    ccMidhandle(image, 1);
    EXPECT_FLOAT_EQ(image->handleX, 8.0f);
    ccMidhandle(image, 0);
    EXPECT_FLOAT_EQ(image->handleX, 0.0f);
    EXPECT_TRUE(Log().empty());
    ccDrawImageRect(image, 5, 6, 2, 2, 4, 4);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_FLOAT_EQ(Log()[0].w, 4.0f);
}

} // namespace
