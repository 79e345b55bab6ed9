#include "framework/ui/slider.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/numbers.h"
#include "platform/system.h"

namespace {

// The pointer counts as over the bar this far beyond either end.
constexpr int SIDE_MARGIN = 10;

} // namespace

TSliderPtr TSlider::CreateSpecial(const std::string& barImage, const std::string& dotImage,
                                  float newX, float newY, int border, const std::string& newName,
                                  int borderY) {
    auto slider = std::make_shared<TSlider>();
    slider->Load(barImage, dotImage, newName);
    slider->x = newX;
    slider->y = newY;
    slider->Border = border;
    slider->BorderY = borderY;
    slider->SetValue(50);
    slider->DotY = platform::TruncToInt(newY);
    slider->active = 1;
    return slider;
}

int TSlider::Load(const std::string& barImage, const std::string& dotImage,
                  const std::string& newName) {
    SetName(newName);
    LoadImages(barImage, dotImage);
    return Init();
}

int TSlider::LoadImages(const std::string& barImage, const std::string& dotImage) {
    image = TGameImage::Create(Game->ImagePath + barImage + Ext, -1, 0);
    DotImage = TGameImage::Create(Game->ImagePath + dotImage + Ext, -1, 0);
    return 0;
}

int TSlider::Init() {
    TSprite::Init();
    return GetSize();
}

int TSlider::SetValue(int newValue) {
    Value = newValue < 0 ? 0 : (newValue > 100 ? 100 : newValue);
    const float half = DotImage ? DotImage->w2 : 0.0f;
    DotX = platform::TruncToInt(
        x + static_cast<float>(Border) +
        static_cast<float>(Value) / 100.0f * static_cast<float>(w - 2 * Border) - half);
    return 0;
}

int TSlider::Manage() {
    if (!active)
        return 0;
    const float mx = static_cast<float>(Game->Mouse->x);
    const float my = static_cast<float>(Game->Mouse->y);
    const float margin = static_cast<float>(SIDE_MARGIN);
    const bool over = mx >= x - margin && mx < x + static_cast<float>(w) + margin &&
                      my >= y - static_cast<float>(BorderY) &&
                      my < y + static_cast<float>(h + BorderY);
    MouseOver = over ? 1 : 0;
    if (!over || Game->Mouse->GetMb() == 0)
        return 0;
    const float border = static_cast<float>(Border);
    if (mx <= x + border)
        SetValue(0);
    else if (mx >= x + static_cast<float>(w) - border)
        SetValue(100);
    else // here w - 2 * Border is positive: the two tests above cover every other bar
        SetValue(ccRound((mx - x - border) / static_cast<float>(w - 2 * Border) * 100.0f));
    return 1;
}

int TSlider::Draw() {
    if (!active)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    if (image)
        platform::DrawImage(image->image, x, y, 0);
    if (DotImage)
        platform::DrawImage(DotImage->image, static_cast<float>(DotX), static_cast<float>(DotY), 0);
    return 0;
}
