// Timers, checked by PollSystem on the main thread against the layer's clock (platform::MilliSecs,
// so that a test's fake clock drives them). No threads: a tick is an event like any other.
#include "platform/events_internal.h"
#include "platform/input.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace platform {

namespace {

class TClockTimer : public TTimer {
public:
    explicit TClockTimer(float hertz) : hertz_(hertz), last_(MilliSecs()) {}

    float Hertz() const override { return hertz_; }
    int Ticks() const override { return Periods(elapsed_ + (stopped_ ? 0 : Since(last_))); }
    void Stop() override {
        Advance();
        stopped_ = true;
    }

    bool Stopped() const { return stopped_; }
    // Takes in the time since the last check; true when a period ended since the last tick.
    bool Due() {
        Advance();
        const int periods = Periods(elapsed_);
        if (periods <= posted_)
            return false;
        posted_ = periods;
        return true;
    }

private:
    // A clock that steps back (a test resetting its fake clock) does not undo elapsed time.
    static int64_t Since(int then) { return std::max(0, MilliSecsDiff(MilliSecs(), then)); }
    void Advance() {
        if (stopped_)
            return;
        const int now = MilliSecs();
        elapsed_ += std::max(0, MilliSecsDiff(now, last_));
        last_ = now;
    }
    int Periods(int64_t ms) const {
        const double periods = std::floor(static_cast<double>(ms) * hertz_ / 1000.0);
        return TruncToInt(std::min(periods, static_cast<double>(std::numeric_limits<int>::max())));
    }

    float hertz_;
    int last_;
    int64_t elapsed_ = 0;
    int posted_ = 0;
    bool stopped_ = false;
};

std::vector<std::weak_ptr<TClockTimer>> timers;

} // namespace

TimerPtr CreateTimer(float hertz) {
    if (!(hertz > 0) || !std::isfinite(hertz))
        return nullptr;
    auto timer = std::make_shared<TClockTimer>(hertz);
    timers.push_back(timer);
    return timer;
}

namespace detail {

void CheckTimers() {
    std::erase_if(timers, [](const std::weak_ptr<TClockTimer>& t) {
        const auto timer = t.lock();
        return !timer || timer->Stopped();
    });
    // A copy: a tick's hooks may make or stop timers.
    std::vector<std::shared_ptr<TClockTimer>> live;
    for (const auto& t : timers)
        if (auto timer = t.lock())
            live.push_back(std::move(timer));
    for (const auto& timer : live) {
        if (timer->Stopped() || !timer->Due())
            continue;
        TEvent e;
        e.id = EVENT_TIMERTICK;
        e.data = timer->Ticks();
        e.source = static_cast<TTimer*>(timer.get());
        EmitEvent(e);
    }
}

} // namespace detail

} // namespace platform
