#include "platform/pixmap.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace platform {

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

Rgba LoadPixel(const uint8_t* p, PixelFormat format) {
    switch (format) {
    case PF_RGBA8888:
        return {p[0], p[1], p[2], p[3]};
    case PF_BGRA8888:
        return {p[2], p[1], p[0], p[3]};
    case PF_RGB888:
        return {p[0], p[1], p[2], 255};
    case PF_BGR888:
        return {p[2], p[1], p[0], 255};
    case PF_A8:
        // Alpha only: white, so that a tinted draw shows the tint.
        return {255, 255, 255, p[0]};
    }
    return {0, 0, 0, 0};
}

void StorePixel(uint8_t* p, PixelFormat format, Rgba c) {
    switch (format) {
    case PF_RGBA8888:
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
        break;
    case PF_BGRA8888:
        p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = c.a;
        break;
    case PF_RGB888:
        p[0] = c.r, p[1] = c.g, p[2] = c.b;
        break;
    case PF_BGR888:
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
        break;
    case PF_A8:
        p[0] = c.a;
        break;
    }
}

} // namespace

int BytesPerPixel(PixelFormat format) {
    switch (format) {
    case PF_RGBA8888:
    case PF_BGRA8888:
        return 4;
    case PF_RGB888:
    case PF_BGR888:
        return 3;
    case PF_A8:
        return 1;
    }
    return 0;
}

void ConvertPixels(const uint8_t* src, PixelFormat srcFormat, uint8_t* dst, PixelFormat dstFormat,
                   int count) {
    if (count <= 0)
        return;
    const size_t srcStep = static_cast<size_t>(BytesPerPixel(srcFormat));
    const size_t dstStep = static_cast<size_t>(BytesPerPixel(dstFormat));
    if (srcFormat == dstFormat) {
        std::memmove(dst, src, srcStep * static_cast<size_t>(count));
        return;
    }
    for (int i = 0; i < count; ++i, src += srcStep, dst += dstStep)
        StorePixel(dst, dstFormat, LoadPixel(src, srcFormat));
}

TPixmap::TPixmap(int w, int h, PixelFormat format) : format_(format) {
    const int bpp = BytesPerPixel(format);
    if (bpp == 0)
        throw std::invalid_argument("unknown pixel format");
    width_ = std::max(w, 0);
    height_ = std::max(h, 0);
    // Every byte offset must fit an int (each product below stays within 64 bits).
    const int64_t pitch = int64_t{width_} * bpp;
    if (pitch > INT_MAX || pitch * height_ > INT_MAX)
        throw std::length_error("pixmap too large");
    const int64_t bytes = pitch * height_;
    pitch_ = static_cast<int>(pitch);
    store_ = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(bytes), 0);
    base_ = store_->data();
}

uint8_t* TPixmap::PixelPtr(int x, int y) {
    return base_ + static_cast<ptrdiff_t>(y) * pitch_ +
           static_cast<ptrdiff_t>(x) * BytesPerPixel(format_);
}

const uint8_t* TPixmap::PixelPtr(int x, int y) const {
    return base_ + static_cast<ptrdiff_t>(y) * pitch_ +
           static_cast<ptrdiff_t>(x) * BytesPerPixel(format_);
}

uint32_t TPixmap::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const Rgba c = LoadPixel(PixelPtr(x, y), format_);
    return uint32_t{c.a} << 24 | uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}

void TPixmap::WritePixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const Rgba c{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                 static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)};
    StorePixel(PixelPtr(x, y), format_, c);
}

std::shared_ptr<TPixmap> TPixmap::Window(int x, int y, int w, int h) {
    // Clip in 64 bits: x + w may exceed the int range.
    const int64_t x0 = std::clamp<int64_t>(x, 0, width_);
    const int64_t y0 = std::clamp<int64_t>(y, 0, height_);
    const int64_t x1 = std::clamp<int64_t>(int64_t{x} + std::max(w, 0), x0, width_);
    const int64_t y1 = std::clamp<int64_t>(int64_t{y} + std::max(h, 0), y0, height_);
    std::shared_ptr<TPixmap> view(new TPixmap());
    view->store_ = store_;
    view->format_ = format_;
    view->pitch_ = pitch_;
    view->width_ = static_cast<int>(x1 - x0);
    view->height_ = static_cast<int>(y1 - y0);
    view->base_ = PixelPtr(static_cast<int>(x0), static_cast<int>(y0));
    return view;
}

std::shared_ptr<TPixmap> TPixmap::Convert(PixelFormat format) const {
    auto copy = std::make_shared<TPixmap>(width_, height_, format);
    for (int y = 0; y < height_; ++y)
        ConvertPixels(PixelPtr(0, y), format_, copy->PixelPtr(0, y), format, width_);
    return copy;
}

PixmapPtr CreatePixmap(int w, int h, PixelFormat format) {
    try {
        return std::make_shared<TPixmap>(w, h, format);
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace platform
