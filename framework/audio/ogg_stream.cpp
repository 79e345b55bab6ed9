#include "framework/audio/ogg_stream.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The four callbacks on the layer's stream. The stream closes with the decoder object.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0) {
        return 0;
    }
    auto* stream = static_cast<platform::TStream*>(source);
    const int64_t got = stream->Read(buffer, int64_t(size * count));
    return got > 0 ? size_t(got) / size : 0;
}

int SeekCallback(void* source, ogg_int64_t offset, int origin) {
    auto* stream = static_cast<platform::TStream*>(source);
    int64_t to = 0;
    switch (origin) {
    case SEEK_SET:
        to = offset;
        break;
    case SEEK_CUR:
        to = stream->Pos() + offset;
        break;
    case SEEK_END:
        to = stream->Size() + offset;
        break;
    default:
        return -1;
    }
    return to >= 0 && stream->Seek(to) ? 0 : -1;
}

int CloseCallback(void*) {
    return 0;
}

long TellCallback(void* source) {
    return long(static_cast<platform::TStream*>(source)->Pos());
}

const ov_callbacks CALLBACKS = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

std::string OpenFailure(int code) {
    switch (code) {
    case OV_ENOTVORBIS:
        return "an Ogg file without Vorbis audio";
    case OV_EVERSION:
        return "an Ogg Vorbis file of an unknown version";
    case OV_EBADHEADER:
        return "an Ogg Vorbis file with a damaged header";
    case OV_EREAD:
        return "an Ogg Vorbis file that cannot be read (cut short?)";
    default:
        return "a damaged Ogg Vorbis file (error " + std::to_string(code) + ")";
    }
}

// "mono 8000 Hz", "stereo 44100 Hz", "6-channel 48000 Hz".
std::string Layout(const vorbis_info& info) {
    const std::string channels = info.channels == 1   ? "mono"
                                 : info.channels == 2 ? "stereo"
                                                      : std::to_string(info.channels) + "-channel";
    return channels + " " + std::to_string(info.rate) + " Hz";
}

// Consecutive holes (lost data) that a read skips before it gives up on the rest of the file.
constexpr int MAX_HOLES = 64;

} // namespace

TOGGStream::TOGGStream() = default;

TOGGStream::~TOGGStream() {
    Close();
}

bool TOGGStream::Open(std::string* error) {
    Close();
    if (!stream || !stream->Seek(0)) {
        if (error) {
            *error = "an Ogg Vorbis file that cannot be read";
        }
        return false;
    }
    auto file = std::make_unique<OggVorbis_File>();
    const int code = ov_open_callbacks(stream.get(), file.get(), nullptr, 0, CALLBACKS);
    if (code != 0) {
        // A failed open has already released what it made: no ov_clear.
        if (error) {
            *error = OpenFailure(code);
        }
        return false;
    }
    ogg = std::move(file);
    const vorbis_info* info = ov_info(ogg.get(), -1);
    const int format = info ? MusicFormatOf(info->channels, 16) : 0;
    if (!format || info->rate <= 0 || info->rate > INT_MAX) {
        if (error) {
            *error = info ? std::to_string(info->channels) +
                                "-channel Ogg Vorbis audio (only mono and stereo play)"
                          : "an Ogg Vorbis file without stream information";
        }
        Close();
        return false;
    }
    // Every link plays in the first one's format, so a chain of links that differ cannot play.
    // Links are known only on a seekable stream; on another, reading ends at the first that
    // differs.
    const long links = ov_streams(ogg.get());
    for (long i = 1; i < links; ++i) {
        const vorbis_info* link = ov_info(ogg.get(), int(i));
        if (!link || link->channels != info->channels || link->rate != info->rate) {
            if (error) {
                *error = "a chained Ogg Vorbis file whose links differ (link " +
                         std::to_string(i + 1) + ": " +
                         (link ? Layout(*link) : std::string("no stream information")) + " after " +
                         Layout(*info) + ")";
            }
            Close();
            return false;
        }
    }
    // vorbisfile leaves a chain that it has just opened at the start of its second link.
    if (links > 1) {
        const int seek = ov_raw_seek(ogg.get(), 0);
        if (seek != 0) {
            if (error) {
                *error = OpenFailure(seek);
            }
            Close();
            return false;
        }
    }
    // Unknown (negative) for an unseekable stream: the end is then found by reading.
    const ogg_int64_t total = ov_pcm_total(ogg.get(), -1);
    samples = total > 0 ? int(std::min<ogg_int64_t>(total, INT_MAX)) : 0;
    SAMPLE_RATE = int(info->rate);
    STREAM_FORMAT = format;
    linkChannels = info->channels;
    linkRate = info->rate;
    return true;
}

