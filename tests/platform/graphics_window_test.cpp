// The drawing layer in a real window: what is drawn is read back from the logical frame and
// checked pixel by pixel.
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/support/drawing_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace platform;
using testing_support::Filled;

using testing_support::Rgb;
using testing_support::RgbOf;

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Graphics(800, 600, 0));
        SetClsColor(0, 0, 0);
        Cls();
    }
    void TearDown() override {
        testing_support::ResetDrawingState();
        SetFlipHook({});
        DisablePolledInput();
        PollSystem();
        ClearEvents();
    }
    // The window system's own pointer events arrive late and would override injected ones: park
    // the pointer at the desktop's corner and take frames (a bounded number) until its motion, or
    // its leaving the window, has come in.
    static void ParkPointer() {
        bool parked = false;
        const int hook = AddHook([&](const TEvent& e) {
            parked |= e.id == EVENT_MOUSELEAVE || (e.id == EVENT_MOUSEMOVE && e.x < 10 && e.y < 10);
        });
        SDL_WarpMouseGlobal(7, 7);
        for (int i = 0; i < 200 && !parked; ++i) {
            Flip(0);
            PollSystem();
        }
        RemoveHook(hook);
    }
    void Grab() { frame_ = GrabPixmap(0, 0, 800, 600); }
    Rgb At(int x, int y) const { return RgbOf(frame_->ReadPixel(x, y)); }
    void ExpectNear(int x, int y, Rgb want, int tolerance = 2) const {
        const Rgb got = At(x, y);
        EXPECT_NEAR(got.r, want.r, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(got.g, want.g, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(got.b, want.b, tolerance) << "at " << x << "," << y;
    }
    struct Probe {
        int x, y;
        Rgb want;
    };
    // Exact colours at each probe.
    void ExpectPixels(std::initializer_list<Probe> probes) const {
        for (const Probe& p : probes)
            ExpectNear(p.x, p.y, p.want, 0);
    }
    void Save(const std::string& name) const {
        SavePixmapPNG(frame_, testing_support::TestOutputDir() + name);
    }
    PixmapPtr frame_;
};

TEST_F(Window, BlendModesAlphaAndColour) {
    SetClsColor(10, 20, 30);
    Cls();
    const ImagePtr white = LoadImage(Filled(20, 20, 0xFFFFFFFF), 0);
    const ImagePtr grey = LoadImage(Filled(20, 20, 0xFF808080), 0);

    SetBlend(SOLIDBLEND);
    SetAlpha(0.5f); // ignored by solid drawing
    SetColor(255, 0, 0);
    DrawImage(white, 10, 10);

    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    DrawImage(white, 40, 10);

    SetBlend(SOLIDBLEND);
    SetColor(50, 50, 50);
    DrawRect(70, 10, 20, 20);
    SetBlend(LIGHTBLEND);    // added, scaled by alpha
    SetColor(100, 200, 400); // drawn clamped to 255
    DrawImage(white, 70, 10);

    SetBlend(SOLIDBLEND);
    SetColor(200, 100, 50);
    DrawRect(100, 10, 20, 20);
    SetBlend(SHADEBLEND);
    SetColor(255, 255, 255);
    DrawImage(grey, 100, 10);

    // Mask: pixels under half alpha are left out, the rest drawn opaque.
    PixmapPtr halves = Filled(20, 20, 0xFF00FF00);
    for (int y = 0; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            halves->WritePixel(x, y, 0x2000FF00);
    SetBlend(MASKBLEND);
    SetAlpha(1);
    DrawImage(LoadImage(halves, 0), 130, 10);
    Grab();
    Save("blend_modes.png");

    ExpectNear(0, 0, {10, 20, 30});
    ExpectNear(15, 15, {255, 0, 0}, 0);
    ExpectNear(45, 15, {133, 138, 143});
    ExpectNear(75, 15, {100, 150, 177});
    ExpectNear(105, 15, {100, 50, 25});
    ExpectNear(135, 15, {0, 255, 0}, 0);
    ExpectNear(145, 15, {10, 20, 30}, 0);
}

TEST_F(Window, QuadsInARowShareADrawCallButKeepTheirColours) {
    const ImagePtr white = LoadImage(Filled(10, 10, 0xFFFFFFFF), 0);
    SetBlend(SOLIDBLEND);
    const int64_t before = DrawCallCount();
    for (int i = 0; i < 10; ++i) {
        SetColor(i * 20, 100, 255 - i * 20);
        DrawImage(white, 10.0f + 12 * i, 400);
    }
    SetBlend(ALPHABLEND); // a new blend mode starts a new batch
    SetColor(255, 255, 255);
    DrawImage(white, 200, 400);
    DrawText("A line of text is one batch too", 250, 400);
    Grab();
    EXPECT_EQ(DrawCallCount() - before, 3);
    ExpectPixels({
        {15, 405, {0, 100, 255}},
        {15 + 12 * 9, 405, {180, 100, 75}},
        {205, 405, {255, 255, 255}},
    });
}

TEST_F(Window, MaskedImagesRotationScaleAndSubRectangles) {
    SetBlend(SOLIDBLEND);
    SetColor(0, 0, 255);
    DrawRect(0, 0, 800, 600);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);

    // Default flags mask pure black.
    PixmapPtr ring = Filled(20, 20, 0xFFFFFF00);
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            ring->WritePixel(x, y, 0xFF000000);
    DrawImage(LoadImage(ring), 10, 10);

    // Left half red, right half green; turned 90 degrees clockwise about its top-left corner.
    PixmapPtr halves = Filled(40, 20, 0xFFFF0000);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            halves->WritePixel(x, y, 0xFF00FF00);
    const ImagePtr turned = LoadImage(halves, 0);
    SetRotation(90);
    DrawImage(turned, 200, 200);
    SetRotation(0);

    SetScale(2, 3);
    DrawImage(LoadImage(Filled(10, 10, 0xFFFFFFFF), 0), 300, 50);
    SetScale(1, 1);

    // A square turned 45 degrees about its centre: a diamond.
    const ImagePtr square = LoadImage(Filled(40, 40, 0xFFFFFFFF), 0);
    MidHandleImage(square);
    SetRotation(45);
    DrawImage(square, 500, 100);
    SetRotation(0);

    // The green half alone, stretched to 10 x 30 with its handle at its centre.
    DrawSubImageRect(turned, 600, 100, 10, 30, 20, 0, 20, 20, 5, 15);
    // An invalid frame draws nothing.
    DrawImage(turned, 600, 300, 1);
    DrawImage(turned, 600, 300, -1);
    Grab();
    Save("transforms.png");

    ExpectPixels({
        {12, 12, {255, 255, 0}},
        {20, 20, {0, 0, 255}}, // masked centre
        {190, 210, {255, 0, 0}},
        {190, 230, {0, 255, 0}},
        {205, 210, {0, 0, 255}},
        {185, 195, {0, 0, 255}},
        {319, 79, {255, 255, 255}},
        {320, 79, {0, 0, 255}},
        {319, 80, {0, 0, 255}},
        {500, 100, {255, 255, 255}},
        {500, 125, {255, 255, 255}}, // a corner of the diamond points down
        {482, 82, {0, 0, 255}},      // the square's own corner is empty
        {596, 86, {0, 255, 0}},
        {604, 113, {0, 255, 0}},
        {606, 100, {0, 0, 255}},
        {600, 305, {0, 0, 255}},
    });
}

TEST_F(Window, PrimitivesViewportAndText) {
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    DrawLine(10, 300, 20, 300, false);
    DrawLine(10, 310, 20, 310, true);
    Plot(30, 300);
    DrawOval(100, 300, 40, 20);
    SetViewport(200, 300, 10, 10);
    DrawRect(190, 290, 40, 40);
    SetViewport(0, 0, 800, 600);

    SetBlend(ALPHABLEND);
    SetColor(255, 0, 0);
    DrawText("Hello, World", 300, 300);
    SetColor(255, 255, 255);
    DrawText("\xC0 la carte", 300.4f, 320.6f); // lands on whole pixels
    Grab();
    Save("primitives_text.png");

    ExpectPixels({
        {10, 300, {255, 255, 255}},
        {19, 300, {255, 255, 255}},
        {20, 300, {0, 0, 0}},
        {20, 310, {255, 255, 255}},
        {30, 300, {255, 255, 255}},
        {120, 310, {255, 255, 255}},
        {101, 301, {0, 0, 0}}, // outside the ellipse, inside its box
        {200, 300, {255, 255, 255}},
        {209, 309, {255, 255, 255}},
        {199, 300, {0, 0, 0}},
        {210, 305, {0, 0, 0}},
    });

    // The text lies in its box (TextWidth by the line height), red, with solid strokes.
    const int w = TextWidth("Hello, World");
    int lit = 0, solid = 0, outside = 0;
    for (int y = 295; y < 317; ++y)
        for (int x = 295; x < 300 + w + 5; ++x) {
            const Rgb c = At(x, y);
            const bool inside = x >= 300 && x < 300 + w && y >= 300 && y < 313;
            if (c.r > 0 || c.g > 0) {
                lit += inside;
                outside += !inside;
                solid += c.r > 200;
                EXPECT_EQ(c.g, 0);
            }
        }
    EXPECT_GT(lit, 80);
    EXPECT_GT(solid, 20);
    EXPECT_EQ(outside, 0);
    int second = 0;
    for (int x = 300; x < 300 + TextWidth("\xC0 la carte"); ++x)
        for (int y = 321; y < 333; ++y)
            second += At(x, y).r > 200;
    EXPECT_GT(second, 20);
}

TEST_F(Window, FlipHookSeesTheFinishedFrameAndGrabImageCopiesIt) {
    SetBlend(SOLIDBLEND);
    SetColor(0, 200, 0);
    DrawRect(50, 60, 10, 10);
    int hooked = 0;
    SetFlipHook([&] {
        ++hooked;
        Grab();
    });
    const int64_t flips = FlipCount();
    Flip(0);
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(FlipCount(), flips + 1);
    ExpectNear(55, 65, {0, 200, 0}, 0);

    // The frame survives the flip: grab it into an image and draw that elsewhere.
    const ImagePtr copy = CreateImage(20, 20, 1, 0);
    GrabImage(copy, 45, 55);
    EXPECT_EQ(copy->Frame(0)->ReadPixel(10, 10), 0xFF00C800u);
    SetColor(255, 255, 255);
    DrawImage(copy, 400, 400);
    Grab();
    ExpectPixels({
        {402, 402, {0, 0, 0}},
        {410, 410, {0, 200, 0}},
        {416, 416, {0, 0, 0}},
    });
}

TEST_F(Window, InjectedInputReachesPolledStateAndTypedCharacters) {
    EnablePolledInput();
    ParkPointer();
    FlushKeys();
    FlushMouse();
    InjectMouseMove(123, 456);
    InjectMouseButton(2, true);
    InjectKey(KEY_A, true);
    InjectKey(KEY_LCONTROL, true);
    InjectText("h\xE9");
    InjectKey(KEY_ENTER, true);
    InjectMouseWheel(2);
    EXPECT_EQ(MouseX(), 123);
    EXPECT_EQ(MouseY(), 456);
    EXPECT_EQ(MouseDown(2), 1);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_EQ(MouseDown(3), 0);
    EXPECT_EQ(MouseZ(), 2);
    EXPECT_EQ(KeyDown(KEY_A), 1);
    EXPECT_EQ(KeyHit(KEY_A), 1);
    EXPECT_EQ(KeyDown(KEY_LCONTROL), 1);
    EXPECT_EQ(GetChar(), 'h');
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), 13);
    EXPECT_EQ(GetChar(), 0);
    InjectKey(KEY_A, false);
    InjectMouseButton(2, false);
    EXPECT_EQ(KeyDown(KEY_A), 0);
    EXPECT_EQ(MouseDown(2), 0);

    // The same events wait in the queue, in order.
    bool sawMove = false, sawTerminate = false;
    InjectQuit();
    while (PollEvent()) {
        const TEvent& e = CurrentEvent();
        if (e.id == EVENT_MOUSEMOVE && e.x == 123 && e.y == 456)
            sawMove = true;
        sawTerminate |= e.id == EVENT_APPTERMINATE;
    }
    EXPECT_TRUE(sawMove);
    EXPECT_TRUE(sawTerminate);
}

