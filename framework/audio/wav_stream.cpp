#include "framework/audio/wav_stream.h"

#include "platform/wav.h"

#include <climits>
#include <cstring>

std::shared_ptr<TWavStream> TWavStream::Load(const TMusicSource& source, std::string* error) {
    platform::StreamPtr stream = OpenMusicSource(source);
    if (!stream) {
        return nullptr;
    }
    char tag[4] = {};
    const bool riff = stream->Read(tag, 4) == 4 && platform::IsWavTag(tag);
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
    return FillFromData(buffer, length);
}

int64_t TWavStream::DataLeft() {
    return STREAM_SIZE - STREAM_POS;
}

int TWavStream::ReadData(unsigned char* out, int bytes) {
    const int got = int(stream->Read(out, bytes));
    STREAM_POS += got;
    return got;
}

bool TWavStream::Rewind() {
    if (!stream->Seek(loopseek)) {
        return false;
    }
    STREAM_POS = 0;
    return true;
}

int TWavStream::Stop() {
    Rewind();
    return 0;
}

TMusicPtr MaxMod_Loader_wav(const TMusicSource& source, std::string* error) {
    return TWavStream::Load(source, error);
}
