#pragma once
// The image decoders and encoders behind LoadPixmap, DecodePixmap and SavePixmap*: each decoder
// takes the whole file, gives an RGBA8888 pixmap, or null with the reason in error.

#include "platform/pixmap.h"

#include <cstddef>
#include <functional>
#include <string>

namespace platform {

// Images beyond these are refused before anything is allocated.
constexpr int MAX_IMAGE_SIDE = 16384;
constexpr int64_t MAX_IMAGE_PIXELS = int64_t{1} << 26;
// True when a w by h image may be decoded; else false with the reason.
bool ImageSizeAllowed(int64_t w, int64_t h, std::string& error);

PixmapPtr DecodePNG(const std::string& bytes, std::string& error);
PixmapPtr DecodeJPEG(const std::string& bytes, std::string& error);
PixmapPtr DecodeBMP(const std::string& bytes, std::string& error);
PixmapPtr DecodeTGA(const std::string& bytes, std::string& error);
// Whether the bytes start like a file of the format (TGA has no signature: a plausible header,
// also of a kind DecodeTGA refuses by name, such as colour-mapped or 16-bit files).
bool LooksLikeTGA(const std::string& bytes);

// pixmap is PF_RGBA8888 or PF_RGB888; level 0..9.
bool EncodePNG(const TPixmap& pixmap, int level, std::string& out, std::string& error);
// pixmap is PF_RGB888; quality 1..100.
bool EncodeJPEG(const TPixmap& pixmap, int quality, std::string& out, std::string& error);
// For tests: asked before each growth of EncodeJPEG's output to the given size, false making that
// growth fail as if memory ran out. An empty function puts the plain growth back.
void SetJpegOutputHook(std::function<bool(size_t)> hook);

} // namespace platform
