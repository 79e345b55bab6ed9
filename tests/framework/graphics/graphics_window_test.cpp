// Sprites, the logo splash and a slide show in a real window: the frame is read back and input
// goes through the window system's queue.

#include "framework/graphics/slide_show.h"
#include "framework/graphics/splash_screen.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/input.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "platform/system.h"
#include "tests/support/drawing_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using testing_support::Filled;
using testing_support::Rgb;

class GraphicsInWindow : public testing_support::InWindow<> {
protected:
    void SetUp() override {
        InWindow::SetUp();
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS();
        platform::SetMilliSecsSource([this] { return now; });
        ccRestoreSolidMode();
        platform::SetBlend(platform::ALPHABLEND);
    }
    void TearDown() override {
        platform::SetFlipHook(nullptr);
        platform::SetMilliSecsSource(nullptr);
        ccRestoreSolidMode();
        Game.reset();
        InWindow::TearDown();
    }

    int now = 50000;
    testing_support::TempDir dir;
};

TEST_F(GraphicsInWindow, ATurnedScaledTintedSpriteAndItsShadowLandWhereTheyShould) {
    auto image = std::make_shared<TGameImage>();
    image->image = platform::LoadImage(Filled(40, 20, 0xFFFFFFFF), 0);
    image->GetSize();
    auto sprite = TSprite::Create(image, 400.0f, 300.0f);
    sprite->Centre();
    sprite->SetScaleXY(2.0f, 0.0f);
    sprite->Rotation = 90.0f; // 80 by 40 turned upright: x 380..420, y 260..340
    sprite->Color = TColor::Create(255, 0, 0, 1.0f);
    sprite->SetShadow(1, 20.0f, 20.0f, 0.5f); // x 400..440, y 280..360

    ccClsNoFlip(100, 100, 100);
    sprite->Draw();
    Grab();
    ExpectNear(At(400, 300), {255, 0, 0}, "sprite centre");
    ExpectNear(At(383, 263), {255, 0, 0}, "sprite top-left corner");
    ExpectNear(At(417, 337), {255, 0, 0}, "sprite bottom-right corner");
    ExpectNear(At(435, 285), {50, 50, 50}, "shadow right of the sprite");
    ExpectNear(At(430, 355), {50, 50, 50}, "shadow below the sprite");
    ExpectNear(At(370, 300), {100, 100, 100}, "left of the turned sprite");
    ExpectNear(At(400, 255), {100, 100, 100}, "above the sprite");
    ExpectNear(At(445, 300), {100, 100, 100}, "right of the shadow");

    // The drawing state is at rest again: a plain image draws white and unturned.
    platform::DrawImage(platform::LoadImage(Filled(10, 10, 0xFFFFFFFF), 0), 10, 10, 0);
    Grab();
    ExpectNear(At(19, 19), {255, 255, 255}, "a later plain image");
    ExpectNear(At(21, 15), {100, 100, 100}, "beside it");
}

class SplashInWindow : public GraphicsInWindow {
protected:
    void SetUp() override {
        GraphicsInWindow::SetUp();
        savedFlipSync = ccFlipSync;
        ccFlipSync = 0;
        ccDisablePolledInput();
        logo = dir.File("logo.png");
        platform::SavePixmapPNG(Filled(100, 50, 0xFF00FF00), logo);
    }
    void TearDown() override {
        ccFlipSync = savedFlipSync;
        GraphicsInWindow::TearDown();
    }
    // Runs a splash whose every flip moves the clock on 20 ms; at flip inputAt, input() is sent
    // and the frame on screen is kept.
    int RunSplash(int inputAt, const std::function<void()>& input) {
        int flips = 0;
        platform::SetFlipHook([&] {
            now += 20;
            if (++flips == inputAt) {
                shown = platform::GrabPixmap(0, 0, 800, 600);
                input();
            }
        });
        TSplashScreen splash;
        splash.Init(logo, "", 1, 0);
        const int start = now;
        const int result = splash.DoSplash();
        elapsed = now - start;
        platform::SetFlipHook(nullptr);
        return result;
    }

    int savedFlipSync = 1;
    std::string logo;
    platform::PixmapPtr shown;
    int elapsed = 0;
};

TEST_F(SplashInWindow, AKeySkipsTheLogo) {
    EXPECT_EQ(RunSplash(150, [] { platform::InjectKey(platform::KEY_ESCAPE, true); }), -1);
    EXPECT_LT(elapsed, 3100); // cut during the hold, long before the 5 seconds
    ASSERT_TRUE(shown);
    ExpectNear(At(shown, 400, 300), {0, 255, 0}, "the logo, held at the centre");
    ExpectNear(At(shown, 340, 300), {0, 0, 0}, "beside it");
    EXPECT_EQ(ccPolledInputState, 0);
    platform::InjectKey(platform::KEY_ESCAPE, false);
}

TEST_F(SplashInWindow, AClickSkipsTheLogo) {
    EXPECT_EQ(RunSplash(30,
                        [] {
                            platform::InjectMouseButton(1, true);
                            platform::InjectMouseButton(1, false);
                        }),
              -1);
    EXPECT_LT(elapsed, 1000); // cut during the fade-in
    ASSERT_TRUE(shown);
    const Rgb half = At(shown, 400, 300);
    EXPECT_GT(half.g, 40);
    EXPECT_LT(half.g, 200);
}

// A texture keeps the pixels it was made from until its image is unlocked again, so pixels
// changed behind the drawing layer's back after PreCache show whether the texture was made
// there (the old colour is drawn) or only at the first draw (the new one is).
TEST_F(GraphicsInWindow, PreCacheMakesEverySlidesTextureBeforeTheShow) {
    TSlideShow show;
    for (int n = 0; n < 2; ++n) {
        TSlidePtr slide =
            show.AddSlide("", -1, 1, nullptr,
                          TTransitionEffect::Create(TTransitionEffect::PLAIN, 100), nullptr, "");
        slide->Image = std::make_shared<TGameImage>();
        slide->Image->image = platform::LoadImage(Filled(200, 100, 0xFFFF0000), 0);
        slide->Image->GetSize();
        slide->Image->MidHandle(1);
        slide->CentreCoords();
    }
    show.PreCache();
    for (const TSlidePtr& slide : show) {
        const platform::PixmapPtr pixels = platform::LockImage(slide->Image->image, 0);
        for (int y = 0; y < pixels->Height(); ++y)
            for (int x = 0; x < pixels->Width(); ++x)
                pixels->WritePixel(x, y, 0xFF00FF00);
    }
    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        ccClsNoFlip(0, 0, 0);
        show[static_cast<std::size_t>(n)]->Draw();
        Grab();
        ExpectNear(At(400, 300), {255, 0, 0}, "the slide's centre");
        ExpectNear(At(200, 300), {0, 0, 0}, "beside the slide");
    }
}

} // namespace
