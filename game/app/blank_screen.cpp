#include "game/app/blank_screen.h"

#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "platform/graphics.h"

int TBlankScreen::Load() {
    name = "blank";
    return 0;
}

int TBlankScreen::Start() {
    TScreen::Start();
    Game->GameFade->Init(FADE_SPEED, 0, nullptr, 1, 0);
    return 0;
}

int TBlankScreen::Draw() {
    platform::SetClsColor(0, 0, 0);
    platform::Cls();
    return TScreen::Draw();
}
