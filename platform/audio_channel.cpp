// Sample channels: one OpenAL source each, with the sample's buffer made when it is first cued on
// a device.

#include "platform/audio.h"

#include "platform/audio_device.h"

namespace platform {

using namespace audio_detail;

namespace {

// A sample's OpenAL buffer, deleted with the sample unless its device has gone since.
struct TSampleBuffer {
    ALuint name = 0;
    int generation = 0;
    ~TSampleBuffer() {
        if (name && Live(generation)) {
            alDeleteBuffers(1, &name);
        }
    }
};

ALuint BufferOf(TSound& sound) {
    auto buffer = std::static_pointer_cast<TSampleBuffer>(sound.device);
    if (buffer && buffer->generation == Generation()) {
        return buffer->name;
    }
    const ALenum format = PcmFormat(sound.channels, sound.bits);
    const int frame = sound.channels * sound.bits / 8;
    if (!format || sound.rate <= 0 || sound.pcm.empty() || sound.pcm.size() % size_t(frame)) {
        return 0;
    }
    buffer = std::make_shared<TSampleBuffer>();
    alGetError();
    alGenBuffers(1, &buffer->name);
    if (alGetError() != AL_NO_ERROR) {
        return 0;
    }
    buffer->generation = Generation();
    alBufferData(buffer->name, format, sound.pcm.data(), ALsizei(sound.pcm.size()), sound.rate);
    if (alGetError() != AL_NO_ERROR) {
        return 0; // the buffer goes with the holder
    }
    sound.device = buffer;
    return buffer->name;
}

class TALChannel : public TSourceChannel<TChannel> {
public:
    explicit TALChannel(ALuint source) : TSourceChannel(source) {}
    ~TALChannel() override {
        if (Alive()) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
            alDeleteSources(1, &source_);
        }
    }

    void Stop() override {
        started_ = false;
        if (Alive()) {
            Detach();
        } else {
            sound_.reset();
        }
    }
    void SetPaused(bool paused) override {
        if (!sound_) {
            return;
        }
        started_ = !paused;
        if (Alive()) {
            PauseSource(paused, true);
        }
    }
    void Cue(const SoundPtr& sound) override {
        started_ = false;
        if (!Alive()) {
            // Kept while the device is gone: a looping sound goes on on the next one.
            sound_ = sound;
            return;
        }
        Detach();
        const ALuint buffer = sound ? BufferOf(*sound) : 0;
        if (!buffer) {
            return;
        }
        alSourcei(source_, AL_BUFFER, ALint(buffer));
        alSourcei(source_, AL_LOOPING, sound->loop ? AL_TRUE : AL_FALSE);
        alSourceRewind(source_); // cued: AL_INITIAL until resumed
        sound_ = sound;
    }
    // A looping sound starts again on the new device as it was left, cued or playing; a sound
    // that plays once was cut off with the old device (or has finished) and is not played again.
    void Adopt() override {
        if (!AdoptSource()) {
            return;
        }
        const SoundPtr sound = sound_;
        const bool started = started_;
        sound_.reset();
        started_ = false;
        if (sound && sound->loop) {
            Cue(sound);
            if (started) {
                SetPaused(false);
            }
        }
    }

private:
    // The sample is held while attached: its buffer cannot be deleted from under the source.
    void Detach() {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        sound_.reset();
    }

    SoundPtr sound_;
    // Resumed since it was last cued, stopped or paused.
    bool started_ = false;
};

} // namespace

ChannelPtr AllocChannel() {
    if (CurrentAudioDriverKind() == AudioDriverKind::OpenAL) {
        if (DeviceLost()) {
            return std::make_shared<TALChannel>(0);
        }
        if (AudioDeviceOpen()) {
            if (const ALuint source = NewSource()) {
                return std::make_shared<TALChannel>(source);
            }
        }
    }
    return std::make_shared<TChannel>();
}

ChannelPtr CueSound(const SoundPtr& sound, ChannelPtr channel) {
    if (!channel) {
        channel = AllocChannel();
    }
    channel->Cue(sound);
    return channel;
}

ChannelPtr PlaySound(const SoundPtr& sound, ChannelPtr channel) {
    channel = CueSound(sound, std::move(channel));
    channel->SetPaused(false);
    return channel;
}

void StopChannel(const ChannelPtr& channel) {
    if (channel) {
        channel->Stop();
    }
}

void PauseChannel(const ChannelPtr& channel) {
    if (channel) {
        channel->SetPaused(true);
    }
}

void ResumeChannel(const ChannelPtr& channel) {
    if (channel) {
        channel->SetPaused(false);
    }
}

void SetChannelVolume(const ChannelPtr& channel, float volume) {
    if (channel) {
        channel->SetVolume(volume);
    }
}

void SetChannelPan(const ChannelPtr& channel, float pan) {
    if (channel) {
        channel->SetPan(pan);
    }
}

void SetChannelDepth(const ChannelPtr& channel, float depth) {
    if (channel) {
        channel->SetDepth(depth);
    }
}

void SetChannelRate(const ChannelPtr& channel, float rate) {
    if (channel) {
        channel->SetRate(rate);
    }
}

bool ChannelPlaying(const ChannelPtr& channel) {
    return channel && channel->Playing();
}

} // namespace platform
