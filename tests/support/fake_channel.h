#pragma once
// Channels of the audio layer that record what is done to them, for the logic that plays sounds,
// without a device.

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

// The fake that also keeps the states of a driver's channel: a cue leaves it paused at the start,
// a resume plays it, and it plays until it is stopped or paused.
class TStatefulFakeChannel : public TFakeChannel {
public:
    void SetPaused(bool pause) override {
        TFakeChannel::SetPaused(pause);
        paused = pause;
        if (!pause)
            playing = true;
    }
    bool Playing() override { return playing && !paused; }
    void Cue(const platform::SoundPtr& sound) override {
        TFakeChannel::Cue(sound);
        paused = true;
    }

    bool paused = false;
};

} // namespace testing_support
