// The streamed-music source: one OpenAL source and a fixed set of buffers that the music stream
// fills, queues and takes back once played.

#include "platform/audio.h"

#include "platform/audio_device.h"

#include <algorithm>

namespace platform {

using namespace audio_detail;

namespace {

class TALStreamChannel : public TSourceChannel<TStreamChannel> {
public:
    TALStreamChannel(ALuint source, std::vector<ALuint> buffers)
        : TSourceChannel(source), buffers_(std::move(buffers)) {}
    ~TALStreamChannel() override {
        if (Alive()) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
            alDeleteSources(1, &source_);
            alDeleteBuffers(ALsizei(buffers_.size()), buffers_.data());
        }
    }

    // Stopping empties the queue: every buffer can be filled again.
    void Stop() override {
        if (Alive()) {
            alSourceStop(source_);
            alSourcei(source_, AL_BUFFER, 0);
        }
    }
    // The source's own pause: a stopped source would report every queued buffer as played.
    void SetPaused(bool paused) override {
        if (Alive()) {
            PauseSource(paused, false);
        }
    }

    int BufferCount() override { return int(buffers_.size()); }
    bool Queue(int index, const void* pcm, int bytes, int channels, int bits, int rate) override {
        const ALenum format = PcmFormat(channels, bits);
        if (!Alive() || index < 0 || index >= BufferCount() || !format || !pcm || bytes <= 0 ||
            bytes % (channels * bits / 8) != 0 || rate <= 0) {
            return false;
        }
        alGetError();
        alBufferData(buffers_[size_t(index)], format, pcm, bytes, rate);
        alSourceQueueBuffers(source_, 1, &buffers_[size_t(index)]);
        return alGetError() == AL_NO_ERROR;
    }
    int Processed() override { return Get(AL_BUFFERS_PROCESSED); }
    int Unqueue() override {
        if (Processed() <= 0) {
            return -1;
        }
        ALuint name = 0;
        alSourceUnqueueBuffers(source_, 1, &name);
        const auto it = std::find(buffers_.begin(), buffers_.end(), name);
        return it == buffers_.end() ? -1 : int(it - buffers_.begin());
    }
    int Queued() override { return Get(AL_BUFFERS_QUEUED); }
    void Play() override {
        if (Alive()) {
            alSourcePlay(source_);
        }
    }

private:
    int Get(ALenum what) {
        ALint value = 0;
        if (Alive()) {
            alGetSourcei(source_, what, &value);
        }
        return value;
    }

    std::vector<ALuint> buffers_;
};

} // namespace

StreamChannelPtr CreateStreamChannel(int buffers) {
    if (CurrentAudioDriverKind() != AudioDriverKind::OpenAL || !AudioDeviceOpen() || buffers <= 0) {
        return nullptr;
    }
    std::vector<ALuint> names(size_t(buffers), 0);
    alGetError();
    alGenBuffers(buffers, names.data());
    if (alGetError() != AL_NO_ERROR) {
        return nullptr;
    }
    const ALuint source = NewSource();
    if (!source) {
        alDeleteBuffers(buffers, names.data());
        return nullptr;
    }
    return std::make_shared<TALStreamChannel>(source, std::move(names));
}

} // namespace platform
