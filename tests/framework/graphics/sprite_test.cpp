#include "framework/graphics/sprite.h"
#include "tests/framework/graphics/graphics_fixture.h"

#include <cmath>

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

class SpriteTest : public GraphicsTest {
protected:
    TSpritePtr Centred(int w, int h, float x = 100.0f, float y = 100.0f) {
        auto image = MemoryImage(w, h);
        image->MidHandle(1);
        return TSprite::Create(image, x, y);
    }
};

TEST_F(SpriteTest, CreateTakesTheImageSizes) {
    auto sprite = Centred(33, 20, 5.0f, 6.0f);
    EXPECT_EQ(sprite->w, 33);
    EXPECT_EQ(sprite->h, 20);
    EXPECT_FLOAT_EQ(sprite->w2, 16.0f);
    EXPECT_FLOAT_EQ(sprite->x, 5.0f);
    EXPECT_FLOAT_EQ(sprite->y, 6.0f);
    sprite->Centre();
    EXPECT_FLOAT_EQ(sprite->x, 400.0f);
    EXPECT_FLOAT_EQ(sprite->y, 300.0f);
    sprite->SetName("Start");
    EXPECT_EQ(sprite->name, "START");
}

TEST_F(SpriteTest, MoveAddsVelocityThenPositiveGravity) {
    auto sprite = Centred(10, 10);
    sprite->ygravity = 0.5f;
    sprite->Move();
    EXPECT_FLOAT_EQ(sprite->y, 100.0f);
    EXPECT_FLOAT_EQ(sprite->dy, 0.5f);
    sprite->Move();
    EXPECT_FLOAT_EQ(sprite->y, 100.5f);

    sprite->Stop();
    sprite->ygravity = -0.5f;
    sprite->dx = 2.0f;
    Delta = 0.25f;
    sprite->Move();
    EXPECT_FLOAT_EQ(sprite->dy, 0.0f);
    EXPECT_FLOAT_EQ(sprite->x, 100.5f);
}

TEST_F(SpriteTest, MoveForwardFollowsTheRotation) {
    struct Case {
        float rotation, dx, dy;
    };
    for (const Case& c : {Case{90, 2, 0}, Case{0, 0, -2}, Case{180, 0, 2}, Case{270, -2, 0}}) {
        auto sprite = Centred(10, 10);
        sprite->Rotation = c.rotation;
        sprite->speed = 2.0f;
        sprite->MoveForward();
        EXPECT_NEAR(sprite->dx, c.dx, 1e-5) << c.rotation;
        EXPECT_NEAR(sprite->dy, c.dy, 1e-5) << c.rotation;
        EXPECT_NEAR(sprite->x, 100.0f + c.dx, 1e-4);
    }
}

TEST_F(SpriteTest, BoundsAndOutOfBounds) {
    struct Case {
        bool centred;
        int w;
        float x, boundedX;
        int out;
    };
    const Case cases[] = {
        {true, 20, 5.0f, 10.0f, 0},     {true, 20, 795.0f, 790.0f, 0},
        {true, 20, -10.0f, 10.0f, 0},   {true, 20, -10.5f, 10.0f, 1},
        {true, 20, 810.0f, 790.0f, 0},  {true, 20, 810.5f, 790.0f, 1},
        {false, 20, -20.0f, 10.0f, 0},  {false, 20, -20.5f, 10.0f, 1},
        {false, 20, 800.0f, 790.0f, 0}, {false, 20, 800.5f, 790.0f, 1},
    };
    for (const auto& c : cases) {
        auto image = MemoryImage(c.w, c.w);
        image->MidHandle(c.centred ? 1 : 0);
        auto sprite = TSprite::Create(image, c.x, 300.0f);
        EXPECT_EQ(sprite->OutOfBounds(), c.out) << c.x << (c.centred ? " centred" : " top-left");
        sprite->BoundsCheck();
        EXPECT_FLOAT_EQ(sprite->x, c.boundedX) << c.x;
    }
    auto sprite = Centred(20, 20, 400.0f, 300.0f);
    sprite->y = -50.0f;
    EXPECT_EQ(sprite->OutOfBounds(), 1);
    sprite->xspeed = 1000.0f;
    sprite->MoveRight();
    EXPECT_FLOAT_EQ(sprite->x, 790.0f);
    EXPECT_FLOAT_EQ(sprite->y, 10.0f);
}

