// JPEG through libjpeg(-turbo). libjpeg's own error_exit ends the process, so errors come back by
// longjmp to the function that set the jump. Those functions hold only plain data, so the jump
// skips no destructor; the pixmap is made between the two passes (header, then pixels).

#include "platform/image_codecs.h"
#include "platform/replaceable_internal.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <jerror.h>
#include <jpeglib.h>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

namespace {

constexpr int64_t kMaxJpegPixelsPerByte = 1024;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool unsupported; // message names a kind of JPEG that is valid but not read here
};

[[noreturn]] void JpegJump(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// The kinds of JPEG that libjpeg refuses by name (the lossless and hierarchical processes, 12-bit
// samples): a file of one is not damaged, and the reason says what it is. Null for other errors.
const char* UnsupportedProcess(const jpeg_error_mgr& manager) {
    if (manager.msg_code == JERR_SOF_UNSUPPORTED)
        switch (manager.msg_parm.i[0]) {
        case 0xC3: // Huffman, differential Huffman, arithmetic, differential arithmetic
        case 0xC7:
        case 0xCB:
        case 0xCF:
            return "lossless";
        case 0xC5:
        case 0xC6:
        case 0xCD:
        case 0xCE:
            return "hierarchical";
        }
    if (manager.msg_code == JERR_BAD_PRECISION && manager.msg_parm.i[0] == 12)
        return "12 bits";
    return nullptr;
}

[[noreturn]] void JpegFail(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    if (const char* kind = UnsupportedProcess(error->manager)) {
        std::snprintf(error->message, sizeof error->message, "%s", kind);
        error->unsupported = true;
    } else {
        (*cinfo->err->format_message)(cinfo, error->message);
    }
    JpegJump(cinfo);
}

[[noreturn]] void JpegFailWith(j_common_ptr cinfo, const char* text) {
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    std::snprintf(error->message, sizeof error->message, "%s", text);
    JpegJump(cinfo);
}

// A file that ends early is only a warning to libjpeg (it pads with grey); here it fails. Other
// warnings about damaged data are borne, as every viewer does. Nothing is printed.
void JpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        JpegFail(cinfo);
}

void InitError(JpegError* error) {
    jpeg_std_error(&error->manager);
    error->manager.error_exit = JpegFail;
    error->manager.emit_message = JpegMessage;
    error->message[0] = '\0';
    error->unsupported = false;
}

// False, with the colour space named in the error, for one that is not converted to RGB here.
bool SupportedColourSpace(const jpeg_decompress_struct& cinfo, JpegError* error) {
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_RGB:
    case JCS_YCbCr:
        return true;
    case JCS_CMYK:
        std::snprintf(error->message, sizeof error->message, "CMYK");
        break;
    case JCS_YCCK:
        std::snprintf(error->message, sizeof error->message, "YCCK");
        break;
    default:
        std::snprintf(error->message, sizeof error->message, "%d components", cinfo.num_components);
        break;
    }
    error->unsupported = true;
    return false;
}

