#include "framework/graphics/splash_screen.h"

// Minimal until the graphics subsystem lands the splash screens.

int PortalSplash(int timeIn, int timeFull, int timeOut, int number) {
    (void)timeIn;
    (void)timeFull;
    (void)timeOut;
    (void)number;
    return 0;
}
