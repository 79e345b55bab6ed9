// The TGA decoder on arbitrary bytes: a pixmap of an allowed size, or null with a reason.

#include "fuzz/fuzz_support.h"
#include "platform/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const platform::PixmapPtr pixmap = platform::DecodeTGA(fuzz::Bytes(data, size), error);
    if (!pixmap) {
        fuzz::Check(!error.empty(), "a refused image without a reason");
        return 0;
    }
    const int w = pixmap->Width(), h = pixmap->Height();
    std::string why;
    fuzz::Check(w > 0 && h > 0 && platform::ImageSizeAllowed(w, h, why), "an image of no size");
    fuzz::Check(pixmap->Format() == platform::PF_RGBA8888, "a decoded image not in RGBA");
    // Every row is there: the last pixel is read through the pitch.
    volatile uint32_t corner = pixmap->ReadPixel(w - 1, h - 1) ^ pixmap->ReadPixel(0, 0);
    (void)corner;
    return 0;
}
