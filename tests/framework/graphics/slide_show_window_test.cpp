// A slide show's pictures made ready for drawing before the show starts, in a real window.

#include "framework/graphics/slide_show.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "tests/support/drawing_support.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing_support::Filled;

class SlideShowInWindow : public testing_support::InWindow<> {
protected:
    void SetUp() override {
        InWindow::SetUp();
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS();
        ccRestoreSolidMode();
    }
    void TearDown() override {
        ccRestoreSolidMode();
        Game.reset();
        InWindow::TearDown();
    }
};

// A texture keeps the pixels it was made from until its image is unlocked again, so pixels
// changed behind the drawing layer's back after PreCache show whether the texture was made
// there (the old colour is drawn) or only at the first draw (the new one is).
TEST_F(SlideShowInWindow, PreCacheMakesEverySlidesTextureBeforeTheShow) {
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
