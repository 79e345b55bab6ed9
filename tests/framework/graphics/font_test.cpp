#include "framework/graphics/font.h"
#include "framework/util/drawing.h"
#include "tests/framework/graphics/bitmap_font_fixture.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::FontHeader;
using graphics_test::GraphicsTest;
using graphics_test::LetterGlyphs;
using graphics_test::WriteFont;

namespace {

class FontTest : public GraphicsTest {
protected:
    static std::vector<platform::TDrawRecord> TextDraws() {
        return Draws(platform::TDrawRecord::TEXT);
    }
    TBitmapFontPtr Letters() {
        return TBitmapFont::Create(WriteFont(dir, "letters", FontHeader() + LetterGlyphs()), -1);
    }
};

TEST_F(FontTest, WordWrapInTheDefaultFont) {
    const int wide = platform::TextWidth("alpha beta");
    struct Case {
        std::string text;
        int wrap;
        TStringArray lines;
    };
    const Case cases[] = {
        {"", wide, {}},
        {"alpha\n\nbeta", wide, {"alpha", "", "beta"}},
        {"alpha\n", wide, {"alpha"}},
        {"alpha beta gamma", wide, {"alpha beta", "gamma"}},
        {"alpha  beta", wide, {"alpha beta"}}, // two spaces count as one
        {"alpha extraordinarily beta",
         platform::TextWidth("alpha"),
         {"alpha", "extraordinarily", "beta"}}, // too wide: alone on its line
    };
    for (const auto& c : cases) {
        auto label = TLabel::CreateSpecial(c.text, 0, 0, 0, c.wrap);
        label->PreCalcWordWrap();
        EXPECT_EQ(label->TextArray, c.lines) << c.text;
        EXPECT_EQ(label->TotalLines, static_cast<int>(c.lines.size()));
        EXPECT_EQ(label->LineGap, platform::TextHeight(""));
        EXPECT_FLOAT_EQ(label->H, static_cast<float>(c.lines.size() * label->LineGap));
        EXPECT_FLOAT_EQ(label->CalcHeight(), label->H);
    }
}

TEST_F(FontTest, WordWrapWithABitmapFont) {
    auto label = TLabel::CreateSpecial("AB AB AB", 0, 0, 0, 35); // "AB AB" is 7*4 + 4 = 32
    label->BitmapFont = Letters();
    label->PreCalcWordWrap();
    EXPECT_EQ(label->TextArray, (TStringArray{"AB AB", "AB"}));
    EXPECT_EQ(label->LineGap, 12);
    EXPECT_FLOAT_EQ(label->H, 24.0f);
    label->CalcSize();
    EXPECT_FLOAT_EQ(label->W, 7 * 6 + 4 * 2);
    EXPECT_FLOAT_EQ(label->H, 24.0f);
    label->WordWrap = 0;
    EXPECT_FLOAT_EQ(label->CalcHeight(), 12.0f); // sum of A B C X Y Z heights / 5
}

TEST_F(FontTest, AlignmentInTheDefaultFont) {
    const int w = platform::TextWidth("Hello");
    struct Case {
        int alignment;
        float x;
        int drawnX;
    };
    const Case cases[] = {
        {0, 10.7f, 10}, {0, -10.7f, -10}, {1, 100.0f, 100 - (w + 1) / 2}, {2, 100.0f, 100 - w}};
    for (const auto& c : cases) {
        platform::ClearDrawLog();
        auto label = TLabel::CreateSpecial("Hello", c.x, 5.0f, c.alignment, 0);
        EXPECT_EQ(label->Draw(0, 0), 1);
        auto texts = TextDraws();
        ASSERT_EQ(texts.size(), 1u) << c.alignment;
        EXPECT_NEAR(texts[0].x, static_cast<float>(c.drawnX), 0.5f) << c.alignment;
        EXPECT_FLOAT_EQ(texts[0].y, 5.0f);
    }
    platform::ClearDrawLog();
    auto nowhere = TLabel::CreateSpecial("Hello", 0, 0, 3, 0);
    EXPECT_EQ(nowhere->Draw(0, 0), 1);
    EXPECT_TRUE(TextDraws().empty());
}

TEST_F(FontTest, WrappedLinesStepByTheLineGap) {
    auto label = TLabel::CreateSpecial("one\ntwo\nthree", 20.0f, 30.0f, 0, 500);
    label->PreCalcWordWrap();
    label->Color = TColor::Create(200, 100, 50, 0.5f);
    label->Draw(5.0f, 6.0f);
    auto texts = TextDraws();
    ASSERT_EQ(texts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(texts[i].x, 25.0f);
        EXPECT_FLOAT_EQ(texts[i].y, 36.0f + static_cast<float>(i * label->LineGap));
        EXPECT_EQ(texts[i].r, 200);
        EXPECT_FLOAT_EQ(texts[i].alpha, 0.5f);
    }
    EXPECT_EQ(texts[2].text, "three");
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);

