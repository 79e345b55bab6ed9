// The drawing layer without a display: state, images on the CPU, the default font's metrics, the
// draw log and the collision layers.
#include "platform/graphics.h"
#include "tests/support/drawing_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace platform;
using testing_support::Filled;

class Graphics2D : public ::testing::Test {
protected:
};

TEST_F(Graphics2D, TransformTurnsClockwiseOnScreen) {
    float ix, iy, jx, jy;
    SetScale(2, 3);
    SetRotation(90);
    GetTransform(ix, iy, jx, jy);
    // (1, 0), right, maps to (0, 2): down, scaled by sx; (0, -1), up, maps to (3, 0): right.
    EXPECT_EQ(ix, 0.0f);
    EXPECT_EQ(jx, 2.0f);
    EXPECT_EQ(iy, -3.0f);
    EXPECT_EQ(jy, 0.0f);
    SetRotation(30);
    GetTransform(ix, iy, jx, jy);
    EXPECT_NEAR(ix, std::cos(M_PI / 6) * 2, 1e-6);
    EXPECT_NEAR(jx, std::sin(M_PI / 6) * 2, 1e-6);
    EXPECT_NEAR(iy, -std::sin(M_PI / 6) * 3, 1e-6);
    SetBlend(9); // not a mode: ignored
    EXPECT_EQ(GetBlend(), ALPHABLEND);
}

TEST_F(Graphics2D, ImagesMaskBlackAndCutStrips) {
    // A strip of 3 x 2 cells of 4 x 2 pixels; cell i is grey i*10, cell 0 pure black.
    PixmapPtr strip = CreatePixmap(12, 4);
    for (int cell = 0; cell < 6; ++cell)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const uint32_t v = static_cast<uint32_t>(cell * 10);
                strip->WritePixel((cell % 3) * 4 + x, (cell / 3) * 2 + y,
                                  0xFF000000u | v << 16 | v << 8 | v);
            }
    ImagePtr anim = LoadAnimImage(strip, 4, 2, 0, 5);
    ASSERT_TRUE(anim);
    EXPECT_EQ(anim->Flags(), MASKEDIMAGE | FILTEREDIMAGE);
    EXPECT_EQ(anim->Frames(), 5);
    EXPECT_EQ(ImageWidth(anim), 4);
    EXPECT_EQ(ImageHeight(anim), 2);
    EXPECT_EQ(anim->Frame(0)->ReadPixel(1, 1), 0x00000000u); // masked
    EXPECT_EQ(anim->Frame(4)->ReadPixel(3, 1), 0xFF282828u); // cell 4: second row
    EXPECT_EQ(anim->Frame(5), nullptr);

    ImagePtr unmasked = LoadAnimImage(strip, 4, 2, 1, 5, 0);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->Frame(0)->ReadPixel(0, 0), 0xFF0A0A0Au);
    EXPECT_EQ(LoadAnimImage(strip, 4, 2, 2, 5), nullptr); // only 6 cells
    EXPECT_EQ(LoadAnimImage(strip, 0, 2, 0, 1), nullptr);
    EXPECT_EQ(LoadAnimImage(PixmapPtr(), 4, 2, 0, 1), nullptr);
    EXPECT_EQ(LoadImage(std::string("/nonexistent/picture.png")), nullptr);

    // The image keeps its own copy of the pixels.
    strip->WritePixel(4, 0, 0xFFFFFFFF);
    EXPECT_EQ(unmasked->Frame(0)->ReadPixel(0, 0), 0xFF0A0A0Au);
}

TEST_F(Graphics2D, HandlesFollowAutoMidHandle) {
    PixmapPtr p = Filled(33, 20, 0xFFFF0000);
    EXPECT_EQ(LoadImage(p)->handleX, 0.0f);
    AutoMidHandle(true);
    ImagePtr mid = LoadImage(p);
    EXPECT_EQ(mid->handleX, 16.5f);
    EXPECT_EQ(mid->handleY, 10.0f);
    EXPECT_EQ(CreateImage(8, 6)->handleX, 4.0f);
    SetImageHandle(mid, 1, 2);
    EXPECT_EQ(mid->handleX, 1.0f);
    EXPECT_EQ(CreateImage(0, 6), nullptr);
    EXPECT_EQ(ImageWidth(nullptr), 0);
}

