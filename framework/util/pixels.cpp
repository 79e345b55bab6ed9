#include "framework/util/pixels.h"

#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "platform/system.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

int ARGB_Alpha(int argb) {
    return static_cast<int>(static_cast<uint32_t>(argb) >> 24);
}

int ARGB_Red(int argb) {
    return (argb >> 16) & 255;
}

int ARGB_Green(int argb) {
    return (argb >> 8) & 255;
}

int ARGB_Blue(int argb) {
    return argb & 255;
}

int ARGB_Color(int alpha, int red, int green, int blue) {
    uint32_t v = static_cast<uint32_t>(alpha) * 16777216u + static_cast<uint32_t>(red) * 65536u +
                 static_cast<uint32_t>(green) * 256u + static_cast<uint32_t>(blue);
    return static_cast<int>(v);
}

namespace {

// The rectangle of a copy between two pixmaps after clipping: a start left of or above either
// pixmap moves both starts on together (what lies outside is left out), then the size shrinks to
// fit the source and the destination. False when nothing is left to copy.
struct CopyRect {
    int sx, sy, w, h, dx, dy;
};

bool ClipCopy(CopyRect& c, const platform::TPixmap& src, const platform::TPixmap& dst) {
    auto cutStart = [](int& a, int& b, int& size) {
        int shift = std::max({0, -a, -b});
        a += shift;
        b += shift;
        size -= shift;
    };
    cutStart(c.sx, c.dx, c.w);
    cutStart(c.sy, c.dy, c.h);
    if (!(c.sx < src.Width() && c.sy < src.Height() && c.dx < dst.Width() && c.dy < dst.Height()))
        return false;
    c.w = std::min({c.w, src.Width() - c.sx, dst.Width() - c.dx});
    c.h = std::min({c.h, src.Height() - c.sy, dst.Height() - c.dy});
    return c.w > 0 && c.h > 0;
}

// Locks frame 0 of both images, runs the copy on the clipped rectangle and unlocks both. When the
// source is the destination, the copy reads from a snapshot of the source so that no pixel is
// read after it was overwritten.
template <typename Copy>
int LockedCopy(const platform::ImagePtr& source, int sourceX, int sourceY, int width, int height,
               const platform::ImagePtr& destination, int destX, int destY, Copy copy) {
    if (!source || !destination)
        return 0;
    platform::PixmapPtr src = platform::LockImage(source, 0);
    platform::PixmapPtr dst = platform::LockImage(destination, 0);
    if (src && dst) {
        CopyRect c{sourceX, sourceY, width, height, destX, destY};
        if (ClipCopy(c, *src, *dst)) {
            if (src == dst)
                src = src->Copy();
            copy(*src, *dst, c);
        }
    }
    platform::UnlockImage(source, 0);
    platform::UnlockImage(destination, 0);
    return 0;
}

int ClampChannel(int v) {
    return std::clamp(v, 0, 255);
}

} // namespace

int ccCopyImageRect(const platform::ImagePtr& source, int sourceX, int sourceY, int width,
                    int height, const platform::ImagePtr& destination, int destX, int destY) {
    return LockedCopy(
        source, sourceX, sourceY, width, height, destination, destX, destY,
        [](platform::TPixmap& src, platform::TPixmap& dst, const CopyRect& c) {
            // Frames are all of one 4-byte format; anything else is not copied raw.
            if (platform::BytesPerPixel(src.Format()) != 4 || src.Format() != dst.Format())
                return;
            for (int r = 0; r < c.h; r++)
                std::memcpy(dst.PixelPtr(c.dx, c.dy + r), src.PixelPtr(c.sx, c.sy + r),
                            static_cast<size_t>(c.w) * 4);
        });
}

