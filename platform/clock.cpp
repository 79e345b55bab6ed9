#include "platform/system.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

namespace {

// The replaceable clock and delay live behind one mutex: the audio layer may read the clock from
// its own thread while a test swaps the source.
std::mutex clockMutex;
std::shared_ptr<const std::function<int()>> clockSource;
std::shared_ptr<const std::function<void(int)>> delayHandler;

int RealMilliSecs() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    const int64_t ms = duration_cast<milliseconds>(steady_clock::now() - start).count();
    // Keep the low 32 bits: the count wraps instead of overflowing.
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}

} // namespace

int MilliSecs() {
    std::shared_ptr<const std::function<int()>> source;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        source = clockSource;
    }
    return source ? (*source)() : RealMilliSecs();
}

int MilliSecsDiff(int now, int then) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}

void SetMilliSecsSource(std::function<int()> source) {
    auto next = source ? std::make_shared<const std::function<int()>>(std::move(source)) : nullptr;
    std::lock_guard<std::mutex> lock(clockMutex);
    clockSource = std::move(next);
}

void Delay(int ms) {
    if (ms <= 0)
        return;
    std::shared_ptr<const std::function<void(int)>> handler;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        handler = delayHandler;
    }
    if (handler)
        (*handler)(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetDelayHandler(std::function<void(int)> handler) {
    auto next =
        handler ? std::make_shared<const std::function<void(int)>>(std::move(handler)) : nullptr;
    std::lock_guard<std::mutex> lock(clockMutex);
    delayHandler = std::move(next);
}

} // namespace platform
