#include "framework/audio/wav_stream.h"

#include "platform/wav.h"

#include <algorithm>
#include <climits>
#include <cstring>

std::shared_ptr<TWavStream> TWavStream::Load(const TMusicSource& source, std::string* error) {
    platform::StreamPtr stream = OpenMusicSource(source);
    if (!stream) {
        return nullptr;
    }
    char tag[4] = {};
    const bool riff = stream->Read(tag, 4) == 4 && std::memcmp(tag, "RIFF", 4) == 0;
    if (!riff || !stream->Seek(0)) {
        return nullptr; // not this loader's format: another may take it
    }
    platform::TWavInfo info;
    std::string reason;
    if (!platform::ReadWavHeader(*stream, info, &reason)) {
        if (error) {
            *error = "a damaged or unplayable WAV file (" + reason + ")";
        }
        return nullptr;
    }
    if (info.dataSize > INT_MAX) {
        if (error) {
            *error = "a WAV file too long to stream";
        }
        return nullptr;
    }
    auto music = std::make_shared<TWavStream>();
    music->stream = stream;
    music->SAMPLE_RATE = info.rate;
    music->STREAM_SIZE = int(info.dataSize);
    music->STREAM_FORMAT = MusicFormatOf(info.channels, info.bits);
    music->loopseek = info.dataPos;
    return music;
}

int TWavStream::Free() {
    return 0; // the file closes when the decoder goes
}

int TWavStream::FillBuffer(void* buffer, int length) {
    auto* out = static_cast<unsigned char*>(buffer);
    int filled = 0;
    bool readSinceRewind = false;
    while (length > 0 && filled < length) {
        const int want = std::min(length - filled, STREAM_SIZE - STREAM_POS);
        const int got = want > 0 ? int(stream->Read(out + filled, want)) : 0;
        filled += got;
        STREAM_POS += got;
        readSinceRewind = readSinceRewind || got > 0;
        if (got == want && STREAM_POS < STREAM_SIZE) {
            continue;
        }
        // The end of the data (or of a file cut short since it was opened).
        if (STREAM_LOOP == 1 && readSinceRewind) {
            stream->Seek(loopseek);
            STREAM_POS = 0;
            readSinceRewind = false;
            continue;
        }
        if (STREAM_LOOP != 1) {
            PlayStatus = 0;
            Stop();
        }
        break;
    }
    if (length > filled) {
        FillSilence(out + filled, length - filled, STREAM_FORMAT);
    }
    return 0;
}

int TWavStream::Stop() {
    stream->Seek(loopseek);
    STREAM_POS = 0;
    return 0;
}

TMusicPtr MaxMod_Loader_wav(const TMusicSource& source, std::string* error) {
    return TWavStream::Load(source, error);
}
