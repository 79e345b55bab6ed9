#pragma once
// The fading copy of the special squares' explanation picture: when the pointer leaves a special
// square whose explanation was showing, the copy stays a moment over the idle picture, then fades.
// The board screen's logic drives its fields.

#include "framework/graphics/sprite.h"

#include <memory>

class TMyFade;
using TMyFadePtr = std::shared_ptr<TMyFade>;

class TMyFade : public TSprite {
public:
    static TMyFadePtr Create(const TGameImagePtr& image, float x, float y);

    // 1 while a fade is under way, else 0.
    int fadeTime = 0;
    // The MilliSecs value at which the fade ends and the copy is hidden.
    int fadeMax = 0;
};
