#include "framework/audio/channel_array.h"

#include "framework/audio/game_sound.h"
#include "framework/shell/game.h"

#include <algorithm>

std::shared_ptr<TGameChannel> TGameChannel::Create() {
    auto entry = std::make_shared<TGameChannel>();
    entry->Channel = platform::AllocChannel();
    return entry;
}

int TGameChannel::Kill() {
    platform::StopChannel(Channel);
    Channel = nullptr;
    return 0;
}

std::shared_ptr<TChannelArray> TChannelArray::Create(int count) {
    auto pool = std::make_shared<TChannelArray>();
    for (int i = 0; i < count; ++i) {
        pool->Channels.push_back(TGameChannel::Create());
    }
    if (!pool->Channels.empty()) {
        pool->Current = pool->Channels.front();
    }
    return pool;
}

int TChannelArray::Kill() {
    for (const TGameChannelPtr& entry : Channels) {
        entry->Kill();
    }
    Channels.clear();
    Current = nullptr;
    return 0;
}

TGameChannelPtr TChannelArray::GetChannel() {
    if (Channels.empty()) {
        return nullptr;
    }
    const TGameChannelPtr start = Current;
    auto at = std::find(Channels.begin(), Channels.end(), Current);
    for (size_t step = 0; step < Channels.size(); ++step) {
        at = (at == Channels.end() || std::next(at) == Channels.end()) ? Channels.begin()
                                                                       : std::next(at);
        Current = *at;
        if (Current == start) {
            return nullptr;
        }
        const bool free =
            Current->PlayWhenFinished == 0 || !platform::ChannelPlaying(Current->Channel);
        if (free && Current->Reserved == 0) {
            return Current;
        }
    }
    return nullptr;
}

TGameChannelPtr TChannelArray::ChannelByIndex(int n) {
    if (Channels.empty()) {
        return nullptr;
    }
    if (n <= 1) {
        return Channels.front();
    }
    if (size_t(n) > Channels.size()) {
        return nullptr;
    }
    return *std::next(Channels.begin(), n - 1);
}

int TChannelArray::SetVolume(float v) {
    const float sound = Game ? float(Game->SoundVolume) / 100.0f : 1.0f;
    for (const TGameChannelPtr& entry : Channels) {
        platform::SetChannelVolume(entry->Channel, entry->OriginalVolume * v * sound);
    }
    return 0;
}

int TChannelArray::CountPlaying() {
    return int(std::count_if(Channels.begin(), Channels.end(), [](const TGameChannelPtr& entry) {
        return platform::ChannelPlaying(entry->Channel);
    }));
}

float TChannelArray::BalanceVolumes(int extra) {
    const int n = CountPlaying() + extra;
    const float factor = n == 0 ? 1.0f : std::min(1.0f, MaxVol / float(n));
    SetVolume(factor);
    return factor;
}

int TChannelArray::Manage() {
    BalanceVolumes(0);
    return 0;
}

TGameChannelPtr TChannelArray::PlayGameSound(const std::shared_ptr<TGameSound>& sound,
                                             const TGameChannelPtr& channel, float volume,
                                             float pan) {
    if (!sound) {
        return nullptr; // a name the bank did not know, with ShowErrors off
    }
    TGameChannelPtr entry = channel ? channel : GetChannel();
    if (!entry) {
        return nullptr;
    }
    entry->OriginalVolume = volume;
    sound->volume = BalanceVolumes(1) * volume;
    sound->PlayInChannel(entry->Channel, pan);
    return entry;
}

int TChannelArray::StopGameChannel(const TGameChannelPtr& channel) {
    const auto at = std::find(Channels.begin(), Channels.end(), channel);
    if (!channel || at == Channels.end()) {
        return 0;
    }
    Channels.erase(at);
    platform::StopChannel(channel->Channel);
    Current = TGameChannel::Create();
    Channels.push_back(Current);
    return 0;
}
