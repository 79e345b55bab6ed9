#include "framework/graphics/mouse_pointer.h"

#include "framework/shell/game.h"
#include "framework/util/assets.h"
#include "framework/util/records.h"
#include "framework/util/window.h"
#include "platform/input.h"

int TMousePointer::On() {
    Active = 1;
    return 0;
}

int TMousePointer::Off() {
    Active = 0;
    ParticleList->Clear();
    return 0;
}

int TMousePointer::Load(const std::string& name) {
    Image = ccLoadBitmap(Game->ImagePath + name + Ext, -1);
    platform::SetImageHandle(Image, static_cast<float>(offsetx), static_cast<float>(offsety));
    return CalcSize();
}

int TMousePointer::CalcSize() {
    w = platform::ImageWidth(Image);
    h = platform::ImageHeight(Image);
    return 0;
}

int TMousePointer::Update() {
    x = platform::MouseX();
    y = platform::MouseY();
    b1 = platform::MouseDown(1);
    b2 = platform::MouseDown(2);
    b3 = platform::MouseDown(3);
    h1 = platform::MouseHit(1);
    h2 = platform::MouseHit(2);
    h3 = platform::MouseHit(3);
    return CalcButtonTotals();
}

int TMousePointer::Manage() {
    if (!Active)
        return 0;
    if (ParticleFunc) {
        ParticleFunc();
        ParticleList->Manage();
    }
    return 1;
}

int TMousePointer::UpdateCoords() {
    if (!platform::GraphicsOpen())
        return 0;
    const TPoint cursor = ccGetCursorPosOSX();
    const int flippedY = Game->DesktopHeight - cursor.Y;
    Game->SetClientCoords();
    x = cursor.X - Game->ClientX;
    y = flippedY - Game->ClientY;
    return 0;
}

int TMousePointer::ClearButtons() {
    b1 = b2 = b3 = mb = 0;
    return ClearMouseHit();
}

int TMousePointer::ClearMouseHit() {
    h1 = h2 = h3 = mh = 0;
    return 0;
}

int TMousePointer::GetMb() const {
    return mb;
}

int TMousePointer::GetMh(int clear) {
    const int hits = mh;
    if (clear)
        ClearMouseHit();
    return hits;
}

int TMousePointer::CalcButtonTotals() {
    mb = b1 + b2 + b3;
    mh = h1 + h2 + h3;
    return 0;
}

int TMousePointer::Draw() {
    if (!Game->FullScreen)
        UpdateCoords();
    if (!Active)
        return 0;
    ParticleList->Draw();
    platform::SetBlend(platform::ALPHABLEND);
    if (Image2 && Image2Frame >= 0 && Image2Frame < Image2->Frames()) {
        platform::SetScale(Image2Scale, Image2Scale);
        platform::DrawImage(Image2, static_cast<float>(x + Image2xoff),
                            static_cast<float>(y + Image2yoff), Image2Frame);
        platform::SetScale(1.0f, 1.0f);
    }
    if (Image)
        platform::DrawImage(Image, static_cast<float>(x), static_cast<float>(y), 0);
    else
        platform::Plot(static_cast<float>(x), static_cast<float>(y));
    return 0;
}
