#pragma once
// The turn indicator: a picture tinted in the colour of the player to move, with an overlay picture
// drawn over it in its own colours, unscaled and unrotated.

#include "framework/graphics/sprite.h"

#include <memory>

class TIndicator;
using TIndicatorPtr = std::shared_ptr<TIndicator>;

class TIndicator : public TSprite {
public:
    static TIndicatorPtr CreateSpecial(const TGameImagePtr& image, const TGameImagePtr& overlay,
                                       float x, float y);
    // Draws the indicator in PlayerColor[player], read afresh at every frame.
    int DrawSpecial(int player);
    // Draws `picture` as the sprite draws its own image: frame, shadow, position.
    int DrawNormalS(const TGameImagePtr& picture);

    TGameImagePtr overlay;
};
