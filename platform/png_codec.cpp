// PNG through libpng's classic API, reading and writing, with libpng's setjmp error handling.
// Between setjmp and any longjmp no object with a destructor is created, so a jump never skips
// one: the functions that set the jump hold only plain data, and the pixmap is made between the
// two of them that read (header, then pixels).

#include "platform/image_codecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

namespace platform {

namespace {

constexpr size_t MESSAGE_SIZE = 256;

// The error pointer of every png_struct here is a char[MESSAGE_SIZE] that receives the message.
void PngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(text, MESSAGE_SIZE, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

// Warnings (a damaged ancillary chunk, a benign error) are borne and print nothing.
void PngWarning(png_structp, png_const_charp) {}

struct PngWriteState {
    std::string* out;
    char message[MESSAGE_SIZE];
};

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
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
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, state->message, PngError, PngWarning);
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

struct PngReadState {
    const unsigned char* data;
    size_t size;
    size_t at;
    char message[MESSAGE_SIZE];
};

void PngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (length > state->size - state->at)
        png_error(png, "read beyond end of data");
    std::memcpy(out, state->data + state->at, length);
    state->at += length;
}

// Owns the read structs for the decoder's frame, which the jumps never cross.
class TPngReader {
public:
    explicit TPngReader(PngReadState* state) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, state->message, PngError, PngWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (!info_)
            return;
        png_set_read_fn(png_, state, PngRead);
        // As in libpng's simplified reader, which read these files before: benign errors (a chunk
        // out of place, too many or too large) are warnings, and an ancillary chunk with a bad
        // CRC is dropped (libpng's default); a damaged critical chunk is an error.
        png_set_benign_errors(png_, 1);
        // Metadata is read before the size check: libpng's defaults (1000 chunks of 8 MB each)
        // would let a small file of compressed text take gigabytes. Chunks past these limits are
        // dropped with a warning. Rows are allocated only after the size check.
        png_set_chunk_cache_max(png_, CHUNK_CACHE_MAX);
        png_set_chunk_malloc_max(png_, CHUNK_MALLOC_MAX);
        // Text is never read here, and compressed text is what costs: skipped unread, as unknown
        // chunks are (a bad CRC on one still only drops it).
        static const char TEXT_CHUNKS[] = "tEXt\0zTXt\0iTXt";
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER,
                                    reinterpret_cast<png_const_bytep>(TEXT_CHUNKS), 3);
    }
    ~TPngReader() {
        if (png_)
            png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    }
    TPngReader(const TPngReader&) = delete;
    TPngReader& operator=(const TPngReader&) = delete;
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    static constexpr png_uint_32 CHUNK_CACHE_MAX = 64;
    static constexpr png_alloc_size_t CHUNK_MALLOC_MAX = png_alloc_size_t{4} << 20;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Deflate gives at most 258 bytes for two bits (a match of the longest length at the nearest
// distance, both coded in one bit): no stream inflates more than this many times its size.
constexpr uint64_t MAX_DEFLATE_RATIO = 1032;

// The size of the filtered rows of a w by h image: a filter byte before each row of each pass.
uint64_t FilteredSize(png_uint_32 w, png_uint_32 h, int bitsPerPixel, bool interlaced) {
    auto rows = [bitsPerPixel](uint64_t columns, uint64_t count) {
        return columns && count ? count * ((columns * bitsPerPixel + 7) / 8 + 1) : 0;
    };
    if (!interlaced)
        return rows(w, h);
    uint64_t size = 0;
    for (int pass = 0; pass < 7; ++pass)
        size += rows(PNG_PASS_COLS(uint64_t{w}, pass), PNG_PASS_ROWS(uint64_t{h}, pass));
    return size;
}

uint32_t Be32(const unsigned char* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The compressed image data that the file holds: the run of IDAT chunks that begins with the one
// whose length and type libpng has just read (a chunk cut short counts what is there). Chunks
// after the image data hold none of it, so they cannot make room for a forged picture.
uint64_t IdatBytes(const PngReadState& state) {
    if (state.at < 8 || std::memcmp(state.data + state.at - 4, "IDAT", 4) != 0)
        return state.size - state.at; // not where libpng stops: all that is left, to be safe
    uint64_t total = 0;
    size_t at = state.at - 8;
    while (state.size - at >= 8 && std::memcmp(state.data + at + 4, "IDAT", 4) == 0) {
        const uint64_t length = Be32(state.data + at), left = state.size - at - 8;
        total += std::min(length, left);
        if (length + 4 >= left)
            break;
        at += 12 + size_t(length);
    }
    return total;
}

// Reads up to the image data and asks for 8-bit RGBA rows: palettes, low-bit grey and tRNS
// expanded, 16 bits scaled exactly (round(v * 255 / 65535)), grey made RGB, opaque alpha added
// where there is none. A file whose gAMA chunk states another gamma than sRGB's is converted to
// sRGB; one with neither gAMA nor sRGB is taken as sRGB already, at every depth, as viewers show
// it (libpng's simplified reader took untagged 16-bit data for linear light).
// rawSize receives the bytes that the image data must inflate to.
bool ReadPngHeader(png_structp png, png_infop info, png_uint_32* w, png_uint_32* h,
                   uint64_t* rawSize) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    *w = png_get_image_width(png, info);
    *h = png_get_image_height(png, info);
    *rawSize = FilteredSize(*w, *h, png_get_channels(png, info) * png_get_bit_depth(png, info),
                            png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    return true;
}

// Reads every pass of the image into rows of width * 4 bytes.
bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows, png_uint_32 w) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4 ||
        png_get_rowbytes(png, info) != size_t{w} * 4)
        png_error(png, "unexpected row layout");
    png_read_image(png, rows);
    return true;
}

} // namespace

PixmapPtr DecodePNG(const std::string& bytes, std::string& error) {
    PngReadState state{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0, {}};
    TPngReader reader(&state);
    if (!reader.Info()) {
        error = "out of memory";
        return nullptr;
    }
    png_uint_32 w = 0, h = 0;
    uint64_t rawSize = 0;
    if (!ReadPngHeader(reader.Png(), reader.Info(), &w, &h, &rawSize)) {
        error = std::string("malformed PNG: ") + state.message;
        return nullptr;
    }
    if (!ImageSizeAllowed(w, h, error))
        return nullptr;
    // Image data too short to hold the rows even at deflate's highest ratio is refused before the
    // picture is made, not once the data runs out.
    const uint64_t idat = IdatBytes(state);
    if (rawSize > idat * MAX_DEFLATE_RATIO) {
        error = "truncated or malformed PNG: " + std::to_string(w) + "x" + std::to_string(h) +
                " pixels cannot come from " + std::to_string(idat) + " bytes of image data";
        return nullptr;
    }
    PixmapPtr pixmap = CreatePixmap(static_cast<int>(w), static_cast<int>(h));
    if (!pixmap) {
        error = "out of memory";
        return nullptr;
    }
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = pixmap->PixelPtr(0, static_cast<int>(y));
    if (!ReadPngRows(reader.Png(), reader.Info(), rows.data(), w)) {
        error = std::string("truncated or malformed PNG: ") + state.message;
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
