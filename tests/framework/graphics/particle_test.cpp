#include "framework/graphics/particle.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

class ParticleTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        image = MemoryImage(8, 8);
        image->MidHandle(1);
    }
    // A particle standing at the centre of the screen.
    TParticlePtr Add(float fadeMs = 0, int lifeMs = 0, float scale = 1, float scaleSpeed = 0) {
        return list.AddNew(400, 300, image, 0, 0, 0, fadeMs, 0, 0, 0, scale, scaleSpeed, lifeMs, 0);
    }
    // Ticks of Manage until the particle leaves the list (limit when it never does).
    int TicksToDeath(const TParticlePtr& p, int limit = 1000) {
        for (int tick = 1; tick <= limit; ++tick) {
            list.Manage();
            if (p->Particles != &list)
                return tick;
        }
        return limit + 1;
    }
    TGameImagePtr image;
    TParticleList list;
};

TEST_F(ParticleTest, CreationSetsTheFadeAndTheLife) {
    auto p =
        list.AddNew(10, 20, image, 1.5f, -2.0f, 0.1f, 250.9f, 1, -1, 3.0f, 2.0f, -0.5f, 100, 0);
    EXPECT_EQ(p->Particles, &list);
    EXPECT_EQ(p->active, 1);
    EXPECT_FLOAT_EQ(p->FadeLength, 50.0f); // 250 ms, the fraction cut off first
    EXPECT_FLOAT_EQ(p->FadeCounter, 50.0f);
    EXPECT_FLOAT_EQ(p->LifeCounter, 20.0f);
    EXPECT_EQ(p->UseAlpha, 1);
    EXPECT_EQ(p->DoLightBlend, 1);
    EXPECT_EQ(p->DoRotate, -1);
    EXPECT_EQ(p->DoScale, 1);
    EXPECT_FLOAT_EQ(p->ScaleXSpeed, -0.5f);
    EXPECT_FLOAT_EQ(p->ScaleY, 2.0f);
    EXPECT_FLOAT_EQ(p->x, 10.0f);
    EXPECT_FLOAT_EQ(p->dy, -2.0f);
}

