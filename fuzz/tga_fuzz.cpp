// The TGA decoder on arbitrary bytes: a pixmap of an allowed size, or null with a reason.

#include "fuzz/decoder_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::CheckDecoder(platform::DecodeTGA, data, size);
}
