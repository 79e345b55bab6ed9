#pragma once
// The pool of sound channels that plays the game's sound effects, with volume balancing.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <list>
#include <memory>

class TGameChannel : public TObject {
public:
    platform::ChannelPtr Channel;
};
using TGameChannelPtr = std::shared_ptr<TGameChannel>;

class TChannelArray : public TObject {
public:
    static std::shared_ptr<TChannelArray> Create(int count);
    int Kill();
    int StopGameChannel(const TGameChannelPtr& channel);

    std::list<TGameChannelPtr> Channels;
    TGameChannelPtr Current;
    float MaxVol = 0.0f;
};