TEST_F(ParticleTest, WhatEndsAParticle) {
    struct Case {
        std::string what;
        float fadeMs;
        int lifeMs;
        float scaleSpeed;
        int killOnFade;
        int diesOnTick; // 0: still alive after 1000 ticks
    };
    const Case cases[] = {
        {"no fade, no life", 0, 0, 0, 1, 0},       {"fade of 250.9 ms", 250.9f, 0, 0, 1, 50},
        {"fade kept at alpha 0", 100, 0, 0, 0, 0}, {"life of 100 ms", 0, 100, 0, 1, 20},
        {"shrinking by 0.25", 0, 0, -0.25f, 1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = Add(c.fadeMs, c.lifeMs, 1.0f, c.scaleSpeed);
        p->KillOnFade = c.killOnFade;
        const int died = TicksToDeath(p);
        EXPECT_EQ(died, c.diesOnTick ? c.diesOnTick : 1001);
        if (!c.killOnFade) {
            EXPECT_FLOAT_EQ(p->Alpha, 0.0f);
        }
        list.Clear();
    }
    // A scale ramp of -0.01 reaches 0 after about 100 ticks.
    auto slow = Add(0, 0, 1.0f, -0.01f);
    const int died = TicksToDeath(slow);
    EXPECT_GE(died, 100);
    EXPECT_LE(died, 101);
}

TEST_F(ParticleTest, LeavingTheScreenEndsItUnlessAllowed) {
    auto p = list.AddNew(795, 300, image, 1.0f, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
    auto stays = list.AddNew(795, 300, image, 1.0f, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
    stays->NoOutOfBounds = 1;
    EXPECT_EQ(TicksToDeath(p), 10); // centre-handled, 4 wide: gone past x 804
    EXPECT_EQ(stays->Particles, &list);
}

TEST_F(ParticleTest, RotationWrapsOnceEachWay) {
    auto up = Add();
    up->DoRotate = 1;
    up->RotationSpeed = 2.0f;
    up->Rotation = 359.0f;
    auto down = Add();
    down->DoRotate = -1;
    down->RotationSpeed = 2.0f;
    down->Rotation = 1.0f;
    list.Move();
    EXPECT_FLOAT_EQ(up->Rotation, 1.0f);
    EXPECT_FLOAT_EQ(down->Rotation, 359.0f);
}

TEST_F(ParticleTest, ThreeStageFadeAlpha) {
    auto p = Add();
    p->SetFade(500, 1000, 500); // 100, 200 and 100 ticks
    const std::pair<int, float> samples[] = {{0, 0.0f},   {50, 0.5f},  {100, 1.0f},
                                             {200, 1.0f}, {300, 1.0f}, {350, 0.5f}};
    int tick = 0;
    for (const auto& [at, alpha] : samples) {
        while (tick < at) {
            list.Move();
            ++tick;
        }
        p->Draw();
        EXPECT_NEAR(p->Alpha, alpha, 1e-5) << "tick " << at;
    }
    EXPECT_EQ(TicksToDeath(p), 50);
}

TEST_F(ParticleTest, ADelayedParticleIsFrozenUntilItsDelayEnds) {
    auto p = list.AddNew(400, 300, image, 2.0f, 0, 0, 100, 0, 0, 0, 1, 0, 100, 0);
    p->SetDelay(50); // 10 ticks
    p->SetupAnim(2, 100, 0, 0, 0);
    const float counter = p->AnimCounter;
    for (int tick = 1; tick <= 9; ++tick) {
        list.Manage();
        EXPECT_EQ(p->Hidden, 1);
        EXPECT_EQ(p->Draw(), 0);
    }
    EXPECT_FLOAT_EQ(p->x, 400.0f);
    EXPECT_FLOAT_EQ(p->FadeCounter, 20.0f);
    EXPECT_FLOAT_EQ(p->LifeCounter, 20.0f);
    EXPECT_FLOAT_EQ(p->AnimCounter, counter);
    list.Manage(); // the delay runs out: a normal tick
    EXPECT_EQ(p->Hidden, 0);
    EXPECT_FLOAT_EQ(p->x, 402.0f);
    EXPECT_FLOAT_EQ(p->FadeCounter, 19.0f);
    EXPECT_FLOAT_EQ(p->AnimCounter, counter - 1.0f);
    EXPECT_EQ(p->Draw(), 1);
}

TEST_F(ParticleTest, PhasesRunInOrderAndTheLastEndsTheParticle) {
    auto p = Add();
    std::vector<int> ended;
    for (int i = 0; i < 3; ++i) {
        auto phase = p->AddPhase(50); // 10 ticks
        phase->dx = static_cast<float>(i + 1);
        phase->UserFunction = [&ended, i](TParticle&) {
            ended.push_back(i);
            return 0;
        };
    }
    p->PhaseList[1]->SetCoords = 1;
    p->PhaseList[1]->SetX = 100.0f;
    p->PhaseList[1]->SetY = 120.0f;
    p->PhaseList[2]->Scale = 3.0f;
    p->PhaseList[2]->Alpha = 0;
    p->Alpha = 0.7f;
    p->StartPhases();
    EXPECT_FLOAT_EQ(p->Alpha, 0.7f); // Alpha -1 and Scale 0 keep what the particle had
    EXPECT_FLOAT_EQ(p->ScaleX, 1.0f);
    for (int tick = 1; tick <= 9; ++tick)
        list.Move();
    EXPECT_EQ(p->CurrentPhase, p->PhaseList[0]);
    list.Move(); // tick 10 ends phase 0
    EXPECT_EQ(p->CurrentPhase, p->PhaseList[1]);
    EXPECT_FLOAT_EQ(p->x, 102.0f); // placed, then moved at the new speed
    for (int tick = 1; tick <= 10; ++tick)
        list.Move();
    EXPECT_EQ(p->CurrentPhase, p->PhaseList[2]);
    EXPECT_FLOAT_EQ(p->ScaleX, 3.0f);
    EXPECT_FLOAT_EQ(p->Alpha, 0.0f);
    EXPECT_EQ(TicksToDeath(p), 10);
    EXPECT_EQ(ended, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(p->active, 0);
}

TEST_F(ParticleTest, PhasesNeverStartedStartOnTheFirstMove) {
    auto p = Add();
    p->AddPhase(10)->dx = 1.0f;
    list.Move();
    EXPECT_EQ(p->CurrentPhase, p->PhaseList[0]);
    EXPECT_FLOAT_EQ(p->x, 401.0f);
    p->KillPhases();
    EXPECT_TRUE(p->PhaseList.empty());
    list.Move();
    EXPECT_EQ(p->Particles, &list);
}

TEST_F(ParticleTest, AddFirstDrawsBeneath) {
    auto a = Add();
    auto b = list.AddNew(1, 1, image, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1);
    list.Draw();
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 1.0f);
    EXPECT_FLOAT_EQ(draws[1].x, 400.0f);
    EXPECT_EQ(list.First(), b);
    EXPECT_EQ(list.Last(), a);
}

TEST_F(ParticleTest, LightParticlesDrawAdditivelyThenAlphaAgain) {
    auto p = list.AddNew(5, 5, image, 0, 0, 0, 100, 1, 0, 0, 1, 0, 0, 0);
    for (int tick = 0; tick < 5; ++tick)
        list.Move();
    list.Draw();
    auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].blend, platform::LIGHTBLEND);
    EXPECT_FLOAT_EQ(draws[0].alpha, 0.75f);
    EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
}

TEST_F(ParticleTest, RemovalDuringAPassFreesNothingUnderIt) {
    // Only the list holds these particles: each kill drops the last outside reference.
    std::vector<TParticle*> order;
    for (int i = 0; i < 5; ++i) {
        TParticle* p = list.AddNew(400, 300, image, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0).get();
        p->Data1 = i;
        p->UserMove = [&order, this](TParticle& self) {
            order.push_back(&self);
            if (self.Data1 == 1)
                self.Kill(); // itself
            if (self.Data1 == 2)
                list.Last()->Kill(); // one not visited yet
            return 0;
        };
    }
    list.Manage();
    ASSERT_EQ(order.size(), 4u); // 0, 1, 2, 3: the fifth was killed before its turn
    EXPECT_EQ(list.Count(), 3);
    int expect[] = {0, 2, 3};
    int at = 0;
    for (const auto& p : list)
        EXPECT_EQ(p->Data1, expect[at++]);
    list.Move(); // 0, then 2, which kills 3 before its turn
    EXPECT_EQ(order.size(), 6u);
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(ParticleTest, KillAfterAnimEndsTheParticleWhenItsCycleCompletes) {
    auto p = Add();
    p->SetupAnim(2, 50, 0, 0, 0); // 10 ticks
    p->KillAfterAnim = 1;
    auto keeps = Add();
    keeps->SetupAnim(2, 50, 0, 0, 0);
    EXPECT_EQ(TicksToDeath(p), 10);
    EXPECT_EQ(keeps->Particles, &list);
    list.Animate();
    list.Move(); // neither kills by animation
    EXPECT_EQ(keeps->Particles, &list);
}

TEST_F(ParticleTest, KillIsHarmlessTwiceAndAfterTheListIsGone) {
    auto p = Add();
    p->Kill();
    p->Kill();
    EXPECT_EQ(list.Count(), 0);
    TParticlePtr survivor;
    {
        TParticleList local;
        survivor = local.AddNew(1, 1, image, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
        auto other = local.AddNew(1, 1, image, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
        local.Clear();
        EXPECT_EQ(other->Particles, nullptr);
        local.AddLast(survivor);
    }
    EXPECT_EQ(survivor->Particles, nullptr);
    survivor->Kill();
    // Moving a particle into another list takes it out of the first.
    TParticleList second;
    auto moved = Add();
    second.AddLast(moved);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(moved->Particles, &second);
}

TEST_F(ParticleTest, WholeListSetters) {
    auto a = Add();
    auto b = list.AddNew(10, 20, image, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0);
    list.FadeAll(100);
    EXPECT_FLOAT_EQ(b->FadeCounter, 20.0f);
    list.SetUseAlpha(0);
    EXPECT_EQ(a->UseAlpha, 0);
    list.EnableUpdateOriginalCoords();
    EXPECT_FLOAT_EQ(b->ox, 10.0f);
    list.ProcessScale(2.0f, 3.0f, 5.0f, 6.0f);
    EXPECT_FLOAT_EQ(b->x, 25.0f);
    EXPECT_FLOAT_EQ(b->y, 66.0f);
    EXPECT_FLOAT_EQ(b->BaseScaleY, 3.0f);
    list.AddOffsets(1.0f, -1.0f);
    EXPECT_FLOAT_EQ(b->x, 26.0f);
    list.SetBaseScale(0.5f, 0.5f);
    list.ScaleCoords();
    EXPECT_FLOAT_EQ(b->x, 5.0f);
    b->dx = 4.0f;
    list.Move(); // the stored position moves, the drawn one stays
    EXPECT_FLOAT_EQ(b->ox, 14.0f);
    EXPECT_FLOAT_EQ(b->x, 5.0f);
}

TEST_F(ParticleTest, CollideWritesEveryParticleIntoLayerOne) {
    platform::ResetCollisions();
    TParticleList empty;
    empty.Collide();
    EXPECT_TRUE(platform::CollideRect(0, 0, 800, 600, 1, 0).empty());
    auto p = Add();
    list.Collide();
    auto hits = platform::CollideRect(390, 290, 20, 20, 1, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], p.get());
    platform::ResetCollisions();
}

} // namespace