// One pass over the file: with no pixels, the header only (w and h receive the size, arithmetic
// whether the data is arithmetic-coded); with pixels, the whole image, which must be w by h, and
// arithmetic is not used.
bool ReadJpeg(const unsigned char* data, unsigned long size, unsigned char* pixels, int pitch,
              int* w, int* h, bool* arithmetic, JpegError* error) {
    jpeg_decompress_struct cinfo;
    InitError(error);
    cinfo.err = &error->manager;
    if (setjmp(error->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (!pixels) {
        const bool supported = SupportedColourSpace(cinfo, error);
        *w = static_cast<int>(cinfo.image_width);
        *h = static_cast<int>(cinfo.image_height);
        *arithmetic = cinfo.arith_code;
        jpeg_destroy_decompress(&cinfo);
        return supported;
    }
    cinfo.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&cinfo);
    if (static_cast<int>(cinfo.output_width) != *w || static_cast<int>(cinfo.output_height) != *h) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(error->message, sizeof error->message, "inconsistent image size");
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + static_cast<ptrdiff_t>(cinfo.output_scanline) * pitch;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// The encoder writes into the caller's string, which it grows itself, so that whatever fails the
// bytes have one owner. (libjpeg's memory destination frees its first block when it grows and
// gives out the new one only at the end: after an error its caller holds a freed block and not
// the live one.)
struct JpegSink {
    jpeg_destination_mgr manager;
    std::string* out;
};

constexpr size_t JPEG_FIRST_BLOCK = 4096;

detail::TReplaceable<bool(size_t)> jpegOutputHook;

// Makes the buffer size bytes long, keeping what it holds; false when memory runs out.
bool ResizeOutput(std::string& out, size_t size) {
    if (const auto hook = jpegOutputHook.Get(); hook && !(*hook)(size))
        return false;
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

// Gives libjpeg the room past what the buffer holds, at twice its size; libjpeg asks only when the
// room it had is full. The error jumps from outside any handler.
void GrowOutput(j_compress_ptr cinfo) {
    auto* sink = reinterpret_cast<JpegSink*>(cinfo->dest);
    const size_t used = sink->out->size();
    const size_t size = std::max(JPEG_FIRST_BLOCK, used * 2);
    if (!ResizeOutput(*sink->out, size))
        JpegFailWith(reinterpret_cast<j_common_ptr>(cinfo), "out of memory");
    sink->manager.next_output_byte = reinterpret_cast<JOCTET*>(sink->out->data()) + used;
    sink->manager.free_in_buffer = size - used;
}

void StartOutput(j_compress_ptr cinfo) {
    GrowOutput(cinfo);
}

boolean EmptyOutput(j_compress_ptr cinfo) {
    GrowOutput(cinfo);
    return TRUE;
}

void EndOutput(j_compress_ptr cinfo) {
    auto* sink = reinterpret_cast<JpegSink*>(cinfo->dest);
    sink->out->resize(sink->out->size() - sink->manager.free_in_buffer);
}

bool WriteJpeg(const unsigned char* pixels, int pitch, int w, int h, int quality, JpegSink* sink,
               JpegError* error) {
    jpeg_compress_struct cinfo;
    InitError(error);
    cinfo.err = &error->manager;
    if (setjmp(error->jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    sink->manager.init_destination = StartOutput;
    sink->manager.empty_output_buffer = EmptyOutput;
    sink->manager.term_destination = EndOutput;
    cinfo.dest = &sink->manager;
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(pixels) + static_cast<ptrdiff_t>(cinfo.next_scanline) * pitch;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

PixmapPtr DecodeJPEG(const std::string& bytes, std::string& error) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto size = static_cast<unsigned long>(bytes.size());
    JpegError failure;
    int w = 0, h = 0;
    bool arithmetic = false;
    if (!ReadJpeg(data, size, nullptr, 0, &w, &h, &arithmetic, &failure)) {
        error = failure.unsupported ? std::string("unsupported JPEG (") + failure.message + ")"
                                    : std::string("malformed JPEG: ") + failure.message;
        return nullptr;
    }
    if (!ImageSizeAllowed(w, h, error))
        return nullptr;
    // Data that ends early (or at a marker) is padded by libjpeg without end, so a few bytes
    // could claim a picture of millions of pixels and keep the decoder busy for seconds. Huffman
    // coding needs at least two bits per 8 by 8 block in a sequential file and one in the first
    // DC scan of a progressive one (512 pixels a byte), so no valid file comes near this ratio.
    // Arithmetic coding has no such floor (a flat 4000 by 3000 picture takes some 200 bytes):
    // there only the pixel limit bounds the work.
    if (!arithmetic &&
        static_cast<int64_t>(w) * h > static_cast<int64_t>(bytes.size()) * kMaxJpegPixelsPerByte) {
        error = "malformed JPEG: " + std::to_string(w) + "x" + std::to_string(h) +
                " pixels cannot come from " + std::to_string(bytes.size()) + " bytes";
        return nullptr;
    }
    PixmapPtr pixmap = CreatePixmap(w, h);
    if (!pixmap) {
        error = "out of memory";
        return nullptr;
    }
    if (!ReadJpeg(data, size, pixmap->PixelPtr(0, 0), pixmap->Pitch(), &w, &h, nullptr, &failure)) {
        error = std::string("truncated or malformed JPEG: ") + failure.message;
        return nullptr;
    }
    return pixmap;
}

bool EncodeJPEG(const TPixmap& pixmap, int quality, std::string& out, std::string& error) {
    out.clear();
    JpegSink sink{};
    sink.out = &out;
    JpegError failure;
    if (!WriteJpeg(pixmap.PixelPtr(0, 0), pixmap.Pitch(), pixmap.Width(), pixmap.Height(), quality,
                   &sink, &failure)) {
        error = std::string("cannot write JPEG: ") + failure.message;
        out.clear();
        return false;
    }
    return true;
}

void SetJpegOutputHook(std::function<bool(size_t)> hook) {
    jpegOutputHook.Set(std::move(hook));
}

} // namespace platform
