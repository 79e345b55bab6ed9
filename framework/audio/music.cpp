#include "framework/audio/music.h"

#include "framework/audio/ogg_stream.h"
#include "framework/audio/wav_stream.h"

#include <algorithm>
#include <cctype>
#include <cstring>

int TMusic::WriteBug(const std::string& text) {
    DebugData += text;
    return 0;
}

int TMusic::Free() {
    return 0;
}

int TMusic::Setf(int code, float value) {
    (void)code;
    (void)value;
    return 0;
}

float TMusic::Getf(int code) {
    (void)code;
    return 0.0f;
}

int TMusic::Seti(int code, int value) {
    switch (code) {
    case MUSIC_FORMAT:
        if (value < MUSIC_MONO8 || value > MUSIC_STEREO16) {
            return 0;
        }
        STREAM_FORMAT = value;
        return 1;
    case MUSIC_RATE:
        SAMPLE_RATE = value;
        return 1;
    case MUSIC_LOOP:
        STREAM_LOOP = value;
        return 1;
    default:
        return 0;
    }
}

int TMusic::Geti(int code) {
    switch (code) {
    case MUSIC_SIZE:
        return STREAM_SIZE;
    case MUSIC_POSITION:
        return STREAM_POS;
    case MUSIC_PLAY_STATUS:
        return PlayStatus;
    case MUSIC_FORMAT:
        return STREAM_FORMAT;
    case MUSIC_RATE:
        return SAMPLE_RATE;
    case MUSIC_LOOP:
        return STREAM_LOOP;
    default:
        return 0;
    }
}

std::string TMusic::GetS(int code) {
    (void)code;
    return std::string();
}

int TMusic::FillFromData(void* buffer, int length) {
    auto* out = static_cast<unsigned char*>(buffer);
    const int frame = std::max(1, GetBytesPerSample(STREAM_FORMAT));
    int filled = 0;
    // Where the data from the loop point begins in this buffer, once a rewind has been made in it.
    int passStart = -1;
    bool repeated = false;
    while (filled + frame <= length) {
        const int want = int(std::min<int64_t>((length - filled) / frame * frame, DataLeft()));
        const int got = want > 0 ? ReadData(out + filled, want) : 0;
        filled += got;
        if (got == want && DataLeft() > 0) {
            continue;
        }
        // The end of the data: reached, or cut short by a damaged or shortened file.
        if (STREAM_LOOP != 1) {
            PlayStatus = 0;
            Stop();
            break;
        }
        const int pass = passStart < 0 ? -1 : filled - passStart;
        // Data that gives nothing from its loop point stops here rather than spin. After a repeat
        // only data that shrank under us ends again: the rest of this buffer is then silence.
        if (pass == 0 || !Rewind() || repeated) {
            break;
        }
        if (pass > 0) {
            // The whole data lies in the buffer: it is copied over the rest of it rather than
            // decoded again, so that however short the music, a buffer costs at most about two
            // passes of decoding. The decoder, just rewound, reads on after the copies. Each copy
            // doubles what lies behind it.
            const int room = (length - filled) / pass * pass;
            for (int copied = 0; copied < room;) {
                const int n = std::min(room - copied, pass + copied);
                std::memcpy(out + filled + copied, out + passStart, size_t(n));
                copied += n;
            }
            filled += room;
            repeated = true;
        }
        passStart = filled;
    }
    FillSilence(out + filled, length - filled, STREAM_FORMAT);
    return 0;
}

int TMusic::Channels() const {
    return STREAM_FORMAT == MUSIC_MONO8 || STREAM_FORMAT == MUSIC_MONO16       ? 1
           : STREAM_FORMAT == MUSIC_STEREO8 || STREAM_FORMAT == MUSIC_STEREO16 ? 2
                                                                               : 0;
}

int TMusic::Bits() const {
    return STREAM_FORMAT == MUSIC_MONO8 || STREAM_FORMAT == MUSIC_STEREO8     ? 8
           : STREAM_FORMAT == MUSIC_MONO16 || STREAM_FORMAT == MUSIC_STEREO16 ? 16
                                                                              : 0;
}

