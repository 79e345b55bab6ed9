#pragma once
// What the drawing tests share: pixmaps they make for themselves, the drawing state put back, and
// the draw log read by kind.

#include "platform/graphics.h"

#include <vector>

namespace testing_support {

// A w by h pixmap of one colour (0xAARRGGBB).
inline platform::PixmapPtr Filled(int w, int h, uint32_t argb) {
    platform::PixmapPtr p = platform::CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, argb);
    return p;
}

// The drawing state of the layer at start (colour, alpha, blend, transform, origin, handle,
// viewport).
inline void ResetDrawingState() {
    using namespace platform;
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
    SetOrigin(0, 0);
    SetHandle(0, 0);
    SetViewport(0, 0, LogicalWidth(), LogicalHeight());
}

// The records of one kind in the draw log.
inline std::vector<platform::TDrawRecord> DrawRecords(platform::TDrawRecord::Kind kind) {
    std::vector<platform::TDrawRecord> out;
    for (const auto& r : platform::DrawLog())
        if (r.kind == kind)
            out.push_back(r);
    return out;
}

} // namespace testing_support