TEST_F(Window, TheShownFrameIsReadBackWholeAfterTheFlip) {
    // In a window and full screen alike: a grab between two frames reads the frame last shown.
    for (int depth : {0, 32}) {
        ASSERT_TRUE(Graphics(800, 600, depth));
        SetClsColor(0, 0, 0);
        Cls();
        SetBlend(SOLIDBLEND);
        SetColor(0, 200, 0);
        DrawRect(0, 0, 1, 1);
        SetColor(200, 0, 0);
        DrawRect(799, 599, 1, 1);
        Flip(0);
        Grab();
        ExpectPixels({{0, 0, {0, 200, 0}}, {799, 599, {200, 0, 0}}, {400, 300, {0, 0, 0}}});
        SetColor(255, 255, 255);
    }
    ASSERT_TRUE(Graphics(800, 600, 0));
}

TEST_F(Window, FilteredImagesDrawnPixelForPixelKeepTheirTexels) {
    // A filtered image stays sharp where it is drawn pixel for pixel, and is smoothed elsewhere,
    // in whatever order the two come.
    PixmapPtr stripes = Filled(4, 4, 0xFF000000);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; x += 2)
            stripes->WritePixel(x, y, 0xFFFFFFFF);
    const ImagePtr image = LoadImage(stripes, FILTEREDIMAGE);
    SetBlend(SOLIDBLEND);
    DrawImage(image, 10, 10);
    DrawImage(image, 20.5f, 10);
    DrawImage(image, 30, 10);
    SetScale(2, 2);
    DrawImage(image, 40, 10);
    SetScale(1, 1);
    Grab();
    ExpectPixels({{10, 11, {255, 255, 255}},
                  {11, 11, {0, 0, 0}},
                  {30, 11, {255, 255, 255}},
                  {31, 11, {0, 0, 0}}});
    for (int x : {22, 43}) {
        const Rgb mixed = At(x, 12);
        EXPECT_GT(mixed.r, 20) << "at " << x;
        EXPECT_LT(mixed.r, 235) << "at " << x;
    }
}

