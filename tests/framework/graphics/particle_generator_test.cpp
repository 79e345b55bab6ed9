#include "framework/graphics/particle_generator.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;

namespace {

class ParticleGeneratorTest : public GraphicsTest {
protected:
    // A function that notes the tick of every emission.
    TParticleGenerator::TMakeParticleFunction Recorder() {
        return [this](TParticleGenerator&) {
            emissions.push_back(tick);
            return 0;
        };
    }
    // Manages the list for ticks whole ticks.
    void Run(TParticleGeneratorList& list, int ticks) {
        for (int i = 0; i < ticks; ++i) {
            ++tick;
            list.Manage();
        }
    }
    int tick = 0;
    std::vector<int> emissions;
    TParticleGeneratorList list;
};

TEST_F(ParticleGeneratorTest, EmissionsFollowTheIntervalUntilTheQuantityIsMade) {
    struct Case {
        int qty;
        float intervalMs;
        std::vector<int> ticks; // of the emissions
        int listed;             // generators in the list after Add
    };
    const Case cases[] = {
        {1, 100, {0}, 0},         {0, 100, {0}, 0},
        {3, 100, {0, 20, 40}, 1}, {2, 7.5f, {0, 2}, 1}, // 1.5 ticks: due in the second tick
        {3, 0, {0}, 1}, // no interval: nothing after the first, kept in the list
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.qty) + " every " + std::to_string(c.intervalMs) + " ms");
        tick = 0;
        emissions.clear();
        list.Clear();
        list.Add(5, 6, c.qty, c.intervalMs, Recorder());
        EXPECT_EQ(list.Count(), c.listed);
        Run(list, 60);
        EXPECT_EQ(emissions, c.ticks);
    }
}

TEST_F(ParticleGeneratorTest, TheListDropsAGeneratorOnItsLastEmission) {
    auto generator = list.Add(0, 0, 3, 100, Recorder());
    Run(list, 39);
    EXPECT_EQ(list.Count(), 1);
    Run(list, 1);
    EXPECT_EQ(emissions, (std::vector<int>{0, 20, 40}));
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(generator->Active, 0);
    EXPECT_EQ(generator->Manage(), -1);
}

TEST_F(ParticleGeneratorTest, ShortIntervalsEmitSeveralTimesATickButNoMoreThanAsked) {
    auto generator = list.Add(0, 0, 10, 2, Recorder()); // 0.4 ticks
    std::vector<int> perTick;
    size_t seen = emissions.size();
    while (!list.Empty() && tick < 100) {
        Run(list, 1);
        perTick.push_back(static_cast<int>(emissions.size() - seen));
        seen = emissions.size();
    }
    EXPECT_EQ(emissions.size(), 10u);
    for (size_t i = 0; i + 1 < perTick.size(); ++i) {
        EXPECT_GE(perTick[i], 2);
        EXPECT_LE(perTick[i], 3);
    }
    EXPECT_EQ(generator->Qty, 0);
}

TEST_F(ParticleGeneratorTest, AGeneratorMovesEveryTickAndHandsItselfToItsFunction) {
    std::vector<std::array<float, 4>> seen;
    auto generator = list.Add(10, 20, 3, 50, [&seen](TParticleGenerator& g) {
        seen.push_back({g.x, g.y, static_cast<float>(g.Data1), static_cast<float>(g.Qty)});
        return 0;
    });
    generator->dx = 1.0f;
    generator->dy = -0.5f;
    Run(list, 3);
    EXPECT_FLOAT_EQ(generator->x, 13.0f); // between emissions too
    Delta = 0.5f;
    Run(list, 1);
    EXPECT_FLOAT_EQ(generator->x, 13.5f);
    EXPECT_FLOAT_EQ(generator->y, 18.25f);
    Delta = 1.0f;
    Run(list, 7);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::array<float, 4>{10, 20, 0, 2}));
    EXPECT_EQ(seen[1], (std::array<float, 4>{20.5f, 14.75f, 0, 1}));

    auto direct = TParticleGenerator::Create(1, 2, 5, 50, nullptr, 7, 8); // no function: no crash
    EXPECT_EQ((std::array{direct->Data1, direct->Data2, direct->Qty}), (std::array{7, 8, 4}));
}

TEST_F(ParticleGeneratorTest, AGeneratorWithoutEndRunsUntilStopped) {
    auto generator = TParticleGenerator::Create(0, 0, 1, 50, Recorder(), 0, 0); // 10 ticks
    list.AddLast(generator);
    Run(list, 100);
    EXPECT_EQ(emissions.size(), 11u);
    generator->Active = 0;
    Run(list, 20);
    EXPECT_EQ(emissions.size(), 11u);
    EXPECT_EQ(list.Count(), 1); // stopped, but the owner removes it
    list.Remove(generator.get());
    EXPECT_TRUE(list.Empty());

    // An interval too small to move the count emits once a tick instead of for ever.
    emissions.clear();
    auto tiny = TParticleGenerator::Create(0, 0, 0, 1e-9f, Recorder(), 0, 0);
    for (int i = 0; i < 5; ++i)
        tiny->Manage();
    EXPECT_EQ(emissions.size(), 6u);

    // An owner's interval of 0 on a counted generator: the rest comes at once and it ends.
    emissions.clear();
    auto counted = list.Add(0, 0, 4, 50, Recorder());
    counted->Interval = 0.0f;
    Run(list, 10);
    EXPECT_EQ(emissions.size(), 4u);
    EXPECT_TRUE(list.Empty());
}

TEST_F(ParticleGeneratorTest, FunctionsMayChangeTheListDuringAPass) {
    TParticleGeneratorPtr second;
    int secondEmissions = 0, addedEmissions = 0;
    auto first = list.Add(0, 0, 2, 5, [&](TParticleGenerator&) {
        if (second) { // on its last emission it takes the second one out and starts another
            list.Remove(second.get());
            second.reset();
            list.Add(0, 0, 5, 5, [&](TParticleGenerator&) { return ++addedEmissions; });
        }
        return 0;
    });
    second = list.Add(0, 0, 5, 5, [&](TParticleGenerator&) { return ++secondEmissions; });
    EXPECT_EQ(secondEmissions, 1);
    std::weak_ptr<TParticleGenerator> firstAlive = first;
    first.reset();
    Run(list, 1);
    EXPECT_TRUE(firstAlive.expired()); // dropped after its last emission
    EXPECT_EQ(secondEmissions, 1);     // removed before its turn
    EXPECT_EQ(addedEmissions, 1);      // made at once, managed from the next pass
    EXPECT_EQ(list.Count(), 1);
    Run(list, 1);
    EXPECT_EQ(addedEmissions, 2);
}

} // namespace
