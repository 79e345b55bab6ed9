#pragma once
// How long Flip waits for the next frame boundary where the swap does not wait for the vertical
// blank, as plain arithmetic on readings of the monotonic clock, apart from the window.

#include <algorithm>
#include <chrono>

namespace platform {

struct TFramePace {
    std::chrono::nanoseconds sleep{0}; // how long to wait before the frame counts as shown
    std::chrono::steady_clock::time_point lastFlip; // the boundary the next frame is paced from
};

// now: the clock after the swap; lastFlip: as the previous call gave it; sync: the flip asked for
// the vertical blank; vsyncWorks: the driver took the request to wait for it.
inline TFramePace FramePace(std::chrono::steady_clock::time_point now,
                            std::chrono::steady_clock::time_point lastFlip,
                            std::chrono::nanoseconds period, bool sync, bool vsyncWorks) {
    if (!sync)
        return {std::chrono::nanoseconds(0), now};
    const auto target = lastFlip + period;
    // A swap that took most of a period has waited for the blank already.
    const bool swapWaited = vsyncWorks && now - lastFlip >= period * 3 / 4;
    if (swapWaited || now >= target)
        return {std::chrono::nanoseconds(0), now};
    // The next boundary is never more than a period away, unless the clock stepped back (a
    // faked clock can): then the wait is one period, and the boundaries start again from now.
    const auto sleep = std::min<std::chrono::nanoseconds>(target - now, period);
    // now + sleep is the target whenever the clock ran forward: the boundaries stay even when a
    // sleep overshoots.
    return {sleep, now + sleep};
}

} // namespace platform
