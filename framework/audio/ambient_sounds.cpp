#include "framework/audio/ambient_sounds.h"

#include "framework/audio/channel_array.h"
#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/system.h"

int TAmbientSounds::Init(int ms, int chance) {
    SoundCounterMax = platform::TruncToInt(Game->CalcAnimLength(ms));
    SoundCounter = float(SoundCounterMax);
    Chance = chance;
    return 0;
}

int TAmbientSounds::AddSound(const TGameSoundPtr& sound) {
    if (TotalSounds < MAX_SOUNDS) {
        Sounds[size_t(TotalSounds++)] = sound;
    }
    return 0;
}

int TAmbientSounds::Fill(const std::string& prefix, int count, const std::string& suffix) {
    for (int i = 0; i < count; ++i) {
        AddSound(TGameSound::Create(prefix + std::to_string(i) + suffix, 0));
    }
    return 0;
}

int TAmbientSounds::Manage() {
    SoundCounter -= Delta;
    if (SoundCounter > 0.0f) {
        return 0;
    }
    SoundCounter += float(SoundCounterMax);
    const int roll = platform::Rand(1, 100);
    // Nothing to pick from before any sound was added.
    if (roll <= Chance && TotalSounds > 0 && Game && Game->Channels) {
        const TGameSoundPtr& sound = Sounds[size_t(platform::Rand(0, TotalSounds - 1))];
        Game->Channels->PlayGameSound(sound, nullptr, 1.0f, 0.0f);
    }
    return 0;
}

int TAmbientSounds::Kill() {
    for (int i = 0; i < TotalSounds; ++i) {
        Sounds[size_t(i)] = nullptr;
    }
    return 0;
}
