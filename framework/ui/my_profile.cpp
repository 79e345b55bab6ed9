#include "framework/ui/my_profile.h"

// Minimal until the widgets subsystem lands the profile file.

int TMyProfile::Load() {
    return 0;
}

int TMyProfile::Save() {
    return 0;
}
