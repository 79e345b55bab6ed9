#pragma once
// Slide lines: a line of text that glides in straight lines from point to point over the timed
// phases of an animation timer, for captions and credits over slide shows or any screen. A list
// of them starts, moves and draws them together in one shared colour.

#include "framework/graphics/animation.h"
#include "framework/util/color.h"
#include "framework/util/object.h"

#include <array>
#include <list>
#include <memory>
#include <string>

class TSlideLine;
using TSlideLinePtr = std::shared_ptr<TSlideLine>;

class TSlideLine : public TAnimation {
public:
    // One phase of ms from (startX, startY) to (endX, endY); not left active at its end.
    int InitLine(const std::string& newText, int startX, int startY, int endX, int endY, int ms);
    // Appends a phase with its own start and end; refused (-1) once MAX_PHASES are in use.
    int AddPhaseSpecial(int startX, int startY, int endX, int endY, int ms);
    // DX, DY of the current phase.
    int CalcDistance();
    // While running, the point between the current phase's start and end; otherwise the end of
    // the last phase.
    float GetX() const;
    float GetY() const;
    // One tick; a phase that ends brings the distance of the next.
    int Manage() override;
    // The text in Color at (GetX(), GetY()) in the current image font; leaves white, alpha 1.0.
    int Draw();
    int AttachObject(const std::shared_ptr<TObject>& object);

    std::array<float, MAX_PHASES> StartX{};
    std::array<float, MAX_PHASES> StartY{};
    std::array<float, MAX_PHASES> EndX{};
    std::array<float, MAX_PHASES> EndY{};
    float DX = 0.0f, DY = 0.0f;
    std::string text;
    TColorPtr Color = TColor::Create(0, 0, 0, 1.0f);
    // The caller's; never read here.
    std::shared_ptr<TObject> AttachedObject;

private:
    // Index of the phase the line rests at when it is not running.
    size_t LastPhase() const;
    size_t Phase() const;
};

// Lines that run together; every line added through Add shares the list's one Color object.
class TSlideLineList : public TObject, public std::list<TSlideLinePtr> {
public:
    TSlideLinePtr Add(const std::string& text, int startX, int startY, int endX, int endY, int ms);
    int Start();
    int Manage();
    // Every line, then the drawing colour white.
    int Draw();

    TColorPtr Color = TColor::Create(0, 0, 0, 1.0f);
};