int ccCopyImageToImage(const platform::ImagePtr& source, int sourceX, int sourceY, int width,
                       int height, const platform::ImagePtr& destination, int destX, int destY,
                       int mode) {
    return LockedCopy(source, sourceX, sourceY, width, height, destination, destX, destY,
                      [mode](platform::TPixmap& src, platform::TPixmap& dst, const CopyRect& c) {
                          if (mode < 0 || mode > 3)
                              return;
                          bool mirror = mode == 1 || mode == 3;
                          bool flip = mode == 2 || mode == 3;
                          for (int i = 0; i < c.h; i++) {
                              for (int j = 0; j < c.w; j++) {
                                  int x = c.sx + (mirror ? c.w - 1 - j : j);
                                  int y = c.sy + (flip ? c.h - 1 - i : i);
                                  dst.WritePixel(c.dx + j, c.dy + i, src.ReadPixel(x, y));
                              }
                          }
                      });
}

int ccDrawOnPixmap(const platform::ImagePtr& image, int frame, const platform::PixmapPtr& pixmap,
                   int x, int y, float alpha, float brightness) {
    if (!image)
        platform::RuntimeError("image doesnt exist");
    if (!pixmap || frame < 0 || frame >= image->Frames())
        return 0;
    platform::PixmapPtr locked = platform::LockImage(image, frame);
    if (!locked)
        return 0;
    // The pixmap may be the frame itself: blend from a snapshot.
    platform::PixmapPtr src = locked->Copy();
    platform::UnlockImage(image, frame);
    for (int i = 0; i < src->Width(); i++) {
        for (int j = 0; j < src->Height(); j++) {
            int tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= pixmap->Width() || ty >= pixmap->Height())
                continue;
            int s = static_cast<int>(src->ReadPixel(i, j));
            int d = static_cast<int>(pixmap->ReadPixel(tx, ty));
            float dA = static_cast<float>(ARGB_Alpha(d));
            float sA = static_cast<float>(ARGB_Alpha(s)) * alpha;
            if (sA == 255.0f)
                dA = 0.0f;
            int outA = platform::TruncToInt(dA + sA);
            // A source too faint to leave a whole step of alpha changes nothing.
            if (sA == 0.0f || outA <= 0)
                continue;
            float fa = static_cast<float>(outA);
            auto channel = [&](int sc, int dc) {
                float v = static_cast<float>(sc) * brightness * sA / fa +
                          (dA / fa) * (static_cast<float>(dc) * dA / fa);
                return ClampChannel(platform::TruncToInt(v));
            };
            int r = channel(ARGB_Red(s), ARGB_Red(d));
            int g = channel(ARGB_Green(s), ARGB_Green(d));
            int b = channel(ARGB_Blue(s), ARGB_Blue(d));
            pixmap->WritePixel(tx, ty,
                               static_cast<uint32_t>(ARGB_Color(std::min(outA, 255), r, g, b)));
        }
    }
    return 0;
}

int ccCopyRect(const platform::ImagePtr& image, int x, int y, int width, int height, int frame) {
    platform::SetViewport(x, y, width, height);
    if (image && frame >= 0 && frame < image->Frames())
        platform::DrawImage(image, static_cast<float>(x), static_cast<float>(y), frame);
    platform::SetViewport(0, 0, ScreenWidth, ScreenHeight);
    return 0;
}

int ccClipImageToViewport(const platform::ImagePtr& image, float x, float y, float viewX,
                          float viewY, float viewWidth, float viewHeight, int offsetX,
                          int offsetY) {
    if (!image)
        return 0;
    float w = static_cast<float>(image->Width()), h = static_cast<float>(image->Height());
    if (!(x + w >= viewX && x < viewX + viewWidth && y + h >= viewY && y < viewY + viewHeight))
        return 0;
    float left = std::max(0.0f, viewX - x);
    float top = std::max(0.0f, viewY - y);
    float right = std::max(0.0f, (x + w) - (viewX + viewWidth));
    float bottom = std::max(0.0f, (y + h) - (viewY + viewHeight));
    // The image's own handle is not applied: its top-left lies at (x, y).
    float hx = image->handleX, hy = image->handleY;
    platform::SetImageHandle(image, 0.0f, 0.0f);
    ccDrawImageArea(image, x + left + static_cast<float>(offsetX),
                    y + top + static_cast<float>(offsetY), left, top, w - left - right,
                    h - top - bottom, 0);
    platform::SetImageHandle(image, hx, hy);
    return 0;
}
