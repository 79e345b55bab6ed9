#include "framework/graphics/explosion.h"
#include "framework/graphics/game_object.h"
#include "tests/framework/graphics/graphics_fixture.h"

using graphics_test::GraphicsTest;
using graphics_test::MemoryImage;

namespace {

class ExplosionTest : public GraphicsTest {
protected:
    // The frame the list draws now (-1 when nothing is drawn).
    int DrawnFrame() {
        platform::ClearDrawLog();
        explosions.Draw();
        const auto draws = ImageDraws();
        return draws.empty() ? -1 : draws[0].frame;
    }
    TExplosionList explosions;
};

TEST_F(ExplosionTest, WithoutAnAnimationItDiesOnItsFirstTick) {
    auto e = explosions.AddNew(3, 4, MemoryImage(8, 8));
    EXPECT_EQ(e->Explosions, &explosions);
    EXPECT_EQ((std::array{e->x, e->y}), (std::array{3.0f, 4.0f}));
    explosions.Manage();
    EXPECT_TRUE(explosions.Empty());
    EXPECT_EQ(e->Explosions, nullptr);
    e->Kill(); // harmless once out
}

TEST_F(ExplosionTest, TheStripPlaysForwardOnceAndEndsTheExplosion) {
    auto e = explosions.AddNew(100, 100, MemoryImage(8, 8, 10));
    e->StartAnim(1000, 10);
    EXPECT_EQ(e->AnimLength, 200);
    const std::pair<int, int> table[] = {{0, 0},   {19, 0},  {20, 1}, {100, 5},
                                         {179, 8}, {180, 9}, {199, 9}};
    int managed = 0;
    for (const auto& [ticks, frame] : table) {
        SCOPED_TRACE(ticks);
        for (; managed < ticks; ++managed)
            explosions.Manage();
        EXPECT_EQ(DrawnFrame(), frame);
    }
    explosions.Manage(); // the 200th tick
    EXPECT_TRUE(explosions.Empty());

    // A strip shorter than the frames asked for draws nothing for the missing frames.
    auto short_strip = explosions.AddNew(0, 0, MemoryImage(8, 8, 4));
    short_strip->StartAnim(100, 10);
    for (int i = 0; i < 10; ++i)
        explosions.Manage();
    EXPECT_EQ(DrawnFrame(), -1);
}

TEST_F(ExplosionTest, ExplosionsMoveScaleAndTurnWhileTheyPlay) {
    auto e = explosions.AddNew(0, 0, MemoryImage(8, 8));
    e->StartAnim(100, 1);
    e->dx = 2.0f;
    e->SetupScale(0.1f, 0.1f, 25); // 5 ticks
    e->SetupRotation(10.0f, 1000);
    for (int i = 0; i < 10; ++i)
        explosions.Manage();
    EXPECT_FLOAT_EQ(e->x, 20.0f);
    EXPECT_FLOAT_EQ(e->ScaleX, 1.5f);
    EXPECT_FLOAT_EQ(e->Rotation, 100.0f);
}

TEST_F(ExplosionTest, ExplosionsEndingTogetherLeaveThePassIntact) {
    // Explosions of 1 to 4 ticks, held only by the list: each frees itself mid-pass.
    const int ticks[] = {2, 1, 3, 1, 4, 2};
    for (int t : ticks)
        explosions.AddNew(0, 0, MemoryImage(4, 4))->StartAnim(t * 5, 1);
    std::vector<int> counts;
    for (int i = 0; i < 4; ++i) {
        explosions.Manage();
        counts.push_back(explosions.Count());
    }
    EXPECT_EQ(counts, (std::vector<int>{4, 2, 1, 0}));

    // An explosion that kills one later in the list (held by nothing else): that one is skipped.
    struct Chain : TExplosion {
        int Move() override {
            if (target)
                target->Kill();
            return TExplosion::Move();
        }
        TExplosion* target = nullptr;
    };
    auto killer = std::make_shared<Chain>();
    explosions.AddLast(killer);
    killer->StartAnim(100, 1);
    auto victim = explosions.AddNew(0, 0, MemoryImage(4, 4));
    victim->StartAnim(100, 1);
    killer->target = victim.get();
    std::weak_ptr<TExplosion> victimAlive = victim;
    victim.reset();
    explosions.Manage();
    EXPECT_TRUE(victimAlive.expired());
    EXPECT_EQ(explosions.Count(), 1);
    killer->target = nullptr;
}

class GameObjectTest : public GraphicsTest {
protected:
    TGameObjectList objects;
};

TEST_F(GameObjectTest, ObjectsLeavingTheScreenRemoveThemselves) {
    struct Case {
        std::string what;
        bool midHandle;
        int x, y;
        float dx, dy;
        int leavesOnTick;
    };
    const Case cases[] = {
        {"left, corner handle", false, 0, 100, -1, 0, 17},
        {"left, centre handle", true, 0, 100, -1, 0, 9},
        {"right", false, 790, 100, 2, 0, 6},
        {"down, centre handle", true, 400, 600, 0, 0.5f, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto image = MemoryImage(16, 16);
        image->MidHandle(c.midHandle ? 1 : 0);
        auto o = objects.AddNew(c.x, c.y, image);
        o->dx = c.dx;
        o->dy = c.dy;
        int left = 0;
        for (int tick = 1; tick <= 100 && !left; ++tick) {
            objects.Move();
            if (objects.Empty())
                left = tick;
        }
        EXPECT_EQ(left, c.leavesOnTick);
        EXPECT_EQ(o->GameObjects, nullptr);
    }
}

TEST_F(GameObjectTest, KillEmptiesTheListAndCollideWritesLayerOne) {
    std::vector<TGameObjectPtr> kept;
    for (int i = 0; i < 5; ++i)
        kept.push_back(objects.AddNew(100 * i, 50, MemoryImage(10, 10)));
    platform::ResetCollisions();
    objects.Collide();
    auto hits = platform::CollideRect(200, 50, 5, 5, 1, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], kept[2].get());
    EXPECT_TRUE(platform::CollideRect(200, 50, 5, 5, 2, 0).empty());
    platform::ResetCollisions();

    platform::ClearDrawLog();
    objects.Draw();
    const auto draws = ImageDraws();
    ASSERT_EQ(draws.size(), 5u);
    EXPECT_FLOAT_EQ(draws[4].x, 400.0f); // first to last

    objects.Kill();
    EXPECT_TRUE(objects.Empty());
    for (const auto& o : kept)
        EXPECT_EQ(o->GameObjects, nullptr);
}

TEST_F(GameObjectTest, AnObjectBelongsToOneListAtATime) {
    TGameObjectList other;
    auto o = objects.AddNew(0, 0, MemoryImage(4, 4));
    other.AddLast(o);
    EXPECT_TRUE(objects.Empty());
    EXPECT_EQ(other.Count(), 1);
    EXPECT_EQ(o->GameObjects, &other);
    {
        TGameObjectList gone;
        gone.AddLast(o);
    }
    EXPECT_EQ(o->GameObjects, nullptr); // a list that goes lets its objects go
    o->Kill();
}

} // namespace
