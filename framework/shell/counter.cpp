#include "framework/shell/counter.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "platform/system.h"

TCounterPtr TCounter::Create(int ms) {
    auto counter = std::make_shared<TCounter>();
    counter->CounterLength = platform::TruncToInt(Game->CalcAnimLength(ms));
    counter->Activate();
    return counter;
}

int TCounter::Activate() {
    Counter = static_cast<float>(CounterLength);
    Active = 1;
    return 0;
}

int TCounter::Manage() {
    if (Counter > 0.0f) {
        Counter -= Delta;
        if (Counter <= 0.0f) {
            Stop();
            return 1;
        }
    }
    return 0;
}

int TCounter::Stop() {
    Counter = 0.0f;
    Active = 0;
    return 0;
}

TCounterPtr TCounterList::AddNew(int ms) {
    auto counter = TCounter::Create(ms);
    push_back(counter);
    return counter;
}

int TCounterList::Manage(int removeFinished) {
    for (auto it = begin(); it != end();) {
        auto counter = std::dynamic_pointer_cast<TCounter>(*it);
        if (counter && counter->Manage() == 1 && removeFinished)
            it = erase(it);
        else
            ++it;
    }
    return 0;
}
