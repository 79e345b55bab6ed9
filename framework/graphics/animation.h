#pragma once
// A timer for transitions: counts the logic ticks of one or more consecutive phases (each given in
// milliseconds) and turns the count into ratios (linear, inverse, sine-shaped, S-shaped) and frame
// numbers. The owner calls Manage once per tick and reads a ratio when it draws.

#include "framework/util/object.h"

#include <array>
#include <memory>

class TAnimation;
using TAnimationPtr = std::shared_ptr<TAnimation>;

class TAnimation : public TObject {
public:
    static constexpr int MAX_PHASES = 50;

    static TAnimationPtr Create(int ms, int leaveActive, int reverse, int cycle);

    // Phase 0 of ms; the flags; back to one phase. Active and Counter stay as they are.
    int Init(int ms, int leaveActive, int reverse, int cycle);
    // Appends a phase; -1 (and nothing added) once MAX_PHASES are in use.
    int AddPhase(int ms);
    // Idle on phase 0 with one phase (the lengths and Finished kept).
    int Clear();
    // Runs from phase 0; a count-down already under way continues from its counter.
    int Start();
    // Runs from the start of phase 0.
    int Reset();
    // One tick; 1 on the tick that a phase ends (every tick once held at the end), else 0.
    virtual int Manage();
    // Moves to the next phase or ends; 1 when the whole animation ended.
    int EndAnim();

    // Counter / length of the current phase: 1 to 0 over a count-down phase, 0 to 1 counting up.
    // A phase without length reads as ended.
    virtual float GetRatio() const;
    virtual float GetRatioInv() const;
    float GetRatioSine() const;
    float GetRatioInvSine() const;
    // The same value as GetRatioSine.
    float GetRatioSin108() const;
    // An S-shaped ease of GetRatioInv.
    float GetRatioInvSine180() const;
    // Frame 0 to frames - 1, in forward order over a phase whichever way it counts.
    int GetAnimFrame(int frames) const;

    int Active = 0;
    float Counter = 0.0f;
    std::array<float, MAX_PHASES> Length{};
    int LeaveActive = 0;
    int CurrentPhase = 0;
    int TotalPhases = 1;
    int Reverse = 0;
    int Cycle = 0;
    int Finished = 0;

private:
    // The length of the current phase (0 for a phase index out of range).
    float PhaseLength() const;
};
