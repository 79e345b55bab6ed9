#include "framework/shell/game_fade.h"

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/screen.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/graphics.h"
#include "platform/system.h"

int TGameFade::Init(float ms, int out, const platform::ChannelPtr& channel, int allowAnim,
                    int startCounter) {
    if (Active)
        return 0;
    Length = platform::TruncToInt(Game->CalcAnimLength(platform::TruncToInt(ms)));
    Counter = static_cast<float>(startCounter);
    Active = 1;
    Out = out;
    ccFlushAll();
    Done = 0;
    Channel = channel;
    Channel2 = nullptr;
    AllowAnim = allowAnim;
    FadeInAborted = 0;
    FadeCounterBeforeAbort = 0.0f;
    SetToFullOnAbort = 1;
    AbortKey = -1;
    if (out)
        Game->FadeMusic = 1;
    Ratio = out ? 1.0f : 0.0f;
    if (startCounter > 0)
        CalcRatio();
    if (!Game->Fade || Game->NoFade)
        Finish();
    return 1;
}

int TGameFade::Finish() {
    Active = 0;
    Done = 1;
    if (Out) {
        Ratio = 0.0f;
    } else {
        if (SetToFullOnAbort)
            Ratio = 1.0f;
        if (FadeInAborted)
            FadeCounterBeforeAbort = Counter;
    }
    FadeChannels();
    if (Channel2) {
        if (Channel2IsGameChannelArray && Game->Channels)
            Game->Channels->StopGameChannel(Channel2);
        else
            platform::StopChannel(Channel2->Channel);
    }
    Game->SpeechStop();
    if (Out) {
        if (Game->Fade && !Game->NoFade) {
            // One black frame stands while the next screen loads.
            ccClsNoFlip(0, 0, 0);
            if (!Game->FadeMouse)
                Game->Mouse->Draw();
            platform::Flip(1);
        }
    } else if (Game->CurrentTScreen) {
        Game->CurrentTScreen->PostFadeIn();
    }
    Game->NoFade = 0;
    ccFlushAll();
    return 0;
}

int TGameFade::Manage() {
    if (!Active)
        return 0;
    int key = KeyPressed();
    if (key != -1 || Game->Mouse->GetMh(1) > 0) {
        if (!Out) {
            FadeInAborted = 1;
            AbortKey = key;
        }
        Finish();
        return -1;
    }
    Counter += Delta;
    CalcRatio();
    FadeChannels();
    if (!(Counter < static_cast<float>(Length))) {
        Finish();
        return 1;
    }
    return 0;
}

int TGameFade::CalcRatio() {
    // A fade shorter than one tick is complete at once rather than dividing by zero.
    float r = Length > 0 ? Counter / static_cast<float>(Length) : 1.0f;
    if (!(r >= 0.0f))
        r = 0.0f;
    if (r > 1.0f)
        r = 1.0f;
    Ratio = Out ? 1.0f - r : r;
    return 0;
}

int TGameFade::FadeChannels() {
    if (Channel)
        platform::SetChannelVolume(Channel, Ratio * static_cast<float>(Game->MusicVolume) / 100.0f);
    if (Channel2)
        platform::SetChannelVolume(Channel2->Channel,
                                   Ratio * static_cast<float>(Game->SoundVolume) / 100.0f);
    if (Game->SpeechChannel)
        platform::SetChannelVolume(Game->SpeechChannel,
                                   Ratio * static_cast<float>(Game->SpeechVolume) / 100.0f);
    return 0;
}

int TGameFade::Draw() {
    if (!Active)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetAlpha(1.0f - Ratio);
    platform::SetColor(0, 0, 0);
    platform::DrawRect(0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    platform::SetAlpha(1.0f);
    platform::SetColor(255, 255, 255);
    return 0;
}

int TGameFade::GetDone() {
    int done = Done;
    Done = 0;
    return done;
}
