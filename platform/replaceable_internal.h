#pragma once
// A function of the platform that tests replace (the clock, the delay, the run's seed, the hook
// before file changes). Another thread may call it while a test swaps it (the audio layer reads
// the clock from its own): a call runs the function it took, which stays alive until it returns.

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace platform::detail {

template <class Signature> class TReplaceable {
public:
    using TFunction = std::function<Signature>;

    // An empty function puts the real one back.
    void Set(TFunction replacement) {
        auto next =
            replacement ? std::make_shared<const TFunction>(std::move(replacement)) : nullptr;
        std::lock_guard<std::mutex> lock(mutex_);
        current_ = std::move(next);
    }
    // The replacement in force; null when there is none.
    std::shared_ptr<const TFunction> Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return current_;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const TFunction> current_;
};

} // namespace platform::detail
