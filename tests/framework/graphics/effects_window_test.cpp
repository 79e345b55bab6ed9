// The cross-fade, the loading bar and a slide show frame in a real window: the frame is read back
// where blending, cutting and dimming decide the colour.

#include "framework/graphics/cross_fade.h"
#include "framework/graphics/slide_show.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/loading_screen.h"
#include "framework/util/drawing.h"
#include "platform/graphics.h"
#include "tests/support/drawing_support.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using testing_support::Filled;
using testing_support::Rgb;

class EffectsInWindow : public testing_support::InWindow<> {
protected:
    void SetUp() override {
        InWindow::SetUp();
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS();
        ccClsNoFlip(0, 0, 0);
    }
    static platform::ImagePtr Picture(int w, int h, uint32_t argb) {
        return platform::MakeImage({Filled(w, h, argb)}, 0);
    }
    // Each point of the frame against its colour.
    void Expect(const std::vector<std::pair<std::array<int, 2>, Rgb>>& points) {
        Grab();
        for (const auto& [at, rgb] : points)
            ExpectNear(At(at[0], at[1]), rgb,
                       "at " + std::to_string(at[0]) + "," + std::to_string(at[1]));
    }
};

TEST_F(EffectsInWindow, HalfwayThroughACrossFadeBothPicturesShow) {
    auto fade = TCrossFade::Create(Picture(100, 100, 0xFFFF0000), Picture(50, 50, 0xFF0000FF), 500);
    fade->X1 = 100;
    fade->Y1 = 100;
    fade->X2 = 150;
    fade->Y2 = 150;
    for (int i = 0; i < 50; ++i)
        fade->Manage();
    fade->Draw();
    Expect({{{120, 120}, {255, 0, 0}},   // the first picture alone
            {{175, 175}, {128, 0, 127}}, // half of each
            {{99, 99}, {0, 0, 0}}});
}

TEST_F(EffectsInWindow, TheLoadingBarFillsItsBoxFromTheLeft) {
    TLoadingBar bar;
    bar.Init(Picture(200, 20, 0xFF00FF00), nullptr, nullptr);
    bar.Centre(500); // x 300..499
    bar.SetBorderColour(255, 255, 255);
    bar.SetSteps(8);
    for (int i = 0; i < 3; ++i)
        bar.Progress(); // 75 pixels
    bar.Draw();
    Expect({{{310, 510}, {0, 255, 0}},     // filled
            {{374, 510}, {0, 255, 0}},     // the last filled column
            {{376, 510}, {50, 50, 50}},    // the box beyond
            {{499, 510}, {255, 255, 255}}, // the outline's right edge
            {{450, 519}, {255, 255, 255}}, // and its bottom
            {{450, 521}, {0, 0, 0}}});
}

TEST_F(EffectsInWindow, ASlideFadingInUnderLetterboxBars) {
    TSlideShow show;
    auto slide =
        TSlide::Create("", -1, 1, TTransitionEffect::Create(TTransitionEffect::FADE_IN, 500),
                       nullptr, nullptr, "");
    slide->Image = std::make_shared<TGameImage>();
    slide->Image->image = Picture(800, 600, 0xFFC8C8C8);
    slide->Image->MidHandle(1);
    slide->CentreCoords();
    show.push_back(slide);
    show.LetterBoxHeight = 400; // bars of 100
    for (int i = 0; i < 50; ++i)
        show.Manage();
    EXPECT_EQ(show.Draw(), 1);
    Expect({{{400, 300}, {100, 100, 100}}, // half dimmed
            {{400, 50}, {0, 0, 0}},        // the top bar
            {{400, 101}, {100, 100, 100}},
            {{400, 550}, {0, 0, 0}}});
}

} // namespace