TEST_F(Window, FullScreenAndBackKeepImagesDrawable) {
    const ImagePtr image = LoadImage(Filled(16, 16, 0xFFFF8000), 0);
    SetBlend(SOLIDBLEND);
    DrawImage(image, 100, 100);
    Grab();
    ExpectNear(108, 108, {255, 128, 0}, 0);

    ASSERT_TRUE(Graphics(800, 600, 32));
    EXPECT_TRUE(GraphicsFullScreen());
    for (int i = 0; i < 3; ++i) {
        Flip(0);
        PollSystem();
    }
    Cls();
    DrawImage(image, 700, 500);
    Grab();
    Save("full_screen.png");
    ExpectNear(708, 508, {255, 128, 0}, 0);
    ExpectNear(100, 100, {0, 0, 0}, 0);

    // Positions are logical, whatever the letterbox.
    EnablePolledInput();
    ParkPointer();
    InjectMouseMove(799, 0);
    EXPECT_EQ(MouseX(), 799);
    InjectMouseMove(400, 300);
    EXPECT_EQ(MouseX(), 400);
    EXPECT_EQ(MouseY(), 300);

    EndGraphics();
    EXPECT_FALSE(GraphicsOpen());
    DrawImage(image, 0, 0); // nothing to draw into: harmless
    EXPECT_EQ(GrabPixmap(0, 0, 1, 1)->ReadPixel(0, 0), 0xFF000000u);

    ASSERT_TRUE(Graphics(800, 600, 0));
    EXPECT_FALSE(GraphicsFullScreen());
    Cls();
    DrawImage(image, 300, 300);
    Grab();
    ExpectNear(308, 308, {255, 128, 0}, 0);
}

} // namespace
