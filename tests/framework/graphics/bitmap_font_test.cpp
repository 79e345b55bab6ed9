#include "framework/graphics/bitmap_font.h"
#include "framework/util/drawing.h"
#include "tests/framework/graphics/bitmap_font_fixture.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::FontHeader;
using graphics_test::GlyphLine;
using graphics_test::GraphicsTest;
using graphics_test::LetterGlyphs;
using graphics_test::WriteFont;

namespace {

class BitmapFontTest : public GraphicsTest {
protected:
    TBitmapFontPtr Letters(const std::string& scale = "1   ") {
        return TBitmapFont::Create(WriteFont(dir, "letters", FontHeader(scale) + LetterGlyphs()),
                                   -1);
    }
};

TEST_F(BitmapFontTest, GlyphLinesFillTheirSlots) {
    const std::string fnt = "scaleF=1.5 \nscaleW=256 scaleH=128\n"
                            "id=65 x=10 y=20 width=8 height=12 xoffset=1 yoffset=2 xadvance=9\n";
    auto font = TBitmapFont::Create(WriteFont(dir, "one", fnt), -1);
    EXPECT_DOUBLE_EQ(font->ScaleFactor, 1.5);
    EXPECT_DOUBLE_EQ(font->TextureW, 256.0);
    EXPECT_EQ(font->NumChars, 1);
    EXPECT_EQ(font->ID[65], 65);
    EXPECT_DOUBLE_EQ(font->xPos[65], 10.0 / 256);
    EXPECT_DOUBLE_EQ(font->yPos[65], 20.0 / 128);
    EXPECT_DOUBLE_EQ(font->width[65], 8.0 / 256);
    EXPECT_DOUBLE_EQ(font->height[65], 12.0 / 128);
    EXPECT_DOUBLE_EQ(font->xOffset[65], 1.0);
    EXPECT_DOUBLE_EQ(font->yOffset[65], 2.0);
    EXPECT_DOUBLE_EQ(font->xAdvance[65], 9.0);
    EXPECT_FALSE(platform::AutoMidHandleOn());
    EXPECT_FLOAT_EQ(font->Image->handleX, 0.0f);
}

TEST_F(BitmapFontTest, ExtraSlotsAndLinesWithoutAGlyph) {
    std::string fnt = FontHeader() + GlyphLine(0, 1, 1, 5, 5, 0, 0, 5) + "\n";
    for (int id : {256, 270, 280, 290, 300})
        fnt += GlyphLine(id, 0, 0, 4, 4, 0, 0, 4) + "\n";
    fnt += "kerning first=32 second=65 amount=-1\n\n";
    auto font = TBitmapFont::Create(WriteFont(dir, "extra", fnt), -1);
    EXPECT_EQ(font->NumChars, 8);
    EXPECT_EQ(font->NumExtraChars, 5);
    EXPECT_EQ(font->ID[260], 300);
    EXPECT_EQ(font->FindChar(300), 260);
    EXPECT_EQ(font->FindChar(301), 0);
    // The kerning line and the empty line overwrote glyph 0.
    EXPECT_DOUBLE_EQ(font->xAdvance[0], 0.0);
    EXPECT_DOUBLE_EQ(font->width[0], 0.0);
}

TEST_F(BitmapFontTest, MeasuresWidthHeightAndCuts) {
    auto font = Letters();
    font->CharGap = 1.0;
    EXPECT_DOUBLE_EQ(font->StringWidth("ABC"), 23.0); // 7 + 1 + 7 + 1 + 7
    EXPECT_DOUBLE_EQ(font->StringWidth(""), 0.0);
    font->xAdvance['A'] = 9;
    font->xAdvance['B'] = 9;
    font->xAdvance['C'] = 9;
    EXPECT_DOUBLE_EQ(font->StringWidth("ABC"), 29.0);
    EXPECT_DOUBLE_EQ(font->StringHeight("ABCXYZ"), 12.0);
    EXPECT_DOUBLE_EQ(font->StringHeight("B"), 12.0);
    EXPECT_DOUBLE_EQ(font->StringHeight(""), 0.0);
    EXPECT_EQ(font->TruncateString("ABC", 0.0), "");
    EXPECT_EQ(font->TruncateString("ABC", 19.0), "AB");
    EXPECT_EQ(font->TruncateString("ABC", 100.0), "ABC");

    auto doubled = Letters("2   ");
    EXPECT_DOUBLE_EQ(doubled->StringHeight("ABCXYZ"), 24.0);
    EXPECT_DOUBLE_EQ(doubled->StringWidth("AB"), 28.0);
    EXPECT_EQ(doubled->TruncateString("ABC", 14.0), "AB"); // the limit is scaled too
    EXPECT_EQ(doubled->CalcVRAM(), 128 * 4 * 32);
}

TEST_F(BitmapFontTest, DrawPlacesEachGlyphAndKeepsThePenFraction) {
    auto font = Letters();
    font->Draw("AB", 10.0, 20.0, 0, 0, 0, 0, 0);
    font->DrawAligned("AB", 50.0, 20.0, 1, 0, 0, 0); // centred: 7 less
    font->DrawAligned("AB", 50.0, 20.0, 2, 0, 0, 0); // right: 14 less
    font->DrawAligned("AB", 50.0, 20.0, 3, 0, 0, 0); // nothing
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 6u);
    const float xs[] = {11, 18, 44, 51, 37, 44};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(draws[i].x, xs[i]) << i;
    EXPECT_FLOAT_EQ(draws[0].y, 22.0f);
    EXPECT_FLOAT_EQ(draws[1].w, 6.0f);
    EXPECT_FLOAT_EQ(draws[1].h, 12.0f);

