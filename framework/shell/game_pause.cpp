// Pause, the debug speed modes, the escape sound and the small operations around the screen fade.

#include "framework/audio/game_sound.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/loading_screen.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/window.h"
#include "platform/graphics.h"
#include "platform/system.h"

int TGame::Pause() {
    PausedMusicState = Music;
    PausedSpeechState = Speech;
    if (Music)
        MusicOff();
    if (Speech)
        SpeechOff();
    ccSetPriority(0, 0);
    return 0;
}

int TGame::UnPause() {
    if (PausedMusicState == 1)
        MusicOn();
    if (PausedSpeechState == 1)
        SpeechOn();
    SetPriority();
    FixedRateLogic->Init();
    return 0;
}

int TGame::SpritePausedCreate(const std::shared_ptr<TGameImage>& image) {
    SpritePaused = TSprite::Create(image, 0, 0);
    SpritePaused->Centre();
    return 0;
}

int TGame::ShowPaused() {
    if (!(Paused || Suspended) || !SpritePaused)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    if (DimWhenPaused) {
        platform::SetColor(0, 0, 0);
        platform::SetAlpha(0.5f);
        platform::DrawRect(0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    }
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    SpritePaused->Draw();
    return 0;
}

int TGame::FastOn() {
    Fast = 1;
    LastFlipSync = ccFlipSync;
    ccFlipSync = 0;
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    return 0;
}

int TGame::FastOff() {
    if (!Fast)
        return 0;
    Fast = 0;
    ccFlipSync = LastFlipSync;
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    return 0;
}

int TGame::SlowMotionOn() {
    SlowMotion = 1;
    CurrentSpeed = SlowMotionSpeed;
    FixedRateLogic->Framerate =
        static_cast<float>(FixedRateLogic->FramerateDefault) * SlowMotionSpeed;
    FixedRateLogic->CalcMS();
    FixedRateLogic->Init();
    return 0;
}

int TGame::SlowMotionOff() {
    SlowMotion = 0;
    CurrentSpeed = 1.0f;
    FixedRateLogic->Framerate = static_cast<float>(FixedRateLogic->FramerateDefault);
    FixedRateLogic->CalcMS();
    FixedRateLogic->Init();
    return 0;
}

int TGame::SetFlipSync() {
    ccFlipSync = VSync == 1 ? 1 : 0;
    return 0;
}

float TGame::PauseFadeCalc() {
    int length = platform::TruncToInt(CalcAnimLength(platform::TruncToInt(PauseFadeLength)));
    // A ramp shorter than one tick is already complete.
    if (length <= 0)
        return 1.0f;
    return (static_cast<float>(length) - PauseFadeCounter) / static_cast<float>(length);
}

int TGame::PauseFadeApply() {
    float v = 1.0f;
    if (PauseFadeLength > 0) {
        v = PauseFadeCalc();
        if (PauseFadeDirection == 0)
            v = 1.0f - v;
    }
    platform::SetChannelVolume(MusicChannel, v * static_cast<float>(MusicVolume) / 100.0f);
    return 0;
}

int TGame::PauseFadeManage() {
    if (PauseFadeCounter > 0) {
        PauseFadeCounter -= Delta;
        if (PauseFadeCounter < 0)
            PauseFadeCounter = 0;
        PauseFadeApply();
    }
    return 0;
}

int TGame::SetEscapeSound(const std::string& file) {
    EscapeSound = TGameSound::Create(SoundPath + file + ".wav", 0);
    return 0;
}

int TGame::EscapeSoundPlay() {
    if (EscapeSound)
        EscapeSound->PlayInChannel(EscapeChannel, 0.0f);
    return 0;
}

int TGame::MoveBar() {
    LoadingScreen->Progress();
    LoadingScreen->Draw();
    ccFlip();
    return 0;
}

int TGame::Fading() {
    return GameFade->Active;
}

int TGame::FadeOff() {
    NoFade = 1;
    return 0;
}

int TGame::LeaveTo(const std::shared_ptr<TScreen>& destination, const platform::ChannelPtr& channel,
                   int allowAnim) {
    GameFade->Init(FADE_SPEED, 1, channel, allowAnim, 0);
    DestinationTScreen = destination;
    return 0;
}

int TGame::FadeIn(int allowAnim) {
    GameFade->Init(FADE_SPEED, 0, nullptr, allowAnim, 0);
    return 0;
}
