#pragma once
// Streamed music: a music object decoded a little at a time into a queue of buffers on one OpenAL
// source, topped up from the main thread by the 120 Hz music timer. A stream is itself a channel of
// the audio layer, so the shell drives the music with the ordinary channel operations.

#include "framework/audio/music.h"
#include "platform/audio.h"
#include "platform/input.h"

#include <memory>
#include <vector>

class TAudioStream : public platform::TChannel, public std::enable_shared_from_this<TAudioStream> {
public:
    ~TAudioStream() override;

    // The one update timer (120 Hz) of every stream, made with the first stream.
    static platform::TimerPtr Timer;

    // A playing stream of the music file or stream, or of a music object that stays the caller's;
    // null when nothing can load the source (the reason, naming the file, in error) or when the
    // current driver has no stream type (none, or OpenAL without a device). loop is stored as the
    // music's loop property; flag is not used.
    static std::shared_ptr<TAudioStream> Create(const TMusicSource& source, int loop, int flag,
                                                std::string* error = nullptr);
    static std::shared_ptr<TAudioStream> Create(const TMusicPtr& music, int loop, int flag,
                                                std::string* error = nullptr);
    // Runs Update for the timer's tick events.
    static void eventhook(const platform::TEvent& event,
                          const std::shared_ptr<TAudioStream>& context);
    // One refill step.
    virtual int Update() = 0;
    // Ends the stream for good: it leaves the event hook (which held it) and frees the music unless
    // the caller keeps it. Every operation afterwards does nothing.
    void Stop() override;

    TMusicPtr Music;
    int writepos = 0;
    int paused = 0;
    int samplerate = 44100;
    int KeepMusic = 0;

protected:
    // What a stream type releases when it stops (before the music is freed).
    virtual void Release() {}
    // True until Stop.
    bool Live() const { return hook_ != 0; }

private:
    static std::shared_ptr<TAudioStream> ForDriver(const TMusicPtr& music, int flag);
    static std::shared_ptr<TAudioStream> Attach(std::shared_ptr<TAudioStream> stream,
                                                const TMusicPtr& music, int keep);
    int hook_ = 0;
};
using TAudioStreamPtr = std::shared_ptr<TAudioStream>;

class TOpenALAudioStream : public TAudioStream {
public:
    // A stream on the music with its buffers filled and queued and its source playing; null when
    // the driver gives no stream source.
    static std::shared_ptr<TOpenALAudioStream> Build(const TMusicPtr& music, int flag);
    // Decodes the next buffer's worth of the music into block index and queues it in the music's
    // own format and rate.
    int FillBuffer(int index);
    int Update() override;

    void SetPaused(bool pause) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float depth) override;
    void SetRate(float rate) override;
    bool Playing() override;

    int _buffercount = 16;
    int _buffersize = 8192;
    std::vector<std::vector<unsigned char>> _bufferbanks;
    // The OpenAL source with its _buffercount buffers; null once stopped.
    platform::StreamChannelPtr _source;

protected:
    void Release() override;
};

// The stream of the software-mixer driver: it plays nothing.
class TFreeAudioAudioStream : public TAudioStream {
public:
    int Update() override { return 0; }
};

// A stream of the source (TAudioStream::Create). A source that cannot be loaded is reported on
// standard error, naming the file; the caller gets null and goes on without music.
TAudioStreamPtr CreateAudioStream(const TMusicSource& source, int loop, int flag);
TAudioStreamPtr CreateAudioStream(const TMusicPtr& music, int loop, int flag);
