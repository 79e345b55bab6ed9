// Cost of pictures made to cost more than their size: the time and peak memory of decoding each,
// as ratios to decoding a valid picture of about as many bytes, measured in the same run.
//
//   bench_forged_image_bench [rounds]      (default 5)
//
// Each decode runs in a child process of its own, the forged file and its baseline one after the
// other (the order alternating between rounds), so that a child's peak resident memory is that of
// its decode alone. A child repeats its decode for at least 50 ms; the figures are the medians of
// the rounds: time per decode, and the growth of peak memory over what the child held before.
#include "platform/image_codecs.h"
#include "platform/pixmap.h"
#include "platform/system.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Figures {
    double seconds = 0; // per decode
    double megabytes = 0;
    bool loaded = false;
};

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return Be32(static_cast<uint32_t>(data.size())) + body + Be32(static_cast<uint32_t>(crc));
}

std::string Deflated(const std::string& bytes) {
    std::string packed(compressBound(uLong(bytes.size())), '\0');
    uLongf size = uLongf(packed.size());
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(bytes.data()), uLong(bytes.size()), 9);
    packed.resize(size);
    return packed;
}

// An 8-bit RGB or RGBA PNG of w by h whose image data inflates to rows bytes, with the chunks
// in before placed ahead of it.
std::string Png(int w, int h, bool alpha, const std::string& before, size_t rows) {
    const std::string ihdr =
        Be32(uint32_t(w)) + Be32(uint32_t(h)) + std::string{8, char(alpha ? 6 : 2), 0, 0, 0};
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", ihdr) + before +
           Chunk("IDAT", Deflated(std::string(rows, '\0'))) + Chunk("IEND", "");
}

// A valid PNG of noise of about the given size: noise does not compress.
std::string NoisePng(size_t bytes) {
    const int side = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(bytes) / 4)));
    platform::SeedRnd(7);
    auto pixmap = platform::CreatePixmap(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixmap->WritePixel(x, y, static_cast<uint32_t>(platform::Rand(INT32_MIN, INT32_MAX)));
    std::string out, error;
    platform::EncodePNG(*pixmap, 9, out, error);
    return out;
}

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

Figures DecodeInChild(const std::string& file) {
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Figures f;
        const long before = ResidentKilobytes();
        const auto start = std::chrono::steady_clock::now();
        int decodes = 0;
        double elapsed = 0;
        do {
            f.loaded = platform::DecodePixmap(file) != nullptr;
            ++decodes;
            elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        } while (elapsed < 0.05);
        rusage use{};
        getrusage(RUSAGE_SELF, &use);
        f.seconds = elapsed / decodes;
        f.megabytes = std::max(0L, use.ru_maxrss - before) / 1024.0;
        if (write(fds[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f))
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    Figures f;
    if (read(fds[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f))
        std::exit(1);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return f;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    // Texts that inflate to nearly 4 MB each, within libpng's limit on a chunk.
    const std::string text = Deflated(std::string((4 << 20) - 4096, '\0'));
    std::string texts;
    for (int i = 0; i < 64; ++i)
        texts += Chunk("zTXt", "k" + std::to_string(i) + std::string(2, '\0') + text) +
                 Chunk("iTXt", "i" + std::to_string(i) + std::string("\0\1\0\0\0", 5) + text);
    struct Case {
        const char* what;
        std::string forged;
    };
    const Case cases[] = {
        {"PNG claiming 8192x8192 RGBA", Png(8192, 8192, true, "", 150000)},
        {"4x3 PNG after 128 compressed texts", Png(4, 3, false, texts, 3 * 13)},
        {"PNG claiming 8192x8192 after 128 texts", Png(8192, 8192, true, texts, 150000)},
    };
    std::printf("%-40s %9s %10s %9s %10s %9s %9s\n", "forged file", "bytes", "ms", "base ms", "MB",
                "base MB", "time x");
    for (const Case& c : cases) {
        const std::string baseline = NoisePng(c.forged.size());
        std::vector<double> ms, baseMs, mb, baseMb;
        bool loaded = false;
        for (int round = 0; round < rounds; ++round) {
            Figures forged, base;
            if (round % 2 == 0) {
                forged = DecodeInChild(c.forged);
                base = DecodeInChild(baseline);
            } else {
                base = DecodeInChild(baseline);
                forged = DecodeInChild(c.forged);
            }
            loaded = forged.loaded;
            ms.push_back(forged.seconds * 1000);
            baseMs.push_back(base.seconds * 1000);
            mb.push_back(forged.megabytes);
            baseMb.push_back(base.megabytes);
        }
        std::printf("%-40s %9zu %10.4f %9.4f %10.1f %9.1f %9.1f  %s\n", c.what, c.forged.size(),
                    Median(ms), Median(baseMs), Median(mb), Median(baseMb),
                    Median(ms) / Median(baseMs), loaded ? "loads" : "refused");
    }
    return 0;
}
