#pragma once
// Pixmaps that the drawing tests make for themselves.

#include "platform/pixmap.h"

namespace testing_support {

// A w by h pixmap of one colour (0xAARRGGBB).
inline platform::PixmapPtr Filled(int w, int h, uint32_t argb) {
    platform::PixmapPtr p = platform::CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, argb);
    return p;
}

} // namespace testing_support
