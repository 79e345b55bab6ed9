#pragma once
// Text output helpers.

#include "framework/util/object.h"

#include <string>

// A text cursor: writes lines one under the other.
class TTextCursor : public TObject {
public:
    int Init(int x, int y, int linegap);
    int OutputNL(const std::string& text);

    int x = 0, y = 0;
    int linegap = 20;
    int Shadow = 0;
};