    // Without a new wrap, a changed text is not drawn.
    label->Text = "other";
    platform::ClearDrawLog();
    label->Draw(0, 0);
    EXPECT_EQ(TextDraws().size(), 3u);
    label->Text.clear();
    label->PreCalcWordWrap();
    platform::ClearDrawLog();
    EXPECT_EQ(label->Draw(0, 0), 1);
    EXPECT_TRUE(TextDraws().empty());
}

TEST_F(FontTest, ShadowedLabelsAndHiddenOnes) {
    auto label = TLabel::CreateSpecial("Hi", 10, 10, 0, 0);
    label->Shadow = TShadow::Create(2.0f, 2.0f, 0.5f);
    label->Color->Alpha = 0.8f;
    label->Draw(0, 0);
    auto texts = TextDraws();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].r + texts[0].g + texts[0].b, 0);
    EXPECT_FLOAT_EQ(texts[0].x, 12.0f);
    EXPECT_FLOAT_EQ(texts[0].alpha, 0.4f);
    EXPECT_EQ(texts[1].r, 255);
    EXPECT_FLOAT_EQ(texts[1].alpha, 0.8f);
    EXPECT_FLOAT_EQ(ccShadowTextDepthX, 2.0f); // a shadowed label leaves the text settings

    platform::ClearDrawLog();
    platform::SetColor(1, 2, 3);
    label->Visible = 0;
    EXPECT_EQ(label->Draw(0, 0), 0);
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_TRUE(platform::DrawLog().empty());
}

TEST_F(FontTest, LabelsInABitmapFont) {
    auto font = Letters();
    auto label = TLabel::CreateSpecial("AB", 100.0f, 0.0f, 1, 0);
    label->BitmapFont = font;
    label->Draw(0, 0);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 94.0f); // 100 - 14 / 2 + xoffset 1
    label->Shadow = TShadow::Create(1.0f, 1.0f, 0.5f);
    platform::ClearDrawLog();
    label->Draw(0, 0);
    EXPECT_EQ(ImageDraws().size(), 4u);
}

TEST_F(FontTest, FontStylesApplyTheirSettings) {
    auto color = TColor::Create(10, 20, 30, 0.6f);
    auto inverse = TColor::Create(1, 2, 3, 1.0f);
    auto shadow = TShadow::Create(3.0f, 4.0f, 0.25f);
    auto style = TLabel::Create(nullptr, color, shadow, 1, nullptr, inverse);
    EXPECT_EQ(std::dynamic_pointer_cast<TLabel>(style), nullptr);
    EXPECT_FLOAT_EQ(style->H, static_cast<float>(platform::TextHeight("")));
    style->Apply();
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r, 10);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.6f);
    EXPECT_FLOAT_EQ(ccShadowTextDepthY, 4.0f);
    EXPECT_FLOAT_EQ(ccTextAlpha, 0.6f);
    style->ApplyInverse();
    platform::GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    style->Kill();
    EXPECT_EQ(style->Color, nullptr);
    EXPECT_EQ(style->Shadow, nullptr);
    style->Apply(); // nothing left to apply

    auto bitmapStyle = TFont::Create(nullptr, nullptr, nullptr, 0, Letters(), nullptr);
    EXPECT_FLOAT_EQ(bitmapStyle->H, 12.0f);
}

TEST_F(FontTest, TextCursorWritesLinesDownwards) {
    TTextCursor cursor;
    cursor.Init(5, 5, 12);
    cursor.OutputNL("one");
    cursor.OutputNL("two");
    EXPECT_EQ(cursor.y, 29);
    auto texts = TextDraws();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FLOAT_EQ(texts[1].y, 17.0f);
    cursor.Shadow = 1;
    platform::ClearDrawLog();
    cursor.Output("three");
    EXPECT_EQ(TextDraws().size(), 2u);
}

} // namespace
