// PNG through libpng: the simplified API reads (it catches libpng's errors itself); writing uses
// the classic API for the compression level, with libpng's setjmp error handling. Between setjmp
// and any longjmp no object with a destructor is created, so a jump never skips one.

#include "platform/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace platform {

namespace {

struct PngWriteState {
    std::string* out;
    char message[256];
};

void PngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
    bool ok = true;
    try {
        state->out->append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        ok = false;
    }
    // Outside the try block: png_error jumps, and must not cross a live handler.
    if (!ok)
        png_error(png, "out of memory");
}

void PngFlush(png_structp) {}

// Only plain data lives in this frame, so the jump back from libpng skips no destructor.
bool WritePng(png_bytep* rows, int w, int h, bool alpha, int level, PngWriteState* state) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, state, PngError, PngWarning);
    if (!png) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, state, PngWrite, PngFlush);
    png_set_compression_level(png, level);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

PixmapPtr DecodePNG(const std::string& bytes, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = std::string("malformed PNG: ") + image.message;
        return nullptr;
    }
    if (!ImageSizeAllowed(image.width, image.height, error)) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    PixmapPtr pixmap = CreatePixmap(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!pixmap) {
        png_image_free(&image);
        error = "out of memory";
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, pixmap->PixelPtr(0, 0), pixmap->Pitch(), nullptr)) {
        error = std::string("truncated or malformed PNG: ") + image.message;
        return nullptr;
    }
    return pixmap;
}

bool EncodePNG(const TPixmap& pixmap, int level, std::string& out, std::string& error) {
    out.clear();
    const int w = pixmap.Width(), h = pixmap.Height();
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixmap.PixelPtr(0, y));
    PngWriteState state{&out, {}};
    if (!WritePng(rows.data(), w, h, pixmap.Format() == PF_RGBA8888, level, &state)) {
        error = std::string("cannot write PNG: ") + state.message;
        out.clear();
        return false;
    }
    return true;
}

} // namespace platform
