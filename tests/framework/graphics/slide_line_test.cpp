#include "framework/graphics/slide_line.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;

namespace {

class SlideLineTest : public GraphicsTest {
protected:
    // Where the line's text is drawn now.
    static std::pair<float, float> DrawnAt(TSlideLine& line) {
        platform::ClearDrawLog();
        line.Draw();
        const auto texts = Draws(platform::TDrawRecord::TEXT);
        EXPECT_EQ(texts.size(), 1u);
        return texts.empty() ? std::pair{-1.0f, -1.0f} : std::pair{texts[0].x, texts[0].y};
    }
    static void Manage(TSlideLine& line, int ticks) {
        for (int i = 0; i < ticks; ++i)
            line.Manage();
    }
};

TEST_F(SlideLineTest, GlidesFromStartToEndAtConstantSpeed) {
    TSlideLine line;
    line.InitLine("credits", 0, 100, 200, 100, 1000);      // 200 ticks
    EXPECT_EQ(DrawnAt(line), (std::pair{200.0f, 100.0f})); // resting at the end before Start
    line.Start();
    const std::pair<int, float> table[] = {{0, 0.0f}, {50, 50.0f}, {100, 100.0f}, {199, 199.0f}};
    int managed = 0;
    for (const auto& [ticks, x] : table) {
        SCOPED_TRACE(ticks);
        Manage(line, ticks - managed);
        managed = ticks;
        const auto [dx, dy] = DrawnAt(line);
        EXPECT_NEAR(dx, x, 1e-3);
        EXPECT_FLOAT_EQ(dy, 100.0f);
    }
    line.Manage(); // the 200th tick ends it
    EXPECT_EQ(line.Active, 0);
    EXPECT_EQ(DrawnAt(line), (std::pair{200.0f, 100.0f}));
}

TEST_F(SlideLineTest, PhasesJumpToTheirOwnStartAndRestAtTheLastEnd) {
    TSlideLine line;
    line.InitLine("x", 0, 0, 100, 0, 500);       // 100 ticks
    line.AddPhaseSpecial(300, 300, 50, 60, 500); // starts elsewhere: a jump
    EXPECT_EQ(DrawnAt(line), (std::pair{50.0f, 60.0f}));
    line.Start();
    Manage(line, 99);
    EXPECT_NEAR(DrawnAt(line).first, 99.0f, 1e-3);
    line.Manage(); // phase 1 begins at its own start point
    EXPECT_EQ(line.CurrentPhase, 1);
    EXPECT_FLOAT_EQ(line.DX, -250.0f);
    EXPECT_FLOAT_EQ(line.DY, -240.0f);
    EXPECT_EQ(DrawnAt(line), (std::pair{300.0f, 300.0f}));
    Manage(line, 50);
    EXPECT_EQ(DrawnAt(line), (std::pair{175.0f, 180.0f}));
    Manage(line, 50);
    EXPECT_EQ(line.Active, 0);
    EXPECT_EQ(line.CurrentPhase, 0);
    EXPECT_FLOAT_EQ(line.DX, 100.0f); // phase 0's distance again
    EXPECT_EQ(DrawnAt(line), (std::pair{50.0f, 60.0f}));
}

TEST_F(SlideLineTest, PhasesBeyondTheLimitAreRefusedWithTheirPoints) {
    TSlideLine line;
    line.InitLine("x", 0, 0, 1, 1, 100);
    for (int i = 1; i < TAnimation::MAX_PHASES; ++i)
        EXPECT_EQ(line.AddPhaseSpecial(i, i, i, i, 100), 0);
    EXPECT_EQ(line.AddPhaseSpecial(-7, -7, -7, -7, 100), -1);
    EXPECT_EQ(line.TotalPhases, TAnimation::MAX_PHASES);
    EXPECT_EQ(DrawnAt(line), (std::pair{49.0f, 49.0f}));
}

TEST_F(SlideLineTest, AListSharesOneColourAndLeavesWhite) {
    TSlideLineList list;
    // An empty list only sets the colour white.
    platform::SetColor(1, 2, 3);
    platform::SetAlpha(0.25f);
    list.Draw();
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ((std::array{r, g, b}), (std::array{255, 255, 255}));
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.25f);

    auto first = list.Add("one", 0, 0, 100, 0, 500);
    auto second = list.Add("two", 0, 50, 100, 50, 1000);
    EXPECT_EQ(first->Color, list.Color);
    list.Color->Set(255, 0, 0, 0.5f); // recolours every line
    list.Start();
    for (int i = 0; i < 50; ++i)
        list.Manage();
    platform::ClearDrawLog();
    list.Draw();
    const auto texts = Draws(platform::TDrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 2u);
    for (const auto& t : texts) {
        EXPECT_EQ((std::array{t.r, t.g, t.b}), (std::array{255, 0, 0}));
        EXPECT_FLOAT_EQ(t.alpha, 0.5f);
    }
    EXPECT_NEAR(texts[0].x, 50.0f, 1e-3);
    EXPECT_NEAR(texts[1].x, 25.0f, 1e-3);
    EXPECT_EQ(texts[1].text, "two");
    platform::GetColor(r, g, b);
    EXPECT_EQ((std::array{r, g, b}), (std::array{255, 255, 255}));
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 1.0f);
    EXPECT_EQ(second->Active, 1);
}

} // namespace
