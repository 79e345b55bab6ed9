#include "framework/graphics/mouse_pointer.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

using MousePointerTest = GraphicsTest;

TEST_F(MousePointerTest, PressesAndHeldButtons) {
    TMousePointer& mouse = *Game->Mouse;
    mouse.b1 = 1;
    mouse.h1 = 2;
    mouse.h2 = 1;
    mouse.CalcButtonTotals();
    EXPECT_EQ(mouse.GetMb(), 1);
    EXPECT_EQ(mouse.GetMh(0), 3);
    EXPECT_EQ(mouse.GetMh(0), 3);
    EXPECT_EQ(mouse.GetMh(1), 3);
    EXPECT_EQ(mouse.GetMh(1), 0);
    EXPECT_EQ(mouse.b1, 1); // taking the presses leaves the held buttons

    mouse.h3 = 1;
    mouse.CalcButtonTotals();
    mouse.ClearMouseHit();
    EXPECT_EQ(mouse.mb, 1);
    EXPECT_EQ(mouse.mh + mouse.h3, 0);
    mouse.ClearButtons();
    EXPECT_EQ(mouse.b1 + mouse.mb + mouse.mh, 0);
}

TEST_F(MousePointerTest, ParticleTrailOnlyWithAFunction) {
    TMousePointer& mouse = *Game->Mouse;
    EXPECT_EQ(mouse.Manage(), 1);
    EXPECT_TRUE(mouse.ParticleList->Empty());
    auto image = MemoryImage(4, 4);
    int calls = 0;
    mouse.ParticleFunc = [&] {
        ++calls;
        mouse.ParticleList->AddNew(mouse.x, mouse.y, image, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
        return 0;
    };
    mouse.x = 10;
    mouse.y = 20;
    mouse.Manage();
    mouse.Manage();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(mouse.ParticleList->Count(), 2);
    EXPECT_FLOAT_EQ(mouse.ParticleList->First()->x, 12.0f); // managed twice
    mouse.Off();
    EXPECT_TRUE(mouse.ParticleList->Empty());
    EXPECT_EQ(mouse.Manage(), 0);
    EXPECT_EQ(calls, 2);
    mouse.Draw();
    EXPECT_TRUE(platform::DrawLog().empty());
    mouse.On();
    EXPECT_EQ(mouse.Manage(), 1);
}

TEST_F(MousePointerTest, DrawsThePictureAtItsHotSpotOrAPixel) {
    TMousePointer& mouse = *Game->Mouse;
    mouse.x = 30;
    mouse.y = 40;
    mouse.Draw();
    ASSERT_EQ(platform::DrawLog().size(), 1u);
    EXPECT_EQ(platform::DrawLog()[0].kind, platform::TDrawRecord::PLOT);

    platform::ClearDrawLog();
    WritePicture("pointer.png", 12, 16);
    Game->ImagePath = dir.Path();
    mouse.offsetx = 2;
    mouse.offsety = 3;
    mouse.Load("pointer");
    EXPECT_EQ(mouse.w, 12);
    EXPECT_EQ(mouse.h, 16);
    EXPECT_FLOAT_EQ(mouse.Image->handleX, 2.0f);
    EXPECT_FLOAT_EQ(mouse.Image->handleY, 3.0f);
    mouse.Image2 = MemoryImage(5, 5, 2)->image;
    mouse.Image2Frame = 1;
    mouse.Image2xoff = -4;
    mouse.Image2Scale = 2.0f;
    platform::SetBlend(platform::LIGHTBLEND);
    mouse.Draw();
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].frame, 1);
    EXPECT_FLOAT_EQ(draws[0].x, 26.0f);
    EXPECT_FLOAT_EQ(draws[0].scaleX, 2.0f);
    EXPECT_EQ(draws[1].image, mouse.Image.get());
    EXPECT_FLOAT_EQ(draws[1].x, 30.0f);
    EXPECT_EQ(draws[1].blend, platform::ALPHABLEND);
    EXPECT_FLOAT_EQ(draws[1].scaleX, 1.0f);

    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { mouse.Load("missing"); }),
              "Error loading bitmap " + dir.Path() + "missing.png");
}

TEST_F(MousePointerTest, WithoutAWindowThePositionStays) {
    TMousePointer& mouse = *Game->Mouse;
    Game->FullScreen = 0;
    mouse.x = 7;
    mouse.y = 9;
    mouse.UpdateCoords();
    mouse.Draw();
    EXPECT_EQ(mouse.x, 7);
    EXPECT_EQ(mouse.y, 9);
}

} // namespace