TEST_F(SpriteTest, ScaleSettersAndSizes) {
    auto sprite = Centred(40, 10);
    sprite->SetScaleXY(2.0f, 0.0f);
    EXPECT_FLOAT_EQ(sprite->ScaleY, 2.0f);
    sprite->SetScaleXY(2.0f, 3.0f);
    EXPECT_FLOAT_EQ(sprite->ScaleY, 3.0f);
    sprite->ScaleX = 1.5f;
    sprite->BaseScaleX = 2.0f;
    EXPECT_FLOAT_EQ(sprite->Width(), 60.0f);
    EXPECT_FLOAT_EQ(sprite->Height(), 30.0f);

    sprite->StoreOriginalCoords();
    sprite->BaseScaleY = 0.5f;
    sprite->ScaleOriginalCoords();
    EXPECT_FLOAT_EQ(sprite->x, 200.0f);
    EXPECT_FLOAT_EQ(sprite->y, 50.0f);
    sprite->ClearTransformations();
    EXPECT_FLOAT_EQ(sprite->ScaleX, 1.0f);
    EXPECT_FLOAT_EQ(sprite->BaseScaleX, 2.0f);
}

TEST_F(SpriteTest, ScaleAndRotationRampsRunForTheirTicks) {
    auto sprite = Centred(10, 10);
    sprite->SetupScale(0.1f, 0.2f, 50); // 10 ticks
    sprite->SetupRotation(3.0f, 50);
    EXPECT_EQ(sprite->ScaleLength, 10);
    for (int tick = 0; tick < 15; ++tick) {
        sprite->ManageScale();
        sprite->ManageRotation();
    }
    EXPECT_NEAR(sprite->ScaleX, 2.0f, 1e-5);
    EXPECT_NEAR(sprite->ScaleY, 3.0f, 1e-5);
    EXPECT_NEAR(sprite->Rotation, 30.0f, 1e-4);
    // A fractional step runs the ramp once more while the counter is still above 0.
    sprite->SetupScale(1.0f, 1.0f, 5);
    Delta = 0.6f;
    sprite->ManageScale();
    sprite->ManageScale();
    sprite->ManageScale();
    EXPECT_NEAR(sprite->ScaleX, 3.2f, 1e-5);
}

