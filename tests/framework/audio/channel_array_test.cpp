#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/shell/game.h"
#include "tests/support/fake_channel.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::TFakeChannel;

namespace {

// A pool whose entries play into fake channels.
class ChannelPool : public testing::Test {
protected:
    void SetUp() override {
        platform::SetAudioDriver("FreeAudio");
        Game = std::make_unique<TGame>();
    }

    TChannelArrayPtr MakePool(int count) {
        TChannelArrayPtr pool = TChannelArray::Create(count);
        fakes.clear();
        for (const TGameChannelPtr& entry : pool->Channels) {
            fakes.push_back(std::make_shared<TFakeChannel>());
            entry->Channel = fakes.back();
        }
        return pool;
    }
    int IndexOf(const TChannelArrayPtr& pool, const TGameChannelPtr& entry) {
        int i = 0;
        for (const TGameChannelPtr& e : pool->Channels) {
            if (e == entry) {
                return i;
            }
            ++i;
        }
        return -1;
    }

    std::vector<std::shared_ptr<TFakeChannel>> fakes;
};

TEST_F(ChannelPool, GetChannelSearchesTheRingAfterCurrent) {
    // F free, B busy (playing), P playing but handed out anyway, R reserved.
    struct Case {
        const char* entries;
        int current;
        int expected; // -1 = null
    };
    const Case cases[] = {
        {"BFBB", 1, -1}, // only the current entry is free: never returned
        {"FBBB", 1, 0},  // wraps from the last entry to the first
        {"FFFF", 0, 1},  {"FFFF", 3, 0},  {"FRFF", 0, 2},
        {"FPFF", 0, 1},  {"BBBB", 2, -1}, {"F", 0, -1}, // a pool of one never yields
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entries) + " current " + std::to_string(c.current));
        TChannelArrayPtr pool = MakePool(int(std::string(c.entries).size()));
        int i = 0;
        for (const TGameChannelPtr& entry : pool->Channels) {
            const char state = c.entries[i];
            fakes[size_t(i)]->playing = state == 'B' || state == 'P';
            entry->PlayWhenFinished = state == 'P' ? 0 : 1;
            entry->Reserved = state == 'R' ? 1 : 0;
            if (i == c.current) {
                pool->Current = entry;
            }
            ++i;
        }
        const TGameChannelPtr got = pool->GetChannel();
        EXPECT_EQ(IndexOf(pool, got), c.expected);
        if (got) {
            EXPECT_EQ(pool->Current, got);
        }
    }
    EXPECT_FALSE(TChannelArray::Create(0)->GetChannel());
}

TEST_F(ChannelPool, BalanceVolumes) {
    struct Case {
        int size;
        float maxVol;
        int playing;
        int extra;
        int soundVolume;
        float factor;
    };
    const Case cases[] = {
        {16, 16.0f, 0, 1, 100, 1.0f},
        {16, 16.0f, 15, 1, 100, 1.0f},
        {16, 16.0f, 16, 1, 100, 16.0f / 17.0f},
        {4, 1.5f, 1, 1, 100, 0.75f},
        {4, 1.5f, 0, 0, 100, 1.0f},
        {4, 1.5f, 3, 0, 50, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + "/" + std::to_string(c.playing));
        TChannelArrayPtr pool = MakePool(c.size);
        pool->MaxVol = c.maxVol;
        Game->SoundVolume = c.soundVolume;
        int i = 0;
        for (const TGameChannelPtr& entry : pool->Channels) {
            fakes[size_t(i)]->playing = i < c.playing;
            entry->OriginalVolume = i % 2 ? 0.5f : 1.0f;
            ++i;
        }
        EXPECT_FLOAT_EQ(pool->BalanceVolumes(c.extra), c.factor);
        for (size_t k = 0; k < fakes.size(); ++k) {
            const float original = k % 2 ? 0.5f : 1.0f;
            EXPECT_FLOAT_EQ(fakes[k]->volume, original * c.factor * float(c.soundVolume) / 100.0f);
        }
        EXPECT_EQ(pool->CountPlaying(), c.playing);
    }
}

TEST_F(ChannelPool, PlayGameSoundBalancesAndRemembersTheVolume) {
    TChannelArrayPtr pool = MakePool(4);
    fakes[0]->playing = true;
    auto sound = std::make_shared<TGameSound>();
    sound->sound = std::make_shared<platform::TSound>();

    const TGameChannelPtr entry = pool->PlayGameSound(sound, nullptr, 0.8f, -0.5f);
    ASSERT_EQ(IndexOf(pool, entry), 1);
    EXPECT_FLOAT_EQ(entry->OriginalVolume, 0.8f);
    EXPECT_FLOAT_EQ(sound->volume, 0.75f * 0.8f);
    EXPECT_FLOAT_EQ(fakes[0]->volume, 0.75f);
    EXPECT_EQ(fakes[1]->cued, sound->sound);
    EXPECT_EQ(fakes[1]->resumes, 1);

    // The given entry is used even when it plays; with sound off it is returned, nothing played.
    fakes[2]->playing = true;
    EXPECT_EQ(pool->PlayGameSound(sound, *std::next(pool->Channels.begin(), 2), 1.0f, 0.0f),
              *std::next(pool->Channels.begin(), 2));
    EXPECT_EQ(fakes[2]->cues, 1);
    Game->Sound = 0;
    const int cues = fakes[2]->cues + fakes[3]->cues;
    EXPECT_TRUE(pool->PlayGameSound(sound, nullptr, 1.0f, 0.0f));
    EXPECT_EQ(fakes[2]->cues + fakes[3]->cues, cues);

    // No free entry, or no sound: nothing played.
    for (auto& fake : fakes) {
        fake->playing = true;
    }
    EXPECT_FALSE(pool->PlayGameSound(sound, nullptr, 1.0f, 0.0f));
    EXPECT_FALSE(pool->PlayGameSound(nullptr, nullptr, 1.0f, 0.0f));
}

TEST_F(ChannelPool, StopGameChannelReplacesTheEntry) {
    TChannelArrayPtr pool = MakePool(16);
    const TGameChannelPtr third = pool->ChannelByIndex(3);
    pool->StopGameChannel(third);
    EXPECT_EQ(pool->Channels.size(), 16u);
    EXPECT_EQ(IndexOf(pool, third), -1);
    EXPECT_EQ(pool->Current, pool->Channels.back());
    EXPECT_NE(pool->Current, third);
    EXPECT_TRUE(pool->Current->Channel);
    EXPECT_EQ(fakes[2]->stops, 1);
    EXPECT_EQ(third->Channel, fakes[2]); // the caller keeps it, stopped

    pool->StopGameChannel(third); // no longer in the pool: nothing changes
    pool->StopGameChannel(nullptr);
    EXPECT_EQ(pool->Channels.size(), 16u);
}

TEST_F(ChannelPool, ChannelByIndexAndKill) {
    TChannelArrayPtr pool = MakePool(16);
    EXPECT_EQ(pool->ChannelByIndex(0), pool->Channels.front());
    EXPECT_EQ(pool->ChannelByIndex(1), pool->Channels.front());
    EXPECT_EQ(pool->ChannelByIndex(16), pool->Channels.back());
    EXPECT_FALSE(pool->ChannelByIndex(17));
    EXPECT_EQ(pool->Current, pool->Channels.front());

    pool->Kill();
    EXPECT_TRUE(pool->Channels.empty());
    EXPECT_FALSE(pool->Current);
    for (auto& fake : fakes) {
        EXPECT_EQ(fake->stops, 1);
    }
}

} // namespace
