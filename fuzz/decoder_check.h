#pragma once
// The property every image decoder keeps on arbitrary bytes: a pixmap of an allowed size in RGBA,
// or null with a reason.

#include "fuzz/fuzz_support.h"
#include "platform/image_codecs.h"

namespace fuzz {

template <class Decoder> int CheckDecoder(Decoder decode, const uint8_t* data, size_t size) {
    std::string error;
    const platform::PixmapPtr pixmap = decode(Bytes(data, size), error);
    if (!pixmap) {
        Check(!error.empty(), "a refused image without a reason");
        return 0;
    }
    const int w = pixmap->Width(), h = pixmap->Height();
    std::string why;
    Check(w > 0 && h > 0 && platform::ImageSizeAllowed(w, h, why), "an image of no size");
    Check(pixmap->Format() == platform::PF_RGBA8888, "a decoded image not in RGBA");
    // Every row is there: the last pixel is read through the pitch.
    volatile uint32_t corner = pixmap->ReadPixel(w - 1, h - 1) ^ pixmap->ReadPixel(0, 0);
    (void)corner;
    return 0;
}

} // namespace fuzz
