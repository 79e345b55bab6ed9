#pragma once
// The hover hint: a box picture with a few lines of text, shown near the pointer after it has
// rested on something for a while, fading in, and fading out when the pointer leaves. The owner
// decides what resting means: each logic tick it calls Collide with 1 while the pointer is over
// the thing the tip explains and 0 otherwise, and each frame it calls Draw. The owner constructs
// the tip, sets image and font (and any other field), then calls SetText.

#include "framework/audio/game_sound.h"
#include "framework/graphics/font.h"
#include "framework/graphics/game_image.h"
#include "framework/util/object.h"
#include "framework/util/strings.h"

#include <memory>
#include <string>

class TToolTip : public TObject {
public:
    // One logic tick: counts the rest time, shows and places the tip, fades it.
    int Collide(int over);
    // Drops ToolTipSound.
    int Kill();
    // 1 when the tip was drawn.
    int Draw();
    int SetCollideCounterMax(int ms);
    // 0 (text unchanged) while the tip is on screen or fading with Fade set, else 1.
    int SetText(const std::string& text);

    // 1 while shown, fading out included.
    int Visible = 0;
    // The box picture's top-left corner (its handle is expected there).
    float x = 0.0f, y = 0.0f;
    TGameImagePtr image;
    // Its bitmap font draws the text; without one the image font does.
    TFontPtr font;
    int RoundedCoords = 1;
    int TextYOffset = 0;
    std::string Text;
    TStringArray TextWrapped;
    int TextDrawWidth = 200;
    // 1: the box is placed at the pointer.
    int DrawUnderMouseCursor = 1;
    int GapFromMouse = 5;
    int XOffset = 0;
    // 1: placed only while not yet shown; 0: follows the pointer.
    int SetCoordsOnceOnly = 1;
    // Rest time in logic ticks, and the rest before the tip shows.
    float CollideCounter = 0.0f;
    int CollideCounterMax = 50;
    // 1: fades in and out; 0: appears and vanishes at once.
    int Fade = 1;
    float FadeInSpeed = 0.02f;
    float FadeOutSpeed = 0.04f;
    float FadeLevel = 0.0f;
    TGameSoundPtr ToolTipSound;

private:
    // Below the pointer unless that runs off the bottom; at the pointer unless the box runs off
    // the right edge.
    void PlaceAtPointer();
    // The wrapped lines centred on the middle of the box.
    void DrawText() const;
};
using TToolTipPtr = std::shared_ptr<TToolTip>;