TEST_F(SpriteTest, FrameAnimationCyclesAndSignalsEachWrap) {
    struct Case {
        int dir, reverse;
        float start;
        std::vector<int> frames; // frame after ticks 1, 50, 100, 150, 199
    };
    const Case cases[] = {
        {0, 0, 200.0f, {0, 1, 2, 3, 3}},
        {0, 1, 0.1f, {3, 2, 1, 0, 0}},
        {1, 0, 0.0f, {0, 1, 2, 3, 3}},
        {1, 1, 200.0f, {3, 3, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("dir " + std::to_string(c.dir) + " reverse " + std::to_string(c.reverse));
        auto sprite = Centred(10, 10);
        int stopped = 0;
        sprite->AnimStoppedFunction = [&](TSprite&) { return ++stopped; };
        sprite->SetupAnim(4, 1000, c.dir, c.reverse, 0);
        EXPECT_EQ(sprite->AnimLength, 200);
        EXPECT_FLOAT_EQ(sprite->AnimCounter, c.start);
        std::vector<int> seen;
        for (int tick = 1; tick <= 199; ++tick) {
            EXPECT_EQ(sprite->ManageAnim(), 0) << tick;
            if (tick == 1 || tick == 50 || tick == 100 || tick == 150 || tick == 199)
                seen.push_back(sprite->frame);
        }
        EXPECT_EQ(seen, c.frames);
        EXPECT_EQ(stopped, 0);
        // The 200th tick completes the cycle (the 201st for the 0.1 start).
        int wraps = sprite->ManageAnim() + sprite->ManageAnim();
        EXPECT_EQ(wraps, 1);
        EXPECT_EQ(stopped, 1);
        EXPECT_EQ(sprite->frame, c.reverse ? 3 : 0);
    }
}

TEST_F(SpriteTest, AnimationShorterThanATickNeverDividesByZero) {
    auto sprite = Centred(10, 10);
    sprite->SetupAnim(4, 2, 0, 0, 0); // 0.4 of a tick
    EXPECT_EQ(sprite->AnimLength, 0);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(sprite->ManageAnim(), 1);
        EXPECT_EQ(sprite->frame, 0);
    }
    sprite->AnimCounter = 5.0f; // an owner's stray value
    EXPECT_EQ(sprite->DrawnFrame(), 0);
}

TEST_F(SpriteTest, RandomAnimationStartLiesInTheCycle) {
    platform::SeedRnd(7);
    auto sprite = Centred(10, 10);
    for (int i = 0; i < 20; ++i) {
        sprite->SetupAnim(4, 1000, 0, 0, 1);
        EXPECT_GE(sprite->AnimCounter, 0.1f);
        EXPECT_LE(sprite->AnimCounter, 200.0f);
    }
}

TEST_F(SpriteTest, GlowFadesOutAndPulsesInItsRange) {
    auto sprite = Centred(10, 10);
    sprite->SetGlow(2, 1.0f, 0.3f, 0.0f, 1.0f);
    std::vector<float> glow;
    for (int tick = 0; tick < 5; ++tick) {
        sprite->ManageGlow();
        glow.push_back(sprite->Glow);
    }
    EXPECT_NEAR(glow[0], 0.7f, 1e-5);
    EXPECT_NEAR(glow[1], 0.4f, 1e-5);
    EXPECT_NEAR(glow[2], 0.1f, 1e-5);
    EXPECT_EQ(glow[3], 0.0f);
    EXPECT_EQ(glow[4], 0.0f);

    sprite->SetGlow(3, 0.0f, 7.0f, 0.2f, 0.8f);
    float low = 1.0f, high = 0.0f;
    for (int tick = 0; tick < 200; ++tick) {
        sprite->ManageGlow();
        low = std::min(low, sprite->Glow);
        high = std::max(high, sprite->Glow);
    }
    EXPECT_GE(low, 0.2f - 1e-6f);
    EXPECT_LE(high, 0.8f + 1e-6f);
    EXPECT_LT(low, 0.25f);
    EXPECT_GT(high, 0.75f);
}

TEST_F(SpriteTest, DrawSetsTheSpritesStateAndPutsTheRestingStateBack) {
    auto sprite = Centred(10, 10, 50.0f, 60.0f);
    sprite->Draw();
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].frame, 0);
    EXPECT_FLOAT_EQ(draws[0].alpha, 1.0f);
    EXPECT_FLOAT_EQ(draws[0].scaleX, 1.0f);
    EXPECT_FLOAT_EQ(draws[0].rotation, 0.0f);

    platform::ClearDrawLog();
    sprite->ScaleX = 2.0f;
    sprite->BaseScaleY = 3.0f;
    sprite->Rotation = 45.0f;
    sprite->Alpha = 0.5f;
    sprite->Color = TColor::Create(255, 0, 0, 0.2f);
    sprite->SetShadow(1, 4.0f, 5.0f, 0.5f);
    sprite->Draw();
    draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    const auto& shadow = draws[0];
    EXPECT_FLOAT_EQ(shadow.x, 54.0f);
    EXPECT_FLOAT_EQ(shadow.y, 65.0f);
    EXPECT_EQ(shadow.r + shadow.g + shadow.b, 0);
    EXPECT_FLOAT_EQ(shadow.alpha, 0.25f);
    EXPECT_FLOAT_EQ(shadow.scaleX, 2.0f);
    EXPECT_FLOAT_EQ(shadow.scaleY, 3.0f);
    const auto& body = draws[1];
    EXPECT_FLOAT_EQ(body.x, 50.0f);
    EXPECT_EQ(body.r, 255);
    EXPECT_EQ(body.g, 0);
    EXPECT_FLOAT_EQ(body.alpha, 0.5f); // the sprite's alpha, not the colour's
    EXPECT_FLOAT_EQ(body.rotation, 45.0f);

    float sx, sy;
    platform::GetScale(sx, sy);
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    EXPECT_EQ(platform::GetRotation(), 0.0f);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
    EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(SpriteTest, DrawPositionsAndVisibility) {
    auto sprite = Centred(10, 10, 10.5f, 20.49f);
    sprite->RoundCoords = 1;
    sprite->DoDraw();
    sprite->RoundCoords = 0;
    sprite->UseOffset = 1;
    sprite->offx = 5.0f;
    sprite->offy = -5.0f;
    sprite->DoDraw();
    Game->ScrollX = 100.0f;
    Game->ScrollY = 10.0f;
    sprite->DrawWithOffset();
    sprite->visible = 0;
    sprite->Draw();
    EXPECT_EQ(sprite->DrawLight(1.0f, 1, 1, 1, nullptr), 0);
    sprite->DrawWithOffset(); // draws whatever visible says
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_FLOAT_EQ(draws[0].x, 11.0f);
    EXPECT_FLOAT_EQ(draws[0].y, 20.0f);
    EXPECT_FLOAT_EQ(draws[1].x, 15.5f);
    EXPECT_FLOAT_EQ(draws[1].y, 15.49f);
    EXPECT_FLOAT_EQ(draws[2].x, -84.5f);
    EXPECT_FLOAT_EQ(draws[2].y, 5.49f);
    EXPECT_FLOAT_EQ(draws[3].x, -84.5f);
}

