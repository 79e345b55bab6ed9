#include "framework/util/vector.h"

#include "framework/util/globals.h"
#include "platform/graphics.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void ExpectVector(const TVector& v, double x, double y) {
    EXPECT_NEAR(v.x, x, 1e-6);
    EXPECT_NEAR(v.y, y, 1e-6);
}

TEST(Vector, CreatorsAndArithmetic) {
    const TVector v = TVector::CreateFromPoints(1, 2, 4, 6);
    ExpectVector(v, 3, 4);
    EXPECT_DOUBLE_EQ(v.CalcLength(), 5.0);
    ExpectVector(v.CalcNormal(), -4, 3);
    EXPECT_DOUBLE_EQ(v.CalcSlope(), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(v.DotProduct(TVector::Create(2, -1)), 2.0);

    const TVector a = TVector::Create(1, 1);
    const TVector b = TVector::Create(4, 5);
    ExpectVector(TVector::CreateFromVectorsAdded(a, b), 5, 6);
    ExpectVector(TVector::CreateFromVectorsSubtracted(a, b), 3, 4);
    ExpectVector(TVector::CreateFromVectorScaled(b, -2), -8, -10);

    TVector w = a.CreateCopy();
    w.AddVector(b);
    w.SubtractVector(TVector::Create(1, 0));
    ExpectVector(w, 4, 6);
    w.Scale(0.5);
    w.Reverse();
    ExpectVector(w, -2, -3);
    w.Multiply(2);
    w.CopyFrom(v);
    w.Normalise();
    ExpectVector(w, 0.6, 0.8);
    EXPECT_TRUE(std::isinf(TVector::Create(1, 0).CalcNormal().CalcSlope()));
}

TEST(Vector, ReboundReflectsOffTheSurfaceDirection) {
    for (double length : {1.0, 5.0, 0.1}) {
        TVector v = TVector::Create(1, 1);
        v.Rebound(TVector::Create(length, 0));
        ExpectVector(v, 1, -1);
    }
    TVector v = TVector::Create(2, 0);
    v.Rebound(TVector::Create(0, 3));
    ExpectVector(v, -2, 0);
}

TEST(Vector, RotateTurnsClockwiseOnScreen) {
    TVector v = TVector::Create(1, 0);
    v.Rotate(90);
    ExpectVector(v, 0, 1);
    v.Rotate(-180);
    ExpectVector(v, 0, -1);
    // The new x passes through single precision.
    TVector p = TVector::Create(0.1, 0);
    p.Rotate(0);
    EXPECT_EQ(p.x, static_cast<double>(0.1f));
    EXPECT_EQ(p.y, 0.0);
}

TEST(Vector, DrawAndLineDraw) {
    platform::SetDrawLog(true);
    platform::ClearDrawLog();
    platform::SetColor(9, 9, 9);
    TVector::Create(3, 4).Draw(10, 20, 1);
    TLine line = TLine::Create(0, 0, 5, 6);
    line.Draw(0);
    line.Color = TColor::Create(200, 100, 0, 0.5f);
    line.Draw(1);
    const auto& log = platform::DrawLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, platform::TDrawRecord::LINE);
    EXPECT_EQ(log[0].x, 10.0f);
    EXPECT_EQ(log[0].y, 20.0f);
    EXPECT_EQ(log[0].w, 13.0f);
    EXPECT_EQ(log[0].h, 24.0f);
    EXPECT_EQ(log[1].r, 9);
    EXPECT_EQ(log[2].r, 200);
    EXPECT_FLOAT_EQ(log[2].alpha, 0.5f);
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
    platform::SetDrawLog(false);
}

TEST(Line, LengthIsACacheAndVectorsConvert) {
    TLine line = TLine::Create(0, 0, 3, 4);
    EXPECT_EQ(line.length, 0.0);
    EXPECT_FALSE(line.Color);
    EXPECT_EQ(line.CalcLength(), 0);
    EXPECT_DOUBLE_EQ(line.length, 5.0);
    EXPECT_DOUBLE_EQ(line.CalcSlope(), 4.0 / 3.0);

    const TLine fromTo = TLine::Create(1, 1, 4, 5);
    const TVector v = fromTo.GetVector();
    ExpectVector(v, 3, 4);
    line.SetFromVector(v, 10, 10);
    EXPECT_EQ(line.sx, 10);
    EXPECT_EQ(line.sy, 10);
    EXPECT_EQ(line.ex, 13);
    EXPECT_EQ(line.ey, 14);
    EXPECT_DOUBLE_EQ(line.length, 5.0);

    const TLine made = TLine::CreateFromVector(2, 3, v);
    EXPECT_EQ(made.ex, 5);
    EXPECT_EQ(made.ey, 7);
    EXPECT_EQ(made.length, 0.0);
}

TEST(SineCounter, AdvancesByDeltaAndWrapsOnce) {
    const float savedDelta = Delta;
    Delta = 1.0f;
    TSineCounter counter;
    counter.ratio = 0.25f;
    counter.Init(0, 360, 90);
    EXPECT_EQ(counter.ratio, 0.25f);
    counter.Manage();
    EXPECT_EQ(counter.Counter, 90.0f);
    EXPECT_NEAR(counter.ratio, 1.0f, 1e-6);
    for (int i = 0; i < 3; ++i)
        counter.Manage();
    EXPECT_EQ(counter.Counter, 0.0f);
    EXPECT_NEAR(counter.ratio, 0.0f, 1e-6);

    TSineCounter fresh;
    Delta = 0.5f;
    fresh.Manage();
    EXPECT_EQ(fresh.Counter, 0.5f);

    // Backwards through the lower bound; a step wider than the range wraps only once.
    TSineCounter back;
    back.Init(0, 360, -30);
    Delta = 1.0f;
    back.Manage();
    EXPECT_EQ(back.Counter, 330.0f);
    back.Init(0, 360, 1000);
    back.Manage();
    EXPECT_EQ(back.Counter, 640.0f);
    back.Manage();
    EXPECT_EQ(back.Counter, 1280.0f);
    Delta = savedDelta;
}

} // namespace
