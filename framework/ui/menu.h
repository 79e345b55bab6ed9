#pragma once
// A menu of image buttons that reports the button under the mouse and the clicked button by name.

#include "framework/util/object.h"

class TMenu : public TObject {
public:
    int Manage();
    int ManageNoSound();
    int Kill();
    int Draw(float x, float y);
};