TEST_F(Graphics2D, DrawLogRecordsCallsWithTheirStateWithoutADisplay) {
    ImagePtr image = CreateImage(4, 4);
    SetDrawLog(true);
    SetColor(10, 20, 30);
    SetAlpha(0.5f);
    SetBlend(LIGHTBLEND);
    SetRotation(45);
    SetScale(2, 2);
    DrawImage(image, 5, 6, 0);
    DrawImage(image, 5, 6, 3); // an invalid frame: recorded, draws nothing
    DrawImage(nullptr, 1, 1);
    SetRotation(0);
    SetScale(1, 1);
    DrawText("Hi", 7, 8);
    DrawLine(1, 2, 3, 4);
    Cls();
    SetDrawLog(false);
    DrawRect(0, 0, 1, 1);

    const std::vector<TDrawRecord>& log = DrawLog();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].kind, TDrawRecord::IMAGE);
    EXPECT_EQ(log[0].image, image.get());
    EXPECT_EQ(log[0].x, 5.0f);
    EXPECT_EQ(log[0].w, 4.0f);
    EXPECT_EQ(log[0].r, 10);
    EXPECT_EQ(log[0].alpha, 0.5f);
    EXPECT_EQ(log[0].blend, LIGHTBLEND);
    EXPECT_EQ(log[0].rotation, 45.0f);
    EXPECT_EQ(log[0].scaleX, 2.0f);
    EXPECT_EQ(log[1].frame, 3);
    EXPECT_EQ(log[2].image, nullptr);
    EXPECT_EQ(log[3].kind, TDrawRecord::TEXT);
    EXPECT_EQ(log[3].text, "Hi");
    EXPECT_EQ(log[3].w, static_cast<float>(TextWidth("Hi")));
    EXPECT_EQ(log[4].kind, TDrawRecord::LINE);
    EXPECT_EQ(log[4].h, 4.0f);
    EXPECT_EQ(log[5].kind, TDrawRecord::CLS);

    // Without a display the frame reads back black.
    PixmapPtr grabbed = GrabPixmap(0, 0, 3, 2);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(grabbed->ReadPixel(2, 1), 0xFF000000u);
}

TEST_F(Graphics2D, DefaultFontIsProportionalTwelvePixelsAndLatin1) {
    EXPECT_EQ(TextHeight(""), 12);
    EXPECT_EQ(TextHeight("Wg"), 12);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_GT(TextWidth("W"), TextWidth("i"));
    EXPECT_EQ(TextWidth("ii"), 2 * TextWidth("i"));
    const ImageFontPtr font = DefaultFont();
    EXPECT_EQ(GetImageFont(), font);
    for (int code = 32; code <= 255; ++code) {
        const bool control = code >= 127 && code < 160;
        const TGlyph* glyph = font->Glyph(code);
        EXPECT_EQ(glyph == nullptr, control) << code;
        if (glyph && code != 32 && code != 160 && code != 173) {
            EXPECT_TRUE(glyph->image) << code;
        }
    }
    EXPECT_EQ(TextWidth("\x80\x9F"), 0);
    EXPECT_GT(TextWidth("\xE9"), 0);
    // The glyphs stay in the line: tops at or below 0, most bottoms inside the 12 pixels.
    const TGlyph* g = font->Glyph('g');
    EXPECT_GE(font->Glyph('A')->y, 0);
    EXPECT_LE(g->y + g->image->Height(), 13);
}

