#include "framework/graphics/animation.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

#include <cmath>
#include <numbers>

namespace {

float SinDegrees(float degrees) {
    return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0));
}

} // namespace

float TAnimation::PhaseLength() const {
    return CurrentPhase >= 0 && CurrentPhase < MAX_PHASES
               ? Length[static_cast<size_t>(CurrentPhase)]
               : 0.0f;
}

TAnimationPtr TAnimation::Create(int ms, int leaveActive, int reverse, int cycle) {
    auto animation = std::make_shared<TAnimation>();
    animation->Init(ms, leaveActive, reverse, cycle);
    return animation;
}

int TAnimation::Init(int ms, int leaveActive, int reverse, int cycle) {
    Length[0] = Game->CalcAnimLength(ms);
    LeaveActive = leaveActive;
    Reverse = reverse;
    Cycle = cycle;
    CurrentPhase = 0;
    TotalPhases = 1;
    Finished = 0;
    return 0;
}

int TAnimation::AddPhase(int ms) {
    if (TotalPhases < 0 || TotalPhases >= MAX_PHASES)
        return -1;
    Length[static_cast<size_t>(TotalPhases)] = Game->CalcAnimLength(ms);
    TotalPhases += 1;
    return 0;
}

int TAnimation::Clear() {
    Counter = 0.0f;
    Active = 0;
    CurrentPhase = 0;
    TotalPhases = 1;
    return 0;
}

int TAnimation::Start() {
    if (Reverse)
        Counter = 0.0f;
    else if (!(Counter > 0.0f))
        Counter = PhaseLength();
    CurrentPhase = 0;
    Active = 1;
    return 0;
}

int TAnimation::Reset() {
    Counter = 0.0f;
    return Start();
}

int TAnimation::Manage() {
    if (!Active)
        return 0;
    if (!Reverse) {
        Counter -= Delta;
        if (Counter > 0.0f)
            return 0;
    } else {
        Counter += Delta;
        if (Counter <= PhaseLength())
            return 0;
    }
    EndAnim();
    return 1;
}

int TAnimation::EndAnim() {
    CurrentPhase += 1;
    if (CurrentPhase >= TotalPhases) {
        if (Cycle) {
            CurrentPhase = 0;
        } else {
            Finished = 1;
            if (LeaveActive) {
                CurrentPhase = TotalPhases - 1;
                Counter = Reverse ? PhaseLength() : 0.0f;
            } else {
                Counter = 0.0f;
                CurrentPhase = 0;
                Active = 0;
            }
            return 1;
        }
    }
    Counter = Reverse ? 0.0f : PhaseLength();
    return 0;
}

float TAnimation::GetRatio() const {
    const float length = PhaseLength();
    if (!(length > 0.0f))
        return Reverse ? 1.0f : 0.0f;
    return Counter / length;
}

float TAnimation::GetRatioInv() const {
    return 1.0f - GetRatio();
}

float TAnimation::GetRatioSine() const {
    return SinDegrees(GetRatio() * 90.0f);
}

float TAnimation::GetRatioInvSine() const {
    return SinDegrees((1.0f - GetRatio()) * 90.0f);
}

float TAnimation::GetRatioSin108() const {
    return GetRatioSine();
}

float TAnimation::GetRatioInvSine180() const {
    return ccRatioToSine180(GetRatioInv());
}

int TAnimation::GetAnimFrame(int frames) const {
    const int length = platform::TruncToInt(PhaseLength());
    if (length < 1)
        return frames > 0 ? frames - 1 : 0;
    return ccCalcAnimFrame(Counter, length, frames, Reverse);
}
