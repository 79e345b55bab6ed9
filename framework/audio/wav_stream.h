#pragma once
// The music decoder of RIFF/WAVE files with PCM data, read from the file as it plays.

#include "framework/audio/music.h"

class TWavStream : public TMusic {
public:
    // A decoder at the first sample; null (with the reason in error when the data is a RIFF file
    // but not one that plays) otherwise.
    static std::shared_ptr<TWavStream> Load(const TMusicSource& source,
                                            std::string* error = nullptr);
    int Free() override;
    int FillBuffer(void* buffer, int length) override;
    int Stop() override;

    platform::StreamPtr stream;
    int samples = 0;
    int size = 0;
    int64_t loopseek = 0; // stream position of the first sample

protected:
    int64_t DataLeft() override;
    int ReadData(unsigned char* out, int bytes) override;
    bool Rewind() override;
};

TMusicPtr MaxMod_Loader_wav(const TMusicSource& source, std::string* error);
