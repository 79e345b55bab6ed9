// Music, sound effects and speech: switches, volumes, the music fade-in, the channel pool and the
// sound driver.

#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/util/assets.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

namespace {

float ChannelVolume(int volume) {
    return static_cast<float>(volume) / 100.0f;
}

} // namespace

// ---- Music -------------------------------------------------------------------------------------

int TGame::MusicLoad(const std::string& file, int looped) {
    if (Music) {
        MusicStop();
        MusicSample = ccLoadSample(MusicPath + file, looped);
    }
    MusicLooped = looped;
    MusicRestart = 1;
    MusicFileName = file;
    return 0;
}

int TGame::MusicStop() {
    if (Music && MusicChannel && platform::ChannelPlaying(MusicChannel)) {
        platform::StopChannel(MusicChannel);
        MusicChannel = platform::AllocChannel();
    }
    MusicRestart = 1;
    return 0;
}

int TGame::MusicPlay(int fadeIn) {
    return MusicStart(fadeIn, 1);
}

int TGame::MusicStart(int fadeIn, int cue) {
    if (Music && MusicChannel && (!cue || MusicSample)) {
        // The counter starts one millisecond's worth short of the whole fade-in, so the first
        // volume applied is just above silence.
        MusicFadeInCounter =
            fadeIn ? CalcAnimLength(platform::TruncToInt(MusicFadeIn - 1.0f)) : 0.0f;
        if (cue)
            platform::CueSound(MusicSample, MusicChannel);
        MusicFadeInApply();
        platform::ResumeChannel(MusicChannel);
        MusicRestart = 0;
        MusicStopped = 0;
    } else if (!Music) {
        MusicRestart = 1;
    }
    MusicName = MusicFileName;
    return 0;
}

int TGame::MusicNone() {
    MusicFileName = "none";
    MusicName = "none";
    MusicRestart = 1;
    return 0;
}

float TGame::MusicFadeInCalc() {
    int length = platform::TruncToInt(CalcAnimLength(platform::TruncToInt(MusicFadeIn)));
    // A fade-in shorter than one tick is already complete.
    if (length <= 0)
        return 1.0f;
    return (static_cast<float>(length) - MusicFadeInCounter) / static_cast<float>(length);
}

int TGame::MusicFadeInApply() {
    float ratio = MusicFadeIn > 0 ? MusicFadeInCalc() : 1.0f;
    platform::SetChannelVolume(MusicChannel, ratio * ChannelVolume(MusicVolume));
    return 0;
}

int TGame::MusicFadeInManage() {
    if (MusicFadeInCounter > 0) {
        MusicFadeInCounter -= Delta;
        if (MusicFadeInCounter < 0)
            MusicFadeInCounter = 0;
        MusicFadeInApply();
    }
    return 0;
}

