// The cost of one music buffer (the stream's 8192 bytes) for looping music of a few samples, WAV
// and Ogg Vorbis, as a ratio to the same fill of a 10-second music of that format (plain reading
// or decoding) measured side by side in the same run; and the time of the 16 fills with which a
// stream starts, on the main thread, before the window draws again.
//
//   bench_music_bench [rounds]      (default 5; the median of the rounds is shown)
//
// Each round measures every file in turn, the baseline first in even rounds and last in odd ones:
// a fresh decoder on the file's bytes in memory, the 16 fills of a start, then as many further
// fills as take a quarter of a second (at least one). A buffer plays for 46.4 ms; a fill that
// takes longer than that holds the game back.
#include "framework/audio/music.h"
#include "platform/files.h"
#include "tests/support/audio_files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int BLOCK = 8192;
constexpr int START_FILLS = 16;
constexpr double BLOCK_MS = 1000.0 * BLOCK / 4 / 44100;
constexpr double MEASURE_SECONDS = 0.25;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct TFile {
    std::string name;
    std::string bytes;
    std::vector<double> fillUs, startMs;
};

void Measure(TFile& file) {
    TMusicPtr music = LoadMusic(platform::MemoryStream(file.bytes));
    if (!music) {
        std::fprintf(stderr, "%s: not loaded\n", file.name.c_str());
        std::exit(1);
    }
    music->PlayStatus = 1;
    std::vector<unsigned char> buffer(BLOCK);
    auto start = Clock::now();
    for (int i = 0; i < START_FILLS; ++i) {
        music->FillBuffer(buffer.data(), BLOCK);
    }
    file.startMs.push_back(SecondsSince(start) * 1e3);
    int fills = 0;
    start = Clock::now();
    do {
        music->FillBuffer(buffer.data(), BLOCK);
        ++fills;
    } while (SecondsSince(start) < MEASURE_SECONDS);
    file.fillUs.push_back(SecondsSince(start) * 1e6 / fills);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    using testing_support::MakeOgg;
    using testing_support::MakeWav;
    using testing_support::RampPcm;
    const testing_support::TWavSpec stereo16;
    // Per format: the 10-second baseline first, then the short files.
    std::vector<std::vector<TFile>> groups = {
        {{"WAV 10 s", MakeWav(stereo16, RampPcm(441000 * 4)), {}, {}},
         {"WAV 1 frame", MakeWav(stereo16, RampPcm(4)), {}, {}},
         {"WAV 10 frames", MakeWav(stereo16, RampPcm(40)), {}, {}}},
        {{"Ogg 10 s", MakeOgg(2, 44100, 441000), {}, {}},
         {"Ogg 1 frame", MakeOgg(2, 44100, 1), {}, {}},
         {"Ogg 10 frames", MakeOgg(2, 44100, 10), {}, {}}},
    };
    for (int round = 0; round < rounds; ++round) {
        for (auto& group : groups) {
            if (round % 2 == 0) {
                for (auto& file : group) {
                    Measure(file);
                }
            } else {
                for (auto it = group.rbegin(); it != group.rend(); ++it) {
                    Measure(*it);
                }
            }
        }
    }
    std::printf("music buffer fills (%d bytes, %.1f ms of sound), median of %d rounds\n", BLOCK,
                BLOCK_MS, rounds);
    std::printf("%-16s %14s %12s %18s\n", "file", "per fill (us)", "x baseline",
                "start, 16 fills (ms)");
    for (const auto& group : groups) {
        const double base = Median(group.front().fillUs);
        for (const auto& file : group) {
            const double us = Median(file.fillUs);
            std::printf("%-16s %14.1f %12.2f %18.2f\n", file.name.c_str(), us, us / base,
                        Median(file.startMs));
        }
    }
    return 0;
}
