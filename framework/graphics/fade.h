#pragma once
// A blocking fade of one full-screen picture: fades it in or out, or holds it, drawing and
// flipping frames in a loop of its own on the real millisecond clock while nothing else of the
// program runs. Behind the picture a second background image can scroll, zoom and fade; one
// sound channel's volume can follow the picture. A mouse click or a key press ends it at once, and
// so does a request to close the program (which the owner then passes on).

#include "framework/util/object.h"
#include "platform/audio.h"
#include "platform/graphics.h"

#include <memory>

class TFade : public TObject {
public:
    // Picture, channel (may be null) and length in ms; restarts the clock.
    int Init(float length, const platform::ImagePtr& image, const platform::ChannelPtr& channel);
    int Reset();
    int CentreImage();
    // out 0 fades in, 1 fades out; 1 when it ran to its end, -1 when cut short.
    int FadeDo(int out);
    // Advances the background to the clock reading now, elapsed ms into the fade.
    int MoveBackground(int now, float elapsed);
    // Holds the picture at full alpha for ms; 0 when the time ran out, -1 when cut short.
    int WaitForTime(float ms);
    // Clears, draws the background and the picture at alpha Ratio, sets the channel's volume and
    // flips. Leaves the alpha at Ratio.
    int Draw();
    int Full();
    int Zero();

    platform::ChannelPtr Channel;
    platform::ImagePtr Image;
    int X = 0, Y = 0;
    float Length = 0.0f; // ms
    int StartTime = 0;   // clock reading at Reset
    float Elapsed = 0.0f;
    float Ratio = 0.0f;
    int LastTime = 0; // clock reading at the last background move
    platform::ImagePtr Background;
    float BackgroundX = 0.0f, BackgroundY = 0.0f;
    float BackgroundZoom = 1.0f;
    float BackgroundXSpeed = 0.0f, BackgroundYSpeed = 0.0f; // pixels per second
    float BackgroundZoomSpeed = 0.0f;                       // per second
    float BackgroundFadeTime = 0.0f;                        // ms
    float BackgroundAlpha = 0.0f;
    int Out = 0; // 0 fading in, 1 fading out, -1 holding
    // Set when the program was asked to close during a fade or hold.
    int TerminateRequested = 0;

private:
    // 1 when a click, a key press or a close request cuts the fade short.
    int Interrupted();
    int Elapse();
};
using TFadePtr = std::shared_ptr<TFade>;
