#include "framework/graphics/loading_screen.h"

// Minimal until the graphics subsystem lands the loading screen.

int TLoadingScreen::Progress() {
    return 0;
}

int TLoadingScreen::Draw() {
    return 0;
}
