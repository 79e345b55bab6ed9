#pragma once
// A channel of the audio layer that records what is done to it, with a playing state the test
// sets; for the logic that plays sounds, without a device.

#include "platform/audio.h"

#include <memory>

namespace testing_support {

class TFakeChannel : public platform::TChannel {
public:
    void Stop() override {
        ++stops;
        playing = false;
    }
    void SetPaused(bool pause) override {
        if (pause) {
            ++pauses;
        } else {
            ++resumes;
        }
    }
    void SetVolume(float v) override { volume = v; }
    void SetPan(float p) override { pan = p; }
    void SetRate(float r) override { rate = r; }
    bool Playing() override { return playing; }
    void Cue(const platform::SoundPtr& sound) override {
        ++cues;
        cued = sound;
    }

    bool playing = false;
    float volume = -1.0f;
    float pan = -9.0f;
    float rate = -1.0f;
    int stops = 0;
    int pauses = 0;
    int resumes = 0;
    int cues = 0;
    platform::SoundPtr cued;
};

} // namespace testing_support
