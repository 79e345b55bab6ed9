#include "framework/graphics/slide_line.h"

#include "platform/graphics.h"

#include <algorithm>

// ---- TSlideLine ------------------------------------------------------------------------------

size_t TSlideLine::Phase() const {
    return static_cast<size_t>(std::clamp(CurrentPhase, 0, MAX_PHASES - 1));
}

size_t TSlideLine::LastPhase() const {
    return static_cast<size_t>(std::clamp(TotalPhases - 1, 0, MAX_PHASES - 1));
}

int TSlideLine::InitLine(const std::string& newText, int startX, int startY, int endX, int endY,
                         int ms) {
    Init(ms, 0, 0, 0);
    text = newText;
    StartX[0] = static_cast<float>(startX);
    StartY[0] = static_cast<float>(startY);
    EndX[0] = static_cast<float>(endX);
    EndY[0] = static_cast<float>(endY);
    return CalcDistance();
}

int TSlideLine::AddPhaseSpecial(int startX, int startY, int endX, int endY, int ms) {
    // The points share the timer's limit: a phase the timer refuses leaves them untouched too.
    if (TotalPhases < 0 || TotalPhases >= MAX_PHASES)
        return -1;
    const auto i = static_cast<size_t>(TotalPhases);
    StartX[i] = static_cast<float>(startX);
    StartY[i] = static_cast<float>(startY);
    EndX[i] = static_cast<float>(endX);
    EndY[i] = static_cast<float>(endY);
    return AddPhase(ms);
}

int TSlideLine::CalcDistance() {
    const size_t i = Phase();
    DX = EndX[i] - StartX[i];
    DY = EndY[i] - StartY[i];
    return 0;
}

float TSlideLine::GetX() const {
    if (!Active)
        return EndX[LastPhase()];
    // GetRatio falls from 1 to 0 over a count-down phase.
    return StartX[Phase()] + (1.0f - GetRatio()) * DX;
}

float TSlideLine::GetY() const {
    if (!Active)
        return EndY[LastPhase()];
    return StartY[Phase()] + (1.0f - GetRatio()) * DY;
}

int TSlideLine::Manage() {
    if (TAnimation::Manage() == 1)
        CalcDistance();
    return 0;
}

int TSlideLine::Draw() {
    if (Color)
        Color->Apply();
    platform::DrawText(text, GetX(), GetY());
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    return 0;
}

int TSlideLine::AttachObject(const std::shared_ptr<TObject>& object) {
    AttachedObject = object;
    return 0;
}

// ---- TSlideLineList --------------------------------------------------------------------------

TSlideLinePtr TSlideLineList::Add(const std::string& text, int startX, int startY, int endX,
                                  int endY, int ms) {
    auto line = std::make_shared<TSlideLine>();
    line->InitLine(text, startX, startY, endX, endY, ms);
    line->Color = Color;
    push_back(line);
    return line;
}

int TSlideLineList::Start() {
    for (const TSlideLinePtr& line : *this)
        line->Start();
    return 0;
}

int TSlideLineList::Manage() {
    for (const TSlideLinePtr& line : *this)
        line->Manage();
    return 0;
}

int TSlideLineList::Draw() {
    for (const TSlideLinePtr& line : *this)
        line->Draw();
    platform::SetColor(255, 255, 255);
    return 0;
}
