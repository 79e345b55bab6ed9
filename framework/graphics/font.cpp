#include "framework/graphics/font.h"

#include "platform/graphics.h"

// Minimal until the graphics subsystem lands fonts and labels.

int TTextCursor::Init(int x_, int y_, int linegap_) {
    x = x_;
    y = y_;
    linegap = linegap_;
    return 0;
}

int TTextCursor::OutputNL(const std::string& text) {
    platform::DrawText(text, static_cast<float>(x), static_cast<float>(y));
    y += linegap;
    return 0;
}