int GetBytesPerSample(int format) {
    switch (format) {
    case MUSIC_MONO8:
        return 1;
    case MUSIC_MONO16:
    case MUSIC_STEREO8:
        return 2;
    case MUSIC_STEREO16:
        return 4;
    default:
        return 0;
    }
}

int MusicFormatOf(int channels, int bits) {
    if (channels == 1 && bits == 8) {
        return MUSIC_MONO8;
    }
    if (channels == 1 && bits == 16) {
        return MUSIC_MONO16;
    }
    if (channels == 2 && bits == 8) {
        return MUSIC_STEREO8;
    }
    if (channels == 2 && bits == 16) {
        return MUSIC_STEREO16;
    }
    return 0;
}

void FillSilence(void* buffer, int bytes, int format) {
    if (bytes > 0) {
        const bool unsigned8 = format == MUSIC_MONO8 || format == MUSIC_STEREO8;
        std::memset(buffer, unsigned8 ? 0x80 : 0, size_t(bytes));
    }
}

// ---- Loader table ------------------------------------------------------------------------------

MaxModLoader::TLoaderFunc MaxModLoader::MMLoader;

std::list<std::shared_ptr<MaxModLoader>>& MaxModLoader::List() {
    static std::list<std::shared_ptr<MaxModLoader>> list;
    static bool registered = false;
    if (!registered) {
        registered = true;
        Create(MaxMod_Loader_wav, "Microsoft Wave \".wav\"", "wav");
        Create(MaxMod_Loader_Ogg, "Ogg Vorbis \".ogg\"", "ogg");
    }
    return list;
}

std::shared_ptr<MaxModLoader> MaxModLoader::Create(TLoaderFunc func, const std::string& name,
                                                   const std::string& ext) {
    auto loader = std::make_shared<MaxModLoader>();
    loader->Func = std::move(func);
    loader->Name = name;
    loader->Ext = ext;
    List().push_back(loader);
    return loader;
}

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Describe(const TMusicSource& source) {
    if (const std::string* path = std::get_if<std::string>(&source)) {
        return "Music file '" + *path + "'";
    }
    return "Music stream";
}

} // namespace

std::string MaxModLoader::GetExtensions(int all, int allFiles) {
    std::string text;
    if (all) {
        text = "All supported:";
        for (const auto& loader : List()) {
            text += "," + Lower(loader->Ext);
        }
    }
    for (const auto& loader : List()) {
        if (!text.empty()) {
            text += ";";
        }
        text += loader->Name + ":" + Lower(loader->Ext);
    }
    if (allFiles) {
        if (!text.empty()) {
            text += ";";
        }
        text += "All Files:*";
    }
    return text;
}

TMusicPtr MaxModLoader::Load(const TMusicSource& source, std::string* error) {
    const platform::StreamPtr* stream = std::get_if<platform::StreamPtr>(&source);
    if (stream && !*stream) {
        if (error) {
            *error = "Music stream: none given";
        }
        return nullptr;
    }
    // Only a loader that recognised its own format explains why it refused the data.
    std::string reason;
    for (const auto& loader : List()) {
        if (stream) {
            (*stream)->Seek(0);
        }
        MMLoader = loader->Func;
        std::string refusal;
        if (TMusicPtr music = loader->Func(source, &refusal)) {
            return music;
        }
        if (reason.empty()) {
            reason = refusal;
        }
    }
    if (error) {
        const std::string* path = std::get_if<std::string>(&source);
        if (path && !platform::ReadFile(*path)) {
            *error = Describe(source) + " cannot be opened";
        } else {
            *error = Describe(source) + ": " +
                     (reason.empty() ? std::string("neither WAV nor Ogg Vorbis audio") : reason);
        }
    }
    return nullptr;
}

TMusicPtr LoadMusic(const TMusicSource& source, std::string* error) {
    return MaxModLoader::Load(source, error);
}

int FreeMusic(const TMusicPtr& music) {
    if (music) {
        music->Free();
    }
    return 0;
}

std::string MusicExtensions(int all, int allFiles) {
    return MaxModLoader::GetExtensions(all, allFiles);
}

platform::StreamPtr OpenMusicSource(const TMusicSource& source) {
    if (const std::string* path = std::get_if<std::string>(&source)) {
        return platform::ReadFile(*path);
    }
    return std::get<platform::StreamPtr>(source);
}
