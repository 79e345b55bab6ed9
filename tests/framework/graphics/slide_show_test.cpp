#include "framework/graphics/slide_show.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

using Effect = TTransitionEffect;

class SlideShowTest : public GraphicsTest {
protected:
    // A slide of a picture made in memory, centred, with the given phases.
    static TSlidePtr Slide(const TTransitionEffectPtr& in, const TTransitionEffectPtr& hold,
                           const TTransitionEffectPtr& out) {
        TSlidePtr slide = TSlide::Create("", -1, 1, in, hold, out, "unused");
        slide->Image = MemoryImage(80, 60);
        slide->Image->MidHandle(1);
        slide->CentreCoords();
        return slide;
    }
    static TTransitionEffectPtr Phase(int type, int ms) { return Effect::Create(type, ms); }
    // The number of the Manage call on which the slide ended (limit + 1 when it did not).
    static int TicksToEnd(TSlide& slide, int limit = 2000) {
        for (int tick = 1; tick <= limit; ++tick)
            if (slide.Manage() == 1)
                return tick;
        return limit + 1;
    }
    // Draws the slide; the rectangles drawn (the dimming and bars).
    static std::vector<platform::TDrawRecord> DrawRects(TSlide& slide) {
        platform::ClearDrawLog();
        slide.Draw();
        return Draws(platform::TDrawRecord::RECT);
    }
};

