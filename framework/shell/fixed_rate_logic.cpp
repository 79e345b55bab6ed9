#include "framework/shell/fixed_rate_logic.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "framework/util/records.h"
#include "framework/util/strings.h"
#include "framework/util/window.h"
#include "platform/graphics.h"
#include "platform/system.h"

// ---- TTrackingVar ------------------------------------------------------------------------------

int TTrackingVar::Init() {
    current = 0;
    maximum = 0;
    displayLimit = 999;
    displayLimitChars = static_cast<int>(std::to_string(displayLimit).size());
    return 0;
}

int TTrackingVar::Display(int x, int y) {
    platform::DrawText(GetDisplay(), static_cast<float>(x), static_cast<float>(y));
    return 0;
}

std::string TTrackingVar::GetDisplay() {
    return Label + ccPadWithZeros(std::to_string(current), displayLimitChars) + "/" +
           ccPadWithZeros(std::to_string(maximum), displayLimitChars);
}

// ---- TDebugVar ---------------------------------------------------------------------------------

int TDebugVar::Start() {
    current = platform::MilliSecs();
    return 0;
}

int TDebugVar::Calc() {
    // current holds the start time here; the difference is taken wrap-safe.
    current = platform::MilliSecsDiff(platform::MilliSecs(), current);
    if (current > maximum)
        maximum = current;
    if (maximum > displayLimit)
        maximum = displayLimit;
    return 0;
}

// ---- TFPSCounter -------------------------------------------------------------------------------

int TFPSCounter::Init() {
    counter = 0;
    time = platform::MilliSecs();
    framerate = 0;
    minimum = 999;
    return TTrackingVar::Init();
}

std::string TFPSCounter::GetDisplay() {
    return Label + ccPadWithZeros(std::to_string(current), displayLimitChars) + "/" +
           ccPadWithZeros(std::to_string(minimum), displayLimitChars);
}

int TFPSCounter::Calc() {
    ++counter;
    if (platform::MilliSecsDiff(platform::MilliSecs(), time) <= 1001)
        return 0;
    framerate = counter;
    counter = 0;
    time = platform::MilliSecs();
    if (framerate > maximum)
        maximum = framerate;
    if (framerate < minimum)
        minimum = framerate;
    current = framerate;
    return 0;
}

// ---- TFixedRateLogic ---------------------------------------------------------------------------

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
    History.assign(static_cast<size_t>(HistorySizeMax), 0);
    return 0;
}

int TFixedRateLogic::CalcMS() {
    MS = ccCalcMSPerFrame(platform::TruncToInt(Framerate));
    return 0;
}

int TFixedRateLogic::SetThreshold(int ms) {
    Threshold = ms;
    return 0;
}

int TFixedRateLogic::Calc() {
    if (Game && Game->Fast) {
        // Fast mode: one tick per drawn frame, whatever the clock says.
        NumTicks = 1.0;
    } else {
        if (Game) {
            // Follow the window when it was moved, once per frame.
            TPoint origin = ccGetWindowOriginOSX(Game->WindowHandle);
            int wy = ccFixMacWindowY(origin.Y, Game->DesktopHeight);
            if (origin.X != Game->WindowX || wy != Game->WindowY) {
                Game->SetWindowCoords();
                Game->SetClientCoords();
            }
        }
        int now = platform::MilliSecs();
        if (now < LastTime) {
            // The clock wrapped or stepped back: repeat the last frame's count.
            NumTicks = LastNumTicks;
        } else {
            TmpMS = now - LastTime;
            if (TmpMS > Threshold)
                TmpMS = Threshold;
            double avg;
            if (First > 0) {
                --First;
                avg = TmpMS;
            } else {
                if (History.empty())
                    Create();
                History[static_cast<size_t>(HistoryCounter)] = platform::TruncToInt(TmpMS);
                long long sum = 0;
                for (int i = 0; i < HistorySize; ++i)
                    sum += History[static_cast<size_t>(i)];
                avg = static_cast<double>(sum) / HistorySize;
                ++HistoryCounter;
                if (HistorySize < HistorySizeMax)
                    ++HistorySize;
                if (HistoryCounter >= HistorySize)
                    HistoryCounter = 0;
            }
            NumTicks = (JitterCorrection ? avg : TmpMS) / MS;
        }
        LastTime = now;
        LastNumTicks = NumTicks;
        if (NumTicks > maximum)
            maximum = platform::TruncToInt(NumTicks);
    }
    current = platform::TruncToInt(NumTicks);
    return 0;
}

int TFixedRateLogic::SetDelta(float d) {
    Delta = d;
    return 0;
}

int TFixedRateLogic::HistoryClear() {
    for (int i = 0; i < HistorySize && i < static_cast<int>(History.size()); ++i)
        History[static_cast<size_t>(i)] = 0;
    HistorySize = 1;
    HistoryCounter = 0;
    return 0;
}
