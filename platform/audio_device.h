#pragma once
// Private to the audio layer: the one OpenAL device and context, and the generation that tells an
// OpenAL object whether the device that made it is still the current one.

#include <AL/al.h>

namespace platform::audio_detail {

// Increases every time a device is opened or closed. An object made under another generation
// belongs to a device that has gone: it must make no OpenAL call.
int Generation();
// True while a device is open and current under that generation.
bool Live(int generation);
// OpenAL's format for a PCM layout; 0 for a layout it cannot take.
ALenum PcmFormat(int channels, int bits);
// Gain, pan position and pitch as the channels and the stream set them.
void SetSourceVolume(ALuint source, float volume);
void SetSourcePan(ALuint source, float pan);
void SetSourceRate(ALuint source, float rate);
// A fresh source: source-relative at the listener, no roll-off.
ALuint NewSource();
ALint SourceState(ALuint source);

// What every channel on one OpenAL source shares; Base is the channel class it implements. Every
// call does nothing once the source's device has gone.
template <class Base> class TSourceChannel : public Base {
public:
    explicit TSourceChannel(ALuint source) : source_(source), generation_(Generation()) {}
    TSourceChannel(const TSourceChannel&) = delete;
    TSourceChannel& operator=(const TSourceChannel&) = delete;

    void SetVolume(float volume) override {
        if (Alive()) {
            SetSourceVolume(source_, volume);
        }
    }
    void SetPan(float pan) override {
        if (Alive()) {
            SetSourcePan(source_, pan);
        }
    }
    void SetRate(float rate) override {
        if (Alive()) {
            SetSourceRate(source_, rate);
        }
    }
    bool Playing() override { return Alive() && SourceState(source_) == AL_PLAYING; }

protected:
    bool Alive() const { return Live(generation_); }
    // The source's own pause; resuming plays a paused source, and a cued one when fromInitial.
    void PauseSource(bool paused, bool fromInitial) {
        const ALint state = SourceState(source_);
        if (paused && state == AL_PLAYING) {
            alSourcePause(source_);
        } else if (!paused && (state == AL_PAUSED || (fromInitial && state == AL_INITIAL))) {
            alSourcePlay(source_);
        }
    }

    ALuint source_;
    int generation_;
};

} // namespace platform::audio_detail
