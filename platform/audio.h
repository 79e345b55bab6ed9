#pragma once
// Sound samples, channels, drivers and the streamed-music source, on OpenAL Soft. When no audio
// device can be opened the layer runs silently (said once on standard error): samples still load
// and decode, channels exist and accept every call, and nothing plays. When the device is lost
// while the game runs (its sound server ends), the layer says so once, plays nothing meanwhile,
// and tries every few seconds to open a device again; once one opens, the channels and the music
// sources move onto it, looping sounds and music playing on as they were left.
//
// Everything here runs on the main thread; OpenAL mixes on threads of its own, and a try to open a
// device after a loss runs on a thread of its own, so that a sound server that does not answer
// never holds a frame.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A decoded sample: PCM, little-endian, 8-bit unsigned or 16-bit signed, interleaved, one or two
// channels.
class TSound {
public:
    int channels = 1;
    int bits = 16;
    int rate = 44100;
    bool loop = false;
    std::string pcm;
    // The driver's buffer of this sample, made when it is first cued on a device. It belongs to
    // the device that made it and is remade after a change of driver.
    std::shared_ptr<void> device;
};
using SoundPtr = std::shared_ptr<TSound>;

enum SoundFlags { SOUND_LOOP = 1 };

// Loads a RIFF/WAVE PCM file (after ResolvePath): 8-bit unsigned or 16-bit signed, mono or stereo,
// any rate. Null on a missing, truncated or malformed file, with the reason in error when given.
// Decoding does not need a device: a silent layer still loads (and refuses) the same files.
SoundPtr LoadSound(const std::string& path, int flags = 0, std::string* error = nullptr);
SoundPtr DecodeSound(const std::string& bytes, int flags = 0, std::string* error = nullptr);

// A channel of the current driver. Every operation is harmless on a silent channel, and on a
// channel whose driver has since been closed or replaced.
class TChannel {
public:
    virtual ~TChannel() = default;
    virtual void Stop() {}
    // Pausing keeps the position; resuming plays a cued or paused channel and does nothing to a
    // stopped or finished one.
    virtual void SetPaused(bool paused) { (void)paused; }
    // 0..1; negative and NaN give 0.
    virtual void SetVolume(float volume) { (void)volume; }
    // -1 left .. 1 right, as a position on a half circle in front of the listener. OpenAL pans
    // mono sounds only.
    virtual void SetPan(float pan) { (void)pan; }
    virtual void SetDepth(float depth) { (void)depth; }
    // 1 = normal pitch; clamped to a small positive minimum.
    virtual void SetRate(float rate) { (void)rate; }
    // True only while sound is coming out: cued, paused and finished channels are not playing.
    virtual bool Playing() { return false; }
    // Stops the channel, attaches the sample (looping when the sample says so) and leaves the
    // channel cued at its start, not playing.
    virtual void Cue(const SoundPtr& sound) { (void)sound; }
};
using ChannelPtr = std::shared_ptr<TChannel>;

// A channel of the current driver: an OpenAL source, or a silent channel when the driver is the
// software mixer, none, or has no device.
ChannelPtr AllocChannel();
// Cues the sound into the channel (a new one when none is given) and returns it, not playing.
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

// True when OpenAL can be used (its default device opens). The device is kept for SetAudioDriver.
bool EnableOpenALAudio();
// Names offered: "OpenAL", "OpenAL Generic Software" (both OpenAL Soft's default device) and
// "FreeAudio" (the software mixer kind, silent here).
std::vector<std::string> AudioDrivers();
// Chooses the driver. An OpenAL name succeeds even when no device opens (a machine without a sound
// card): the layer then runs silently and says so once on standard error, and the choice stays
// valid for a later run that has a device. Any other name fails and leaves no driver (kind None).
// Changing between the OpenAL kind and another closes the device: channels made before go silent.
bool SetAudioDriver(const std::string& name);
std::string AudioDriver(); // "" when none is set
AudioDriverKind CurrentAudioDriverKind();
// True while an OpenAL device is open (sound can really be heard).
bool AudioDeviceOpen();
// Closes the device (harmless when closed). The driver choice stays. The end of the process
// (AtEnd) closes it too, but waits for that a second at most.
void CloseAudio();

// ---- Streamed music ----------------------------------------------------------------------------

// An OpenAL source fed with a queue of buffers by the music stream. The buffers are numbered
// 0 .. BufferCount() - 1; each is filled and queued by Queue and comes back through Unqueue once
// played. Pausing uses the source's own pause, so a paused source reports only the buffers that
// really played.
class TStreamChannel : public TChannel {
public:
    virtual int BufferCount() = 0;
    // Uploads PCM (1 or 2 channels, 8 or 16 bits, any rate) into buffer index and appends it to
    // the queue; false when it cannot (bad index or layout, or the device has gone).
    virtual bool Queue(int index, const void* pcm, int bytes, int channels, int bits, int rate) = 0;
    // Buffers at the front of the queue that have finished playing.
    virtual int Processed() = 0;
    // Takes the oldest played buffer off the queue; its index, or -1 when none has been played.
    virtual int Unqueue() = 0;
    virtual int Queued() = 0;
    // Starts (or restarts) the source on what is queued.
    virtual void Play() = 0;
};
using StreamChannelPtr = std::shared_ptr<TStreamChannel>;

// A stream source of the current driver with that many buffers; null unless the driver is of the
// OpenAL kind and a device is open.
StreamChannelPtr CreateStreamChannel(int buffers = 16);

// ---- Loopback (tests) --------------------------------------------------------------------------
// OpenAL Soft's loopback device: mixing advances only when RenderAudio is called, so stream tests
// are exact. Replaces the current driver (kind OpenAL, name "Loopback") until SetAudioDriver is
// called again. False when the extension is missing.
bool OpenLoopbackAudio(int rate = 44100);
// Mixes frames of 16-bit stereo into out (2 * frames values); silence when no loopback is open.
void RenderAudio(int frames, int16_t* out);
// Replaces the layer's question whether its device is still connected (asked at most four times
// a second as events are polled) and decides whether a try to open a device anew after a loss
// (three seconds after the last one ended) may go ahead; reopen is called on the try's own thread
// and may take as long as it likes. A new loopback device stands in for a lost loopback device.
// closing is called on the thread that closes a device, just before it does. Empty functions put
// OpenAL's own answers back.
void SetAudioDeviceProbes(std::function<bool()> connected, std::function<bool()> reopen,
                          std::function<void()> closing = nullptr);
// How long a try after a loss waits for the program that asks whether a device would open before
// it ends that program and counts the try as failed; 0 puts the layer's own time back.
void SetAudioProbeDeadline(int ms);
// True from the start of a try to open a device after a loss until a poll takes its result.
bool AudioDeviceSought();

} // namespace platform
