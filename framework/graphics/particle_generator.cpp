#include "framework/graphics/particle_generator.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"

#include <algorithm>
#include <climits>
#include <vector>

// ---- TParticleGenerator ----------------------------------------------------------------------

TParticleGeneratorPtr TParticleGenerator::Create(float x, float y, int qty, float intervalMs,
                                                 TMakeParticleFunction function, int data1,
                                                 int data2) {
    auto generator = std::make_shared<TParticleGenerator>();
    generator->x = x;
    generator->y = y;
    generator->Qty = qty - 1;
    generator->Interval = Game->CalcAnimLengthFromFloat(intervalMs);
    generator->IntervalCounter = generator->Interval;
    generator->MakeParticleFunction = std::move(function);
    generator->Data1 = data1;
    generator->Data2 = data2;
    generator->Emit();
    return generator;
}

int TParticleGenerator::Emit() {
    // Without a function nothing is made; the count goes on all the same.
    if (MakeParticleFunction)
        MakeParticleFunction(*this);
    return 0;
}

int TParticleGenerator::Manage() {
    if (!Active)
        return -1;
    x += dx * Delta;
    y += dy * Delta;
    if (IntervalCounter <= 0.0f)
        return 0;
    IntervalCounter -= Delta;
    while (IntervalCounter <= 0.0f) {
        const float before = IntervalCounter;
        IntervalCounter += Interval;
        if (Qty > INT_MIN) // a generator without end counts down for ever
            Qty -= 1;
        Emit();
        if (Qty == 0) {
            Active = 0;
            return 1;
        }
        // A generator without end whose interval cannot move the count would emit here for ever:
        // an interval too small to count makes one emission a tick, one of 0 or less (set by the
        // owner) no more.
        if (Qty < 0 && !(IntervalCounter > before)) {
            if (Interval > 0.0f)
                IntervalCounter = Interval;
            break;
        }
    }
    return 0;
}

// ---- TParticleGeneratorList ------------------------------------------------------------------

TParticleGeneratorPtr
TParticleGeneratorList::Add(float x, float y, int qty, float intervalMs,
                            TParticleGenerator::TMakeParticleFunction function) {
    TParticleGeneratorPtr generator =
        TParticleGenerator::Create(x, y, qty, intervalMs, std::move(function), 0, 0);
    if (generator->Qty > 0)
        AddLast(generator);
    return generator;
}

int TParticleGeneratorList::Manage() {
    // The functions may add or remove generators: each one present when the pass began is
    // managed while it is still in the list.
    const std::vector<TParticleGeneratorPtr> visiting(items_.begin(), items_.end());
    for (const TParticleGeneratorPtr& generator : visiting)
        if (Holds(generator.get()) && generator->Manage() == 1)
            Remove(generator.get());
    return 0;
}

bool TParticleGeneratorList::Holds(const TParticleGenerator* generator) const {
    return std::any_of(items_.begin(), items_.end(), [generator](const TParticleGeneratorPtr& p) {
        return p.get() == generator;
    });
}

int TParticleGeneratorList::AddLast(const TParticleGeneratorPtr& generator) {
    items_.push_back(generator);
    return 0;
}

int TParticleGeneratorList::Remove(const TParticleGenerator* generator) {
    auto at =
        std::find_if(items_.begin(), items_.end(),
                     [generator](const TParticleGeneratorPtr& p) { return p.get() == generator; });
    if (at != items_.end())
        items_.erase(at);
    return 0;
}

int TParticleGeneratorList::Clear() {
    items_.clear();
    return 0;
}
