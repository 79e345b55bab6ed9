#pragma once
// The music decoder of Ogg Vorbis files (libvorbisfile reading through the layer's streams).

#include "framework/audio/music.h"

struct OggVorbis_File;

class TOGGStream : public TMusic {
public:
    TOGGStream();
    ~TOGGStream() override;
    TOGGStream(const TOGGStream&) = delete;
    TOGGStream& operator=(const TOGGStream&) = delete;

    // A decoder at the first sample; null (with the reason in error when the data is an Ogg file
    // but not one that plays) otherwise. Mono and stereo files play, in their own rate; a chained
    // file plays through its links when they share one format; ID3v2 tags before the first page
    // are stepped over.
    static std::shared_ptr<TOGGStream> Load(const TMusicSource& source,
                                            std::string* error = nullptr);
    int Free() override;
    int FillBuffer(void* buffer, int length) override;
    // Rewinds to the start.
    int Stop() override;

    platform::StreamPtr stream;
    // Stream position of the first Ogg page (after any ID3v2 tag before it).
    int64_t dataStart = 0;
    // The decoder, open while not null. vorbisfile keeps pointers into it, so it stays at one
    // heap address for its whole life.
    std::unique_ptr<OggVorbis_File> ogg;
    int samples = 0;
    int size = 0;

protected:
    int64_t DataLeft() override;
    int ReadData(unsigned char* out, int bytes) override;
    bool Rewind() override;

private:
    // Opens the decoder on the stream from its start; false (decoder closed) with the reason.
    bool Open(std::string* error);
    void Close();

    // The first link's channels and rate, in which the stream plays.
    int linkChannels = 0;
    long linkRate = 0;
};

TMusicPtr MaxMod_Loader_Ogg(const TMusicSource& source, std::string* error);
