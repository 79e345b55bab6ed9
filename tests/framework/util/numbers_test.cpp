#include "framework/util/numbers.h"

#include "framework/util/globals.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(Numbers, Rounding) {
    struct Case {
        float x;
        int expected;
    } rounds[] = {{0.5f, 1},    {-0.5f, 0}, {1.49f, 1},       {2.5f, 3}, {-2.5f, -2},
                  {-2.51f, -3}, {0.0f, 0},  {1e10f, INT_MAX}, {NAN, 0}};
    for (const Case& c : rounds)
        EXPECT_EQ(ccRound(c.x), c.expected) << c.x;

    EXPECT_NEAR(ccRoundFloat(1.25f, 1), 1.3f, 1e-6);
    EXPECT_NEAR(ccRoundFloat(-1.26f, 1), -1.2f, 1e-6);
    EXPECT_NEAR(ccRoundFloat(3.14159f, 2), 3.14f, 1e-6);
    EXPECT_EQ(ccRoundFloat(7.6f, 0), 8.0f);
}

TEST(Numbers, AlmostZeroAndRangeCheck) {
    EXPECT_EQ(ccAlmostZero(0.0, 0.0), 1);
    EXPECT_EQ(ccAlmostZero(0.001, 0.01), 1);
    EXPECT_EQ(ccAlmostZero(-0.001, 0.01), 1);
    EXPECT_EQ(ccAlmostZero(0.01, 0.01), 0);
    EXPECT_EQ(ccAlmostZero(0.001, -1.0), 0);

    struct Case {
        int value, expected;
    } cases[] = {{-5, 0}, {130, 100}, {55, 55}, {0, 0}, {100, 100}, {INT_MIN, 0}};
    for (const Case& c : cases) {
        int v = c.value;
        EXPECT_EQ(ccRangeCheck100(v), 0);
        EXPECT_EQ(v, c.expected);
    }
}

TEST(Numbers, AnimationFramesAndTiming) {
    struct Case {
        float counter;
        int length, frames, flag, expected;
    } cases[] = {
        {10, 10, 8, 1, 7}, {0, 10, 8, 0, 7},    {0, 10, 8, 1, 0},  {5, 10, 8, 1, 4},
        {5, 10, 8, 0, 4},  {9.9f, 10, 8, 0, 0}, {20, 10, 8, 1, 7}, {-5, 10, 8, 1, -4},
        {1, 0, 8, 1, 7}, // a length of 0 is the caller's error; it must not crash
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccCalcAnimFrame(c.counter, c.length, c.frames, c.flag), c.expected)
            << c.counter << "/" << c.length << " flag " << c.flag;

    EXPECT_FLOAT_EQ(ccCalcMSPerFrame(200), 5.0f);
    EXPECT_FLOAT_EQ(ccCalcPan(0), -0.5f);
    EXPECT_FLOAT_EQ(ccCalcPan(400), 0.0f);
    EXPECT_LT(ccCalcPan(799), 0.5f);
    EXPECT_NEAR(ccRatioToSine180(0.0f), 0.0f, 1e-6);
    EXPECT_NEAR(ccRatioToSine180(0.5f), 0.5f, 1e-6);
    EXPECT_NEAR(ccRatioToSine180(1.0f), 1.0f, 1e-6);
    EXPECT_NEAR(ccRatioToSine180(0.25f), 0.5f - std::sqrt(0.5f) / 2, 1e-6);
}

TEST(Numbers, PowerOfTwoSizes) {
    struct Case {
        int size, expected;
    } cases[] = {{0, 1},
                 {1, 1},
                 {-7, 1},
                 {5, 8},
                 {64, 64},
                 {640, 1024},
                 {512, 512},
                 {1 << 30, 1 << 30},
                 {INT_MAX, 1 << 30}};
    for (const Case& c : cases)
        EXPECT_EQ(ccPow2Size(c.size), c.expected) << c.size;
}

TEST(Geometry, DistanceAndBezier) {
    EXPECT_DOUBLE_EQ(ccPointToPointDist(1, 2, 4, 6), 5.0);
    float x = 0, y = 0;
    // Start, end, then the two control points.
    ccBezier(0, 0, 10, 20, 0, 10, 10, 20, 0.0f, x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    ccBezier(0, 0, 10, 20, 0, 10, 10, 20, 1.0f, x, y);
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(y, 20.0f);
    ccBezier(0, 0, 8, 0, 0, 8, 8, 8, 0.5f, x, y);
    EXPECT_FLOAT_EQ(x, 4.0f);
    EXPECT_FLOAT_EQ(y, 6.0f);
}

TEST(Geometry, CircleAgainstSegment) {
    TCircle circle = TCircle::Create(0, 5, 5);
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(-10, 0, 10, 0)), 1);
    EXPECT_EQ(ccCircleLineIntersect2(-10, 0, 10, 0, 0, 5, 5), 0);
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(-10, -1, 10, -1)), 0);
    EXPECT_EQ(ccCircleLineIntersect2(-10, 1, 10, 1, 0, 5, 5), 1);
    // Beyond the segment's end the end point is nearest.
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(-20, 5, -6, 5)), 0);
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(-20, 5, -5, 5)), 1);
    // A segment of zero length is its start point.
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(3, 5, 3, 5)), 1);
    EXPECT_EQ(ccCircleLineIntersect(circle, TLine::Create(6, 5, 6, 5)), 0);
    EXPECT_EQ(ccCircleLineIntersect2(3, 5, 3, 5, 0, 5, 5), 1);
    EXPECT_EQ(ccCircleLineIntersect2(5, 5, 5, 5, 0, 5, 5), 0);
}

