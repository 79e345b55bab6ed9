#include "framework/audio/channel_array.h"

// Minimal until the audio subsystem lands the channel pool.

std::shared_ptr<TChannelArray> TChannelArray::Create(int count) {
    auto pool = std::make_shared<TChannelArray>();
    for (int i = 0; i < count; ++i) {
        auto entry = std::make_shared<TGameChannel>();
        entry->Channel = platform::AllocChannel();
        pool->Channels.push_back(entry);
    }
    if (!pool->Channels.empty())
        pool->Current = pool->Channels.front();
    return pool;
}

int TChannelArray::Kill() {
    for (auto& entry : Channels)
        platform::StopChannel(entry->Channel);
    Channels.clear();
    Current = nullptr;
    return 0;
}

int TChannelArray::StopGameChannel(const TGameChannelPtr& channel) {
    if (!channel)
        return 0;
    platform::StopChannel(channel->Channel);
    Channels.remove(channel);
    auto fresh = std::make_shared<TGameChannel>();
    fresh->Channel = platform::AllocChannel();
    Channels.push_back(fresh);
    Current = fresh;
    return 0;
}
