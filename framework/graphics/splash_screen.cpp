#include "framework/graphics/splash_screen.h"

#include "framework/shell/game.h"
#include "framework/util/assets.h"
#include "framework/util/drawing.h"
#include "framework/util/ini.h"
#include "framework/util/input.h"
#include "platform/graphics.h"
#include "platform/input.h"

int TSplashScreen::Init(const std::string& image, const std::string& sound, int soundFlag,
                        int fadeSound) {
    platform::AutoMidHandle(false);
    Image = ccLoadBitmap(image, 0);
    platform::AutoMidHandle(true);
    ccCreateFrames(Image);
    if (!sound.empty())
        Sample = ccLoadSample(sound, fadeSound == 1 ? 1 : 0);
    Sound = soundFlag;
    FadeSound = fadeSound;
    ccFlushAll();
    OriginalPolledInputState = ccPolledInputState;
    ccEnablePolledInput();
    return 0;
}

int TSplashScreen::InitTimes(int timeIn, int timeFull, int timeOut) {
    TimeIn = static_cast<float>(timeIn);
    TimeFull = static_cast<float>(timeFull);
    TimeOut = static_cast<float>(timeOut);
    return 0;
}

int TSplashScreen::DoSplash() {
    ccClsVSync(0, 0, 0);
    if (Sound && Sample && (FadeSound == 0 || FadeSound == 1)) {
        Channel = platform::CueSound(Sample);
        if (FadeSound == 1) {
            platform::SetChannelRate(Channel, SampleRate);
            platform::SetChannelVolume(Channel, 0.0f);
        }
        platform::ResumeChannel(Channel);
    }
    if (background) {
        fade->Background = background;
        fade->BackgroundXSpeed = BackgroundXSpeed;
        fade->BackgroundYSpeed = BackgroundYSpeed;
        fade->BackgroundZoomSpeed = BackgroundZoomSpeed;
        fade->BackgroundFadeTime = BackgroundFadeTime;
    }
    fade->Init(TimeIn, Image, FadeSound == 1 ? Channel : nullptr);
    fade->CentreImage();
    if (fade->FadeDo(0) == -1 || fade->WaitForTime(TimeFull) == -1) {
        CleanUp();
        return -1;
    }
    fade->Reset();
    fade->Length = TimeOut;
    if (fade->FadeDo(1) == -1) {
        CleanUp();
        return -1;
    }
    fade->Zero();
    ccRestoreSolidMode();
    CleanUp();
    return 0;
}

int TSplashScreen::CleanUp() {
    if (Sound && Channel)
        platform::StopChannel(Channel);
    ccRestoreSolidMode();
    ccFlushAll();
    if (OriginalPolledInputState == 0)
        ccDisablePolledInput();
    ccFlushAll();
    // A request to close the program that came during the splash, up to its last frame, stays
    // queued (going back to event input keeps it) for whoever reads the events next.
    fade->TerminateRequested = 0;
    return 0;
}

int PortalSplash(int timeIn, int timeFull, int timeOut, int number) {
    TSplashScreen splash;
    if (timeIn != 0)
        splash.TimeIn = static_cast<float>(timeIn);
    if (timeFull != 0)
        splash.TimeFull = static_cast<float>(timeFull);
    if (timeOut != 0)
        splash.TimeOut = static_cast<float>(timeOut);
    std::string picture = Game->DataPrefix + "data/portallogo";
    if (number != 0)
        picture += std::to_string(number);
    picture += ccFileExists(picture + ".png") ? ".png" : ".jpg";
    splash.Init(picture, "", 1, 0);
    splash.DoSplash();
    return 0;
}

int VantorelSplash(int soundFlag, int withBackground) {
    TSplashScreen splash;
    splash.Init(Game->DataPrefix + "data/Vantorel.png", Game->DataPrefix + "data/SplashSound.wav",
                soundFlag, 1);
    const std::string backgroundFile = Game->DataPrefix + "data/splashbg.jpg";
    if (withBackground && ccFileExists(backgroundFile)) {
        splash.background = ccLoadBitmap(backgroundFile, -1);
        // The fade draws it at minus its scroll position: anchored at its top-left corner, it
        // covers the screen.
        platform::SetImageHandle(splash.background, 0.0f, 0.0f);
        ccCreateFrames(splash.background);
    }
    splash.BackgroundXSpeed = 20.0f;
    splash.BackgroundYSpeed = 10.0f;
    splash.BackgroundZoomSpeed = 0.02f;
    splash.BackgroundFadeTime = 250.0f;
    splash.SampleRate = 0.9f;
    splash.InitTimes(1750, 750, 1500);
    splash.DoSplash();
    return 0;
}

int ShowSplash(const std::string& image, const std::string& sound, int soundFlag, int fadeSound) {
    TSplashScreen splash;
    splash.Init(image, sound, soundFlag, fadeSound);
    splash.DoSplash();
    return 0;
}
