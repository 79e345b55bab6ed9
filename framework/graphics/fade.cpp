#include "framework/graphics/fade.h"

// Minimal until the graphics subsystem lands the blocking fade.

int TFade::Init(float length, const platform::ImagePtr& image,
                const platform::ChannelPtr& channel) {
    Length = length;
    Image = image;
    Channel = channel;
    return 0;
}

int TFade::FadeDo(int out) {
    Ratio = out ? 0.0f : 1.0f;
    return 1;
}

int TFade::Full() {
    Ratio = 1.0f;
    return 0;
}

int TFade::Zero() {
    Ratio = 0.0f;
    return 0;
}
