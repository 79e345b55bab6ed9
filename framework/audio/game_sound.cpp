#include "framework/audio/game_sound.h"

#include "framework/shell/game.h"
#include "framework/util/assets.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/ini.h"
#include "framework/util/strings.h"
#include "platform/path_names.h"

std::shared_ptr<TGameSound> TGameSound::Create(const std::string& file, int flags) {
    auto sound = std::make_shared<TGameSound>();
    sound->Load(file, flags);
    return sound;
}

int TGameSound::Load(const std::string& file, int flags) {
    name = AsciiUpper(platform::StripAll(file));
    sound = ccLoadSample(file, flags);
    return 0;
}

int TGameSound::PlayInChannel(platform::ChannelPtr& channel, float pan) {
    if (!Game) {
        return 0;
    }
    // The player takes a shared sound; one not owned by a shared pointer is lent for the call.
    std::shared_ptr<TGameSound> self = weak_from_this().lock();
    if (!self) {
        self = std::shared_ptr<TGameSound>(std::shared_ptr<TGameSound>(), this);
    }
    Game->GameSoundPlay(channel, self, pan);
    return 0;
}

int TSoundBank::SetPath(const std::string& folder) {
    Path = ccAddSlash(folder);
    return 0;
}

int TSoundBank::Load(const std::string& file, float pitch, float volume, const std::string& name,
                     int flags) {
    auto sound = std::make_shared<TGameSound>();
    std::string ext = "." + platform::ExtractExt(file);
    if (ext == ".") {
        ext = Ext;
    }
    sound->Load(Path + platform::StripExt(file) + ext, flags);
    sound->pitch = pitch;
    sound->volume = volume;
    if (!name.empty()) {
        sound->name = AsciiUpper(name);
    }
    Sounds.push_back(sound);
    return 0;
}

TGameSoundPtr TSoundBank::Find(const std::string& name) {
    const std::string key = AsciiUpper(name);
    for (const TGameSoundPtr& sound : Sounds) {
        if (sound && sound->name == key) {
            return sound;
        }
    }
    if (ShowErrors) {
        ccRunTimeError("Sound '" + key + "' was not found in the SoundBank", 1);
    }
    return nullptr;
}
