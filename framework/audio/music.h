#pragma once
// Music decoders: a music object hands out the PCM data of one music file in pieces, with a few
// integer properties; the loader table turns a file (or an open stream) into one, trying each
// registered loader in turn.

#include "framework/util/object.h"
#include "platform/files.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <variant>

// What a loader reads: a file path or an open stream.
using TMusicSource = std::variant<std::string, platform::StreamPtr>;

// Format codes of STREAM_FORMAT.
enum MusicFormat {
    MUSIC_MONO8 = 200,
    MUSIC_MONO16 = 201,
    MUSIC_STEREO8 = 202,
    MUSIC_STEREO16 = 203,
};

// Property codes of Geti and Seti.
enum MusicProperty {
    MUSIC_SIZE = 1,
    MUSIC_POSITION = 2,
    MUSIC_PLAY_STATUS = 3,
    MUSIC_FORMAT = 4,
    MUSIC_RATE = 5,
    MUSIC_LOOP = 7,
};

class TMusic : public TObject {
public:
    int WriteBug(const std::string& text);
    // Releases what the decoder holds (the file, the Vorbis decoder) at once.
    virtual int Free();
    // Writes exactly length bytes of PCM in STREAM_FORMAT into buffer and advances. At the end of
    // the data a looping music goes on from its loop point within the same buffer; otherwise
    // PlayStatus becomes 0, the decoder rewinds and the rest of the buffer is silence.
    virtual int FillBuffer(void* buffer, int length) = 0;
    int Setf(int code, float value);
    float Getf(int code);
    int Seti(int code, int value);
    int Geti(int code);
    std::string GetS(int code);

    // Rewinds to the loop point.
    virtual int Stop() { return 0; }

    // Channels and bits of STREAM_FORMAT (1 or 2, 8 or 16; 0 for an unknown code).
    int Channels() const;
    int Bits() const;

    std::string DebugData;
    int PlayStatus = 0;
    int SAMPLE_RATE = 44100;
    int STREAM_FORMAT = MUSIC_STEREO16;
    int STREAM_LOOP = 1;
    int STREAM_POS = 0;  // bytes (WAV) or frames (Ogg Vorbis)
    int STREAM_SIZE = 0; // bytes (WAV) or frames (Ogg Vorbis); 0 = not known

protected:
    // FillBuffer of the decoders: reads the data, goes on from the loop point or ends at the end
    // of the data, and pads with silence.
    int FillFromData(void* buffer, int length);
    // Bytes left before the end of the data as far as it is known.
    virtual int64_t DataLeft() { return 0; }
    // Reads up to bytes bytes of whole frames and advances STREAM_POS; fewer at the end of the
    // data or where it is damaged.
    virtual int ReadData(unsigned char* out, int bytes) {
        (void)out;
        (void)bytes;
        return 0;
    }
    // Goes back to the loop point; false when the data cannot be read again.
    virtual bool Rewind() { return false; }
};
using TMusicPtr = std::shared_ptr<TMusic>;

// Bytes per frame of a format code; 0 for an unknown code.
int GetBytesPerSample(int format);
// The format code of a PCM layout; 0 for another layout.
int MusicFormatOf(int channels, int bits);
// Fills bytes with the silence of a format (128 for 8-bit data, 0 for 16-bit).
void FillSilence(void* buffer, int bytes, int format);

// One row of the loader table. A loader returns null when the source is not its format or cannot
// be read; when the source is of its format but broken, it says why in error.
class MaxModLoader : public TObject {
public:
    using TLoaderFunc = std::function<TMusicPtr(const TMusicSource&, std::string* error)>;

    // The table in registration order, the WAV and Ogg Vorbis loaders first.
    static std::list<std::shared_ptr<MaxModLoader>>& List();
    // The function of the loader being tried.
    static TLoaderFunc MMLoader;

    static std::shared_ptr<MaxModLoader> Create(TLoaderFunc func, const std::string& name,
                                                const std::string& ext);
    // A file-filter text, e.g. "All supported:,wav,ogg;Microsoft Wave \".wav\":wav;...".
    static std::string GetExtensions(int all, int allFiles);
    // The first loader's music that accepts the source; null when none does, with the reason
    // (naming the file) in error.
    static TMusicPtr Load(const TMusicSource& source, std::string* error = nullptr);

    std::string Name;
    TLoaderFunc Func;
    std::string Ext;
};

TMusicPtr LoadMusic(const TMusicSource& source, std::string* error = nullptr);
int FreeMusic(const TMusicPtr& music);
std::string MusicExtensions(int all, int allFiles);

// For the decoders: the source's stream (a path opened for reading, or the stream itself); null
// when a path cannot be opened.
platform::StreamPtr OpenMusicSource(const TMusicSource& source);
