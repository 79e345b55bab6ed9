#pragma once
// Logo splash screens: one picture on its own, faded in from black, held and faded out again,
// optionally with a sound and a slowly moving background, before or outside the normal screens.
// The whole splash runs inside one call on the real millisecond clock (through the blocking
// fade); any key or mouse button skips the rest. Input is polled while a splash is set up.

#include "framework/graphics/fade.h"
#include "framework/util/object.h"
#include "platform/audio.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TSplashScreen : public TObject {
public:
    // Loads the picture (handle at the top-left) and the sound when one is named (looping when
    // fadeSound is 1), both fatal when missing; then switches to polled input.
    int Init(const std::string& image, const std::string& sound, int soundFlag, int fadeSound);
    int InitTimes(int timeIn, int timeFull, int timeOut);
    // 0 when it ran to the end, -1 when a key or a click cut it short.
    int DoSplash();
    // Stops the sound and restores the drawing state and the input mode Init found.
    int CleanUp();

    platform::ImagePtr Image;
    platform::SoundPtr Sample;
    int Sound = 1;
    float SampleRate = 1.0f;
    int FadeSound = 0; // 1: the sound loops and fades with the picture; 0: it plays once
    platform::ChannelPtr Channel;
    std::shared_ptr<TFade> fade = std::make_shared<TFade>();
    float TimeIn = 2000.0f;
    float TimeFull = 1000.0f;
    float TimeOut = 2000.0f;
    int OriginalPolledInputState = 0;
    platform::ImagePtr background;
    float BackgroundXSpeed = 0.0f;
    float BackgroundYSpeed = 0.0f;
    float BackgroundZoomSpeed = 0.0f;
    float BackgroundFadeTime = 0.0f;
};
using TSplashScreenPtr = std::shared_ptr<TSplashScreen>;

// The distributor's logo, Game->DataPrefix + "data/portallogo" (+ number when not 0) + ".png", or
// ".jpg" when there is no ".png"; each time that is not 0 replaces the default.
int PortalSplash(int timeIn, int timeFull, int timeOut, int number);
// The maker's logo with its sound (fading with the picture) and, when asked for and present, a
// moving background.
int VantorelSplash(int soundFlag, int withBackground);
// Any picture and sound.
int ShowSplash(const std::string& image, const std::string& sound, int soundFlag, int fadeSound);
