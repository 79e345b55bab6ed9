#include "framework/ui/menu.h"

// Minimal until the widgets subsystem lands menus.

int TMenu::Manage() {
    return 1;
}

int TMenu::ManageNoSound() {
    return 1;
}

int TMenu::Kill() {
    return 0;
}

int TMenu::Draw(float x, float y) {
    (void)x;
    (void)y;
    return 0;
}
