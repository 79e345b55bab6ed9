#pragma once
// Pixmaps: plain pixel buffers on the CPU, creatable without a display, and the image codecs that
// fill them (PNG, JPEG, BMP, TGA) and write them (PNG).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum PixelFormat {
    PF_RGBA8888 = 1, // bytes R, G, B, A (the format of every decoded image and of image frames)
    PF_BGRA8888 = 2,
    PF_RGB888 = 3,
    PF_BGR888 = 4,
    PF_A8 = 5,
};
int BytesPerPixel(PixelFormat format);

class TPixmap {
public:
    // A new pixmap of w by h pixels, all bytes 0. Negative sizes count as 0; throws
    // std::length_error when a byte offset would not fit an int.
    TPixmap(int w, int h, PixelFormat format = PF_RGBA8888);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const { return pitch_; } // bytes from one row to the next
    PixelFormat Format() const { return format_; }

    // Address of pixel (x, y); the caller keeps inside the pixmap.
    uint8_t* PixelPtr(int x, int y);
    const uint8_t* PixelPtr(int x, int y) const;

    // The pixel as 0xAARRGGBB (alpha 255 for formats without alpha); 0 outside the pixmap.
    uint32_t ReadPixel(int x, int y) const;
    // Writes 0xAARRGGBB; nothing outside the pixmap.
    void WritePixel(int x, int y, uint32_t argb);

    // A view of the rectangle (clipped to this pixmap) that shares this pixmap's memory.
    std::shared_ptr<TPixmap> Window(int x, int y, int w, int h);
    // A deep copy in the given format.
    std::shared_ptr<TPixmap> Convert(PixelFormat format) const;
    std::shared_ptr<TPixmap> Copy() const { return Convert(format_); }

private:
    TPixmap() = default;
    std::shared_ptr<std::vector<uint8_t>> store_;
    uint8_t* base_ = nullptr;
    int width_ = 0, height_ = 0, pitch_ = 0;
    PixelFormat format_ = PF_RGBA8888;
};
using PixmapPtr = std::shared_ptr<TPixmap>;

// As the constructor, but null instead of an exception when the pixmap cannot be made.
PixmapPtr CreatePixmap(int w, int h, PixelFormat format = PF_RGBA8888);

// Converts count pixels from one format to another. PF_A8 reads as white with that alpha; a
// format without alpha reads as opaque.
void ConvertPixels(const uint8_t* src, PixelFormat srcFormat, uint8_t* dst, PixelFormat dstFormat,
                   int count);

// Decodes a PNG, JPEG, BMP or TGA file (after ResolvePath) into an RGBA8888 pixmap. Null on a
// missing, truncated or malformed file, never a crash or an exit; error, when given, receives the
// reason.
PixmapPtr LoadPixmap(const std::string& path, std::string* error = nullptr);
// The same from bytes in memory.
PixmapPtr DecodePixmap(const std::string& bytes, std::string* error = nullptr);

// Writes the pixmap as PNG at zlib level 0..9; false when the file cannot be written. The file is
// replaced atomically.
bool SavePixmapPNG(const PixmapPtr& pixmap, const std::string& path, int level = 6);
// Writes a JPEG (used by the asset build and tests); quality 1..100.
bool SavePixmapJPEG(const PixmapPtr& pixmap, const std::string& path, int quality = 90);

} // namespace platform
