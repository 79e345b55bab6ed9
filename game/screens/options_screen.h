#pragma once
// The options screen: music and sound volume in steps of ten, full screen on and off, the way to
// the credits screen, and back to the screen that opened it. Every change is saved at once by the
// game object; the screen keeps no settings of its own.

#include "framework/shell/screen.h"
#include "framework/ui/button.h"

#include <string>

class TOptionsScreen : public TScreen {
public:
    int Load() override;
    int Start() override;
    int Logic() override;
    int Draw() override;
    int SetEscDestination() override;

    // A two-state button showing "on" or "off", added on the menu's next row.
    int LoadToggle(int flag, const std::string& toggleName);
    // Plays the OK button's click sound in its own click channel.
    int ClickSound();
    // Gives the toggle the pictures of flag's state where it stands.
    int ReloadToggleButton(TButton& button, int flag, const std::string& toggleName);

    // Left edge of a text column; 0, and nothing of the screen reads it.
    int TextLeft = 0;

private:
    // The toggle follows the display mode however it changed (Alt+Enter too): set before each
    // frame is drawn.
    int ShowDisplayMode();
};
