#include "framework/graphics/sprite.h"

// Minimal until the graphics subsystem lands its sprites.

std::shared_ptr<TSprite> TSprite::Create(const TGameImagePtr& image, float x, float y) {
    auto s = std::make_shared<TSprite>();
    s->Image = image;
    s->x = x;
    s->y = y;
    return s;
}

int TSprite::Centre() {
    x = 400.0f;
    y = 300.0f;
    if (Image)
        platform::MidHandleImage(Image->image);
    return 0;
}

int TSprite::Draw() {
    if (Image)
        platform::DrawImage(Image->image, x, y, ImageFrame);
    return 0;
}
