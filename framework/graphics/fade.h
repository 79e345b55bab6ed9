#pragma once
// A blocking fade of one image over a cleared screen, run by its own draw-and-flip loop.

#include "framework/util/object.h"
#include "platform/audio.h"
#include "platform/graphics.h"

class TFade : public TObject {
public:
    int Init(float length, const platform::ImagePtr& image, const platform::ChannelPtr& channel);
    int FadeDo(int out);
    int Full();
    int Zero();

    platform::ImagePtr Image;
    platform::ChannelPtr Channel;
    float Length = 0.0f;
    float Ratio = 0.0f;
};
