#include "framework/util/numbers.h"

#include "framework/util/globals.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace {

double SinDegrees(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180.0);
}

// The parameter of the point of a segment nearest to a point, kept on the segment; a segment of
// zero length gives not-a-number, which counts as its start.
double ClampSegmentParameter(double t) {
    if (std::isnan(t))
        return 0.0;
    return std::clamp(t, 0.0, 1.0);
}

} // namespace

int ccRound(float x) {
    return platform::TruncToInt(std::floor(static_cast<double>(x) + 0.5));
}

float ccRoundFloat(float x, int places) {
    const int m = platform::TruncToInt(std::pow(10.0, places));
    const int n = platform::TruncToInt(x * static_cast<float>(m) + 0.5f);
    return static_cast<float>(n) / static_cast<float>(m);
}

int ccAlmostZero(double value, double tolerance) {
    if (value == 0.0 || (value > 0.0 && value < tolerance) || (value < 0.0 && value > -tolerance))
        return 1;
    return 0;
}

int ccCalcAnimFrame(float counter, int length, int frames, int flag) {
    const float q = counter / static_cast<float>(length);
    const float position = flag ? q * static_cast<float>(frames) : (1.0f - q) * frames;
    const int frame = platform::TruncToInt(std::floor(position));
    return frame >= frames ? frames - 1 : frame;
}

float ccCalcMSPerFrame(int fps) {
    return 1000.0f / static_cast<float>(fps);
}

float ccCalcPan(float x) {
    return (x - static_cast<float>(ScreenWidth / 2)) / static_cast<float>(ScreenWidth);
}

float ccRatioToSine180(float ratio) {
    return static_cast<float>(0.5 + SinDegrees((ratio - 0.5) * 180.0) / 2.0);
}

int ccPow2Size(int size) {
    int p = 1;
    while (p < size && p < (1 << 30))
        p <<= 1;
    return p;
}

int ccRangeCheck100(int& value) {
    value = std::clamp(value, 0, 100);
    return 0;
}

double ccPointToPointDist(double x1, double y1, double x2, double y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

int ccBezier(float x0, float y0, float x3, float y3, float cx1, float cy1, float cx2, float cy2,
             float t, float& x, float& y) {
    const float u = 1.0f - t;
    const double uu = static_cast<double>(u);
    const double tt = static_cast<double>(t);
    auto at = [&](double p0, double c1, double c2, double p3) {
        return p0 * uu * uu * uu + 3.0 * c1 * uu * uu * tt + 3.0 * c2 * uu * tt * tt +
               p3 * tt * tt * tt;
    };
    x = static_cast<float>(at(x0, cx1, cx2, x3));
    y = static_cast<float>(at(y0, cy1, cy2, y3));
    return 0;
}

int ccCircleLineIntersect(const TCircle& circle, const TLine& line) {
    const TVector d = line.GetVector();
    const TVector toCentre = TVector::CreateFromPoints(line.sx, line.sy, circle.x, circle.y);
    const double t = ClampSegmentParameter(toCentre.DotProduct(d) / d.DotProduct(d));
    const TVector nearest = TVector::Create(line.sx + t * d.x, line.sy + t * d.y);
    const TVector gap = TVector::CreateFromPoints(nearest.x, nearest.y, circle.x, circle.y);
    const double r = circle.r;
    return gap.DotProduct(gap) <= r * r ? 1 : 0;
}

int ccCircleLineIntersect2(double x1, double y1, double x2, double y2, double px, double py,
                           double r) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double t = ClampSegmentParameter(((px - x1) * dx + (py - y1) * dy) / (dx * dx + dy * dy));
    const double cx = x1 * (1.0 - t) + x2 * t;
    const double cy = y1 * (1.0 - t) + y2 * t;
    return ccPointToPointDist(px, py, cx, cy) < r ? 1 : 0;
}

int ccRectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
    // In 64 bits, so that far-off rectangles cannot overflow.
    const int64_t ax = x1, ay = y1, bx = x2, by = y2;
    if (ax >= bx + w2 || ax + w1 <= bx || ay >= by + h2 || ay + h1 <= by)
        return 0;
    return 1;
}

int ccGenericPointInQuad(int px, int py, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                         int y4) {
    const int64_t xs[4] = {x1, x2, x3, x4};
    const int64_t ys[4] = {y1, y2, y3, y4};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        const int64_t side = (py - ys[i]) * (xs[j] - xs[i]) - (px - xs[i]) * (ys[j] - ys[i]);
        if (side <= 0)
            return 0;
    }
    return 1;
}

int ccImageRectCollide(const platform::ImagePtr& image, float x, float y, int frame, float rx,
                       float ry, float rw, float rh) {
    static int tag;
    platform::ResetCollisions(0);
    platform::CollideImage(image, x, y, frame, 0, 1, &tag);
    return platform::CollideRect(rx, ry, rw, rh, 1, 0).empty() ? 0 : 1;
}

float ccGetMusicalNote(int semitones) {
    return static_cast<float>(std::pow(2.0, semitones / 12.0));
}

float ccGetMusicalNoteInScaleC(int degree) {
    // Each whole-tone step of the scale up to the degree adds one semitone to the degree count.
    static const int thresholds[] = {1, 2, 4, 5, 6, 8, 9, 11, 12, 13};
    int semitones = degree;
    for (int threshold : thresholds)
        if (degree >= threshold)
            ++semitones;
    return ccGetMusicalNote(semitones);
}

int ccFastRand(int low, int high) {
    if (high < low)
        return low;
    const int64_t range = int64_t{high} - low + 1;
    return static_cast<int>(low + std::rand() % range);
}

int ccFastRandSeed(int seed) {
    std::srand(static_cast<unsigned>(seed));
    return 0;
}

TVector ccVectorAdd(const TVector& a, const TVector& b) {
    return TVector::CreateFromVectorsAdded(a, b);
}

TVector ccVectorSubtract(const TVector& a, const TVector& b) {
    return TVector::Create(a.x - b.x, a.y - b.y);
}

TVector ccVectorMultiply(const TVector& a, float k) {
    return TVector::CreateFromVectorScaled(a, k);
}
