#include "framework/audio/game_sound.h"
#include "framework/ui/tool_tip.h"
#include "framework/util/drawing.h"
#include "tests/framework/graphics/bitmap_font_fixture.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

// A tip with a 100 by 40 box, a sound, and the pointer 16 pixels high.
class ToolTipTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture(Game->ImagePath + "tip.png", 100, 40, 0xFF202020);
        tip.image = TGameImage::Create(Game->ImagePath + "tip.png", -1, 0);
        tip.font =
            TFont::Create(nullptr, TColor::Create(255, 255, 0, 1.0f), nullptr, 0, nullptr, nullptr);
        tip.ToolTipSound = TGameSound::Create(Game->SoundPath + "buttonclick.wav", 0);
        Game->Mouse->h = 16;
        MovePointer(100, 100);
    }
    void Rest(int ticks, int over = 1) {
        for (int i = 0; i < ticks; ++i)
            tip.Collide(over);
    }

    TToolTip tip;
};

TEST_F(ToolTipTest, ShowsAfterTheRestTimeAndFadesIn) {
    tip.SetCollideCounterMax(250);
    EXPECT_EQ(tip.CollideCounterMax, 50) << "250 ms at 200 ticks a second";
    Rest(50);
    EXPECT_EQ(tip.Visible, 0);
    EXPECT_TRUE(TakeCued().empty());
    Rest(1);
    EXPECT_EQ(tip.Visible, 1);
    EXPECT_FLOAT_EQ(tip.FadeLevel, 0.02f);
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{tip.ToolTipSound->sound.get()});
    Rest(49);
    EXPECT_NEAR(tip.FadeLevel, 1.0f, 1e-5f) << "full after 50 ticks of fading in";
    Rest(5);
    EXPECT_EQ(tip.FadeLevel, 1.0f);
    EXPECT_TRUE(TakeCued().empty()) << "the sound plays once per showing";
}

TEST_F(ToolTipTest, LeavingResetsTheRestAndFadesOut) {
    Rest(30);
    Rest(1, 0);
    Rest(30);
    EXPECT_EQ(tip.Visible, 0) << "resting starts again from 0";
    Rest(21);
    EXPECT_EQ(tip.Visible, 1);
    Rest(100);
    ASSERT_EQ(tip.FadeLevel, 1.0f);
    Rest(24, 0);
    EXPECT_EQ(tip.Visible, 1) << "still fading out";
    EXPECT_NEAR(tip.FadeLevel, 0.04f, 1e-5f);
    Rest(1, 0);
    EXPECT_EQ(tip.Visible, 0);
    EXPECT_EQ(tip.FadeLevel, 0.0f);

    // Without fading the tip vanishes in the tick the pointer leaves.
    tip.Fade = 0;
    Rest(51);
    EXPECT_EQ(tip.Visible, 1);
    EXPECT_EQ(tip.FadeLevel, 0.0f);
    Rest(1, 0);
    EXPECT_EQ(tip.Visible, 0);
}

TEST_F(ToolTipTest, BoxIsPlacedBesideThePointerWithinTheScreen) {
    struct Case {
        const char* what;
        int mx, my;
        float x, y;
    };
    const Case cases[] = {
        {"below and at the pointer", 100, 100, 107.0f, 121.0f},
        {"above near the bottom", 100, 560, 107.0f, 515.0f},
        {"against the right edge, without the offset", 750, 100, 700.0f, 121.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TToolTip placed;
        placed.image = tip.image;
        placed.XOffset = 7;
        MovePointer(c.mx, c.my);
        placed.Collide(1);
        EXPECT_EQ(placed.x, c.x);
        EXPECT_EQ(placed.y, c.y);
    }

    // Placed once by default; with SetCoordsOnceOnly 0 it follows the pointer.
    MovePointer(100, 100);
    Rest(51);
    MovePointer(300, 200);
    Rest(1);
    EXPECT_EQ(tip.x, 100.0f);
    tip.SetCoordsOnceOnly = 0;
    Rest(1);
    EXPECT_EQ(tip.x, 300.0f);
    EXPECT_EQ(tip.y, 221.0f);
}

TEST_F(ToolTipTest, TextIsWrappedAndKeptWhileTheTipShows) {
    tip.TextDrawWidth = 60;
    EXPECT_EQ(tip.SetText("one two three four"), 1);
    EXPECT_GT(tip.TextWrapped.size(), 1u);
    Rest(51);
    EXPECT_EQ(tip.SetText("other"), 0);
    EXPECT_EQ(tip.Text, "one two three four");
    tip.Fade = 0;
    EXPECT_EQ(tip.SetText("other"), 1);
    EXPECT_EQ(tip.TextWrapped, TStringArray{"other"});
}

TEST_F(ToolTipTest, DrawsTheBoxAndCentredLinesAtTheFadeLevel) {
    tip.SetText("hint");
    EXPECT_EQ(tip.Draw(), 0);
    EXPECT_TRUE(platform::DrawLog().empty());

    Rest(60); // shown for 10 ticks: fade level 0.2
    ASSERT_EQ(tip.Draw(), 1);
    const auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].x, 100.0f);
    EXPECT_EQ(images[0].y, 121.0f);
    EXPECT_NEAR(images[0].alpha, 0.2f, 1e-5f);
    const auto texts = Drawn(platform::TDrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "hint");
    EXPECT_EQ(texts[0].r, 255);
    EXPECT_EQ(texts[0].b, 0);
    const float textW = static_cast<float>(platform::TextWidth("hint"));
    EXPECT_NEAR(texts[0].x + textW / 2.0f, 150.0f, 1.0f) << "centred on the box";
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
    EXPECT_EQ(ccTextAlpha, 1.0f);

    // A bitmap font draws the lines when the style has one.
    platform::ClearDrawLog();
    testing_support::TempDir fonts;
    tip.font->BitmapFont = TBitmapFont::Create(
        graphics_test::WriteFont(fonts, "letters",
                                 graphics_test::FontHeader() + graphics_test::LetterGlyphs()),
        -1);
    tip.Draw();
    EXPECT_EQ(Drawn(platform::TDrawRecord::IMAGE).size(), 1u + 4u) << "the box and four glyphs";
}

} // namespace
