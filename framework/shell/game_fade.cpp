#include "framework/shell/game_fade.h"

#include "framework/audio/channel_array.h"

// The skeleton of the screen fade; completed as the shell is built.

int TGameFade::Init(float ms, int out, const platform::ChannelPtr& channel, int allowAnim,
                    int startCounter) {
    (void)ms;
    (void)startCounter;
    Out = out;
    Channel = channel;
    AllowAnim = allowAnim;
    Active = 0;
    Done = 1;
    Ratio = out ? 0.0f : 1.0f;
    return 1;
}

int TGameFade::GetDone() {
    int d = Done;
    Done = 0;
    return d;
}

int TGameFade::Draw() {
    return 0;
}
