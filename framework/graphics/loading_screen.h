#pragma once
// The loading screen with its loading bar (the game creates one and never shows it).

#include "framework/shell/screen.h"

class TLoadingScreen : public TScreen {
public:
    int Progress();
    int Draw() override;
};