    platform::ClearDrawLog();
    font->xOffset['A'] = 0.5;
    font->xAdvance['A'] = 6.9;
    font->Draw("AA", 10.0, 0.0, 0, 0, 1, 1, 0); // 10.5 -> 11, then 16.9 + 0.5 = 17.4 -> 17
    draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 11.0f);
    EXPECT_FLOAT_EQ(draws[1].x, 17.0f);

    platform::ClearDrawLog();
    font->Draw(std::string(300, 'q'), 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(ImageDraws().size(), 300u);
}

TEST_F(BitmapFontTest, DrawFollowsTheDrawingScale) {
    auto font = Letters("2   ");
    platform::SetScale(0.5f, 0.5f);
    font->DrawAligned("AB", 100.0, 0.0, 2, 0, 0, 0); // 28 wide, drawn at half: 14
    platform::SetScale(1.0f, 1.0f);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 87.0f); // 86 + xoffset 1 * 2 * 0.5
    EXPECT_FLOAT_EQ(draws[1].x, 94.0f);
    EXPECT_FLOAT_EQ(draws[0].w, 12.0f); // the drawing layer applies its own scale
}

TEST_F(BitmapFontTest, ShadowPassThenTheText) {
    auto font = Letters();
    ccShadowTextSet(2.0f, 3.0f, 0.5f);
    ccTextAlpha = 0.8f;
    platform::SetColor(10, 20, 30);
    font->DrawAlignedWithShadow("A", 10.0, 10.0, 0, 0, 0);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].r + draws[0].g + draws[0].b, 0);
    EXPECT_FLOAT_EQ(draws[0].alpha, 0.4f);
    EXPECT_FLOAT_EQ(draws[0].x, 13.0f);
    EXPECT_FLOAT_EQ(draws[0].y, 15.0f);
    EXPECT_EQ(draws[1].r, 10);
    EXPECT_FLOAT_EQ(draws[1].alpha, 0.8f);
    EXPECT_FLOAT_EQ(draws[1].x, 11.0f);
}