TEST_F(SlideShowTest, PhasesRunInOrderAndEndOnTheirLastTick) {
    struct Case {
        std::string what;
        int in, hold, out;     // ms, 0 = no such phase
        int endTick;           // the Manage call that returns 1
        std::vector<int> next; // ticks on which the next phase begins
    };
    const Case cases[] = {
        {"hold only, 2000 ms", 0, 2000, 0, 400, {}},
        {"in, hold and out", 10, 20, 10, 8, {2, 6}},
        {"in and out", 10, 0, 15, 5, {2}},
        {"out only", 0, 0, 25, 5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = c.in ? Phase(Effect::PLAIN, c.in) : nullptr;
        auto hold = c.hold ? Phase(Effect::PLAIN, c.hold) : nullptr;
        auto out = c.out ? Phase(Effect::PLAIN, c.out) : nullptr;
        auto slide = Slide(in, hold, out);
        std::vector<int> changes;
        int ended = 0;
        for (int tick = 1; tick <= 1000 && !ended; ++tick) {
            const auto before = slide->CurrentEffect;
            if (slide->Manage() == 1)
                ended = tick;
            else if (slide->CurrentEffect != before)
                changes.push_back(tick);
        }
        EXPECT_EQ(ended, c.endTick);
        EXPECT_EQ(changes, c.next);
        EXPECT_EQ(slide->CurrentEffect, out ? out : hold); // the last phase stays current
    }
}

TEST_F(SlideShowTest, LeftoverTicksCarryIntoTheNextPhase) {
    auto in = Phase(Effect::PLAIN, 50); // 10 ticks
    auto hold = Phase(Effect::PLAIN, 50);
    auto slide = Slide(in, hold, nullptr);
    for (int i = 0; i < 9; ++i)
        slide->Manage();
    Delta = 1.5f;
    EXPECT_EQ(slide->Manage(), 0);
    EXPECT_EQ(slide->CurrentEffect, hold);
    EXPECT_FLOAT_EQ(slide->Counter, 0.5f);
}

TEST_F(SlideShowTest, OneEffectAsInAndHoldNeverReachesTheOutPhase) {
    auto shared = Phase(Effect::PLAIN, 50);
    auto out = Phase(Effect::PLAIN, 50);
    auto slide = Slide(shared, shared, out);
    EXPECT_EQ(TicksToEnd(*slide, 500), 501);
    EXPECT_EQ(slide->CurrentEffect, shared);
}

TEST_F(SlideShowTest, SlidesWithoutPhasesOrLengthDoNotStall) {
    // No phase at all: the slide ends at once and draws only its picture.
    auto bare = Slide(nullptr, nullptr, nullptr);
    EXPECT_EQ(bare->CurrentEffect, nullptr);
    EXPECT_EQ(bare->Manage(), 1);
    platform::ClearDrawLog();
    bare->Draw();
    EXPECT_EQ(ImageDraws().size(), 1u);
    EXPECT_TRUE(Draws(platform::TDrawRecord::RECT).empty());

    // A phase shorter than a tick reads as ended (a fade-in drawn undimmed) and passes on the
    // next tick.
    auto instant = Phase(Effect::FADE_IN, 2);
    EXPECT_EQ(instant->Length, 0);
    auto slide = Slide(instant, nullptr, Phase(Effect::PLAIN, 10));
    const auto rects = DrawRects(*slide);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_FLOAT_EQ(rects[0].alpha, 0.0f);
    EXPECT_EQ(slide->Manage(), 0);
    EXPECT_EQ(slide->CurrentEffect, slide->OutEffect);
}

TEST_F(SlideShowTest, AShowWalksItsSlidesAndStopsAfterTheLast) {
    TSlideShow show;
    for (int i = 0; i < 3; ++i)
        show.push_back(Slide(nullptr, Phase(Effect::PLAIN, 10), nullptr)); // 2 ticks each
    std::vector<int> results;
    for (int tick = 0; tick < 8; ++tick)
        results.push_back(show.Manage());
    EXPECT_EQ(results, (std::vector<int>{0, 2, 0, 2, 0, 1, 0, 0}));
    EXPECT_EQ(show.Finished, 1);
    EXPECT_EQ(show.CurrentSlide, 2);
    EXPECT_EQ(show[1]->LastSlide, show[0]);
    EXPECT_EQ(show[2]->LastSlide, show[1]);
    EXPECT_EQ(show[0]->LastSlide, nullptr);
    platform::ClearDrawLog();
    EXPECT_EQ(show.Draw(), 0);
    EXPECT_TRUE(platform::DrawLog().empty());

    show.Kill();
    EXPECT_TRUE(show.empty());
    TSlideShow empty;
    EXPECT_EQ(empty.Manage(), 0);
    EXPECT_EQ(empty.Draw(), 0);
    EXPECT_EQ(empty.GetCurrentSlide(), nullptr);
}

TEST_F(SlideShowTest, LetterboxBarsUseTheWholeRestOfTheScreen) {
    const std::pair<int, int> table[] = {{450, 75}, {451, 74}, {600, 0}};
    for (const auto& [band, bar] : table) {
        SCOPED_TRACE(band);
        TSlideShow show;
        show.push_back(Slide(nullptr, Phase(Effect::PLAIN, 100), nullptr));
        show.LetterBoxHeight = band;
        platform::ClearDrawLog();
        EXPECT_EQ(show.Draw(), 1);
        const auto rects = Draws(platform::TDrawRecord::RECT);
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ((std::array{rects[0].x, rects[0].y, rects[0].w, rects[0].h}),
                  (std::array{0.0f, 0.0f, 800.0f, static_cast<float>(bar)}));
        EXPECT_EQ((std::array{rects[1].x, rects[1].y, rects[1].w, rects[1].h}),
                  (std::array{0.0f, 600.0f - bar, 800.0f, static_cast<float>(bar)}));
        EXPECT_EQ((std::array{rects[0].r, rects[0].g, rects[0].b}), (std::array{0, 0, 0}));
        EXPECT_EQ(rects[0].blend, platform::SOLIDBLEND);
        int r, g, b;
        platform::GetColor(r, g, b);
        EXPECT_EQ(r + g + b, 3 * 255);
        EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);
    }
    TSlideShow plain;
    plain.push_back(Slide(nullptr, Phase(Effect::PLAIN, 100), nullptr));
    platform::ClearDrawLog();
    plain.Draw();
    EXPECT_TRUE(Draws(platform::TDrawRecord::RECT).empty());
}

