#include "framework/audio/ambient_sounds.h"
#include "framework/audio/channel_array.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/system.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_channel.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testing_support::TFakeChannel;

namespace {

class AmbientSounds : public testing::Test {
protected:
    void SetUp() override {
        platform::SetAudioDriver("FreeAudio");
        platform::SeedRnd(1234);
        Game = std::make_unique<TGame>();
        Game->FixedRateLogic->CalcMS(); // 200 ticks a second
        Game->Channels = TChannelArray::Create(4);
        for (const TGameChannelPtr& entry : Game->Channels->Channels) {
            fakes.push_back(std::make_shared<TFakeChannel>());
            entry->Channel = fakes.back();
        }
    }
    int Plays() const {
        int n = 0;
        for (const auto& fake : fakes) {
            n += fake->cues;
        }
        return n;
    }
    static TGameSoundPtr Sound() {
        auto sound = std::make_shared<TGameSound>();
        sound->sound = std::make_shared<platform::TSound>();
        return sound;
    }

    std::vector<std::shared_ptr<TFakeChannel>> fakes;
    TAmbientSounds ambient;
};

TEST_F(AmbientSounds, PlaysAtTheEndOfEveryPeriodByChance) {
    ambient.Init(5000, 100); // 200 ticks a second: 1000 ticks
    EXPECT_EQ(ambient.SoundCounterMax, 1000);
    ambient.AddSound(Sound());
    for (int tick = 1; tick <= 3000; ++tick) {
        ambient.Manage();
        EXPECT_EQ(Plays(), tick / 1000) << tick;
    }

    ambient.Init(50, 0);
    for (int tick = 0; tick < 1000; ++tick) {
        ambient.Manage();
    }
    EXPECT_EQ(Plays(), 3);

    // About a quarter of the periods at 25 percent (seeded): 4000 periods of one tick.
    ambient.Init(5, 25);
    for (int tick = 0; tick < 4000; ++tick) {
        ambient.Manage();
    }
    EXPECT_GT(Plays() - 3, 850);
    EXPECT_LT(Plays() - 3, 1150);
}

TEST_F(AmbientSounds, FractionalTicksCountOnlyTheirFraction) {
    ambient.Init(10, 100); // 2 ticks
    ambient.AddSound(Sound());
    Delta = 0.5f;
    ambient.Manage();
    ambient.Manage();
    ambient.Manage();
    EXPECT_EQ(Plays(), 0);
    EXPECT_FLOAT_EQ(ambient.SoundCounter, 0.5f);
    ambient.Manage();
    EXPECT_EQ(Plays(), 1);
    EXPECT_FLOAT_EQ(ambient.SoundCounter, 2.0f); // the overshoot carried (here none)
}

TEST_F(AmbientSounds, FillAddAndKill) {
    testing_support::TempDir dir;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(testing_support::WriteTextFile(
            dir.File("wind" + std::to_string(i) + ".wav"),
            testing_support::MakeWav(testing_support::TWavSpec{}, std::string(4 * (i + 1), 'x'))));
    }
    ambient.Fill(dir.File("wind"), 3, ".wav");
    ASSERT_EQ(ambient.TotalSounds, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ambient.Sounds[size_t(i)]->name, "WIND" + std::to_string(i));
        EXPECT_EQ(ambient.Sounds[size_t(i)]->sound->pcm.size(), size_t(4 * (i + 1)));
    }
    for (int i = 0; i < 30; ++i) {
        ambient.AddSound(Sound());
    }
    EXPECT_EQ(ambient.TotalSounds, TAmbientSounds::MAX_SOUNDS);

    ambient.Kill();
    EXPECT_EQ(ambient.TotalSounds, TAmbientSounds::MAX_SOUNDS);
    EXPECT_FALSE(ambient.Sounds[0]);
    ambient.Init(5, 100);
    for (int i = 0; i < 10; ++i) {
        ambient.Manage(); // empty slots: nothing plays, nothing breaks
    }
    EXPECT_EQ(Plays(), 0);
}

TEST_F(AmbientSounds, NothingToPlayIsHarmless) {
    ambient.Init(5, 100);
    for (int i = 0; i < 10; ++i) {
        ambient.Manage();
    }
    Game->Channels = nullptr;
    ambient.AddSound(Sound());
    ambient.Manage();
    EXPECT_EQ(Plays(), 0);
}

} // namespace
