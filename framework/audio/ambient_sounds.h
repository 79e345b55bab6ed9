#pragma once
// Background effects at random moments: at the end of every period one of the sounds, picked at
// random, plays through the channel pool with the given percent chance.

#include "framework/audio/game_sound.h"
#include "framework/util/object.h"

#include <array>
#include <string>

class TAmbientSounds : public TObject {
public:
    static constexpr int MAX_SOUNDS = 20;

    // A period of ms milliseconds (in whole logic ticks) and the chance in percent.
    int Init(int ms, int chance);
    // Adds the sound; beyond MAX_SOUNDS it is ignored.
    int AddSound(const TGameSoundPtr& sound);
    // Loads prefix + i + suffix for i from 0 to count - 1 (the name used as it is: no folder is
    // put in front).
    int Fill(const std::string& prefix, int count, const std::string& suffix);
    int Manage();
    // Empties the slots; TotalSounds stays.
    int Kill();

    int TotalSounds = 0;
    std::array<TGameSoundPtr, MAX_SOUNDS> Sounds;
    float SoundCounter = 0.0f;
    int SoundCounterMax = 0;
    int Chance = 0;
};
