#pragma once
// The logic clock (a fixed number of logic ticks per second whatever the frame rate, with a clamp
// against long frames and an averaging window against jitter) and the small tracking counters that
// the debug overlay shows.

#include "framework/util/object.h"

#include <string>
#include <vector>

class TTrackingVar : public TObject {
public:
    virtual int Init();
    int Display(int x, int y);
    virtual std::string GetDisplay();

    int current = 0;
    int maximum = 0;
    int displayLimit = 999;
    int displayLimitChars = 3;
    std::string Label;
};

// Times a section of code: Start, then Calc leaves the duration in current.
class TDebugVar : public TTrackingVar {
public:
    int Start();
    int Calc();
};

class TFPSCounter : public TTrackingVar {
public:
    int Init() override;
    std::string GetDisplay() override;
    int Calc();

    int counter = 0;
    int time = 0;
    int framerate = 0;
    int minimum = 999;
};

class TFixedRateLogic : public TTrackingVar {
public:
    int Init() override;
    int Create();
    int CalcMS();
    int SetThreshold(int ms);
    int Calc();
    int SetDelta(float d);
    int HistoryClear();

    int FramerateDefault = 200;
    float Framerate = 200.0f;
    double LastTime = 0;
    double TmpMS = 0;
    double NumTicks = 0;
    double LastNumTicks = 0;
    float MS = 0.0f;
    int Threshold = 50;
    int JitterCorrection = 1;
    int HistorySize = 1;
    int HistorySizeMax = 50;
    std::vector<int> History;
    int HistoryCounter = 0;
    int First = 0;
    int FirstMax = 5;
};
