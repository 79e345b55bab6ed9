// Collision layers: footprints of drawn images and rectangles. Two footprints are first tested as
// convex quads by separating axes (for an image the box of its opaque pixels as drawn), then,
// when an image is involved, pixel by pixel at the pixel centres where the quads meet.
#include "platform/draw_internal.h"
#include "platform/graphics.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

namespace {

constexpr int LAYERS = 32;
// Layers grow until reset; a program that never resets them stops writing past this.
constexpr size_t LAYER_LIMIT = 16384;

struct Footprint {
    std::array<float, 4> xs, ys; // the quad, in drawing order
    void* id;
    // An image's footprint: its frame, and where the frame's pixel grid lies on the screen (the
    // corner of pixel (0, 0) and the transform).
    PixmapPtr pixels;
    float x0 = 0, y0 = 0, ix = 1, iy = 0, jx = 0, jy = 1;
};

std::array<std::vector<Footprint>, LAYERS> layers;

// True when the projections of both quads on the normal of a's edge i are apart.
bool Separated(const Footprint& a, const Footprint& b, int i) {
    const int j = (i + 1) % 4;
    const float nx = a.ys[j] - a.ys[i], ny = a.xs[i] - a.xs[j];
    if (nx == 0 && ny == 0)
        return false;
    float minA = INFINITY, maxA = -INFINITY, minB = INFINITY, maxB = -INFINITY;
    for (int k = 0; k < 4; ++k) {
        const float pa = a.xs[k] * nx + a.ys[k] * ny, pb = b.xs[k] * nx + b.ys[k] * ny;
        minA = std::min(minA, pa);
        maxA = std::max(maxA, pa);
        minB = std::min(minB, pb);
        maxB = std::max(maxB, pb);
    }
    // Touching edges do not collide.
    return maxA <= minB || maxB <= minA;
}

bool QuadsOverlap(const Footprint& a, const Footprint& b) {
    for (int i = 0; i < 4; ++i)
        if (Separated(a, b, i) || Separated(b, a, i))
            return false;
    return true;
}

// Whether the footprint covers the screen point: inside the quad, and for an image on an opaque
// pixel of its frame.
bool Covers(const Footprint& f, float px, float py) {
    if (!f.pixels) {
        float sign = 0;
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            const float cross =
                (f.xs[j] - f.xs[i]) * (py - f.ys[i]) - (f.ys[j] - f.ys[i]) * (px - f.xs[i]);
            if (cross == 0)
                continue;
            if (sign == 0)
                sign = cross;
            else if ((cross > 0) != (sign > 0))
                return false;
        }
        return true;
    }
    const float det = f.ix * f.jy - f.iy * f.jx;
    if (det == 0)
        return false;
    const float dx = px - f.x0, dy = py - f.y0;
    const float u = (dx * f.jy - dy * f.iy) / det, v = (dy * f.ix - dx * f.jx) / det;
    if (!(u >= 0 && v >= 0 && u < f.pixels->Width() && v < f.pixels->Height()))
        return false;
    return f.pixels->PixelPtr(static_cast<int>(u), static_cast<int>(v))[3] != 0;
}

// Quads that overlap collide when some pixel centre in both is covered by both.
bool Overlap(const Footprint& a, const Footprint& b) {
    if (!QuadsOverlap(a, b))
        return false;
    if (!a.pixels && !b.pixels)
        return true;
    const auto [aMinX, aMaxX] = std::minmax_element(a.xs.begin(), a.xs.end());
    const auto [aMinY, aMaxY] = std::minmax_element(a.ys.begin(), a.ys.end());
    const auto [bMinX, bMaxX] = std::minmax_element(b.xs.begin(), b.xs.end());
    const auto [bMinY, bMaxY] = std::minmax_element(b.ys.begin(), b.ys.end());
    // The screen is far smaller than these bounds: they only keep the loop finite.
    const float left = std::max({*aMinX, *bMinX, -65536.0f});
    const float right = std::min({*aMaxX, *bMaxX, 65536.0f});
    const float top = std::max({*aMinY, *bMinY, -65536.0f});
    const float bottom = std::min({*aMaxY, *bMaxY, 65536.0f});
    for (float y = std::floor(top) + 0.5f; y < bottom; y += 1.0f)
        for (float x = std::floor(left) + 0.5f; x < right; x += 1.0f)
            if (Covers(a, x, y) && Covers(b, x, y))
                return true;
    return false;
}

std::vector<void*> Collide(const Footprint& f, int collideMask, int writeMask) {
    std::vector<void*> hits;
    for (int layer = 0; layer < LAYERS; ++layer) {
        if (!(static_cast<unsigned>(collideMask) & (1u << layer)))
            continue;
        for (const Footprint& other : layers[layer])
            if (Overlap(f, other) && std::find(hits.begin(), hits.end(), other.id) == hits.end())
                hits.push_back(other.id);
    }
    for (int layer = 0; layer < LAYERS; ++layer)
        if ((static_cast<unsigned>(writeMask) & (1u << layer)) &&
            layers[layer].size() < LAYER_LIMIT)
            layers[layer].push_back(f);
    return hits;
}

// The box of the frame's pixels that are not fully transparent; false when there are none.
bool OpaqueBounds(const TPixmap& pixels, int& x0, int& y0, int& x1, int& y1) {
    x0 = pixels.Width();
    y0 = pixels.Height();
    x1 = y1 = 0;
    for (int y = 0; y < pixels.Height(); ++y) {
        const uint8_t* p = pixels.PixelPtr(0, y);
        for (int x = 0; x < pixels.Width(); ++x)
            if (p[x * 4 + 3] != 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x + 1);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y + 1);
            }
    }
    return x1 > x0 && y1 > y0;
}

} // namespace

void ResetCollisions(int mask) {
    for (int layer = 0; layer < LAYERS; ++layer)
        if (mask == 0 || (static_cast<unsigned>(mask) & (1u << layer)))
            layers[layer].clear();
}

std::vector<void*> CollideImage(const ImagePtr& image, float x, float y, int frame, int collideMask,
                                int writeMask, void* id) {
    const PixmapPtr pixels = image ? image->Frame(frame) : nullptr;
    int bx0, by0, bx1, by1;
    if (!pixels || !OpaqueBounds(*pixels, bx0, by0, bx1, by1))
        return {};
    const float l = bx0 - image->handleX, t = by0 - image->handleY;
    const float r = bx1 - image->handleX, b = by1 - image->handleY;
    const float u[4] = {l, r, r, l}, v[4] = {t, t, b, b};
    Footprint f{{}, {}, id, pixels};
    for (int i = 0; i < 4; ++i)
        detail::Place(u[i], v[i], x, y, f.xs[i], f.ys[i]);
    detail::Place(-image->handleX, -image->handleY, x, y, f.x0, f.y0);
    GetTransform(f.ix, f.iy, f.jx, f.jy);
    return Collide(f, collideMask, writeMask);
}

std::vector<void*> CollideRect(float x, float y, float w, float h, int collideMask, int writeMask,
                               void* id) {
    Footprint f{{x, x + w, x + w, x}, {y, y, y + h, y + h}, id, nullptr};
    return Collide(f, collideMask, writeMask);
}

} // namespace platform
