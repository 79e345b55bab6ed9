// Frame benchmark: time to first frame, and the frame time of 0, 100 and 500 textured, rotated,
// alpha-blended sprites against a bare clear-and-flip, on the offscreen video driver (unless
// SDL_VIDEODRIVER says otherwise) with flips that do not wait.
#include "platform/graphics.h"
#include "platform/system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace platform;

constexpr int WARM_UP = 30;
constexpr int FRAMES = 400;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A 32 x 32 sprite: a disc fading out towards its edge.
ImagePtr MakeSprite() {
    PixmapPtr p = CreatePixmap(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x - 15.5, dy = y - 15.5;
            const double d = std::min(1.0, (dx * dx + dy * dy) / (16.0 * 16.0));
            const auto a = static_cast<uint32_t>(255 * (1 - d));
            p->WritePixel(x, y, a << 24 | 0x00FFC080u);
        }
    return LoadImage(p, FILTEREDIMAGE);
}

struct Sprite {
    float x, y, angle, speed;
};

struct Result {
    std::string name;
    double mean, p95, drawCalls;
};

template <typename DrawFrame> Result Measure(const std::string& name, DrawFrame draw) {
    for (int i = 0; i < WARM_UP; ++i) {
        draw(i);
        Flip(0);
    }
    std::vector<double> times;
    times.reserve(FRAMES);
    const int64_t calls = DrawCallCount();
    for (int i = 0; i < FRAMES; ++i) {
        const Clock::time_point start = Clock::now();
        draw(i);
        Flip(0);
        times.push_back(Ms(Clock::now() - start));
    }
    const double drawCalls = static_cast<double>(DrawCallCount() - calls) / FRAMES;
    double sum = 0;
    for (double t : times)
        sum += t;
    std::sort(times.begin(), times.end());
    const double p95 = times[static_cast<size_t>(times.size() * 95 / 100)];
    return {name, sum / FRAMES, p95, drawCalls};
}

} // namespace

int main() {
    const Clock::time_point start = Clock::now();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    if (!Graphics(800, 600, 0)) {
        std::fprintf(stderr, "frame_bench: no display could be opened\n");
        return 1;
    }
    const ImagePtr sprite = MakeSprite();
    MidHandleImage(sprite);
    Cls();
    DrawImage(sprite, 400, 300);
    Flip(0);
    const double firstFrame = Ms(Clock::now() - start);

    std::printf("GL_RENDERER: %s\n", GraphicsRenderer().c_str());
    std::printf("video driver: %s\n", std::getenv("SDL_VIDEODRIVER"));
    std::printf("time to first frame: %.1f ms\n", firstFrame);

    std::mt19937 rng(1234);
    auto rnd = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng);
    };
    std::vector<Sprite> sprites(500);
    for (Sprite& s : sprites)
        s = {rnd(0, 800), rnd(0, 600), rnd(0, 360), rnd(-3, 3)};

    std::vector<Result> results;
    results.push_back(Measure("clear + flip", [](int) { Cls(); }));
    for (int count : {0, 100, 500}) {
        results.push_back(Measure(std::to_string(count) + " sprites", [&, count](int frame) {
            Cls();
            SetBlend(ALPHABLEND);
            for (int i = 0; i < count; ++i) {
                const Sprite& s = sprites[static_cast<size_t>(i)];
                SetRotation(s.angle + s.speed * static_cast<float>(frame));
                SetAlpha(0.5f + 0.5f * static_cast<float>(i % 2));
                DrawImage(sprite, s.x, s.y);
            }
            SetRotation(0);
            SetAlpha(1);
        }));
    }

    std::printf("%-14s %10s %10s %12s\n", "scene", "mean ms", "p95 ms", "draw calls");
    for (const Result& r : results)
        std::printf("%-14s %10.3f %10.3f %12.1f\n", r.name.c_str(), r.mean, r.p95, r.drawCalls);
    EndGraphics();
    return 0;
}
