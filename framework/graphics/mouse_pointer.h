#pragma once
// The drawn mouse pointer, and the mouse state (position, held buttons, hits) that widgets and
// screens read.

#include "framework/util/object.h"
#include "platform/graphics.h"

#include <string>

class TMousePointer : public TObject {
public:
    int On();
    int Load(const std::string& name);
    int Manage();
    int ClearMouseHit();
    int CalcButtonTotals();
    int ClearButtons();
    int GetMh(int clear);
    int Draw();

    int Active = 1;
    platform::ImagePtr Image;
    int x = 0, y = 0, z = 0;
    int b1 = 0, b2 = 0, b3 = 0, mb = 0;
    int h1 = 0, h2 = 0, h3 = 0, mh = 0;
};
