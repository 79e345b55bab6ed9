#include "platform/system.h"

#include "platform/replaceable_internal.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>
#include <random>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

uint64_t SplitMix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct Generator {
    int seed = 0;
    uint64_t s0 = 0, s1 = 0;

    void Seed(int value) {
        seed = value;
        uint64_t x = static_cast<uint32_t>(value);
        s0 = SplitMix64(x);
        s1 = SplitMix64(x);
        // xorshift128+ must never hold an all-zero state.
        if ((s0 | s1) == 0)
            s1 = 1;
    }

    uint64_t Next() {
        uint64_t a = s0;
        const uint64_t b = s1;
        const uint64_t result = a + b;
        s0 = b;
        a ^= a << 23;
        s1 = a ^ b ^ (a >> 17) ^ (b >> 26);
        return result;
    }
};

std::mutex rndMutex;

Generator& Global() {
    static Generator g = [] {
        Generator first;
        first.Seed(0);
        return first;
    }();
    return g;
}

detail::TReplaceable<int()> seedSource;

// Without a random device: the wall clock's nanoseconds still differ between runs, and the
// process id between two runs started at once.
uint64_t ClockNanoseconds() {
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

uint64_t ProcessWord() {
    return static_cast<uint64_t>(getpid()) << 32;
}

int RealRunSeed() {
    try {
        std::random_device device;
        return static_cast<int>(device());
    } catch (const std::exception&) {
        uint64_t x = ClockNanoseconds() ^ ProcessWord();
        return static_cast<int>(static_cast<uint32_t>(SplitMix64(x)));
    }
}

uint64_t NextStep() {
    std::lock_guard<std::mutex> lock(rndMutex);
    return Global().Next();
}

} // namespace

void SeedRnd(int seed) {
    std::lock_guard<std::mutex> lock(rndMutex);
    Global().Seed(seed);
}

int RndSeed() {
    std::lock_guard<std::mutex> lock(rndMutex);
    return Global().seed;
}

std::string UniqueStamp() {
    static std::atomic<uint32_t> calls{0};
    uint64_t words[2];
    try {
        std::random_device device;
        for (uint64_t& word : words)
            word = (static_cast<uint64_t>(device()) << 32) | device();
    } catch (const std::exception&) {
        // Kept apart, not mixed: no two calls share all three.
        words[0] = ClockNanoseconds();
        words[1] = ProcessWord() | calls++;
    }
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(words[0]),
                  static_cast<unsigned long long>(words[1]));
    return text;
}

int RunSeed() {
    const auto source = seedSource.Get();
    return source ? (*source)() : RealRunSeed();
}

void SetRunSeedSource(std::function<int()> source) {
    seedSource.Set(std::move(source));
}

int Rand(int lo, int hi) {
    if (lo > hi)
        std::swap(lo, hi);
    // Up to 2^32 values: the count and the offset need 64 bits.
    const uint64_t count = static_cast<uint64_t>(int64_t{hi} - lo) + 1;
    const uint64_t offset = ((NextStep() >> 32) * count) >> 32;
    return static_cast<int>(lo + static_cast<int64_t>(offset));
}

double RndDouble() {
    return static_cast<double>(NextStep() >> 11) * 0x1.0p-53;
}

double Rnd(double lo, double hi) {
    if (lo > hi)
        std::swap(lo, hi);
    const double value = lo + RndDouble() * (hi - lo);
    // Rounding can land on hi itself; the range stays open at the top.
    return value < hi || lo == hi ? value : std::nextafter(hi, lo);
}

} // namespace platform
