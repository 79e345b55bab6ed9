#pragma once
// The one screen fade: darkens the screen to black or brings it up from black, one step per logic
// tick, fading the music and speech channels with the picture. A finished fade-out triggers the
// pending screen switch; a finished fade-in tells the current screen through PostFadeIn.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <memory>

class TGameChannel;

class TGameFade : public TObject {
public:
    int Init(float ms, int out, const platform::ChannelPtr& channel, int allowAnim,
             int startCounter);
    int Finish();
    int Manage();
    int CalcRatio();
    int FadeChannels();
    int Draw();
    int GetDone();

    int Length = 0;
    float Counter = 0.0f;
    int Active = 0;
    int Out = 1;
    float Ratio = 0.0f;
    int Done = 0;
    platform::ChannelPtr Channel;
    std::shared_ptr<TGameChannel> Channel2;
    int Channel2IsGameChannelArray = 1;
    int AllowAnim = 0;
    int FadeInAborted = 0;
    float FadeCounterBeforeAbort = 0.0f;
    int SetToFullOnAbort = 1;
    int AbortKey = 0;
};