TEST_F(BitmapFontTest, HandleModeLaysTheStringOutFromOnePoint) {
    auto font = Letters();
    font->ChangeHandle = 1;
    font->HandleX = 0.0;
    font->Draw("AB", 100.0, 50.0, 0, 0, 0, 0, 0);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 100.0f);
    EXPECT_FLOAT_EQ(draws[1].x, 100.0f);
    EXPECT_DOUBLE_EQ(font->HandleX, -14.0);

    // A shadowed draw lays both passes out from the same handle.
    font->HandleX = 0.0;
    font->DrawAlignedWithShadow("AB", 100.0, 50.0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(font->HandleX, -14.0);
    font->HandleX = 0.0;
    font->DrawStringArray({"AB", "ABC"}, 100.0, 50.0, 0, 0, 0, 0, 1, 0, 0);
    EXPECT_DOUBLE_EQ(font->HandleX, -21.0);
}

TEST_F(BitmapFontTest, StringArraysStepByTheLineHeight) {
    auto font = Letters();
    font->DrawStringArray({"A", "B", "C"}, 0.0, 100.0, 0, 0, 0, 0, 0, 0, 1);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 3u);
    // Line height 12; the block of 36 centred on 100 starts at 82 (yoffset 2).
    EXPECT_FLOAT_EQ(draws[0].y, 84.0f);
    EXPECT_FLOAT_EQ(draws[1].y, 96.0f);
    EXPECT_FLOAT_EQ(draws[2].y, 108.0f);
    platform::ClearDrawLog();
    font->DrawStringArray({"A", "B"}, 0.0, 0.0, 0, 0, 0, 0, 1, 20, 0);
    draws = ImageDraws();
    ASSERT_EQ(draws.size(), 4u); // shadow and text of each line
    EXPECT_FLOAT_EQ(draws[2].y, 21.0f + 2.0f);
    EXPECT_FLOAT_EQ(draws[3].y, 22.0f);
}

TEST_F(BitmapFontTest, MissingFilesAreFatalAndNamed) {
    const std::string stem = dir.File("absent");
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { TBitmapFont::Create(stem, -1); }),
              "Error loading file littleendian::" + stem + ".fnt");
    testing_support::WriteTextFile(stem + ".fnt", FontHeader() + LetterGlyphs());
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { TBitmapFont::Create(stem, -1); }),
              "Error loading bitmap " + stem + ".png");
}

TEST_F(BitmapFontTest, ADamagedDescriptionIsRefusedByName) {
    std::string tooMany = FontHeader();
    for (int i = 0; i <= TBitmapFont::EXTRA_SLOTS; ++i)
        tooMany += GlyphLine(256 + i, 0, 0, 1, 1, 0, 0, 1) + "\n";
    const std::string glyph = GlyphLine(65, 0, 0, 6, 10, 0, 0, 7);
    struct Case {
        std::string description, fault;
    };
    const Case cases[] = {
        {"", "the file ends before its scale lines"},
        {"scaleF=1\n", "the file ends before its scale lines"},
        {"info\nscaleW=128 scaleH=32\n", "line 1 has no \"scaleF=\""},
        {"scaleF=1\nscaleH=32\n", "line 2 has no \"scaleW=\""},
        {"scaleF=1\nscaleW=128\n", "line 2 has no \"scaleH=\""},
        {"scaleF=1\nscaleW=0    scaleH=32\n", "the page size on line 2 is not above 0"},
        {FontHeader() + GlyphLine(-1, 0, 0, 1, 1, 0, 0, 1), "line 3 has the glyph id -1"},
        {FontHeader() + glyph + "\n" + glyph.substr(0, glyph.find("xadvance")),
         "line 4 has no \"xadvance=\""},
        {FontHeader() + "char id=66 x=1\n", "line 3 has no \"y=\""},
        {tooMany, "line 103: more than 100 glyphs with ids of 256 and above"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string stem = WriteFont(dir, "damaged" + std::to_string(n++), c.description);
        EXPECT_EQ(FatalErrorCapture::MessageOf([&] { TBitmapFont::Create(stem, -1); }),
                  "Error loading font " + stem + ".fnt: " + c.fault);
    }
}

TEST_F(BitmapFontTest, AKilledFontDrawsNothing) {
    auto font = Letters();
    font->Kill();
    font->Draw("AB", 0, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(platform::DrawLog().empty());
    EXPECT_DOUBLE_EQ(font->StringWidth("AB"), 14.0);
}

} // namespace
