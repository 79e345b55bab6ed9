#pragma once
// Named sounds and the sound bank that finds them by upper-case name.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <list>
#include <memory>
#include <string>

// One loaded sample with the name the system asks for it by, and the pitch and volume it plays at.
class TGameSound : public TObject, public std::enable_shared_from_this<TGameSound> {
public:
    static std::shared_ptr<TGameSound> Create(const std::string& file, int flags);
    // name = the upper-case file name without folder and extension; the sample loaded with the
    // audio layer's flags (1 = looping). A file that cannot be loaded is fatal.
    int Load(const std::string& file, int flags);
    // Plays the sound in the caller's channel through the game object's sound player (nothing
    // while sound is off).
    int PlayInChannel(platform::ChannelPtr& channel, float pan);

    std::string name;
    platform::SoundPtr sound;
    float pitch = 1.0f;
    // Volume factor; the channel pool overwrites it before each play.
    float volume = 1.0f;
};
using TGameSoundPtr = std::shared_ptr<TGameSound>;

// The sounds loaded from one folder.
class TSoundBank : public TObject {
public:
    int SetPath(const std::string& folder);
    // Loads Path + file (with Ext when file has none) as a new sound at the end of the bank, named
    // by the upper-case file name or by name when that is not empty.
    int Load(const std::string& file, float pitch, float volume, const std::string& name,
             int flags);
    // The first sound of that name (any case); none found is fatal while ShowErrors is set.
    TGameSoundPtr Find(const std::string& name);

    std::string Path;
    std::string Ext = ".wav";
    std::list<TGameSoundPtr> Sounds;
};
