// The streamed-music source: one OpenAL source and a fixed set of buffers that the music stream
// fills, queues and takes back once played.

#include "platform/audio.h"

#include "platform/audio_device.h"

#include <algorithm>

namespace platform {

using namespace audio_detail;

namespace {

// count buffer names on the current device; empty when they cannot be made.
std::vector<ALuint> NewBuffers(int count) {
    std::vector<ALuint> names(size_t(count), 0);
    alGetError();
    alGenBuffers(count, names.data());
    if (alGetError() != AL_NO_ERROR) {
        return {};
    }
    return names;
}

class TALStreamChannel : public TSourceChannel<TStreamChannel> {
public:
    // Made while the device is gone, it has neither (source 0, no buffers) until one comes back.
    TALStreamChannel(ALuint source, std::vector<ALuint> buffers, int count)
        : TSourceChannel(source), buffers_(std::move(buffers)), count_(count) {}
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

    int BufferCount() override { return count_; }
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
    // While the device is gone nothing plays, so nothing is reported played: the stream neither
    // refills nor restarts. The buffers of a new device come back as played, to be filled anew.
    int Processed() override {
        const int played = Get(AL_BUFFERS_PROCESSED);
        if (played > 0 && SourceState(source_) == AL_STOPPED) {
            CheckDeviceSoon(); // ran dry, or its device has gone
        }
        return int(fresh_.size()) + played;
    }
    int Unqueue() override {
        if (!fresh_.empty()) {
            const int index = fresh_.back();
            fresh_.pop_back();
            return index;
        }
        if (Get(AL_BUFFERS_PROCESSED) <= 0) {
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
    // What the old device had queued is lost: the stream goes on from where its decoder is.
    void Adopt() override {
        std::vector<ALuint> buffers = NewBuffers(count_);
        if (buffers.empty()) {
            return;
        }
        if (!AdoptSource()) {
            alDeleteBuffers(count_, buffers.data());
            return;
        }
        buffers_ = std::move(buffers);
        fresh_.clear();
        for (int i = count_ - 1; i >= 0; --i) {
            fresh_.push_back(i); // handed out from the back: in index order
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
    int count_;
    // Buffers of a new device that the stream has not filled yet.
    std::vector<int> fresh_;
};

} // namespace

StreamChannelPtr CreateStreamChannel(int buffers) {
    if (CurrentAudioDriverKind() != AudioDriverKind::OpenAL || buffers <= 0) {
        return nullptr;
    }
    if (DeviceLost()) {
        return std::make_shared<TALStreamChannel>(0, std::vector<ALuint>{}, buffers);
    }
    if (!AudioDeviceOpen()) {
        return nullptr;
    }
    std::vector<ALuint> names = NewBuffers(buffers);
    if (names.empty()) {
        return nullptr;
    }
    const ALuint source = NewSource();
    if (!source) {
        alDeleteBuffers(buffers, names.data());
        return nullptr;
    }
    return std::make_shared<TALStreamChannel>(source, std::move(names), buffers);
}

} // namespace platform
