#pragma once
// Private to the audio layer: the one OpenAL device and context, the generation that tells an
// OpenAL object whether the device that made it is still the current one, and the objects that
// move onto a new device when a lost one is replaced.

#include <AL/al.h>

#include <optional>

namespace platform::audio_detail {

// Increases every time a device is opened or closed. An object made under another generation
// belongs to a device that has gone: it must make no OpenAL call.
int Generation();
// True while a device is open and current under that generation.
bool Live(int generation);
// True while the device has been lost and the layer looks for a new one: an object made now waits
// for it (source 0) instead of going silent for good.
bool DeviceLost();
// Has the next poll ask the device at once whether it is still there: a lost device reports
// everything played, and a music stream would refill and restart at every update until asked.
void CheckDeviceSoon();
// OpenAL's format for a PCM layout; 0 for a layout it cannot take.
ALenum PcmFormat(int channels, int bits);
// Gain, pan position and pitch as the channels and the stream set them.
void SetSourceVolume(ALuint source, float volume);
void SetSourcePan(ALuint source, float pan);
void SetSourceRate(ALuint source, float rate);
// A fresh source: source-relative at the listener, no roll-off.
ALuint NewSource();
ALint SourceState(ALuint source);

// An OpenAL object of the layer that outlives the loss of its device: while the device is gone it
// makes no OpenAL call, and once a new device replaces the lost one, Adopt makes its OpenAL
// objects anew there. A deliberate close or change of driver leaves it silent for good.
class TDeviceObject {
public:
    TDeviceObject();
    virtual ~TDeviceObject();
    TDeviceObject(const TDeviceObject&) = delete;
    TDeviceObject& operator=(const TDeviceObject&) = delete;
    // Called on the main thread with the new device current.
    virtual void Adopt() = 0;
};

// What every channel on one OpenAL source shares; Base is the channel class it implements. Every
// call does nothing while the source's device is gone (source 0: made while it was gone); volume,
// pan and rate are kept for the source that a new device gives.
template <class Base> class TSourceChannel : public Base, public TDeviceObject {
public:
    explicit TSourceChannel(ALuint source) : source_(source), generation_(Generation()) {}

    void SetVolume(float volume) override {
        volume_ = volume;
        if (Alive()) {
            SetSourceVolume(source_, volume);
        }
    }
    void SetPan(float pan) override {
        pan_ = pan;
        if (Alive()) {
            SetSourcePan(source_, pan);
        }
    }
    void SetRate(float rate) override {
        rate_ = rate;
        if (Alive()) {
            SetSourceRate(source_, rate);
        }
    }
    bool Playing() override { return Alive() && SourceState(source_) == AL_PLAYING; }

protected:
    bool Alive() const { return source_ != 0 && Live(generation_); }
    // A fresh source on the current device with the settings kept; false when none can be made.
    bool AdoptSource() {
        const ALuint source = NewSource();
        if (!source) {
            return false;
        }
        source_ = source;
        generation_ = Generation();
        if (volume_) {
            SetSourceVolume(source_, *volume_);
        }
        if (pan_) {
            SetSourcePan(source_, *pan_);
        }
        if (rate_) {
            SetSourceRate(source_, *rate_);
        }
        return true;
    }
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

private:
    std::optional<float> volume_, pan_, rate_;
};

} // namespace platform::audio_detail
