#include "framework/audio/ogg_stream.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// The four callbacks on the decoder object's stream, whose Ogg data begins at dataStart (after
// any tag that precedes it). The stream closes with the decoder object.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0) {
        return 0;
    }
    platform::TStream& stream = *static_cast<TOGGStream*>(source)->stream;
    const int64_t got = stream.Read(buffer, int64_t(size * count));
    return got > 0 ? size_t(got) / size : 0;
}

int SeekCallback(void* source, ogg_int64_t offset, int origin) {
    const TOGGStream& music = *static_cast<TOGGStream*>(source);
    platform::TStream& stream = *music.stream;
    int64_t to = 0;
    switch (origin) {
    case SEEK_SET:
        to = music.dataStart + offset;
        break;
    case SEEK_CUR:
        to = stream.Pos() + offset;
        break;
    case SEEK_END:
        to = stream.Size() + offset;
        break;
    default:
        return -1;
    }
    return to >= music.dataStart && stream.Seek(to) ? 0 : -1;
}

int CloseCallback(void*) {
    return 0;
}

long TellCallback(void* source) {
    const TOGGStream& music = *static_cast<TOGGStream*>(source);
    return long(music.stream->Pos() - music.dataStart);
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

// The kind of data whose first packet an Ogg stream's first page holds; empty for an unknown one.
std::string CodecOf(const ogg_page& page) {
    struct Kind {
        const char* magic;
        size_t length;
        const char* name;
    };
    static const Kind KINDS[] = {
        {"\x01vorbis", 7, "Vorbis"}, {"OpusHead", 8, "Opus"},     {"\177FLAC", 5, "FLAC"},
        {"Speex   ", 8, "Speex"},    {"\x80theora", 7, "Theora"},
    };
    for (const Kind& kind : KINDS) {
        if (size_t(page.body_len) >= kind.length &&
            std::memcmp(page.body, kind.magic, kind.length) == 0) {
            return kind.name;
        }
    }
    return "";
}

// Why vorbisfile cannot open a file whose first page was found, when one of its links holds no
// Vorbis stream: e.g. "a chained Ogg file whose link 2 is Opus audio, not Vorbis". Empty when
// every link has a Vorbis stream (the fault is elsewhere). Reads the stream from start on, up to
// that link.
std::string NonVorbisLink(platform::TStream& stream, int64_t start) {
    if (!stream.Seek(start)) {
        return "";
    }
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    std::string reason;
    // A link opens with the first pages of all its streams, one after another.
    int link = 0;
    bool inFirstPages = false;
    bool vorbis = false;
    std::string firstKind;
    auto linkEnds = [&] {
        if (inFirstPages && !vorbis) {
            const std::string kind = firstKind.empty()       ? "not Vorbis audio"
                                     : firstKind == "Theora" ? "Theora video without Vorbis audio"
                                                             : firstKind + " audio, not Vorbis";
            reason = link == 1
                         ? "an Ogg file whose data is " + kind
                         : "a chained Ogg file whose link " + std::to_string(link) + " is " + kind;
        }
        inFirstPages = false;
    };
    for (bool more = true; more && reason.empty();) {
        char* buffer = ogg_sync_buffer(&sync, 4096);
        const int64_t got = buffer ? stream.Read(buffer, 4096) : 0;
        more = got > 0;
        ogg_sync_wrote(&sync, more ? long(got) : 0);
        ogg_page page;
        while (reason.empty()) {
            const int out = ogg_sync_pageout(&sync, &page);
            if (out == 0) {
                break;
            }
            if (out < 0) {
                continue; // bytes skipped up to the next page
            }
            if (!ogg_page_bos(&page)) {
                linkEnds();
                continue;
            }
            if (!inFirstPages) {
                ++link;
                inFirstPages = true;
                vorbis = false;
                firstKind = CodecOf(page);
            }
            vorbis = vorbis || CodecOf(page) == "Vorbis";
        }
    }
    if (reason.empty()) {
        linkEnds();
    }
    ogg_sync_clear(&sync);
    return reason;
}

// The size of the ID3v2 tag (header, frames and footer) at the start of head, which holds the
// first 10 bytes of a file; 0 when there is none.
int64_t Id3v2TagSize(const unsigned char* head) {
    if (std::memcmp(head, "ID3", 3) != 0 || head[3] == 0xFF || head[4] == 0xFF ||
        ((head[6] | head[7] | head[8] | head[9]) & 0x80) != 0) {
        return 0;
    }
    const int64_t frames =
        int64_t(head[6]) << 21 | int64_t(head[7]) << 14 | int64_t(head[8]) << 7 | int64_t(head[9]);
    const bool footer = (head[5] & 0x10) != 0;
    return 10 + frames + (footer ? 10 : 0);
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
    if (!stream || !stream->Seek(dataStart)) {
        if (error) {
            *error = "an Ogg Vorbis file that cannot be read";
        }
        return false;
    }
    auto file = std::make_unique<OggVorbis_File>();
    const int code = ov_open_callbacks(this, file.get(), nullptr, 0, CALLBACKS);
    if (code != 0) {
        // A failed open has already released what it made: no ov_clear.
        if (error) {
            const std::string link = NonVorbisLink(*stream, dataStart);
            *error = link.empty() ? OpenFailure(code) : link;
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
    // Taggers write ID3v2 tags before the first page too; vorbisfile plays such files.
    int64_t start = 0;
    unsigned char head[10] = {};
    while (stream->Read(head, 10) == 10) {
        const int64_t tag = Id3v2TagSize(head);
        if (tag == 0) {
            break;
        }
        start += tag;
        if (!stream->Seek(start)) {
            break;
        }
        std::memset(head, 0, sizeof head);
    }
    if (std::memcmp(head, "OggS", 4) != 0) {
        return nullptr; // not this loader's format: another may take it
    }
    auto music = std::make_shared<TOGGStream>();
    music->stream = stream;
    music->dataStart = start;
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
