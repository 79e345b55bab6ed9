#include "framework/util/color.h"

#include "framework/util/drawing.h"
#include "platform/graphics.h"

#include <gtest/gtest.h>

namespace {

// Drawing state and the draw log, checked without a display.
class ColorTest : public testing::Test {
protected:
    void SetUp() override { platform::SetDrawLog(true); }
    static void ExpectState(int r, int g, int b, float alpha) {
        int cr = -1, cg = -1, cb = -1;
        platform::GetColor(cr, cg, cb);
        EXPECT_EQ(cr, r);
        EXPECT_EQ(cg, g);
        EXPECT_EQ(cb, b);
        EXPECT_FLOAT_EQ(platform::GetAlpha(), alpha);
    }
};

TEST_F(ColorTest, NewRecordsHaveTheirDefaults) {
    const TColor color;
    EXPECT_EQ(color.R + color.G + color.B, 0);
    EXPECT_EQ(color.Alpha, 1.0f);
    const TShadow shadow;
    EXPECT_EQ(shadow.X, 1.0f);
    EXPECT_EQ(shadow.Y, 1.0f);
    EXPECT_EQ(shadow.Alpha, 0.5f);
    const TBox box;
    EXPECT_FALSE(box.Color);
    EXPECT_EQ(box.Active, 1);
}

TEST_F(ColorTest, ColorApplyRestoreAndOutOfRangeValues) {
    TColorPtr color = TColor::Create(300, 20, -5, 2.0f);
    int r, g, b;
    float a;
    color->GetFull(r, g, b, a);
    EXPECT_EQ(r, 300);
    EXPECT_EQ(b, -5);
    EXPECT_EQ(a, 2.0f);

    color->Apply();
    ExpectState(300, 20, -5, 2.0f);
    color->Restore();
    ExpectState(255, 255, 255, 1.0f);

    platform::SetAlpha(0.25f);
    TColor::Create(1, 2, 3, 0.9f)->ApplyNoAlpha();
    ExpectState(1, 2, 3, 0.25f);
}

TEST_F(ColorTest, ColorsAreSharedByTheirHolders) {
    TColorPtr player = TColor::Create(0, 0, 255, 1.0f);
    TBox box = TBox::Create(1, 2, 3, 4, player);
    player->Copy(*TColor::Create(0, 255, 0, 0.5f));
    box.Draw();
    ASSERT_EQ(platform::DrawLog().size(), 1u);
    const platform::TDrawRecord& rect = platform::DrawLog()[0];
    EXPECT_EQ(rect.kind, platform::TDrawRecord::RECT);
    EXPECT_EQ(rect.g, 255);
    EXPECT_EQ(rect.b, 0);
    EXPECT_FLOAT_EQ(rect.alpha, 0.5f);
    EXPECT_EQ(rect.x, 1.0f);
    EXPECT_EQ(rect.h, 4.0f);
    ExpectState(255, 255, 255, 1.0f);
}

TEST_F(ColorTest, ShadowAppliesBlackAtItsAlphaAndSetsTheTextShadow) {
    TShadowPtr shadow = TShadow::Create(3.0f, 4.0f, 0.4f);
    shadow->Apply();
    ExpectState(0, 0, 0, 0.4f);
    shadow->Restore();
    ExpectState(255, 255, 255, 1.0f);

    shadow->ApplyToText();
    EXPECT_EQ(ccShadowTextDepthX, 3.0f);
    EXPECT_EQ(ccShadowTextDepthY, 4.0f);
    EXPECT_EQ(ccShadowTextAlpha, 0.4f);
    TShadow().ApplyToText();
    EXPECT_EQ(ccShadowTextAlpha, 0.5f);

    TShadow copy;
    copy.Copy(*shadow);
    EXPECT_EQ(copy.Y, 4.0f);
    EXPECT_TRUE(platform::DrawLog().empty());
}

TEST_F(ColorTest, BoxWithoutAColorDrawsNothing) {
    platform::SetColor(10, 20, 30);
    platform::SetAlpha(0.5f);
    TBox box = TBox::Create(0, 0, 5, 5, nullptr);
    box.Draw();
    TBox killed = TBox::Create(0, 0, 5, 5, TColor::Create(1, 1, 1, 1));
    killed.Kill();
    killed.Draw();
    EXPECT_TRUE(platform::DrawLog().empty());
    ExpectState(10, 20, 30, 0.5f);
}

TEST_F(ColorTest, CircleDrawsInItsColorOrTheCurrentOne) {
    platform::SetColor(10, 20, 30);
    platform::SetAlpha(0.5f);
    TCircle circle = TCircle::Create(10, 20, 5);
    circle.Draw();
    ExpectState(10, 20, 30, 0.5f);

    circle.Color = TColor::Create(200, 0, 0, 0.75f);
    circle.Draw();
    ExpectState(255, 255, 255, 1.0f);

    const auto& log = platform::DrawLog();
    ASSERT_EQ(log.size(), 2u);
    for (const platform::TDrawRecord& oval : log) {
        EXPECT_EQ(oval.kind, platform::TDrawRecord::OVAL);
        EXPECT_EQ(oval.x, 5.0f);
        EXPECT_EQ(oval.y, 15.0f);
        EXPECT_EQ(oval.w, 10.0f);
        EXPECT_EQ(oval.h, 10.0f);
    }
    EXPECT_EQ(log[0].r, 10);
    EXPECT_FLOAT_EQ(log[0].alpha, 0.5f);
    EXPECT_EQ(log[1].r, 200);
    EXPECT_FLOAT_EQ(log[1].alpha, 0.75f);
}

} // namespace