TEST_F(SpriteTest, LightPassIsAdditiveAndLeavesAlphaBlending) {
    auto sprite = Centred(10, 10);
    auto other = MemoryImage(4, 4);
    sprite->AlternativeImage = MemoryImage(6, 6);
    platform::SetBlend(platform::SOLIDBLEND);
    EXPECT_EQ(sprite->DrawLight(0.5f, 1.0f, 1.0f, 1.0f, other), 1);
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].blend, platform::LIGHTBLEND);
    EXPECT_EQ(draws[0].r, 127);
    EXPECT_EQ(draws[0].b, 127);
    EXPECT_EQ(draws[0].image, other->image.get());
    EXPECT_EQ(sprite->AlternativeImage, nullptr);
    EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);

    // A glowing sprite: its image, then the glow pass in the glow's grey.
    platform::ClearDrawLog();
    sprite->SetGlow(1, 0.4f, 0, 0, 1);
    sprite->Draw();
    draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].blend, platform::ALPHABLEND);
    EXPECT_EQ(draws[1].blend, platform::LIGHTBLEND);
    EXPECT_EQ(draws[1].g, 102);
    EXPECT_EQ(draws[1].image, sprite->image->image.get());
}

TEST_F(SpriteTest, AnInvalidFrameOrAMissingImageIsNeverDrawn) {
    auto sprite = Centred(10, 10);
    sprite->ImageFrame = 1; // the image has one frame
    sprite->SetShadow(1, 3, 3, 0.5f);
    sprite->Draw();
    sprite->ImageFrame = 0;
    sprite->SetupAnim(3, 100, 0, 0, 0); // more frames than the image holds
    sprite->AnimCounter = 1.0f;         // the last of them
    sprite->Draw();
    sprite->AnimCounter = 50.0f; // above the length: a negative frame
    sprite->DrawWithOffset();
    auto empty = TSprite::Create(nullptr, 0, 0);
    empty->Draw();
    empty->DrawWithOffset();
    empty->Centre();
    EXPECT_EQ(empty->OutOfBounds(), 0);
    EXPECT_TRUE(ImageDraws().empty());
    // The draw left the resting state all the same.
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
}

TEST_F(SpriteTest, CreateFromFileLoadsFromTheImageFolder) {
    WritePicture("logo.png", 30, 20);
    Game->ImagePath = dir.Path();
    auto sprite = TSprite::CreateFromFile("logo", 1.0f, 2.0f, 1, -1);
    EXPECT_EQ(sprite->image->name, "LOGO");
    EXPECT_EQ(sprite->image->midhandled, 1);
    EXPECT_FLOAT_EQ(sprite->x, 400.0f);
    EXPECT_EQ(FatalErrorCapture::MessageOf([&] { TSprite::CreateFromFile("none", 0, 0, 0, -1); }),
              "Error loading bitmap " + dir.Path() + "none.png");
}

} // namespace
