#include "framework/shell/game.h"
#include "framework/shell/hot_keys.h"
#include "framework/util/input.h"
#include "game/app/my_game.h"
#include "game/board/asset_names.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ShellDriver;
using testing_support::TProbeScreen;

class MyGame : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(std::make_unique<TMyGame>());
        Game->SetSubPathWrapper("My Game Test");
        Game->Init(4);
        screen = std::make_shared<TProbeScreen>("title", 0);
        screen->PreStart();
    }
    ShellDriver driver;
    std::shared_ptr<TProbeScreen> screen;
};

TEST_F(MyGame, FocusChangesNeitherSuspendNorSilence) {
    Game->MusicRestart = 0;
    platform::EmitEvent({platform::EVENT_APPSUSPEND, 0, 0, 0, nullptr});
    driver.Ticks(1);
    EXPECT_EQ(Game->SuspendedEvent, 0);
    EXPECT_EQ(Game->Suspended, 0);
    EXPECT_EQ(Game->Music, 1);
    size_t logic = screen->deltas.size();
    driver.Ticks(3);
    EXPECT_EQ(screen->deltas.size(), logic + 3); // the game goes on
}

TEST_F(MyGame, NoBossOrSoundDriverKey) {
    Game->SoundDriver = "FreeAudio";
    platform::InjectKey(FRAMEWORK_SOUNDDRIVER_KEY, true);
    platform::InjectKey(FRAMEWORK_BOSS_KEY, true);
    driver.Ticks(1);
    EXPECT_EQ(Game->SoundDriver, "FreeAudio");
    EXPECT_EQ(Keys[FRAMEWORK_SOUNDDRIVER_KEY], 1); // not read
    EXPECT_EQ(Keys[FRAMEWORK_BOSS_KEY], 1);
}

TEST_F(MyGame, MusicThatCannotBeStreamedLeavesNoChannelAndNoError) {
    Game->MusicLoad("no such music.ogg", 1);
    EXPECT_EQ(Game->MusicChannel, nullptr);
    EXPECT_EQ(Game->MusicRestart, 1);
    EXPECT_EQ(Game->MusicFileName, "no such music.ogg");
    Game->MusicPlay(1);
    EXPECT_EQ(Game->MusicName, "no such music.ogg");
    EXPECT_TRUE(driver.notes.empty());
}

TEST_F(MyGame, MusicStreamsFromTheMusicFolder) {
    Game->DataInAppBundle = 1;
    Game->SetSubPathWrapper("My Game Test");
    Game->ChangeSoundDriver("OpenAL", 0);
    Game->MusicChannel = platform::AllocChannel();
    Game->MusicLoad(TITLE_MUSIC, 0);
    ASSERT_NE(Game->MusicChannel, nullptr);
    EXPECT_EQ(Game->MusicLooped, 0);
    Game->MusicPlay(1);
    EXPECT_EQ(Game->MusicRestart, 0);
    EXPECT_EQ(Game->MusicName, TITLE_MUSIC);
    EXPECT_EQ(Game->MusicOff(), 1);
    EXPECT_EQ(Game->MusicOn(), 1);
    Game->MusicStop();
}

TEST_F(MyGame, MusicStopStopsAStreamEvenWhenItIsPaused) {
    struct TStopChannel : platform::TChannel {
        void Stop() override { ++stops; }
        int stops = 0;
    };
    auto stream = std::make_shared<TStopChannel>();
    Game->MusicChannel = stream;
    Game->MusicStop();
    EXPECT_EQ(stream->stops, 1);
    EXPECT_NE(Game->MusicChannel, stream);
    EXPECT_EQ(Game->MusicRestart, 1);
}

} // namespace
