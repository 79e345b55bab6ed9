#pragma once
// An empty screen: black, with the drawn pointer. The program opens on it while it has no title
// screen of its own.

#include "framework/shell/screen.h"

class TBlankScreen : public TScreen {
public:
    int Load() override;
    int Start() override;
    int Draw() override;
};
