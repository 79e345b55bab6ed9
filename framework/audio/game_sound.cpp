#include "framework/audio/game_sound.h"

// Minimal until the audio subsystem lands its sounds.

std::shared_ptr<TGameSound> TGameSound::Create(const std::string& file, int flags) {
    auto s = std::make_shared<TGameSound>();
    s->name = file;
    s->sound = platform::LoadSound(file, flags);
    return s;
}

int TGameSound::PlayInChannel(platform::ChannelPtr& channel, float pan) {
    (void)channel;
    (void)pan;
    return 0;
}

int TSoundBank::SetPath(const std::string& folder) {
    Path = folder;
    return 0;
}

int TSoundBank::Load(const std::string& file, float pitch, float volume, const std::string& name,
                     int flags) {
    auto s = TGameSound::Create(Path + file + Ext, flags);
    s->name = name.empty() ? file : name;
    s->pitch = pitch;
    s->volume = volume;
    Sounds.push_back(s);
    return 0;
}
