#include "tests/support/audio_files.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testing_support {

namespace {

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s.push_back(char((v >> (8 * i)) & 0xFF));
    }
}

void Put16(std::string& s, int v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}

void PutChunk(std::string& s, const char* tag, const std::string& body) {
    s.append(tag, 4);
    Put32(s, uint32_t(body.size()));
    s += body;
    if (body.size() % 2) {
        s.push_back('\0');
    }
}

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

} // namespace

TWavSpec WavLayout(int channels, int bits, int rate) {
    TWavSpec spec;
    spec.channels = channels;
    spec.bits = bits;
    spec.rate = rate;
    return spec;
}

std::string MakeWav(const TWavSpec& spec, const std::string& pcm) {
    std::string fmt;
    Put16(fmt, spec.extensible ? 0xFFFE : spec.formatTag);
    Put16(fmt, spec.channels);
    Put32(fmt, uint32_t(spec.rate));
    const int block = spec.channels * spec.bits / 8;
    Put32(fmt, uint32_t(spec.rate * block));
    Put16(fmt, block);
    Put16(fmt, spec.bits);
    if (spec.extensible) {
        Put16(fmt, 22);
        Put16(fmt, spec.bits);
        Put32(fmt, spec.channels == 1 ? 0x4 : 0x3);
        Put16(fmt, spec.formatTag);
        fmt += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    } else {
        fmt += std::string(size_t(spec.fmtExtra), '\0');
    }
    const int64_t dataSize = spec.declaredData < 0 ? int64_t(pcm.size()) : spec.declaredData;
    std::string body = "WAVE";
    std::string ds64;
    if (spec.rf64) {
        // The RIFF size is filled in below, once the body is whole.
        for (uint64_t v : {uint64_t(0), uint64_t(dataSize), uint64_t(dataSize / block)}) {
            Put32(ds64, uint32_t(v));
            Put32(ds64, uint32_t(v >> 32));
        }
        Put32(ds64, 0); // no table of other chunk sizes
        PutChunk(body, "ds64", ds64);
    }
    PutChunk(body, "fmt ", fmt);
    if (!spec.chunkBeforeData.empty()) {
        PutChunk(body, "LIST", spec.chunkBeforeData);
    }
    body += "data";
    Put32(body, spec.rf64 ? 0xFFFFFFFFu : uint32_t(dataSize));
    body += pcm;
    std::string file = spec.rf64 ? "RF64" : "RIFF";
    Put32(file, spec.rf64 ? 0xFFFFFFFFu : uint32_t(body.size()));
    if (spec.rf64) {
        const uint64_t riff = body.size();
        for (int i = 0; i < 8; ++i) {
            body[12 + size_t(i)] = char((riff >> (8 * i)) & 0xFF);
        }
    }
    return file + body;
}

std::string Pcm16(const std::vector<int16_t>& samples) {
    std::string s;
    for (int16_t v : samples) {
        Put16(s, v);
    }
    return s;
}

std::string RampPcm(int bytes) {
    std::string s(size_t(bytes), '\0');
    for (int i = 0; i < bytes; ++i) {
        s[size_t(i)] = char(i * 7 + i / 256);
    }
    return s;
}

std::string MakeOgg(int channels, int rate, int frames, int serial) {
    std::string out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.1f) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        AppendPage(out, page);
    }
    const int chunk = 1024;
    bool eos = false;
    for (int done = 0; !eos;) {
        const int n = std::min(chunk, frames - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i) {
                const double t = double(done + i) / rate;
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] =
                        float(0.25 * std::sin(2 * std::numbers::pi * (440 + 110 * c) * t));
                }
            }
            vorbis_analysis_wrote(&vd, n);
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page)) {
                        eos = true;
                    }
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::string MakeOpusLink(int serial) {
    std::string head = "OpusHead";
    head += char(1);  // version
    head += char(2);  // channels
    Put16(head, 312); // pre-skip
    Put32(head, 48000);
    Put16(head, 0);  // output gain
    head += char(0); // channel mapping family
    std::string tags = "OpusTags";
    Put32(tags, 4);
    tags += "test";
    Put32(tags, 0);                             // no comments
    const std::string silence = "\xF8\xFF\xFE"; // one 20 ms CELT frame of silence
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    std::string out;
    const std::string* packets[] = {&head, &tags, &silence};
    for (int i = 0; i < 3; ++i) {
        ogg_packet packet{};
        packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(packets[i]->data()));
        packet.bytes = long(packets[i]->size());
        packet.b_o_s = i == 0;
        packet.e_o_s = i == 2;
        packet.granulepos = i == 2 ? 960 : 0;
        packet.packetno = i;
        ogg_stream_packetin(&os, &packet);
        ogg_page page;
        while (ogg_stream_flush(&os, &page) != 0) {
            AppendPage(out, page);
        }
    }
    ogg_stream_clear(&os);
    return out;
}

} // namespace testing_support