void TOGGStream::Close() {
    if (ogg) {
        ov_clear(ogg.get());
        ogg.reset();
    }
}

std::shared_ptr<TOGGStream> TOGGStream::Load(const TMusicSource& source, std::string* error) {
    platform::StreamPtr stream = OpenMusicSource(source);
    if (!stream) {
        return nullptr;
    }
    char tag[4] = {};
    const bool ogg = stream->Read(tag, 4) == 4 && std::memcmp(tag, "OggS", 4) == 0;
    if (!ogg) {
        return nullptr; // not this loader's format: another may take it
    }
    auto music = std::make_shared<TOGGStream>();
    music->stream = stream;
    std::string reason;
    if (!music->Open(&reason)) {
        if (error) {
            *error = reason;
        }
        return nullptr;
    }
    if (music->samples == 0 && music->stream->Size() > 0) {
        // A seekable file whose length is 0 holds no audio at all.
        if (ov_seekable(music->ogg.get())) {
            if (error) {
                *error = "an Ogg Vorbis file without audio";
            }
            return nullptr;
        }
    }
    music->STREAM_SIZE = music->samples;
    return music;
}

int TOGGStream::Free() {
    TMusic::Free();
    Close();
    stream.reset();
    return 0;
}

int TOGGStream::FillBuffer(void* buffer, int length) {
    return FillFromData(buffer, length);
}

int64_t TOGGStream::DataLeft() {
    if (STREAM_SIZE <= 0) {
        return INT64_MAX; // not known: the decoder finds the end
    }
    return int64_t(STREAM_SIZE - STREAM_POS) * GetBytesPerSample(STREAM_FORMAT);
}

int TOGGStream::ReadData(unsigned char* out, int bytes) {
    int done = 0;
    int holes = 0;
    while (ogg && done < bytes) {
        int section = 0;
        const long got = ov_read(ogg.get(), reinterpret_cast<char*>(out + done), bytes - done, 0, 2,
                                 1, &section);
        if (got == OV_HOLE && ++holes <= MAX_HOLES) {
            continue; // a gap in the data: decoding goes on after it
        }
        if (got <= 0) {
            break; // the end of the data, or an error that ends it
        }
        holes = 0;
        // A link in another format than the stream's ends the data, its samples dropped: only an
        // unseekable stream gets here, as open refuses such a chain where it can list the links.
        const vorbis_info* info = ov_info(ogg.get(), section);
        if (!info || info->channels != linkChannels || info->rate != linkRate) {
            Close();
            break;
        }
        done += int(got);
    }
    const int frame = GetBytesPerSample(STREAM_FORMAT);
    done = done / frame * frame;
    STREAM_POS += done / frame;
    return done;
}

// Seeks the open decoder back to the start: a short looping music rewinds often, and opening
// reads every header again. The decoder is opened again (STREAM_SIZE staying as first found) only
// where it was closed or cannot seek.
bool TOGGStream::Rewind() {
    STREAM_POS = 0;
    if (ogg && ov_raw_seek(ogg.get(), 0) == 0) {
        return true;
    }
    return Open(nullptr);
}

int TOGGStream::Stop() {
    Rewind();
    return 0;
}

TMusicPtr MaxMod_Loader_Ogg(const TMusicSource& source, std::string* error) {
    return TOGGStream::Load(source, error);
}
