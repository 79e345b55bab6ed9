#pragma once
// Named sounds and the sound bank that finds them by upper-case name.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <list>
#include <memory>
#include <string>

class TGameSound : public TObject {
public:
    static std::shared_ptr<TGameSound> Create(const std::string& file, int flags);
    int PlayInChannel(platform::ChannelPtr& channel, float pan);

    std::string name;
    platform::SoundPtr sound;
    float pitch = 1.0f;
    float volume = 1.0f;
};
using TGameSoundPtr = std::shared_ptr<TGameSound>;

class TSoundBank : public TObject {
public:
    int SetPath(const std::string& folder);
    int Load(const std::string& file, float pitch, float volume, const std::string& name,
             int flags);

    std::string Path;
    std::string Ext = ".wav";
    std::list<TGameSoundPtr> Sounds;
};
