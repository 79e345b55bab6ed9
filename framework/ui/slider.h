#pragma once
// A horizontal value slider: a bar picture with a knob (the "dot") on it, holding a value from 0
// to 100 that the player sets by pressing or dragging anywhere over the bar. The sprite's own
// image is the bar and its position the bar's top-left corner. The owner calls Manage once per
// logic tick (1 when the value was set in that tick), reads Value, and calls Draw each frame.

#include "framework/graphics/game_image.h"
#include "framework/graphics/sprite.h"

#include <memory>
#include <string>

class TSlider;
using TSliderPtr = std::shared_ptr<TSlider>;

class TSlider : public TSprite {
public:
    // The bar's size from its picture.
    int Init() override;
    // The bar and the knob with alpha blending, whatever the sprite's visibility, colour, alpha,
    // scale and shadow; nothing while inactive.
    int Draw() override;

    // The pictures Game->ImagePath + name + Ext, both handled at their top-left corner; the value
    // starts at 50.
    static TSliderPtr CreateSpecial(const std::string& barImage, const std::string& dotImage,
                                    float newX, float newY, int border, const std::string& newName,
                                    int borderY);
    int Load(const std::string& barImage, const std::string& dotImage, const std::string& newName);
    int LoadImages(const std::string& barImage, const std::string& dotImage);
    // Clamped to 0..100; the middle of the knob goes to the value's place on the bar.
    int SetValue(int newValue);
    // 1 when a held button over the slider set the value in this tick.
    int Manage();

    std::string Ext = ".png";
    TGameImagePtr DotImage;
    int DotX = 0;
    int DotY = 0;
    int MouseOver = 0;
    int Value = 0;
    // Pixels at each end of the bar outside the value range.
    int Border = 0;
    // Pixels above and below the bar that still count as over the slider.
    int BorderY = 5;
};
