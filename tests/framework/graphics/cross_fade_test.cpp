#include "framework/graphics/cross_fade.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

class CrossFadeTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        a = MemoryImage(16, 16)->image;
        b = MemoryImage(16, 16)->image;
    }
    // Draws the fade and returns the two image draws it made.
    std::vector<platform::TDrawRecord> DrawOnce(TCrossFade& fade) {
        platform::ClearDrawLog();
        fade.Draw();
        return ImageDraws();
    }
    platform::ImagePtr a, b;
};

TEST_F(CrossFadeTest, TheSecondPictureRisesFromNothingToFull) {
    auto fade = TCrossFade::Create(a, b, 500); // 100 ticks
    fade->X1 = 10;
    fade->Y1 = 20;
    fade->X2 = 30;
    fade->Y2 = 40;
    struct Step {
        int ticks; // managed so far
        float alpha;
    };
    const Step steps[] = {{0, 0.0f}, {50, 0.5f}, {99, 0.99f}, {100, 1.0f}, {150, 1.0f}};
    int managed = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.ticks);
        for (; managed < s.ticks; ++managed)
            fade->Manage();
        const auto draws = DrawOnce(*fade);
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0].image, a.get());
        EXPECT_EQ(draws[0].blend, platform::SOLIDBLEND);
        EXPECT_FLOAT_EQ(draws[0].x, 10);
        EXPECT_FLOAT_EQ(draws[0].y, 20);
        EXPECT_EQ(draws[1].image, b.get());
        EXPECT_EQ(draws[1].blend, platform::ALPHABLEND);
        EXPECT_NEAR(draws[1].alpha, s.alpha, 1e-5);
        EXPECT_FLOAT_EQ(draws[1].x, 30);
        EXPECT_FLOAT_EQ(draws[1].y, 40);
        // The resting state afterwards.
        EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);
        EXPECT_FLOAT_EQ(platform::GetAlpha(), 1.0f);
    }
}

TEST_F(CrossFadeTest, ZeroLengthShowsTheSecondPictureAndInitRestarts) {
    auto fade = TCrossFade::Create(a, b, 0);
    EXPECT_FLOAT_EQ(DrawOnce(*fade)[1].alpha, 1.0f);
    fade->Manage();
    EXPECT_FLOAT_EQ(DrawOnce(*fade)[1].alpha, 1.0f);

    // A new cross-fade on the same object starts from nothing again, the other way round.
    fade->Init(b, a, 100);
    const auto draws = DrawOnce(*fade);
    EXPECT_EQ(draws[0].image, b.get());
    EXPECT_FLOAT_EQ(draws[1].alpha, 0.0f);
}

TEST_F(CrossFadeTest, MissingPicturesAreNotDrawn) {
    TCrossFade idle; // never initialised
    EXPECT_TRUE(DrawOnce(idle).empty());
    idle.Manage();
    auto fade = TCrossFade::Create(nullptr, b, 500);
    const auto draws = DrawOnce(*fade);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].image, b.get());
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 1.0f);
}

} // namespace