TEST_F(SlideShowTest, ACopyKeepsScrollAndMaskButNotZoom) {
    auto effect = Phase(Effect::FADE_OUT, 1000);
    effect->ScrollSpeedX = 1.5f;
    effect->ScrollSpeedY = -2.0f;
    effect->ZoomSpeed = 0.01f;
    effect->MaskImage = MemoryImage(4, 4);
    effect->MaskStartSize = 0.5f;
    effect->MaskEndSize = 3.0f;
    effect->MaskAndFade = 1;
    auto copy = effect->CreateCopy();
    EXPECT_NE(copy, effect);
    EXPECT_EQ(copy->EffectType, Effect::FADE_OUT);
    EXPECT_EQ(copy->Length, 200);
    EXPECT_FLOAT_EQ(copy->ScrollSpeedX, 1.5f);
    EXPECT_FLOAT_EQ(copy->ScrollSpeedY, -2.0f);
    EXPECT_EQ(copy->MaskImage, effect->MaskImage);
    EXPECT_FLOAT_EQ(copy->MaskStartSize, 0.5f);
    EXPECT_FLOAT_EQ(copy->MaskEndSize, 3.0f);
    EXPECT_FLOAT_EQ(copy->ZoomSpeed, 0.0f);
    EXPECT_EQ(copy->MaskAndFade, 0);

    auto slide = Slide(nullptr, copy, nullptr);
    slide->Manage();
    EXPECT_FLOAT_EQ(slide->scale, 1.0f); // the copy does not zoom
    EXPECT_FLOAT_EQ(slide->x, 398.5f);
    EXPECT_FLOAT_EQ(slide->y, 302.0f);
}

TEST_F(SlideShowTest, MotionFollowsThePhaseUnlessTheHookHoldsIt) {
    auto hold = Phase(Effect::PLAIN, 1000);
    hold->ScrollSpeedX = 2.0f;
    hold->ZoomSpeed = 0.1f;
    auto slide = Slide(nullptr, hold, nullptr);
    int calls = 0;
    slide->UserManage = [&calls](TSlide&) { return ++calls % 2; }; // holds every other tick
    for (int i = 0; i < 4; ++i)
        slide->Manage();
    EXPECT_EQ(calls, 4);
    EXPECT_FLOAT_EQ(slide->x, 396.0f);
    EXPECT_FLOAT_EQ(slide->scale, 1.2f);
    EXPECT_FLOAT_EQ(slide->Counter, 4.0f); // time runs on while held

    // Drawn at its position and scale; the resting state afterwards.
    platform::ClearDrawLog();
    slide->Draw();
    const auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_FLOAT_EQ(draws[0].x, 396.0f);
    EXPECT_FLOAT_EQ(draws[0].scaleX, 1.2f);
    EXPECT_EQ(draws[0].blend, platform::SOLIDBLEND);
    float sx, sy;
    platform::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1.0f);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 1.0f);
    EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);
}

TEST_F(SlideShowTest, FadesAndMasksFollowThePhaseRatio) {
    // At 0, 25 and 99 of 100 ticks: the dimming alpha and the mask scale drawn.
    struct Case {
        std::string what;
        int type;
        bool mask;
        int maskAndFade;
        std::array<float, 3> dim; // -1: no dimming
        std::array<float, 3> maskScale;
    };
    const Case cases[] = {
        {"fade in", Effect::FADE_IN, false, 0, {1.0f, 0.75f, 0.01f}, {-1, -1, -1}},
        {"fade out", Effect::FADE_OUT, false, 0, {0.0f, 0.25f, 0.99f}, {-1, -1, -1}},
        {"iris in", Effect::FADE_IN, true, 0, {-1, -1, -1}, {0.5f, 1.125f, 2.975f}},
        {"iris out and fade",
         Effect::FADE_OUT,
         true,
         1,
         {0.0f, 0.25f, 0.99f},
         {0.5f, 1.125f, 2.975f}},
        {"plain with mask", Effect::PLAIN, true, 1, {-1, -1, -1}, {3.0f, 3.0f, 3.0f}},
    };
    auto maskImage = MemoryImage(10, 10);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto effect = Phase(c.type, 500);
        if (c.mask)
            effect->MaskImage = maskImage;
        effect->MaskStartSize = 0.5f;
        effect->MaskEndSize = 3.0f;
        effect->MaskAndFade = c.maskAndFade;
        auto slide = Slide(effect, nullptr, nullptr);
        const int at[] = {0, 25, 99};
        int managed = 0;
        for (int i = 0; i < 3; ++i) {
            for (; managed < at[i]; ++managed)
                slide->Manage();
            const auto rects = DrawRects(*slide);
            if (c.dim[static_cast<size_t>(i)] < 0) {
                EXPECT_TRUE(rects.empty());
            } else {
                ASSERT_EQ(rects.size(), 1u);
                EXPECT_NEAR(rects[0].alpha, c.dim[static_cast<size_t>(i)], 1e-5);
                EXPECT_EQ(rects[0].w, 800.0f);
            }
            const auto images = ImageDraws();
            if (c.maskScale[0] < 0) {
                EXPECT_EQ(images.size(), 1u);
            } else {
                ASSERT_EQ(images.size(), 2u);
                EXPECT_EQ(images[1].image, maskImage->image.get());
                EXPECT_NEAR(images[1].scaleX, c.maskScale[static_cast<size_t>(i)], 1e-5);
                EXPECT_EQ((std::array{images[1].x, images[1].y}), (std::array{400.0f, 300.0f}));
                EXPECT_EQ(images[1].blend, platform::ALPHABLEND);
            }
        }
    }
}

