#pragma once
// Particle generators: moving emitters that call an owner-supplied function a given number of
// times at a fixed interval; the function makes the particles (for instance with
// TParticleList::AddNew), reading the generator's position and data. A generator list starts
// them, advances them once per logic tick and drops each one after its last emission.

#include "framework/util/object.h"

#include <functional>
#include <list>
#include <memory>

class TParticleGenerator;
using TParticleGeneratorPtr = std::shared_ptr<TParticleGenerator>;

class TParticleGenerator : public TObject {
public:
    using TMakeParticleFunction = std::function<int(TParticleGenerator&)>;

    // Emits once at once, then qty - 1 times more, one every intervalMs. Made directly with qty 1
    // or less it emits at its interval until its owner stops it.
    static TParticleGeneratorPtr Create(float x, float y, int qty, float intervalMs,
                                        TMakeParticleFunction function, int data1, int data2);

    // One tick: motion, then the emissions that fall due in it (several when the interval is
    // shorter than the tick). -1 while inactive, 1 on the tick of the last emission, else 0. An
    // interval of 0 or less emits no more after the first.
    int Manage();

    int Active = 1;
    float x = 0.0f, y = 0.0f;
    float dx = 0.0f, dy = 0.0f; // pixels per tick
    int Qty = 0;                // emissions still to come
    float Interval = 0.0f;      // ticks
    float IntervalCounter = 0.0f;
    TMakeParticleFunction MakeParticleFunction;
    int Data1 = 0, Data2 = 0;

private:
    int Emit();
};

// Owns its generators. A generator the owner stops (Active 0) stays until the owner removes it.
class TParticleGeneratorList : public TObject {
public:
    // A new generator (first emission made); kept only when more emissions are to come.
    TParticleGeneratorPtr Add(float x, float y, int qty, float intervalMs,
                              TParticleGenerator::TMakeParticleFunction function);
    // Each generator's Manage, first to last; one that made its last emission leaves the list.
    int Manage();

    int AddLast(const TParticleGeneratorPtr& generator);
    int Remove(const TParticleGenerator* generator);
    int Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    std::list<TParticleGeneratorPtr>::const_iterator begin() const { return items_.begin(); }
    std::list<TParticleGeneratorPtr>::const_iterator end() const { return items_.end(); }

private:
    bool Holds(const TParticleGenerator* generator) const;

    std::list<TParticleGeneratorPtr> items_;
};
using TParticleGeneratorListPtr = std::shared_ptr<TParticleGeneratorList>;
