#include "framework/audio/game_sound.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/util/globals.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "tests/support/fake_channel.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ShellDriver;
using testing_support::TStatefulFakeChannel;

class AudioControl : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(std::make_unique<TGame>());
        Game->SetSubPathWrapper("Audio Test");
        Game->Init(4);
        music = std::make_shared<TStatefulFakeChannel>();
        speech = std::make_shared<TStatefulFakeChannel>();
        Game->MusicChannel = music;
        Game->SpeechChannel = speech;
        sound = std::make_shared<TGameSound>();
        sound->sound = std::make_shared<platform::TSound>();
        sound->volume = 0.5f;
        sound->pitch = 1.5f;
    }
    bool Marked() {
        bool marked = platform::FileType(Game->IniChangedPath()) == platform::FILETYPE_FILE;
        platform::DeleteFile(Game->IniChangedPath());
        return marked;
    }
    ShellDriver driver;
    std::shared_ptr<TStatefulFakeChannel> music, speech;
    std::shared_ptr<TGameSound> sound;
};

TEST_F(AudioControl, VolumesClampAndSaveOnlyWhenAsked) {
    Game->MusicVolume = 95;
    Game->MusicChangeVolume(10);
    EXPECT_EQ(Game->MusicVolume, 100);
    EXPECT_FLOAT_EQ(music->volume, 1.0f);
    EXPECT_TRUE(Marked());
    Game->MusicChangeVolume(10);
    EXPECT_EQ(Game->MusicVolume, 100);
    EXPECT_TRUE(Marked()); // unchanged, still saved
    Game->SoundSetVolume(-20, 2);
    Game->SpeechSetVolume(40, 2);
    EXPECT_EQ(Game->SoundVolume, 0);
    EXPECT_FLOAT_EQ(speech->volume, 0.4f);
    EXPECT_FALSE(Marked());
}

TEST_F(AudioControl, MusicSwitch) {
    // Right after a load (nothing played yet) the music cannot be switched off.
    Game->MusicRestart = 1;
    EXPECT_EQ(Game->MusicOff(), 0);
    EXPECT_EQ(Game->Music, 1);
    Game->MusicRestart = 0;
    EXPECT_EQ(Game->MusicOff(), 1);
    EXPECT_TRUE(music->paused);
    EXPECT_EQ(Game->MusicOn(), 1);
    EXPECT_FALSE(music->paused);
    EXPECT_EQ(Game->MusicOn(), 0);

    // A non-looping music that has ended is not resumed.
    Game->MusicOff();
    Game->MusicLooped = 0;
    Game->MusicStopped = 1;
    music->paused = false;
    music->playing = false;
    Game->MusicOn();
    EXPECT_FALSE(music->playing);

    // Toggling while paused does nothing at all; the sound switch works while paused.
    Game->Paused = 1;
    Game->ToggleMusic();
    EXPECT_EQ(Game->Music, 1);
    EXPECT_FALSE(Marked());
    Game->ToggleSound();
    EXPECT_EQ(Game->Sound, 0);
    EXPECT_TRUE(Marked());
}

TEST_F(AudioControl, MusicOnWithoutMusicLoadsNothing) {
    // "none" is no music: switching music on looks for no file of that name.
    struct TCountingGame : TGame {
        int MusicLoad(const std::string& file, int looped) override {
            loaded.push_back(file);
            return TGame::MusicLoad(file, looped);
        }
        std::vector<std::string> loaded;
    };
    TCountingGame game;
    game.Music = 0;
    EXPECT_EQ(game.MusicOn(), 1);
    game.Music = 0;
    game.MusicNone();
    EXPECT_EQ(game.MusicOn(), 1);
    EXPECT_EQ(game.loaded, std::vector<std::string>{});
    EXPECT_EQ(game.MusicRestart, 1) << "loaded and played once there is music";
}

TEST_F(AudioControl, MusicFadesInOverItsFirstTicks) {
    auto sample = std::make_shared<platform::TSound>();
    Game->MusicSample = sample;
    Game->MusicVolume = 50;
    Game->MusicPlay(1);
    EXPECT_FLOAT_EQ(Game->MusicFadeInCounter, 9.8f);
    EXPECT_NEAR(music->volume, 0.02f * 0.5f, 1e-6);
    EXPECT_EQ(music->cued, sample);
    EXPECT_EQ(Game->MusicRestart, 0);
    for (int i = 0; i < 10; ++i)
        Game->CheckWindow();
    EXPECT_FLOAT_EQ(music->volume, 0.5f);

    Game->MusicFadeIn = 3.0f; // shorter than one tick: full volume at once
    Game->MusicPlay(1);
    EXPECT_FLOAT_EQ(music->volume, 0.5f);
}

