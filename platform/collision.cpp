// Collision layers: footprints of drawn images and rectangles, tested as convex quads (the opaque
// bounds of a frame under the current rotation and scale) by separating axes.
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
    std::array<float, 4> xs, ys;
    void* id;
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

bool Overlap(const Footprint& a, const Footprint& b) {
    for (int i = 0; i < 4; ++i)
        if (Separated(a, b, i) || Separated(b, a, i))
            return false;
    return true;
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
    Footprint f{{}, {}, id};
    for (int i = 0; i < 4; ++i)
        detail::Place(u[i], v[i], x, y, f.xs[i], f.ys[i]);
    return Collide(f, collideMask, writeMask);
}

std::vector<void*> CollideRect(float x, float y, float w, float h, int collideMask, int writeMask,
                               void* id) {
    Footprint f{{x, x + w, x + w, x}, {y, y, y + h, y + h}, id};
    return Collide(f, collideMask, writeMask);
}

} // namespace platform