TEST_F(Graphics2D, FontTextTurnsUtf8IntoTheFontsCharacters) {
    const struct {
        const char* utf8;
        const char* shown;
    } cases[] = {
        {"/home/Jos\xc3\xa9/x.ini", "/home/Jos\xe9/x.ini"},
        {"\xc3\x80 \xc3\xbf \xc2\xa0", "\xc0 \xff \xa0"}, // the ends of Latin-1
        {"\xce\xa9\xce\xbc\xce\xad", "???"},              // Greek: one "?" a letter
        {"\xe6\x97\xa5\xe6\x9c\xac", "??"},               // CJK
        {"\xf0\x9f\x8e\xb2!", "?!"},                      // beyond the first plane
        {"\xc2\x85", "?"},                                // a control character the font lacks
        {"Jos\xe9", "Jos\xe9"},                           // Latin-1 already: kept
        {"\xe9t\xe9\x85", "\xe9t\xe9?"},                  // a lone byte the font lacks
        {"\xc0\xaf\xed\xa0\x80", "\xc0\xaf\xed\xa0?"},    // overlong and surrogate: bytes
        {"line\none\ttab", "line\none\ttab"},
        {"\xe2\x82", "\xe2?"}, // cut short at the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontText(c.utf8), c.shown) << c.utf8;
    EXPECT_EQ(TextWidth(FontText("Jos\xc3\xa9")), TextWidth("Jos\xe9"));
    EXPECT_EQ(TextWidth(FontText("\xe6\x97\xa5")), TextWidth("?"));
}

TEST_F(Graphics2D, CollisionsFollowTheDrawnOpaquePixels) {
    // 10 x 10 with only the middle 4 x 4 opaque.
    PixmapPtr p = CreatePixmap(10, 10);
    for (int y = 3; y < 7; ++y)
        for (int x = 3; x < 7; ++x)
            p->WritePixel(x, y, 0xFFFFFFFF);
    ImagePtr image = LoadImage(p, 0);
    int a = 0, b = 0;
    CollideRect(100, 100, 10, 10, 0, 1, &a);
    CollideRect(200, 100, 10, 10, 0, 2, &b);

    // The transparent margin does not collide.
    EXPECT_TRUE(CollideImage(image, 92, 95, 0, 1, 0).empty());
    EXPECT_EQ(CollideImage(image, 95, 95, 0, 1, 0), std::vector<void*>{&a});
    EXPECT_EQ(CollideImage(image, 95, 95, 0, 3, 0), std::vector<void*>{&a});
    // Scaled three times about the top-left, the box reaches it.
    SetScale(3, 3);
    EXPECT_EQ(CollideImage(image, 85, 85, 0, 1, 0), std::vector<void*>{&a});
    SetScale(1, 1);
    // A diamond: turned 45 degrees about its centre, its corner lies off the rectangle's corner.
    MidHandleImage(image);
    SetRotation(45);
    EXPECT_TRUE(CollideImage(image, 97.8f, 97.8f, 0, 1, 0).empty());
    EXPECT_FALSE(CollideImage(image, 99.5f, 99.5f, 0, 1, 0).empty());
    SetRotation(0);

    // Pixel by pixel: a small rectangle in the hole of a ring does not touch it.
    PixmapPtr ring = Filled(10, 10, 0xFFFFFFFF);
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x)
            ring->WritePixel(x, y, 0);
    const ImagePtr ringImage = LoadImage(ring, 0);
    int c = 0;
    CollideRect(304, 304, 2, 2, 0, 4, &c);
    EXPECT_TRUE(CollideImage(ringImage, 300, 300, 0, 4, 0).empty());
    EXPECT_EQ(CollideImage(ringImage, 297, 297, 0, 4, 0), std::vector<void*>{&c});

    EXPECT_EQ(CollideRect(205, 105, 1, 1, 3, 0), std::vector<void*>{&b});
    ResetCollisions(2);
    EXPECT_TRUE(CollideRect(205, 105, 1, 1, 3, 0).empty());
    EXPECT_FALSE(CollideRect(105, 105, 1, 1, 3, 0).empty());
    ResetCollisions();
    EXPECT_TRUE(CollideRect(105, 105, 1, 1, 3, 0).empty());
}

} // namespace
