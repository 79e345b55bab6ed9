#include "framework/shell/fixed_rate_logic.h"

#include "framework/util/globals.h"
#include "platform/system.h"

// The skeleton of the logic clock; the measuring is added as the shell is built.

int TTrackingVar::Init() {
    current = 0;
    maximum = 0;
    displayLimit = 999;
    displayLimitChars = 3;
    return 0;
}

std::string TTrackingVar::GetDisplay() {
    return Label + std::to_string(current) + "/" + std::to_string(maximum);
}

int TFPSCounter::Init() {
    counter = 0;
    time = platform::MilliSecs();
    framerate = 0;
    minimum = 999;
    return TTrackingVar::Init();
}

std::string TFPSCounter::GetDisplay() {
    return Label + std::to_string(current) + "/" + std::to_string(minimum);
}

int TFixedRateLogic::Init() {
    CalcMS();
    LastTime = platform::MilliSecs();
    NumTicks = 0;
    LastNumTicks = 1.0;
    SetDelta(1.0f);
    TTrackingVar::Init();
    First = FirstMax;
    return 0;
}

int TFixedRateLogic::Create() {
    History.assign(HistorySizeMax, 0);
    return 0;
}

int TFixedRateLogic::CalcMS() {
    int whole = platform::TruncToInt(Framerate);
    MS = whole > 0 ? 1000.0f / static_cast<float>(whole) : 0.0f;
    return 0;
}

int TFixedRateLogic::SetDelta(float d) {
    Delta = d;
    return 0;
}