TEST(Geometry, RectanglesAndQuads) {
    EXPECT_EQ(ccRectsOverlap(0, 0, 10, 10, 10, 0, 10, 10), 0);
    EXPECT_EQ(ccRectsOverlap(0, 0, 10, 10, 9, 9, 10, 10), 1);
    EXPECT_EQ(ccRectsOverlap(0, 0, 10, 10, 0, -10, 10, 10), 0);
    EXPECT_EQ(ccRectsOverlap(INT_MAX, 0, 10, 10, INT_MAX - 5, 0, INT_MAX, 10), 1);

    EXPECT_EQ(ccGenericPointInQuad(5, 5, 0, 0, 10, 0, 10, 10, 0, 10), 1);
    EXPECT_EQ(ccGenericPointInQuad(5, 5, 0, 10, 10, 10, 10, 0, 0, 0), 0);
    EXPECT_EQ(ccGenericPointInQuad(0, 5, 0, 0, 10, 0, 10, 10, 0, 10), 0); // on an edge
    EXPECT_EQ(ccGenericPointInQuad(11, 5, 0, 0, 10, 0, 10, 10, 0, 10), 0);
    // A rotated quadrilateral.
    EXPECT_EQ(ccGenericPointInQuad(10, 10, 10, 0, 20, 10, 10, 20, 0, 10), 1);
    EXPECT_EQ(ccGenericPointInQuad(2, 2, 10, 0, 20, 10, 10, 20, 0, 10), 0);
}

TEST(Geometry, ImageAgainstRectangle) {
    // An 8 by 8 picture whose left half is opaque.
    platform::PixmapPtr pixels = platform::CreatePixmap(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            pixels->WritePixel(x, y, 0xFFFF0000u);
    platform::ImagePtr image = platform::MakeImage({pixels}, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(ccImageRectCollide(image, 10, 10, 0, 11, 11, 2, 2), 1);
    EXPECT_EQ(ccImageRectCollide(image, 10, 10, 0, 15, 11, 2, 2), 0); // the transparent half
    EXPECT_EQ(ccImageRectCollide(image, 10, 10, 0, 30, 30, 5, 5), 0);
    EXPECT_EQ(ccImageRectCollide(image, 100, 100, 0, 99, 99, 2, 2), 1);
}

TEST(Numbers, MusicalNotes) {
    EXPECT_FLOAT_EQ(ccGetMusicalNote(12), 2.0f);
    EXPECT_FLOAT_EQ(ccGetMusicalNote(-12), 0.5f);
    const int steps[] = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21, 23, 24};
    for (int degree = 0; degree <= 14; ++degree)
        EXPECT_FLOAT_EQ(ccGetMusicalNoteInScaleC(degree), ccGetMusicalNote(steps[degree]))
            << degree;
    EXPECT_FLOAT_EQ(ccGetMusicalNoteInScaleC(7), 2.0f);
    EXPECT_FLOAT_EQ(ccGetMusicalNoteInScaleC(-3), ccGetMusicalNote(-3));
    EXPECT_FLOAT_EQ(ccGetMusicalNoteInScaleC(15), ccGetMusicalNote(25));
}

TEST(Numbers, FastRandStaysInRangeAndRepeatsWithItsSeed) {
    ccFastRandSeed(42);
    int first[20];
    for (int& v : first) {
        v = ccFastRand(3, 6);
        EXPECT_GE(v, 3);
        EXPECT_LE(v, 6);
    }
    ccFastRandSeed(42);
    for (int v : first)
        EXPECT_EQ(ccFastRand(3, 6), v);
    EXPECT_EQ(ccFastRand(5, 5), 5);
    EXPECT_EQ(ccFastRand(7, 2), 7); // an empty range is the caller's error
    // The widest range must not overflow (the sanitizer build checks it).
    const int wide = ccFastRand(INT_MIN, INT_MAX);
    (void)wide;
}

TEST(Numbers, VectorConveniences) {
    const TVector a = TVector::Create(5, 7);
    const TVector b = TVector::Create(2, 3);
    const TVector sum = ccVectorAdd(a, b);
    const TVector difference = ccVectorSubtract(a, b);
    const TVector scaled = ccVectorMultiply(a, 0.5f);
    EXPECT_EQ(sum.x, 7);
    EXPECT_EQ(sum.y, 10);
    EXPECT_EQ(difference.x, 3);
    EXPECT_EQ(difference.y, 4);
    EXPECT_EQ(TVector::CreateFromVectorsSubtracted(a, b).x, -3);
    EXPECT_EQ(scaled.x, 2.5);
    EXPECT_EQ(scaled.y, 3.5);
    EXPECT_EQ(a.x, 5);
}

} // namespace
