#pragma once
// Sound samples, channels, drivers and the streamed-music source, on OpenAL Soft. When no audio
// device can be opened the layer runs silently (said once on standard error): samples still load
// and decode, channels exist and accept every call, and nothing plays.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A decoded sample: PCM, little-endian, 8-bit unsigned or 16-bit signed, interleaved.
class TSound {
public:
    int channels = 1;
    int bits = 16;
    int rate = 44100;
    bool loop = false;
    std::string pcm;
    std::shared_ptr<void> device; // the driver's buffer of this sample, made when first played
};
using SoundPtr = std::shared_ptr<TSound>;

enum SoundFlags { SOUND_LOOP = 1 };

// Loads a RIFF/WAVE PCM file (after ResolvePath); null on a missing, truncated or malformed file,
// with the reason in error when given.
SoundPtr LoadSound(const std::string& path, int flags = 0, std::string* error = nullptr);
SoundPtr DecodeSound(const std::string& bytes, int flags = 0, std::string* error = nullptr);

// A channel of the current driver. Every operation is harmless on a silent channel.
class TChannel {
public:
    virtual ~TChannel() = default;
    virtual void Stop() {}
    virtual void SetPaused(bool paused) { (void)paused; }
    virtual void SetVolume(float volume) { (void)volume; } // 0..1 (more amplifies)
    virtual void SetPan(float pan) { (void)pan; }          // -1 left .. 1 right
    virtual void SetDepth(float depth) { (void)depth; }
    virtual void SetRate(float rate) { (void)rate; } // 1 = normal pitch
    virtual bool Playing() { return false; }         // paused counts as not playing
    // Attaches the sample and leaves the channel cued (paused at its start).
    virtual void Cue(const SoundPtr& sound) { (void)sound; }
};
using ChannelPtr = std::shared_ptr<TChannel>;

ChannelPtr AllocChannel();
// Cues the sound into the channel (a new one when none is given) and returns it, paused.
ChannelPtr CueSound(const SoundPtr& sound, ChannelPtr channel = nullptr);
// Cues and starts the sound.
ChannelPtr PlaySound(const SoundPtr& sound, ChannelPtr channel = nullptr);
// Null-safe wrappers.
void StopChannel(const ChannelPtr& channel);
void PauseChannel(const ChannelPtr& channel);
void ResumeChannel(const ChannelPtr& channel);
void SetChannelVolume(const ChannelPtr& channel, float volume);
void SetChannelPan(const ChannelPtr& channel, float pan);
void SetChannelDepth(const ChannelPtr& channel, float depth);
void SetChannelRate(const ChannelPtr& channel, float rate);
bool ChannelPlaying(const ChannelPtr& channel);

// ---- Drivers -----------------------------------------------------------------------------------

enum class AudioDriverKind { None, OpenAL, SoftwareMixer };

// True when OpenAL can be used (a device opens).
bool EnableOpenALAudio();
// Names offered: "OpenAL", "OpenAL Generic Software" (both OpenAL Soft's default device) and
// "FreeAudio" (the software mixer kind, silent here). Any other name fails and leaves no driver.
std::vector<std::string> AudioDrivers();
bool SetAudioDriver(const std::string& name);
std::string AudioDriver(); // "" when none is set
AudioDriverKind CurrentAudioDriverKind();

// ---- Streamed music ----------------------------------------------------------------------------

// An OpenAL source fed with a queue of buffers by the music stream.
class TStreamChannel : public TChannel {
public:
    // Appends a buffer of PCM in the given layout to the queue; false when it cannot.
    virtual bool Queue(const void* pcm, int bytes, int channels, int bits, int rate) = 0;
    // Buffers that have finished playing and can be taken off the queue.
    virtual int Processed() = 0;
    // Takes that many played buffers off the front of the queue.
    virtual void Unqueue(int count) = 0;
    virtual int Queued() = 0;
    virtual void Play() = 0;
    // True when the source ran out of queued data and stopped.
    virtual bool Starved() = 0;
};
using StreamChannelPtr = std::shared_ptr<TStreamChannel>;

// A stream source of the current driver; null unless the driver is of the OpenAL kind.
StreamChannelPtr CreateStreamChannel();

// ---- Loopback (tests) --------------------------------------------------------------------------
// OpenAL Soft's loopback device: mixing advances only when RenderAudio is called, so stream tests
// are exact. Replaces the current driver until SetAudioDriver is called again.
bool OpenLoopbackAudio(int rate = 44100);
// Mixes frames of 16-bit stereo into out (2 * frames values).
void RenderAudio(int frames, int16_t* out);

} // namespace platform
