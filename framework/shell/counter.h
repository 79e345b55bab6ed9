#pragma once
// One-shot countdowns measured in logic ticks, and a list that manages many of them together.

#include "framework/util/object.h"

#include <memory>

class TCounter : public TObject {
public:
    // A counter of ms milliseconds turned into ticks at the current speed, already running.
    static std::shared_ptr<TCounter> Create(int ms);
    int Activate();
    // Counts down by Delta; 1 on the tick it runs out, else 0.
    int Manage();
    int Stop();

    int Active = 0;
    float Counter = 0.0f;
    int CounterLength = 1000;
};
using TCounterPtr = std::shared_ptr<TCounter>;

// A list of objects of which the counters are managed; other elements are skipped.
class TCounterList : public TObjectList {
public:
    TCounterPtr AddNew(int ms);
    int Manage(int removeFinished);
};
