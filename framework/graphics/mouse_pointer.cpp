#include "framework/graphics/mouse_pointer.h"

#include "framework/shell/game.h"

// Minimal until the graphics subsystem lands the drawn pointer.

int TMousePointer::On() {
    Active = 1;
    return 0;
}

int TMousePointer::Load(const std::string& name) {
    Image = platform::LoadImage(Game->ImagePath + name + ".png", -1);
    if (Image)
        platform::SetImageHandle(Image, 0, 0);
    return 0;
}

int TMousePointer::Manage() {
    return Active ? 1 : 0;
}

int TMousePointer::ClearMouseHit() {
    h1 = h2 = h3 = mh = 0;
    return 0;
}

int TMousePointer::CalcButtonTotals() {
    mb = b1 + b2 + b3;
    mh = h1 + h2 + h3;
    return 0;
}

int TMousePointer::ClearButtons() {
    b1 = b2 = b3 = mb = 0;
    return ClearMouseHit();
}

int TMousePointer::GetMh(int clear) {
    int hits = mh;
    if (clear)
        ClearMouseHit();
    return hits;
}

int TMousePointer::Draw() {
    if (!Active)
        return 0;
    platform::SetBlend(platform::ALPHABLEND);
    if (Image)
        platform::DrawImage(Image, static_cast<float>(x), static_cast<float>(y));
    else
        platform::Plot(static_cast<float>(x), static_cast<float>(y));
    return 0;
}
