#pragma once
// The base of every drawn game object: position, image, frame, scale, rotation, colour, alpha.

#include "framework/graphics/game_image.h"
#include "framework/util/object.h"

#include <memory>

class TSprite : public TObject {
public:
    static std::shared_ptr<TSprite> Create(const TGameImagePtr& image, float x, float y);
    int Centre();
    virtual int Draw();

    TGameImagePtr Image;
    float x = 0.0f, y = 0.0f;
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float Rotation = 0.0f;
    float Alpha = 1.0f;
    int ImageFrame = 0;
};
using TSpritePtr = std::shared_ptr<TSprite>;
