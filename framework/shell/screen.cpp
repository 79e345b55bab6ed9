#include "framework/shell/screen.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "framework/util/assets.h"
#include "framework/util/input.h"

TScreen::TScreen() = default;
TScreen::~TScreen() = default;

int TScreen::ImageLoad(const std::string& file, int flags) {
    Image = ccLoadBitmap(Game->ImagePath + file, flags);
    // Backgrounds are drawn from their top-left corner whatever automatic centring says.
    platform::SetImageHandle(Image, 0, 0);
    return 0;
}

int TScreen::HeaderLoad(const std::string& file, float x, float y) {
    Header = TSprite::Create(TGameImage::Create(Game->ImagePath + file + Ext, -1, 1), x, y);
    return 0;
}

int TScreen::PreStart() {
    if (StopInit)
        return CoreStart();
    Load();
    return Start();
}

int TScreen::ResetStops() {
    StopKill = 0;
    StopInit = 0;
    return 0;
}

int TScreen::Load() {
    return 0;
}

int TScreen::Start() {
    Game->Mouse->On();
    Game->IgnoreEscapeKey = 0;
    return CoreStart();
}

int TScreen::CoreStart() {
    Game->CurrentTScreen = shared_from_this();
    if (Menu)
        Menu->ManageNoSound();
    ccFlushAllQueued();
    Game->Mouse->ClearButtons();
    Game->FixedRateLogic->Init();
    return 0;
}

int TScreen::PostFadeIn() {
    return 0;
}

int TScreen::Kill() {
    Image = nullptr;
    Header = nullptr;
    if (Menu) {
        Menu->Kill();
        Menu = nullptr;
    }
    return 0;
}

int TScreen::Logic() {
    if (Menu)
        Menu->Manage();
    return 0;
}

int TScreen::Draw() {
    if (Image) {
        platform::SetBlend(platform::SOLIDBLEND);
        platform::DrawImage(Image, 0, 0, 0);
    }
    if (Header) {
        platform::SetBlend(platform::ALPHABLEND);
        Header->Draw();
    }
    if (Menu)
        Menu->Draw(0, 0);
    return 0;
}

int TScreen::SetEscDestination() {
    Game->DestinationTScreen = Game->ExitScreen;
    return 0;
}

int TScreen::SpecificKeys() {
    return 0;
}
