#include "game/screens/picture_screens.h"

#include "framework/shell/game.h"
#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "game/board/asset_names.h"
#include "platform/graphics.h"

int OKButtonCreate(TMenu& menu) {
    menu.AddNew("OK", std::string("OK") + MOUSE_OVER_SUFFIX, "", 0, 0, 1);
    auto ok = menu.FindButton("OK");
    ok->OKButton = 1;
    ok->y = static_cast<float>(ScreenHeight - ok->h - 15);
    ok->CentreX(static_cast<int>(ok->y));
    return 0;
}

TPictureScreen::TPictureScreen(std::string screenName, std::string picture)
    : screenName_(std::move(screenName)), picture_(std::move(picture)) {}

int TPictureScreen::Load() {
    name = screenName_;
    ImageLoad(picture_, 0);
    platform::AutoMidHandle(true);
    Menu = TMenu::Create(MENU_MOUSE_OVER_SOUND, MENU_CLICK_SOUND, 0, 0, 10);
    OKButtonCreate(*Menu);
    Game->FadeMusic = 0;
    return 0;
}

int TPictureScreen::Start() {
    TScreen::Start();
    Game->FadeIn(0);
    return 0;
}

int TPictureScreen::Logic() {
    TScreen::Logic();
    if (Menu->Clicked("ok"))
        Game->LeaveTo(Destination);
    return 0;
}

int TPictureScreen::Draw() {
    platform::DrawImage(Image, 0, 0, 0);
    platform::SetBlend(platform::ALPHABLEND);
    ccShadowTextAlpha = 0.4f;
    platform::SetColor(255, 255, 255);
    Menu->Draw(0, 0);
    return 0;
}

int TPictureScreen::SetEscDestination() {
    Game->DestinationTScreen = Destination;
    return 0;
}

TCreditsScreen::TCreditsScreen() : TPictureScreen("credits", CREDITS_BACKGROUND) {}

TInstructionsScreen::TInstructionsScreen()
    : TPictureScreen("instructions", INSTRUCTIONS_BACKGROUND) {}
