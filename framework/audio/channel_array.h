#pragma once
// The pool of sound channels that plays the game's sound effects: a ring in which a new effect
// takes the next free channel, with the volumes of everything playing scaled down together when
// more sounds at once than MaxVol allows.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <list>
#include <memory>

class TGameSound;

class TGameChannel : public TObject {
public:
    // A new entry with a fresh channel of the current driver.
    static std::shared_ptr<TGameChannel> Create();
    // Stops the channel and lets it go.
    int Kill();

    platform::ChannelPtr Channel;
    std::string name;
    int Reserved = 0;         // 1 = never handed out
    int PlayWhenFinished = 1; // 1 = handed out only while its channel is not playing
    float OriginalVolume = 1.0f;
};
using TGameChannelPtr = std::shared_ptr<TGameChannel>;

class TChannelArray : public TObject {
public:
    static std::shared_ptr<TChannelArray> Create(int count);
    // Stops and drops every channel and empties the pool.
    int Kill();
    // The next usable entry after Current (which becomes it); null when none. The entry that is
    // Current on entry is never returned, so a pool of one yields nothing.
    TGameChannelPtr GetChannel();
    // The n-th entry counting from 1 (n of 1 or less: the first); null past the end.
    TGameChannelPtr ChannelByIndex(int n);
    // Every channel's volume = its OriginalVolume * v * SoundVolume / 100.
    int SetVolume(float v);
    int CountPlaying();
    // The factor that lets the playing channels plus extra more sum to at most MaxVol (never
    // above 1), applied to every channel.
    float BalanceVolumes(int extra);
    int Manage();
    // Plays the sound in the given entry, or in GetChannel's; null (nothing played) when no entry
    // is free or there is no sound.
    TGameChannelPtr PlayGameSound(const std::shared_ptr<TGameSound>& sound,
                                  const TGameChannelPtr& channel, float volume, float pan);
    // Takes the entry out of the pool (it stays the caller's, stopped) and puts a fresh one at
    // the end, which becomes Current.
    int StopGameChannel(const TGameChannelPtr& channel);

    std::list<TGameChannelPtr> Channels;
    TGameChannelPtr Current;
    float MaxVol = 1.5f;
};
using TChannelArrayPtr = std::shared_ptr<TChannelArray>;
