#pragma once
// A value control: a track of a given length, a slider image dragged along it, and two optional
// arrow buttons at the track's ends that step the value down and up. It turns the slider's pixel
// position into a value from 0 to ValueMax and back. A list box scrolls by one tied to it.

#include "framework/graphics/game_image.h"
#include "framework/ui/menu.h"
#include "framework/util/object.h"

#include <memory>
#include <string>

class TScrollBar;
using TScrollBarPtr = std::shared_ptr<TScrollBar>;

class TScrollBar : public TObject {
public:
    // No buttons yet (SetArrows adds them); a negative maximum is stored as 0.
    static TScrollBarPtr Create(const TGameImagePtr& slider, int size, double valueMax, float x,
                                float y, int vertical);
    // Disables the arrow that cannot move further, when it has a disabled image.
    int DisableButtons();
    int Draw();
    int Kill();
    // Arrow clicks, the glow and dragging for one logic tick.
    int Manage();
    // The two arrow buttons from the menu folder, just outside the track's ends; they click on
    // press and show their "_down" image for clickMs.
    int SetArrows(const std::string& upName, const std::string& downName, int clickMs);
    // The slider's place for a value; 0 while the slider cannot move or ValueMax is 0.
    int SliderSetPosition(double value);
    // The value at the slider's place, then Value.
    int ValueCalc();
    int ValueRound();

    // Pixels the slider can travel: Size less its length along the track.
    int Range() const;

    TGameImagePtr Slider;
    TMenuPtr Menu;
    // 1: the track runs down from (X, Y); 0: to the right.
    int Vertical = 1;
    int Value = 0;
    double ValuePrecise = 0.0;
    double ValueStep = 1.0;
    int Size = 0;
    double ValueMax = 0.0;
    int SliderPosition = 0;
    int SliderSelected = 0;
    int SliderOffset = 0;
    float X = 0.0f, Y = 0.0f;
    std::string UpName, DownName;
    int FixedGlowOnMO = 0;
    float SliderGlow = 0.0f;
    float GlowMax = 0.5f;
    float GlowSpeed = 0.02f;
    float Scale = 1.0f;

private:
    bool PointerOverSlider() const;
    // One arrow step of delta, kept inside [0, ValueMax].
    void Step(double delta);
};