int TGame::MusicSetVolume(int volume, int save) {
    MusicVolume = volume;
    ccRangeCheck100(MusicVolume);
    platform::SetChannelVolume(MusicChannel, ChannelVolume(MusicVolume));
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::MusicChangeVolume(int step) {
    return MusicSetVolume(MusicVolume + step, 1);
}

int TGame::ToggleMusic() {
    if (Paused)
        return 0;
    if (Music)
        MusicOff();
    else
        MusicOn();
    IniUpdate(1);
    FixedRateLogic->Init();
    return 0;
}

int TGame::MusicOff() {
    if (MusicRestart)
        return 0;
    Music = 0;
    platform::PauseChannel(MusicChannel);
    platform::PauseChannel(SpecialChannel);
    MusicRestart = 0;
    return 1;
}

int TGame::MusicOn() {
    if (Music == 1)
        return 0;
    Music = 1;
    if (MusicRestart == 1 || !MusicChannel) {
        // "none" is no music, not a file to look for.
        if (MusicFileName != "none")
            MusicLoad(MusicFileName, MusicLooped);
        if (MusicName != "none")
            MusicPlay(1);
    } else {
        if (MusicLooped || !MusicStopped)
            platform::ResumeChannel(MusicChannel);
        platform::ResumeChannel(SpecialChannel);
    }
    return 1;
}

// ---- Channels and the sound driver -------------------------------------------------------------

int TGame::ChannelsCreate(int count) {
    Channels = TChannelArray::Create(count);
    Channels->MaxVol = static_cast<float>(count);
    return 0;
}

int TGame::ChannelsKill() {
    if (Channels) {
        Channels->Kill();
        Channels = nullptr;
    }
    return 0;
}

int TGame::ChangeSoundDriver(const std::string& name, int save) {
    if (name.compare(0, 6, "OpenAL") == 0)
        platform::EnableOpenALAudio();
    if (platform::SetAudioDriver(name))
        SoundDriver = name;
    else if (save != 0)
        SoundDriver = "None";
    // A driver that fails when start-up chooses it (no device this time) leaves this run silent
    // but keeps the player's choice in the settings, so the next run tries it again.
    IniUpdate(save);
    FixedRateLogic->Init();
    return 0;
}

// ---- Sound effects -----------------------------------------------------------------------------

int TGame::SoundPlay(const platform::SoundPtr& sound) {
    if (!Sound)
        return 0;
    auto channel = platform::CueSound(sound);
    platform::SetChannelVolume(channel, ChannelVolume(SoundVolume));
    platform::ResumeChannel(channel);
    return 0;
}

int TGame::SoundPlaySameChannel(platform::ChannelPtr& channel, const platform::SoundPtr& sound) {
    if (!Sound)
        return 0;
    if (channel && platform::ChannelPlaying(channel))
        platform::SetChannelVolume(channel, 0.1f);
    platform::CueSound(sound, channel);
    platform::SetChannelVolume(channel, ChannelVolume(SoundVolume));
    platform::ResumeChannel(channel);
    return 0;
}

int TGame::SoundPlayReturnChannel(platform::ChannelPtr& channel, const platform::SoundPtr& sound,
                                  float rate) {
    if (!Sound)
        return 0;
    if (channel && platform::ChannelPlaying(channel))
        platform::SetChannelVolume(channel, 0.1f);
    channel = platform::CueSound(sound);
    platform::SetChannelVolume(channel, ChannelVolume(SoundVolume));
    platform::SetChannelRate(channel, rate);
    platform::ResumeChannel(channel);
    return 0;
}

int TGame::GameSoundPlay(platform::ChannelPtr& channel, const std::shared_ptr<TGameSound>& sound,
                         float pan) {
    // Without a channel of the caller there is nothing to play in.
    if (!Sound || !sound || !channel)
        return 0;
    if (platform::ChannelPlaying(channel)) {
        platform::SetChannelVolume(channel, 0.1f);
        platform::StopChannel(channel);
    }
    platform::CueSound(sound->sound, channel);
    float volume = ChannelVolume(SoundVolume) * sound->volume;
    if (GameFade->Active)
        volume *= GameFade->Ratio;
    platform::SetChannelVolume(channel, volume);
    platform::SetChannelPan(channel, pan);
    platform::SetChannelRate(channel, sound->pitch);
    platform::ResumeChannel(channel);
    return 0;
}

int TGame::SoundSetVolume(int volume, int save) {
    SoundVolume = volume;
    ccRangeCheck100(SoundVolume);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::SoundChangeVolume(int step) {
    return SoundSetVolume(SoundVolume + step, 1);
}

int TGame::ToggleSound() {
    if (Sound)
        SoundOff();
    else
        SoundOn();
    IniUpdate(1);
    FixedRateLogic->Init();
    return 0;
}

int TGame::SoundOff() {
    Sound = 0;
    return 0;
}

int TGame::SoundOn() {
    Sound = 1;
    return 0;
}

// ---- Speech ------------------------------------------------------------------------------------

int TGame::SpeechStop() {
    if (Speech && SpeechChannel && platform::ChannelPlaying(SpeechChannel)) {
        platform::StopChannel(SpeechChannel);
        SpeechChannel = platform::AllocChannel();
    }
    return 0;
}

int TGame::SpeechPlay(const std::shared_ptr<TGameSound>& sound, int interrupt) {
    if (!Speech || !SpeechChannel || !sound)
        return 0;
    if (platform::ChannelPlaying(SpeechChannel) && interrupt == 0)
        return 0;
    platform::CueSound(sound->sound, SpeechChannel);
    platform::SetChannelVolume(SpeechChannel, ChannelVolume(SpeechVolume));
    platform::ResumeChannel(SpeechChannel);
    SpeechStopped = 0;
    return 0;
}

int TGame::SpeechSetVolume(int volume, int save) {
    SpeechVolume = volume;
    ccRangeCheck100(SpeechVolume);
    platform::SetChannelVolume(SpeechChannel, ChannelVolume(SpeechVolume));
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::SpeechChangeVolume(int step) {
    return SpeechSetVolume(SpeechVolume + step, 1);
}

int TGame::SpeechOff() {
    Speech = 0;
    platform::PauseChannel(SpeechChannel);
    return 1;
}

int TGame::SpeechOn() {
    if (Speech == 1)
        return 0;
    Speech = 1;
    if (!SpeechStopped)
        platform::ResumeChannel(SpeechChannel);
    return 1;
}

int TGame::StopChannels() {
    platform::StopChannel(MusicChannel);
    MusicChannel = platform::AllocChannel();
    platform::StopChannel(SpeechChannel);
    SpeechChannel = platform::AllocChannel();
    return 0;
}
