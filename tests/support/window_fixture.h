#pragma once
// What the tests that draw in a real window share: one 800 by 600 window for the whole suite (the
// drawing state is put back around each test by the tests' main), and the frame read back by
// colour.

#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "tests/support/drawing_support.h"
#include "tests/support/state_reset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace testing_support {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline Rgb RgbOf(uint32_t argb) {
    return {static_cast<int>((argb >> 16) & 255), static_cast<int>((argb >> 8) & 255),
            static_cast<int>(argb & 255)};
}

// Base is the test's own fixture, when it has one.
template <class Base = ::testing::Test> class InWindow : public Base {
protected:
    static void SetUpTestSuite() {
        windowKeptForSuite = true;
        ASSERT_TRUE(platform::Graphics(800, 600, 0));
    }
    static void TearDownTestSuite() {
        platform::EndGraphics();
        windowKeptForSuite = false;
    }

    // The frame drawn so far, into `frame`.
    void Grab() { frame = platform::GrabPixmap(0, 0, 800, 600); }
    Rgb At(int x, int y) const { return At(frame, x, y); }
    static Rgb At(const platform::PixmapPtr& shot, int x, int y) {
        return RgbOf(shot->ReadPixel(x, y));
    }
    // Each channel within `tolerance` of the wanted one; where names the place.
    void ExpectNear(Rgb got, Rgb want, const std::string& where) const {
        EXPECT_LE(std::abs(got.r - want.r), tolerance) << where << " red " << got.r;
        EXPECT_LE(std::abs(got.g - want.g), tolerance) << where << " green " << got.g;
        EXPECT_LE(std::abs(got.b - want.b), tolerance) << where << " blue " << got.b;
    }

    platform::PixmapPtr frame;
    int tolerance = 3;
};

} // namespace testing_support
