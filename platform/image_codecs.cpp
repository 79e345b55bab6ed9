#include "platform/image_codecs.h"

#include "platform/files.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

bool StartsWith(const std::string& bytes, const char* magic, size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

void SetError(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
}

} // namespace

bool ImageSizeAllowed(int64_t w, int64_t h, std::string& error) {
    if (w <= 0 || h <= 0) {
        error = "the image has no pixels";
        return false;
    }
    if (w > MAX_IMAGE_SIDE || h > MAX_IMAGE_SIDE || w * h > MAX_IMAGE_PIXELS) {
        error = "the image is too large (" + std::to_string(w) + " by " + std::to_string(h) + ")";
        return false;
    }
    return true;
}

PixmapPtr DecodePixmap(const std::string& bytes, std::string* error) {
    std::string reason;
    PixmapPtr pixmap;
    if (bytes.empty())
        reason = "the file is empty";
    else if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8))
        pixmap = DecodePNG(bytes, reason);
    else if (StartsWith(bytes, "\xFF\xD8\xFF", 3))
        pixmap = DecodeJPEG(bytes, reason);
    else if (StartsWith(bytes, "BM", 2))
        pixmap = DecodeBMP(bytes, reason);
    else if (LooksLikeTGA(bytes))
        pixmap = DecodeTGA(bytes, reason);
    else
        reason = "not a PNG, JPEG, BMP or TGA image";
    if (!pixmap)
        SetError(error, reason);
    return pixmap;
}

PixmapPtr LoadPixmap(const std::string& path, std::string* error) {
    std::string bytes;
    if (!LoadBytes(path, bytes)) {
        SetError(error, FileType(path) == FILETYPE_NONE ? "the file does not exist"
                                                        : "the file cannot be read");
        return nullptr;
    }
    return DecodePixmap(bytes, error);
}

bool SavePixmapPNG(const PixmapPtr& pixmap, const std::string& path, int level) {
    if (!pixmap)
        return false;
    const bool alpha = pixmap->Format() != PF_RGB888 && pixmap->Format() != PF_BGR888;
    const PixelFormat format = alpha ? PF_RGBA8888 : PF_RGB888;
    PixmapPtr converted = pixmap->Format() == format ? pixmap : pixmap->Convert(format);
    std::string bytes, error;
    return EncodePNG(*converted, std::clamp(level, 0, 9), bytes, error) &&
           SaveBytesAtomic(path, bytes);
}

bool SavePixmapJPEG(const PixmapPtr& pixmap, const std::string& path, int quality) {
    if (!pixmap)
        return false;
    PixmapPtr rgb = pixmap->Format() == PF_RGB888 ? pixmap : pixmap->Convert(PF_RGB888);
    std::string bytes, error;
    return EncodeJPEG(*rgb, std::clamp(quality, 1, 100), bytes, error) &&
           SaveBytesAtomic(path, bytes);
}

} // namespace platform