TEST_F(AudioControl, GameSoundsPlayThroughTheCallersChannel) {
    platform::ChannelPtr channel = std::make_shared<TStatefulFakeChannel>();
    auto fake = std::static_pointer_cast<TStatefulFakeChannel>(channel);
    Game->SoundVolume = 80;
    Game->GameSoundPlay(channel, sound, -0.5f);
    EXPECT_FLOAT_EQ(fake->volume, 0.4f);
    EXPECT_FLOAT_EQ(fake->pan, -0.5f);
    EXPECT_FLOAT_EQ(fake->rate, 1.5f);
    EXPECT_TRUE(fake->Playing());

    // Played again while it plays: stopped first; during a fade at half, half the volume.
    Game->GameFade->Init(FADE_SPEED, 1, nullptr, 1, 0);
    driver.Ticks(50);
    Game->GameSoundPlay(channel, sound, 0.0f);
    EXPECT_EQ(fake->stops, 1);
    EXPECT_FLOAT_EQ(fake->volume, 0.2f);

    Game->SoundOff();
    Game->GameSoundPlay(channel, sound, 0.0f);
    EXPECT_EQ(fake->cues, 2);
}

TEST_F(AudioControl, SpeechInterrupts) {
    Game->SpeechPlay(sound, 0);
    EXPECT_EQ(speech->cues, 1);
    Game->SpeechPlay(sound, 0); // plays: left alone
    EXPECT_EQ(speech->cues, 1);
    Game->SpeechPlay(sound, 1);
    EXPECT_EQ(speech->cues, 2);
    Game->SpeechStop();
    EXPECT_EQ(speech->stops, 1);
    EXPECT_NE(Game->SpeechChannel, speech); // a fresh channel
}

TEST_F(AudioControl, PauseSilencesWhatWasOnAndRestoresIt) {
    Game->Music = 0;
    Game->Pause();
    EXPECT_EQ(Game->Speech, 0);
    EXPECT_TRUE(speech->paused);
    Game->UnPause();
    EXPECT_EQ(Game->Speech, 1);
    EXPECT_EQ(Game->Music, 0);
}

TEST_F(AudioControl, EscapeSoundOnlyWithSoundOn) {
    auto escape = std::make_shared<TStatefulFakeChannel>();
    Game->EscapeChannel = escape;
    Game->EscapeSoundPlay(); // none set: nothing
    Game->EscapeSound = sound;
    Game->Sound = 0;
    Game->EscapeSoundPlay();
    EXPECT_EQ(escape->cues, 0);
}

TEST_F(AudioControl, SuspensionSilencesAndResumes) {
    Game->MusicRestart = 0;
    Game->Speech = 0;
    Game->SuspendedEvent = 1;
    Game->CheckWindow();
    EXPECT_EQ(Game->Suspended, 1);
    EXPECT_TRUE(music->paused);
    Game->SuspendedEvent = 0;
    Game->CheckWindow();
    EXPECT_EQ(Game->Suspended, 0);
    EXPECT_FALSE(music->paused);
    EXPECT_EQ(Game->Speech, 0);

    // Already paused: nothing saved, nothing turned on.
    Game->Paused = 1;
    Game->Music = 0;
    Game->SuspendedEvent = 1;
    Game->CheckWindow();
    Game->SuspendedEvent = 0;
    Game->CheckWindow();
    EXPECT_EQ(Game->Music, 0);
}

TEST_F(AudioControl, EndedMusicAndSpeechAreNoticedWhenRunning) {
    Game->MusicLooped = 0;
    music->playing = false;
    Game->Paused = 1;
    Game->CheckWindow();
    EXPECT_EQ(Game->MusicStopped, 0); // not while paused
    Game->Paused = 0;
    Game->CheckWindow();
    EXPECT_EQ(Game->MusicStopped, 1);
    EXPECT_EQ(Game->SpeechStopped, 1);
}

TEST_F(AudioControl, ShowPausedNeedsASprite) {
    platform::SetDrawLog(true);
    platform::ClearDrawLog();
    Game->Paused = 1;
    Game->ShowPaused();
    EXPECT_TRUE(platform::DrawLog().empty());
    platform::SetDrawLog(false);
}

} // namespace

namespace {

TEST(DebugOverlay, LinesAndPanel) {
    testing_support::ShellDriver driver;
    driver.UseGame(std::make_unique<TGame>());
    Game->MusicVolume = 20;
    Game->Music = 0;
    auto lines = Game->DebugLines();
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[16], "M. Vol. 20 (off)");
    EXPECT_EQ(lines[18], "Sp. Vol.100 (on)");
    EXPECT_EQ(lines[15], "Win Mem 0MB Used/0MB Total = 0% Load");
    Game->GraphicPlacement = 1;
    Game->SetGP(3, 4);
    lines = Game->DebugLines();
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[28], "GP Y    4");

    platform::SetDrawLog(true);
    platform::ClearDrawLog();
    Game->DebugPrint(); // off: nothing
    EXPECT_TRUE(platform::DrawLog().empty());
    Game->Debug = 1;
    Game->DebugDisplayX = 5;
    Game->DebugDisplayY = 5;
    Game->DebugPrint();
    ASSERT_FALSE(platform::DrawLog().empty());
    const auto& panel = platform::DrawLog().front();
    EXPECT_EQ(panel.kind, platform::TDrawRecord::RECT);
    EXPECT_FLOAT_EQ(panel.x, 0.0f);
    EXPECT_FLOAT_EQ(panel.h, 358.0f);
    platform::SetDrawLog(false);
}

} // namespace