TEST_F(SlideShowTest, ACrossFadeDrawsThePreviousSlideUnderTheNew) {
    TSlideShow show;
    auto first = Slide(nullptr, Phase(Effect::PLAIN, 5), nullptr);
    first->HoldEffect->ScrollSpeedX = 1.0f;
    first->scale = 2.0f;
    int previousDrawn = 0;
    first->UserDraw = [&previousDrawn](TSlide&) { return ++previousDrawn; };
    auto fade = Phase(Effect::CROSS_FADE, 500); // 100 ticks
    auto second = Slide(fade, nullptr, nullptr);
    show.push_back(first);
    show.push_back(second);
    EXPECT_EQ(show.Manage(), 2);
    EXPECT_FLOAT_EQ(first->x, 399.0f);
    for (int i = 0; i < 40; ++i)
        show.Manage();
    EXPECT_FLOAT_EQ(first->x, 359.0f); // still moving under the cross-fade

    platform::ClearDrawLog();
    show.Draw();
    const auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].image, first->Image->image.get());
    EXPECT_EQ(draws[0].blend, platform::SOLIDBLEND);
    EXPECT_FLOAT_EQ(draws[0].scaleX, 2.0f);
    EXPECT_EQ(draws[1].image, second->Image->image.get());
    EXPECT_EQ(draws[1].blend, platform::ALPHABLEND);
    EXPECT_FLOAT_EQ(draws[1].alpha, 0.4f);
    EXPECT_FLOAT_EQ(draws[1].scaleX, 1.0f);
    EXPECT_EQ(previousDrawn, 1);

    // As the first slide there is no previous picture: only the new one, fading in.
    auto lone = Slide(Phase(Effect::CROSS_FADE, 500), nullptr, nullptr);
    lone->Manage();
    platform::ClearDrawLog();
    lone->Draw();
    ASSERT_EQ(ImageDraws().size(), 1u);
    EXPECT_FLOAT_EQ(ImageDraws()[0].alpha, 0.01f);
}

TEST_F(SlideShowTest, SlidesLoadTheirPictureAsGiven) {
    const std::string path = WritePicture("slide.png", 64, 32);
    auto centred = TSlide::Create(path, -1, 1, nullptr, Phase(Effect::PLAIN, 10), nullptr, "a");
    EXPECT_EQ((std::array{centred->x, centred->y}), (std::array{400.0f, 300.0f}));
    EXPECT_FLOAT_EQ(centred->Image->image->handleX, 32.0f);
    EXPECT_TRUE(centred->name.empty());

    platform::AutoMidHandle(true); // a corner slide is corner-handled whatever the loader does
    auto corner = TSlide::Create(path, -1, 0, nullptr, nullptr, nullptr, "b");
    EXPECT_EQ((std::array{corner->x, corner->y}), (std::array{0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(corner->Image->image->handleX, 0.0f);

    // A show's slide is the one made from the same arguments, at the end of the show (its
    // PreCache needs a display: the window tests).
    TSlideShow show;
    const TSlidePtr added = show.AddSlide(path, -1, 1, nullptr, nullptr, nullptr, "c");
    ASSERT_EQ(show.size(), 1u);
    EXPECT_EQ(show.back(), added);
    EXPECT_FLOAT_EQ(added->Image->image->handleX, 32.0f);

    const std::string missing = dir.File("none.png");
    EXPECT_EQ(FatalErrorCapture::MessageOf(
                  [&] { TSlide::Create(missing, -1, 1, nullptr, nullptr, nullptr, ""); }),
              "Error loading bitmap " + missing);
}

} // namespace
