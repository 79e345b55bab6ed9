#include "framework/graphics/animation.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;

namespace {

using AnimationTest = GraphicsTest;

// Ticks of Manage until it returns 1 (limit + 1 when it never does).
int TicksToEnd(TAnimation& a, int limit = 1000) {
    for (int tick = 1; tick <= limit; ++tick)
        if (a.Manage())
            return tick;
    return limit + 1;
}

TEST_F(AnimationTest, OnePhaseEndsOnItsLastTickEitherWay) {
    struct Case {
        int reverse, leaveActive, cycle;
        int endTick;
        int activeAfter, finished;
        float ratioAfter;
    };
    const Case cases[] = {
        {0, 0, 0, 100, 0, 1, 0.0f}, {1, 0, 0, 101, 0, 1, 0.0f}, {0, 1, 0, 100, 1, 1, 0.0f},
        {1, 1, 0, 101, 1, 1, 1.0f}, {0, 0, 1, 100, 1, 0, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("reverse " + std::to_string(c.reverse) + " leave " +
                     std::to_string(c.leaveActive) + " cycle " + std::to_string(c.cycle));
        auto a = TAnimation::Create(500, c.leaveActive, c.reverse, c.cycle);
        EXPECT_FLOAT_EQ(a->Length[0], 100.0f);
        EXPECT_EQ(a->Manage(), 0); // idle until started
        a->Start();
        EXPECT_FLOAT_EQ(a->Counter, c.reverse ? 0.0f : 100.0f);
        EXPECT_EQ(TicksToEnd(*a), c.endTick);
        EXPECT_EQ(a->Active, c.activeAfter);
        EXPECT_EQ(a->Finished, c.finished);
        EXPECT_EQ(a->CurrentPhase, 0);
        EXPECT_FLOAT_EQ(a->GetRatio(), c.ratioAfter);
        // Held at the end, every later tick passes the end again; idle, none does.
        EXPECT_EQ(a->Manage(), c.leaveActive ? 1 : 0);
    }
}

TEST_F(AnimationTest, PhasesFollowEachOther) {
    auto a = TAnimation::Create(100, 0, 0, 0);
    a->AddPhase(200);
    a->Start();
    EXPECT_EQ(TicksToEnd(*a), 20);
    EXPECT_EQ(a->CurrentPhase, 1);
    EXPECT_FLOAT_EQ(a->Counter, 40.0f);
    EXPECT_EQ(a->Finished, 0);
    EXPECT_EQ(TicksToEnd(*a), 40);
    EXPECT_EQ(a->Finished, 1);
    EXPECT_EQ(a->Active, 0);
}

TEST_F(AnimationTest, StartContinuesACountDownAndResetRestartsIt) {
    auto a = TAnimation::Create(500, 0, 0, 0);
    a->Counter = 30.0f;
    a->Start();
    EXPECT_FLOAT_EQ(a->Counter, 30.0f);
    a->Reset();
    EXPECT_FLOAT_EQ(a->Counter, 100.0f);
    a->Init(250, 0, 0, 0); // leaves the running counter alone
    EXPECT_EQ(a->Active, 1);
    EXPECT_FLOAT_EQ(a->Counter, 100.0f);
    a->Clear();
    EXPECT_EQ(a->Active, 0);
    EXPECT_FLOAT_EQ(a->Length[0], 50.0f);
}

TEST_F(AnimationTest, RatioCurves) {
    auto a = TAnimation::Create(500, 0, 0, 0);
    a->Start();
    a->Counter = 50.0f; // GetRatio 0.5
    EXPECT_FLOAT_EQ(a->GetRatio(), 0.5f);
    EXPECT_FLOAT_EQ(a->GetRatioInv(), 0.5f);
    EXPECT_NEAR(a->GetRatioSine(), 0.70711f, 1e-4);
    EXPECT_NEAR(a->GetRatioSin108(), 0.70711f, 1e-4);
    EXPECT_NEAR(a->GetRatioInvSine(), 0.70711f, 1e-4);
    const std::pair<float, float> s180[] = {{0.25f, 0.14645f}, {0.5f, 0.5f}, {1.0f, 1.0f}};
    for (const auto& [inv, expected] : s180) {
        a->Counter = (1.0f - inv) * 100.0f;
        EXPECT_NEAR(a->GetRatioInvSine180(), expected, 1e-5) << inv;
    }
    a->Counter = 60.0f;
    EXPECT_EQ(a->GetAnimFrame(4), 1);
    a->Reverse = 1;
    a->Counter = 60.0f;
    EXPECT_EQ(a->GetAnimFrame(4), 2);
}

TEST_F(AnimationTest, APhaseWithoutLengthEndsAtOnceAndReadsAsEnded) {
    for (int reverse : {0, 1}) {
        auto a = TAnimation::Create(0, 1, reverse, 0);
        a->Start();
        EXPECT_FLOAT_EQ(a->GetRatio(), reverse ? 1.0f : 0.0f);
        EXPECT_EQ(a->GetAnimFrame(4), 3);
        EXPECT_EQ(a->Manage(), 1);
        EXPECT_EQ(a->Finished, 1);
        EXPECT_FLOAT_EQ(a->GetRatioInv(), reverse ? 0.0f : 1.0f);
    }
}

TEST_F(AnimationTest, PhasesBeyondTheLimitAreRefused) {
    auto a = TAnimation::Create(5, 0, 0, 0);
    for (int i = 1; i < TAnimation::MAX_PHASES; ++i)
        EXPECT_EQ(a->AddPhase(5), 0);
    EXPECT_EQ(a->AddPhase(5), -1);
    EXPECT_EQ(a->TotalPhases, TAnimation::MAX_PHASES);
    a->Start();
    EXPECT_EQ(TicksToEnd(*a, 100), 1);
    int phases = 1;
    while (!a->Finished && phases < 100) {
        a->Manage();
        ++phases;
    }
    EXPECT_EQ(phases, TAnimation::MAX_PHASES);
}

TEST_F(AnimationTest, CycleWrapsToTheFirstPhase) {
    auto a = TAnimation::Create(10, 0, 1, 1);
    a->AddPhase(20);
    a->Start();
    EXPECT_EQ(TicksToEnd(*a), 3);
    EXPECT_EQ(a->CurrentPhase, 1);
    EXPECT_EQ(TicksToEnd(*a), 5);
    EXPECT_EQ(a->CurrentPhase, 0);
    EXPECT_FLOAT_EQ(a->Counter, 0.0f);
    EXPECT_EQ(a->Finished, 0);
    EXPECT_EQ(a->Active, 1);
}

} // namespace
