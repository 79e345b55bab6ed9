// A text-input dialog drawn in a real window and read back.

#include "framework/ui/dialog_text_input.h"
#include "framework/util/drawing.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

class DialogInWindow : public ui_test::UiTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(platform::Graphics(800, 600, 0)); }
    static void TearDownTestSuite() { platform::EndGraphics(); }

    struct Rgb {
        int r, g, b;
    };
    Rgb At(int x, int y) const {
        const uint32_t p = frame->ReadPixel(x, y);
        return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255),
                static_cast<int>(p & 255)};
    }
    static void ExpectNear(Rgb got, Rgb want, const char* where) {
        EXPECT_LE(std::abs(got.r - want.r), 3) << where << " r " << got.r;
        EXPECT_LE(std::abs(got.g - want.g), 3) << where << " g " << got.g;
        EXPECT_LE(std::abs(got.b - want.b), 3) << where << " b " << got.b;
    }
    platform::PixmapPtr frame;
};

TEST_F(DialogInWindow, BodyHighlightEntryBoxAndButtonShow) {
    TDialogTextInputPtr d = TDialogTextInput::Create("Port?", "", 5, nullptr, 300, 0, 0, 0);
    d->MenuCreate(0, 20);
    d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
    d->SetupText(nullptr, TColor::Create(255, 255, 0, 1.0f), nullptr, 0, nullptr);
    d->Start();
    ccClsNoFlip(0, 0, 0);
    d->Draw();
    frame = platform::GrabPixmap(0, 0, 800, 600);

    ExpectNear(At(d->x + 3, d->y + d->h - 3), {150, 150, 150}, "body");
    // The highlight: white at half strength over the body.
    ExpectNear(At(d->x + d->w / 2, d->y), {202, 202, 202}, "top highlight");
    ExpectNear(At(d->x, d->y + d->h / 2), {202, 202, 202}, "left highlight");
    const int boxY = static_cast<int>(d->Text->Y);
    ExpectNear(At(d->x + d->w - 15, boxY), {0, 0, 0}, "entry box");
    TButtonPtr ok = d->Menu->FindButton("OK");
    ExpectNear(At(static_cast<int>(ok->x) + 10, static_cast<int>(ok->y) + 10), {128, 128, 128},
               "OK button");
    d->Kill();
}

} // namespace
