#pragma once
// The credits and instructions screens: one full-screen picture with an OK button that leads back
// to the screen that opened them (their Destination, set by the opener before every visit); and
// the OK button that every menu screen stands at the bottom of the screen.

#include "framework/shell/screen.h"
#include "framework/ui/menu.h"

#include <string>

// Adds the "OK" button to the menu, centred with its bottom edge 15 pixels above the screen's
// bottom; Enter and the space bar press it too.
int OKButtonCreate(TMenu& menu);

// A picture with an OK button; Escape, Enter and the space bar leave as OK does.
class TPictureScreen : public TScreen {
public:
    TPictureScreen(std::string screenName, std::string picture);

    int Load() override;
    int Start() override;
    int Logic() override;
    int Draw() override;
    int SetEscDestination() override;

    // Left edge of a text column; 0, and nothing of the screen reads it.
    int TextLeft = 0;

private:
    std::string screenName_;
    std::string picture_;
};

class TCreditsScreen : public TPictureScreen {
public:
    TCreditsScreen();
};

class TInstructionsScreen : public TPictureScreen {
public:
    TInstructionsScreen();
};
