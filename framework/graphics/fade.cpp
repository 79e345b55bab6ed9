#include "framework/graphics/fade.h"

#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/input.h"
#include "platform/system.h"

#include <algorithm>

namespace {

// While a fade loop runs, a request to close the program is noted on the fade.
class TerminateWatch {
public:
    explicit TerminateWatch(int& flag)
        : handle_(platform::AddHook([&flag](const platform::TEvent& event) {
              if (event.id == platform::EVENT_APPTERMINATE)
                  flag = 1;
          })) {}
    ~TerminateWatch() { platform::RemoveHook(handle_); }
    TerminateWatch(const TerminateWatch&) = delete;
    TerminateWatch& operator=(const TerminateWatch&) = delete;

private:
    int handle_;
};

} // namespace

int TFade::Init(float length, const platform::ImagePtr& image,
                const platform::ChannelPtr& channel) {
    Image = image;
    Channel = channel;
    Length = length;
    return Reset();
}

int TFade::Reset() {
    StartTime = platform::MilliSecs();
    Elapsed = 0.0f;
    LastTime = StartTime;
    return 0;
}

int TFade::CentreImage() {
    X = (ScreenWidth - platform::ImageWidth(Image)) / 2;
    Y = (ScreenHeight - platform::ImageHeight(Image)) / 2;
    return 0;
}

int TFade::Interrupted() {
    return (TerminateRequested || ccMouseButtons() || ccAnyKeyPressed()) ? 1 : 0;
}

// Reads the clock into Elapsed; returns the reading.
int TFade::Elapse() {
    const int now = platform::MilliSecs();
    Elapsed = static_cast<float>(platform::MilliSecsDiff(now, StartTime));
    return now;
}

int TFade::FadeDo(int out) {
    TerminateWatch watch(TerminateRequested);
    Out = out;
    ccFlushAll();
    while (Elapsed <= Length) {
        if (Interrupted()) {
            ccRestoreSolidMode();
            ccFlushAll();
            return -1;
        }
        const int now = Elapse();
        // A fade without length is at its end at once.
        Ratio = Length > 0.0f ? std::clamp(Elapsed / Length, 0.0f, 1.0f) : 1.0f;
        if (Out)
            Ratio = 1.0f - Ratio;
        if (Background)
            MoveBackground(now, Elapsed);
        Draw();
    }
    ccRestoreSolidMode();
    return 1;
}

int TFade::WaitForTime(float ms) {
    TerminateWatch watch(TerminateRequested);
    Out = -1;
    Reset();
    Ratio = 1.0f;
    while (Elapsed <= ms) {
        const int now = Elapse();
        if (Interrupted())
            return -1;
        if (Background)
            MoveBackground(now, Elapsed);
        Draw();
    }
    return 0;
}

int TFade::MoveBackground(int now, float elapsed) {
    const float seconds = static_cast<float>(platform::MilliSecsDiff(now, LastTime)) / 1000.0f;
    BackgroundX += BackgroundXSpeed * seconds;
    BackgroundY += BackgroundYSpeed * seconds;
    BackgroundZoom += BackgroundZoomSpeed * seconds;
    if (Out == -1) {
        BackgroundAlpha = 1.0f;
    } else if (!(BackgroundFadeTime > 0.0f)) {
        // Without a fade time the background comes and goes with the fade's ends.
        BackgroundAlpha = (Out == 1 && elapsed >= Length) ? 0.0f : 1.0f;
    } else if (Out == 0) {
        BackgroundAlpha = std::min(1.0f, elapsed / BackgroundFadeTime);
    } else {
        BackgroundAlpha = std::clamp(
            1.0f - (elapsed - (Length - BackgroundFadeTime)) / BackgroundFadeTime, 0.0f, 1.0f);
    }
    LastTime = now;
    return 0;
}

int TFade::Draw() {
    platform::Cls();
    if (Background) {
        platform::SetBlend(platform::ALPHABLEND);
        platform::SetScale(BackgroundZoom, BackgroundZoom);
        platform::SetAlpha(BackgroundAlpha);
        platform::DrawImage(Background, -BackgroundX * BackgroundZoom,
                            -BackgroundY * BackgroundZoom, 0);
        platform::SetScale(1.0f, 1.0f);
    }
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetAlpha(Ratio);
    if (Image)
        platform::DrawImage(Image, static_cast<float>(X), static_cast<float>(Y), 0);
    if (Channel && Game)
        Channel->SetVolume(Ratio * static_cast<float>(Game->SoundVolume) / 100.0f);
    return ccFlip();
}

int TFade::Full() {
    Ratio = 1.0f;
    return Draw();
}

int TFade::Zero() {
    Ratio = 0.0f;
    return Draw();
}
