#include "platform/system.h"

#include "platform/replaceable_internal.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

detail::TReplaceable<int()> clockSource;
detail::TReplaceable<void(int)> delayHandler;

int RealMilliSecs() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    const int64_t ms = duration_cast<milliseconds>(steady_clock::now() - start).count();
    // Keep the low 32 bits: the count wraps instead of overflowing.
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}

} // namespace

int MilliSecs() {
    const auto source = clockSource.Get();
    return source ? (*source)() : RealMilliSecs();
}

int MilliSecsDiff(int now, int then) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}

void SetMilliSecsSource(std::function<int()> source) {
    clockSource.Set(std::move(source));
}

void Delay(int ms) {
    if (ms <= 0)
        return;
    const auto handler = delayHandler.Get();
    if (handler)
        (*handler)(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetDelayHandler(std::function<void(int)> handler) {
    delayHandler.Set(std::move(handler));
}

} // namespace platform
