#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/pixmap.h"
#include "platform/system.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <jpeglib.h>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace {

using namespace platform;
using testing_support::TempDir;

// A seeded pattern with every kind of alpha, so that a codec that drops or premultiplies alpha,
// swaps channels or mixes up rows shows.
PixmapPtr Pattern(int w, int h, PixelFormat format = PF_RGBA8888, int seed = 1) {
    SeedRnd(seed);
    auto p = CreatePixmap(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, static_cast<uint32_t>(Rand(INT_MIN, INT_MAX)));
    return p;
}

// A smooth picture for the lossy codec.
PixmapPtr Gradient(int w, int h) {
    auto p = CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y,
                          0xFF000000u | uint32_t(x * 255 / w) << 16 | uint32_t(y * 255 / h) << 8 |
                              0x80);
    return p;
}

void ExpectSamePixels(const TPixmap& a, const TPixmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.ReadPixel(x, y), b.ReadPixel(x, y)) << x << "," << y;
}

std::string Bytes(const std::string& path) {
    std::string data;
    EXPECT_TRUE(LoadBytes(path, data));
    return data;
}

// Decodes bytes that must fail, and checks that a reason comes back.
void ExpectRejected(const std::string& bytes, const std::string& reasonPart,
                    const std::string& what) {
    std::string error;
    EXPECT_EQ(DecodePixmap(bytes, &error), nullptr) << what;
    EXPECT_NE(error.find(reasonPart), std::string::npos) << what << ": " << error;
}

void Le(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(uint64_t{value} >> (8 * i));
}

std::string Be32(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string PngChunk(const std::string& type, const std::string& data) {
    std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return Be32(uint32_t(data.size())) + body + Be32(uint32_t(crc));
}

// A BMP with a 40-byte header; rows as stored (bottom-up unless height is negative).
std::string Bmp(int w, int h, int bits, const std::string& pixels, const std::string& palette = "",
                uint32_t compression = 0, const std::string& masks = "") {
    std::string info;
    Le(info, 40, 4);
    Le(info, uint32_t(w), 4);
    Le(info, uint32_t(h), 4);
    Le(info, 1, 2);
    Le(info, uint32_t(bits), 2);
    Le(info, compression, 4);
    Le(info, uint32_t(pixels.size()), 4);
    Le(info, 2835, 4);
    Le(info, 2835, 4);
    Le(info, uint32_t(palette.size() / 4), 4);
    Le(info, 0, 4);
    info += masks;
    std::string file = "BM";
    Le(file, uint32_t(14 + info.size() + palette.size() + pixels.size()), 4);
    Le(file, 0, 4);
    Le(file, uint32_t(14 + info.size() + palette.size()), 4);
    return file + info + palette + pixels;
}

std::string TgaHeader(int type, int w, int h, int bits, int descriptor, int idLength = 0) {
    std::string header{char(idLength), 0, char(type)};
    Le(header, 0, 5);
    Le(header, 0, 4);
    Le(header, uint32_t(w), 2);
    Le(header, uint32_t(h), 2);
    header += char(bits);
    header += char(descriptor);
    return header + std::string(size_t(idLength), 'i');
}

// A PNG written through libpng from samples as stored: one value per channel, of the file's bit
// depth, seeded at random, so that pixels placed in the wrong row or interlace pass show.
struct PngFixture {
    int w = 11, h = 9; // every one of the seven interlace passes has pixels
    int colourType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    png_fixed_point gamma = 0; // a gAMA chunk when not 0
    bool srgb = false;         // an sRGB chunk
    bool trns = false;         // palette alpha, or the colour of pixel 0,0 (every third pixel)
    std::vector<std::vector<unsigned>> samples;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
    png_color_16 transparent{};

    int Channels() const {
        return colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_PALETTE ? 1
               : colourType == PNG_COLOR_TYPE_GRAY_ALPHA                                 ? 2
               : colourType == PNG_COLOR_TYPE_RGB                                        ? 3
                                                                                         : 4;
    }
};

PngFixture MakePngFixture(int colourType, int depth, bool interlaced, int seed) {
    PngFixture f;
    f.colourType = colourType;
    f.depth = depth;
    f.interlaced = interlaced;
    SeedRnd(seed);
    const int top = (1 << depth) - 1;
    for (int i = 0; i <= top && colourType == PNG_COLOR_TYPE_PALETTE; ++i) {
        f.palette.push_back(
            {png_byte(Rand(0, 255)), png_byte(Rand(0, 255)), png_byte(Rand(0, 255))});
        f.paletteAlpha.push_back(png_byte(Rand(0, 255)));
    }
    f.samples.assign(size_t(f.h), std::vector<unsigned>(size_t(f.w * f.Channels())));
    for (auto& row : f.samples)
        for (unsigned& v : row)
            v = unsigned(Rand(0, top));
    return f;
}

void MakeTransparent(PngFixture& f) {
    f.trns = true;
    if (f.colourType == PNG_COLOR_TYPE_PALETTE) {
        f.paletteAlpha.resize(f.paletteAlpha.size() / 2); // entries beyond are opaque
        return;
    }
    const int n = f.Channels();
    for (auto& row : f.samples)
        for (int x = 0; x < f.w; x += 3)
            for (int c = 0; c < n; ++c)
                row[size_t(x * n + c)] = f.samples[0][size_t(c)];
    const auto* v = f.samples[0].data();
    if (n == 1)
        f.transparent.gray = png_uint_16(v[0]);
    else
        f.transparent = {0, png_uint_16(v[0]), png_uint_16(v[1]), png_uint_16(v[2]), 0};
}

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// libpng's errors jump back here: only plain data in this frame.
bool WritePngRows(const PngFixture* f, png_bytepp rows, std::string* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendPng, nullptr);
    png_set_IHDR(png, info, png_uint_32(f->w), png_uint_32(f->h), f->depth, f->colourType,
                 f->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!f->palette.empty())
        png_set_PLTE(png, info, f->palette.data(), int(f->palette.size()));
    if (f->trns)
        png_set_tRNS(png, info, f->paletteAlpha.data(), int(f->paletteAlpha.size()),
                     &f->transparent);
    if (f->gamma)
        png_set_gAMA_fixed(png, info, f->gamma);
    if (f->srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string WritePngFixture(const PngFixture& f) {
    const int n = f.Channels();
    std::vector<std::vector<png_byte>> packed(size_t(f.h));
    std::vector<png_bytep> rows;
    for (int y = 0; y < f.h; ++y) {
        auto& row = packed[size_t(y)];
        row.assign(size_t((f.w * n * f.depth + 7) / 8), 0);
        for (int i = 0; i < f.w * n; ++i) {
            const unsigned v = f.samples[size_t(y)][size_t(i)];
            if (f.depth == 16) {
                row[size_t(2 * i)] = png_byte(v >> 8);
                row[size_t(2 * i + 1)] = png_byte(v);
            } else {
                const int bit = i * f.depth;
                row[size_t(bit / 8)] |= png_byte(v << (8 - f.depth - bit % 8));
            }
        }
        rows.push_back(row.data());
    }
    std::string out;
    EXPECT_TRUE(WritePngRows(&f, rows.data(), &out));
    return out;
}

// The stored value in 8 bits: low depths widened, 16 bits scaled exactly (round(v * 255 / 65535),
// not v >> 8).
uint8_t To8(unsigned v, int depth) {
    return depth == 16 ? uint8_t((v * 255 + 32895) >> 16) : uint8_t(v * 255 / ((1u << depth) - 1));
}

// The RGBA of the stored values at x, y.
uint32_t StoredPixel(const PngFixture& f, int x, int y) {
    const int n = f.Channels();
    const unsigned* v = &f.samples[size_t(y)][size_t(x * n)];
    uint32_t r, g, b, a = 255;
    if (f.colourType == PNG_COLOR_TYPE_PALETTE) {
        const png_color& c = f.palette[v[0]];
        r = c.red, g = c.green, b = c.blue;
        if (f.trns && v[0] < f.paletteAlpha.size())
            a = f.paletteAlpha[v[0]];
    } else if (n <= 2) {
        r = g = b = To8(v[0], f.depth);
        if (n == 2)
            a = To8(v[1], f.depth);
        else if (f.trns && v[0] == f.transparent.gray)
            a = 0;
    } else {
        r = To8(v[0], f.depth), g = To8(v[1], f.depth), b = To8(v[2], f.depth);
        if (n == 4)
            a = To8(v[3], f.depth);
        else if (f.trns && v[0] == f.transparent.red && v[1] == f.transparent.green &&
                 v[2] == f.transparent.blue)
            a = 0;
    }
    return a << 24 | r << 16 | g << 8 | b;
}

// The decoded picture holds the stored values, or with linearToSrgb the stored values taken as
// linear light and encoded as sRGB.
void ExpectPngPixels(const PngFixture& f, const TPixmap& p, bool linearToSrgb) {
    ASSERT_EQ(p.Width(), f.w);
    ASSERT_EQ(p.Height(), f.h);
    const int n = f.Channels();
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            const uint32_t got = p.ReadPixel(x, y), stored = StoredPixel(f, x, y);
            if (!linearToSrgb) {
                ASSERT_EQ(got, stored) << x << "," << y;
                continue;
            }
            ASSERT_EQ(got >> 24, stored >> 24) << x << "," << y;
            for (int ch = 0; ch < 3; ++ch) {
                const double linear = f.samples[size_t(y)][size_t(x * n + (n < 3 ? 0 : ch))] /
                                      double((1 << f.depth) - 1);
                const int want = int(std::lround(255 * std::pow(linear, 1 / 2.2)));
                const int shown = int(got >> (16 - 8 * ch) & 255);
                // libpng's gamma tables for 16 bits drop low bits: a level or two off.
                ASSERT_NEAR(shown, want, 2) << x << "," << y << " channel " << ch;
            }
        }
}

// A flat grey JPEG written through libjpeg with the coding and scans a test asks for.
struct JpegFixture {
    enum Scans { SEQUENTIAL, PROGRESSIVE, ONE_DC_SCAN }; // ONE_DC_SCAN: the fewest bytes a block
    int w, h;
    bool grey, arithmetic;
    Scans scans;
    // Not 0: that many components go in as CMYK (4) or unknown (others), stored as space.
    int components = 0;
    J_COLOR_SPACE space = JCS_UNKNOWN;
};

struct JpegFixtureError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JpegFixtureFail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegFixtureError*>(cinfo->err)->jump, 1);
}

// libjpeg's errors jump back here: only plain data in this frame.
bool WriteJpegRows(const JpegFixture* f, JSAMPROW row, unsigned char** out, unsigned long* size) {
    jpeg_compress_struct cinfo;
    JpegFixtureError error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegFixtureFail;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
    cinfo.image_width = JDIMENSION(f->w);
    cinfo.image_height = JDIMENSION(f->h);
    cinfo.input_components = f->components ? f->components : f->grey ? 1 : 3;
    cinfo.in_color_space = f->components == 4 ? JCS_CMYK
                           : f->components    ? JCS_UNKNOWN
                           : f->grey          ? JCS_GRAYSCALE
                                              : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (f->components)
        jpeg_set_colorspace(&cinfo, f->space);
    cinfo.arith_code = f->arithmetic;
    // One full DC scan, then the AC coefficients in one run of end-of-block codes, with tables
    // fitted to the data: one bit a block.
    static const jpeg_scan_info greyScans[] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
    static const jpeg_scan_info colourScans[] = {{3, {0, 1, 2}, 0, 0, 0, 0},
                                                 {1, {0}, 1, 63, 0, 0},
                                                 {1, {1}, 1, 63, 0, 0},
                                                 {1, {2}, 1, 63, 0, 0}};
    if (f->scans == JpegFixture::PROGRESSIVE)
        jpeg_simple_progression(&cinfo);
    if (f->scans == JpegFixture::ONE_DC_SCAN) {
        cinfo.scan_info = f->grey ? greyScans : colourScans;
        cinfo.num_scans = f->grey ? 2 : 4;
        cinfo.optimize_coding = TRUE;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height)
        jpeg_write_scanlines(&cinfo, &row, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

std::string WriteJpegFixture(const JpegFixture& f) {
    std::vector<JSAMPLE> row(size_t(f.w * 4), 0x80);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::string out;
    if (WriteJpegRows(&f, row.data(), &buffer, &size))
        out.assign(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    EXPECT_FALSE(out.empty());
    return out;
}

TEST(Codecs, PngRoundTripsKeepEveryPixelAndAlpha) {
    TempDir dir;
    struct Case {
        int w, h, level;
        PixelFormat format;
    };
    const Case cases[] = {{1, 1, 6, PF_RGBA8888}, {7, 5, 0, PF_RGBA8888}, {33, 17, 9, PF_BGRA8888},
                          {13, 3, 6, PF_RGB888},  {5, 9, 1, PF_BGR888},   {4, 4, 6, PF_A8}};
    for (const Case& c : cases) {
        auto original = Pattern(c.w, c.h, c.format);
        ASSERT_TRUE(SavePixmapPNG(original, dir.File("round.png"), c.level));
        std::string error;
        auto loaded = LoadPixmap(dir.File("ROUND.PNG"), &error);
        ASSERT_TRUE(loaded) << error;
        EXPECT_EQ(loaded->Format(), PF_RGBA8888);
        ExpectSamePixels(*original, *loaded);
    }
    // A window has a pitch wider than its rows.
    auto big = Pattern(20, 20);
    auto view = big->Window(3, 4, 9, 7);
    ASSERT_TRUE(SavePixmapPNG(view, dir.File("view.png")));
    ExpectSamePixels(*view, *LoadPixmap(dir.File("view.png")));
    EXPECT_EQ(Bytes(dir.File("view.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST(Codecs, PngLevelChangesOnlyTheSize) {
    TempDir dir;
    auto image = Gradient(64, 64);
    ASSERT_TRUE(SavePixmapPNG(image, dir.File("0.png"), 0));
    ASSERT_TRUE(SavePixmapPNG(image, dir.File("9.png"), 9));
    EXPECT_GT(FileSize(dir.File("0.png")), 64 * 64 * 4);
    EXPECT_LT(FileSize(dir.File("9.png")), FileSize(dir.File("0.png")) / 4);
    ExpectSamePixels(*LoadPixmap(dir.File("0.png")), *LoadPixmap(dir.File("9.png")));
}

// Every layout gives the values the file stores (16 bits scaled exactly to 8), interlaced or not,
// tagged as sRGB or not tagged at all; a file that states a linear gamma is converted to sRGB.
TEST(Codecs, PngEveryLayoutGivesItsStoredValues) {
    enum Expect { STORED, LINEAR_TO_SRGB };
    struct Case {
        const char* what;
        int colourType, depth;
        bool interlaced, trns;
        png_fixed_point gamma;
        bool srgb;
        Expect expect;
    };
    constexpr int GREY = PNG_COLOR_TYPE_GRAY, GREY_ALPHA = PNG_COLOR_TYPE_GRAY_ALPHA,
                  RGB = PNG_COLOR_TYPE_RGB, RGBA = PNG_COLOR_TYPE_RGB_ALPHA,
                  PALETTE = PNG_COLOR_TYPE_PALETTE;
    const Case cases[] = {
        {"16-bit RGBA, interlaced", RGBA, 16, true, false, 0, false, STORED},
        {"16-bit RGB, interlaced, gAMA 1/2.2", RGB, 16, true, false, 45455, false, STORED},
        {"16-bit grey and alpha, interlaced", GREY_ALPHA, 16, true, false, 0, false, STORED},
        {"16-bit grey, untagged", GREY, 16, false, false, 0, false, STORED},
        {"16-bit RGBA, untagged", RGBA, 16, false, false, 0, false, STORED},
        {"16-bit RGB with tRNS and an sRGB chunk", RGB, 16, false, true, 0, true, STORED},
        {"8-bit palette with tRNS", PALETTE, 8, false, true, 0, false, STORED},
        {"4-bit palette with tRNS, interlaced", PALETTE, 4, true, true, 0, false, STORED},
        {"2-bit grey with tRNS, interlaced", GREY, 2, true, true, 0, false, STORED},
        {"1-bit grey", GREY, 1, false, false, 0, false, STORED},
        {"8-bit grey and alpha, interlaced", GREY_ALPHA, 8, true, false, 0, false, STORED},
        {"8-bit RGB with tRNS, interlaced", RGB, 8, true, true, 45455, false, STORED},
        {"8-bit RGBA, interlaced, sRGB chunk", RGBA, 8, true, false, 0, true, STORED},
        {"8-bit grey, gAMA 1.0", GREY, 8, false, false, 100000, false, LINEAR_TO_SRGB},
        {"16-bit RGB, interlaced, gAMA 1.0", RGB, 16, true, false, 100000, false, LINEAR_TO_SRGB},
    };
    int seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PngFixture f = MakePngFixture(c.colourType, c.depth, c.interlaced, seed++);
        if (c.trns)
            MakeTransparent(f);
        f.gamma = c.gamma;
        f.srgb = c.srgb;
        std::string error;
        auto p = DecodePixmap(WritePngFixture(f), &error);
        ASSERT_TRUE(p) << error;
        ExpectPngPixels(f, *p, c.expect == LINEAR_TO_SRGB);
    }
}

// Damage to a chunk the picture does not need, and metadata beyond libpng's limits here, drop that
// chunk quietly; damage to the image data refuses the file.
TEST(Codecs, PngAncillaryChunksDamagedOrHugeAreDropped) {
    const PngFixture f = MakePngFixture(PNG_COLOR_TYPE_RGB, 8, false, 7);
    const std::string png = WritePngFixture(f);
    const size_t afterHeader = 8 + 25;
    auto withChunk = [&](const std::string& chunk) {
        return png.substr(0, afterHeader) + chunk + png.substr(afterHeader);
    };
    auto badCrc = [](std::string chunk) {
        chunk.back() = char(chunk.back() ^ 1);
        return chunk;
    };
    std::string manyTexts;
    for (int i = 0; i < 2000; ++i)
        manyTexts += PngChunk("tEXt", "Comment" + std::string(1, '\0') + std::to_string(i));
    const std::string zeros(5 << 20, '\0');
    std::string packed(compressBound(uLong(zeros.size())), '\0');
    uLongf packedSize = uLongf(packed.size());
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                       reinterpret_cast<const Bytef*>(zeros.data()), uLong(zeros.size())),
              Z_OK);
    packed.resize(packedSize);
    std::string idatBadCrc = png;
    const size_t idat = idatBadCrc.find("IDAT");
    const uint32_t idatLength = uint32_t(uint8_t(png[idat - 4])) << 24 |
                                uint32_t(uint8_t(png[idat - 3])) << 16 |
                                uint32_t(uint8_t(png[idat - 2])) << 8 | uint8_t(png[idat - 1]);
    idatBadCrc[idat + 4 + idatLength + 3] ^= 1;

    struct Case {
        const char* what;
        std::string file;
        const char* refusal; // null: loads with the stored values
    };
    const Case cases[] = {
        {"gAMA 1.0 with a bad CRC", withChunk(badCrc(PngChunk("gAMA", Be32(100000)))), nullptr},
        {"tEXt with a bad CRC", withChunk(badCrc(PngChunk("tEXt", std::string("a\0b", 3)))),
         nullptr},
        {"2000 text chunks", withChunk(manyTexts), nullptr},
        {"zTXt of 5 MB", withChunk(PngChunk("zTXt", std::string("big\0\0", 5) + packed)), nullptr},
        {"private chunk of 5 MB", withChunk(PngChunk("prVt", zeros)), nullptr},
        {"IDAT with a bad CRC", idatBadCrc, "truncated or malformed PNG: IDAT: CRC error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        testing::internal::CaptureStderr();
        auto p = DecodePixmap(c.file, &error);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        if (c.refusal) {
            EXPECT_FALSE(p);
            EXPECT_EQ(error, c.refusal);
            continue;
        }
        ASSERT_TRUE(p) << error;
        ExpectPngPixels(f, *p, false);
    }
}

// Bytes that zlib's inflate has given, to libpng or anyone else in this program: the test program
// defines zlib's inflate, so the dynamic linker binds libpng's calls to this one, which passes
// them on to zlib's own.
std::atomic<uint64_t> inflatedBytes{0};

} // namespace

extern "C" int inflate(z_streamp stream, int flush) {
    using Inflate = int (*)(z_streamp, int);
    static const auto zlibInflate = reinterpret_cast<Inflate>(dlsym(RTLD_NEXT, "inflate"));
    const uInt room = stream->avail_out;
    const int result = zlibInflate(stream, flush);
    inflatedBytes += room - stream->avail_out;
    return result;
}

namespace {

// A zlib stream of that many megabytes of zeros, about a kilobyte each. Once deflate's window is
// all zeros, a megabyte flushed to a byte boundary comes out as the same bytes every time: those
// are repeated rather than deflating every megabyte.
std::string DeflatedZeros(int megabytes) {
    const std::string megabyte(size_t{1} << 20, '\0');
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15, 9, Z_RLE), Z_OK);
    auto next = [&] {
        std::string out(compressBound(uLong(megabyte.size())), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(megabyte.data()));
        z.avail_in = uInt(megabyte.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        EXPECT_EQ(deflate(&z, Z_SYNC_FLUSH), Z_OK);
        out.resize(out.size() - z.avail_out);
        return out;
    };
    const std::string first = next(), steady = next();
    EXPECT_EQ(next(), steady);
    deflateEnd(&z);
    std::string stream = first;
    for (int i = 1; i < megabytes; ++i)
        stream += steady;
    const uLong megabyteCheck =
        adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(megabyte.data()),
                uInt(megabyte.size()));
    uLong check = adler32(0, nullptr, 0);
    for (int i = 0; i < megabytes; ++i)
        check = adler32_combine(check, megabyteCheck, z_off_t(megabyte.size()));
    // A last, empty block in fixed codes, then the check of all the zeros.
    return stream + std::string("\x03\x00", 2) + Be32(uint32_t(check));
}

// Compressed text before the image data, four chunks of 128 MB of zeros each in a file of half a
// megabyte, is passed over unread: the picture loads with its stored values, and nothing but its
// rows is inflated (reading the text would inflate up to the chunk limit, 4 MB, for each).
TEST(Codecs, PngCompressedTextIsSkippedUninflated) {
    const int MEGABYTES = 128;
    const std::string text = DeflatedZeros(MEGABYTES);
    {
        // The stream is what it claims, counted by the same hook.
        z_stream z{};
        ASSERT_EQ(inflateInit(&z), Z_OK);
        std::string out(size_t{1} << 20, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        z.avail_in = uInt(text.size());
        const uint64_t before = inflatedBytes;
        int result = Z_OK;
        while (result == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            result = inflate(&z, Z_NO_FLUSH);
        }
        inflateEnd(&z);
        ASSERT_EQ(result, Z_STREAM_END);
        ASSERT_EQ(inflatedBytes - before, uint64_t{MEGABYTES} << 20);
        ASSERT_LT(text.size() * 900, uint64_t{MEGABYTES} << 20); // over 900 to 1
    }

    const PngFixture f = MakePngFixture(PNG_COLOR_TYPE_RGB, 8, false, 11);
    const std::string png = WritePngFixture(f);
    const size_t afterHeader = 8 + 25;
    std::string chunks;
    for (int i = 0; i < 2; ++i) {
        chunks += PngChunk("zTXt", std::string("Comment\0\0", 9) + text);
        // Keyword, compressed, deflate, no language, no translated keyword.
        chunks += PngChunk("iTXt", std::string("Comment\0\1\0\0\0", 12) + text);
    }
    const std::string file = png.substr(0, afterHeader) + chunks + png.substr(afterHeader);

    const uint64_t before = inflatedBytes;
    std::string error;
    auto p = DecodePixmap(file, &error);
    const uint64_t inflated = inflatedBytes - before;
    ASSERT_TRUE(p) << error;
    ExpectPngPixels(f, *p, false);
    // The filtered rows: a filter byte and three bytes a pixel.
    EXPECT_EQ(inflated, uint64_t(f.h * (1 + 3 * f.w)));
}

std::string Deflated(const std::string& bytes) {
    std::string packed(compressBound(uLong(bytes.size())), '\0');
    uLongf size = uLongf(packed.size());
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                        reinterpret_cast<const Bytef*>(bytes.data()), uLong(bytes.size()), 9),
              Z_OK);
    packed.resize(size);
    return packed;
}

// Image data too short to hold its rows even at deflate's highest ratio (1032 to 1) is refused
// before the picture is made, whatever lies before or after it; flat pictures, which come near that
// ratio, load.
TEST(Codecs, PngImageDataTooShortForItsRowsIsRefusedFirst) {
    auto png = [](int w, int h, int colourType, int depth, bool interlaced,
                  const std::string& around, const std::string& idat) {
        const std::string ihdr = Be32(uint32_t(w)) + Be32(uint32_t(h)) +
                                 std::string{char(depth), char(colourType), 0, 0, char(interlaced)};
        return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", ihdr) + around + PngChunk("IDAT", idat) +
               around + PngChunk("IEND", "");
    };
    // More bytes than the rows need at that ratio, but none of them image data.
    const std::string large = PngChunk("prVt", std::string(300000, '\0'));
    const std::string rgba = Deflated(std::string(150000, '\0'));
    const std::string bits = Deflated(std::string(8000, '\0'));
    struct Case {
        const char* what;
        std::string file;
        const char* size;
        size_t idat;
    };
    const Case cases[] = {
        {"RGBA", png(8192, 8192, PNG_COLOR_TYPE_RGBA, 8, false, "", rgba), "8192x8192",
         rgba.size()},
        {"RGBA between large chunks", png(8192, 8192, PNG_COLOR_TYPE_RGBA, 8, false, large, rgba),
         "8192x8192", rgba.size()},
        {"interlaced 1-bit grey", png(16384, 4096, PNG_COLOR_TYPE_GRAY, 1, true, "", bits),
         "16384x4096", bits.size()},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(DecodePixmap(c.file, &error), nullptr) << c.what;
        EXPECT_EQ(error, std::string("truncated or malformed PNG: ") + c.size +
                             " pixels cannot come from " + std::to_string(c.idat) +
                             " bytes of image data")
            << c.what;
    }

    std::string flat, error;
    ASSERT_TRUE(EncodePNG(*CreatePixmap(4000, 3000), 9, flat, error)) << error;
    SCOPED_TRACE(std::to_string(4000 * 3000 * 4 / flat.size()) + " bytes of pixels a byte");
    PixmapPtr p = DecodePixmap(flat, &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->Width(), 4000);
    EXPECT_EQ(p->ReadPixel(3999, 2999), 0u);

    PngFixture grey = MakePngFixture(PNG_COLOR_TYPE_GRAY, 1, true, 5);
    grey.w = grey.h = 2000;
    grey.samples.assign(2000, std::vector<unsigned>(2000, 1));
    p = DecodePixmap(WritePngFixture(grey), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->Height(), 2000);
    EXPECT_EQ(p->ReadPixel(1999, 1999), 0xFFFFFFFFu);
}

TEST(Codecs, SavingFailsCleanly) {
    TempDir dir;
    EXPECT_FALSE(SavePixmapPNG(Pattern(2, 2), dir.File("missing/x.png")));
    EXPECT_FALSE(SavePixmapPNG(nullptr, dir.File("x.png")));
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(0, 0), dir.File("x.png")));
    EXPECT_FALSE(SavePixmapJPEG(CreatePixmap(0, 3), dir.File("x.jpg")));
    std::vector<std::string> names;
    ASSERT_TRUE(ReadDir(dir.Path(), names));
    EXPECT_TRUE(names.empty());
}

// Memory running out at any growth of the encoder's output, the first block or a later one,
// returns the error with nothing freed twice or lost (the sanitizer build checks); the next encode
// is whole.
TEST(Codecs, JpegEncodeOutOfMemoryReturnsTheError) {
    const PixmapPtr noise = Pattern(128, 128, PF_RGB888);
    std::string whole, error;
    ASSERT_TRUE(EncodeJPEG(*noise, 100, whole, error)) << error;
    std::vector<size_t> sizes;
    SetJpegOutputHook([&](size_t size) {
        sizes.push_back(size);
        return true;
    });
    std::string out;
    ASSERT_TRUE(EncodeJPEG(*noise, 100, out, error)) << error;
    EXPECT_EQ(out, whole);
    ASSERT_GE(sizes.size(), 3u) << "the output grows at least twice";
    for (size_t allowed = 0; allowed < 3; ++allowed) {
        size_t asked = 0;
        SetJpegOutputHook([&](size_t) { return asked++ < allowed; });
        out = "stale";
        error.clear();
        EXPECT_FALSE(EncodeJPEG(*noise, 100, out, error)) << allowed;
        EXPECT_EQ(error, "cannot write JPEG: out of memory") << allowed;
        EXPECT_EQ(out, "") << allowed;
    }
    SetJpegOutputHook(nullptr);
    ASSERT_TRUE(EncodeJPEG(*noise, 100, out, error)) << error;
    EXPECT_EQ(out, whole);
}

TEST(Codecs, JpegRoundTripIsClose) {
    TempDir dir;
    for (int size : {1, 17, 64}) {
        auto original = Gradient(size, size + 3);
        ASSERT_TRUE(SavePixmapJPEG(original, dir.File("g.jpg"), 95));
        std::string error;
        auto loaded = LoadPixmap(dir.File("g.jpg"), &error);
        ASSERT_TRUE(loaded) << error;
        ASSERT_EQ(loaded->Width(), size);
        ASSERT_EQ(loaded->Height(), size + 3);
        int64_t total = 0;
        for (int y = 0; y < size + 3; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t a = original->ReadPixel(x, y), b = loaded->ReadPixel(x, y);
                EXPECT_EQ(b >> 24, 255u);
                for (int shift : {0, 8, 16})
                    total += std::abs(int((a >> shift) & 255) - int((b >> shift) & 255));
            }
        // A tiny picture is mostly block edges; only larger ones are held to a close match.
        if (size > 1) {
            EXPECT_LT(total / (size * (size + 3) * 3), 3) << size;
        }
    }
}

// The guard against a few bytes that claim millions of pixels holds for Huffman coding, which
// needs a bit or more a block; arithmetic coding can take far fewer, and loads.
TEST(Codecs, JpegPixelsPerByteGuardSparesValidFiles) {
    struct Case {
        const char* what;
        JpegFixture fixture;
    };
    const Case cases[] = {
        {"arithmetic, flat 4000x3000", {4000, 3000, false, true, JpegFixture::SEQUENTIAL}},
        {"arithmetic, progressive", {2000, 1500, false, true, JpegFixture::PROGRESSIVE}},
        {"Huffman, progressive, grey", {1024, 1024, true, false, JpegFixture::PROGRESSIVE}},
        {"Huffman, one DC scan, grey", {1024, 1024, true, false, JpegFixture::ONE_DC_SCAN}},
        {"Huffman, one DC scan, colour", {1024, 1024, false, false, JpegFixture::ONE_DC_SCAN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string jpeg = WriteJpegFixture(c.fixture);
        const int64_t pixels = int64_t{c.fixture.w} * c.fixture.h;
        SCOPED_TRACE(std::to_string(pixels / int64_t(jpeg.size())) + " pixels a byte");
        std::string error;
        auto p = DecodePixmap(jpeg, &error);
        ASSERT_TRUE(p) << error;
        ASSERT_EQ(p->Width(), c.fixture.w);
        ASSERT_EQ(p->Height(), c.fixture.h);
        for (int y = 0; y < p->Height(); y += 7)
            for (int x = 0; x < p->Width(); x += 5)
                ASSERT_EQ(p->ReadPixel(x, y), 0xFF808080u) << x << "," << y;
    }

    // Arithmetic coding is bound by the pixel limit: 16384 by 8192 in the same bytes is refused.
    std::string forged = WriteJpegFixture(cases[0].fixture);
    const size_t frame = forged.find("\xFF\xC9");
    ASSERT_NE(frame, std::string::npos);
    forged.replace(frame + 5, 4, std::string("\x20\x00\x40\x00", 4));
    ExpectRejected(forged, "too large", "arithmetic JPEG beyond the pixel limit");
}

// Valid files of kinds that are not read are refused by name, not as damaged.
TEST(Codecs, JpegKindsNotReadAreNamed) {
    const std::string baseline = WriteJpegFixture({16, 16, false, false, JpegFixture::SEQUENTIAL});
    const size_t frame = baseline.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    auto withFrame = [&](char marker, char precision) {
        std::string file = baseline;
        file[frame + 1] = marker;
        file[frame + 4] = precision;
        return file;
    };
    struct Case {
        const char* what;
        std::string file;
        const char* refusal;
    };
    const Case cases[] = {
        {"CMYK", WriteJpegFixture({16, 16, false, false, JpegFixture::SEQUENTIAL, 4, JCS_CMYK}),
         "unsupported JPEG (CMYK)"},
        {"YCCK", WriteJpegFixture({16, 16, false, false, JpegFixture::SEQUENTIAL, 4, JCS_YCCK}),
         "unsupported JPEG (YCCK)"},
        {"two components",
         WriteJpegFixture({16, 16, false, false, JpegFixture::SEQUENTIAL, 2, JCS_UNKNOWN}),
         "unsupported JPEG (2 components)"},
        {"lossless (SOF3)", withFrame('\xC3', 8), "unsupported JPEG (lossless)"},
        {"lossless, arithmetic (SOF11)", withFrame('\xCB', 8), "unsupported JPEG (lossless)"},
        {"hierarchical (SOF5)", withFrame('\xC5', 8), "unsupported JPEG (hierarchical)"},
        {"12-bit", withFrame('\xC0', 12), "unsupported JPEG (12 bits)"},
        {"9-bit", withFrame('\xC0', 9), "malformed JPEG: Unsupported JPEG data precision 9"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(DecodePixmap(c.file, &error), nullptr) << c.what;
        EXPECT_EQ(error, c.refusal) << c.what;
    }
}

TEST(Codecs, TruncatedAndMalformedFilesLoadAsNothingWithTheReason) {
    TempDir dir;
    ASSERT_TRUE(SavePixmapPNG(Pattern(40, 30), dir.File("a.png")));
    ASSERT_TRUE(SavePixmapJPEG(Gradient(40, 30), dir.File("a.jpg")));
    const std::string png = Bytes(dir.File("a.png"));
    const std::string jpeg = Bytes(dir.File("a.jpg"));

    ExpectRejected(png.substr(0, png.size() / 2), "PNG", "half a PNG");
    ExpectRejected(png.substr(0, 8), "PNG", "PNG signature only");
    ExpectRejected(jpeg.substr(0, jpeg.size() / 2), "Premature end", "half a JPEG");
    ExpectRejected(jpeg.substr(0, jpeg.size() - 2), "Premature end", "JPEG without its end");
    ExpectRejected(jpeg.substr(0, 3), "JPEG", "JPEG signature only");
    ExpectRejected(std::string("\xFF\xD8\xFF") + std::string(100, 'x'), "JPEG", "junk JPEG");
    ExpectRejected("", "empty", "empty file");
    ExpectRejected("GIF89a and more", "not a PNG", "unknown format");
    // TGA has no signature; other formats' headers are not taken for one.
    const std::string others[] = {
        std::string("GIF89a\x20\x00\x20\x00\xF7\x00\x00\x00\x00\x00\xFF\xFF\xFF\x00", 19),
        std::string("II*\x00\x08\x00\x00\x00\x10\x00\xFE\x00\x04\x00\x01\x00\x00\x00\x00", 19),
        std::string("MM\x00*\x00\x00\x00\x08\x00\x10\x00\xFE\x00\x04\x00\x00\x00\x01\x00", 19),
        // An icon and a cursor of one 32 by 32 picture.
        std::string("\x00\x00\x01\x00\x01\x00\x20\x20\x00\x00\x01\x00\x20\x00\xA8\x10\x00\x00"
                    "\x16\x00\x00\x00",
                    22),
        std::string("\x00\x00\x02\x00\x01\x00\x20\x20\x00\x00\x10\x00\x10\x00\x30\x01\x00\x00"
                    "\x16\x00\x00\x00",
                    22),
        std::string("RIFF\x24\x00\x00\x00WEBPVP8 \x18\x00\x00\x00\x30\x01\x00", 23),
        std::string("8BPS\x00\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x20", 18),
        std::string("\x0A\x05\x01\x08\x00\x00\x00\x00\x1F\x00\x1F\x00\x48\x00\x48\x00\x00\x00", 18),
        std::string("qoif\0\0\0 \0\0\0 \4\0 and the pixels", 29),
        "a line of plain text, long enough for a header",
    };
    for (const std::string& other : others)
        ExpectRejected(other, "not a PNG", other.substr(0, 4));
    // Nor are random bytes, but for a few in a million.
    SeedRnd(99);
    int takenForTga = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(40, '\0');
        for (char& b : bytes)
            b = char(Rand(0, 255));
        takenForTga += LooksLikeTGA(bytes);
    }
    EXPECT_EQ(takenForTga, 0);

    // Sizes no one would draw are refused before anything is allocated.
    std::string ihdr = Be32(100000) + Be32(100000) + std::string("\x08\x06\x00\x00\x00", 5);
    const std::string idat = PngChunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
    ExpectRejected("\x89PNG\r\n\x1a\n" + PngChunk("IHDR", ihdr) + idat + PngChunk("IEND", ""),
                   "large", "huge PNG");
    ExpectRejected(Bmp(30000, -30000, 24, ""), "large", "huge BMP");
    ExpectRejected(Bmp(2, INT_MIN, 24, ""), "large", "BMP with the lowest height");
    ExpectRejected(TgaHeader(2, 16000, 16000, 32, 8), "large", "huge TGA");
    // Sizes that the file is too short to hold are refused before the picture is made.
    ExpectRejected(TgaHeader(10, 6144, 8255, 24, 0x20) + std::string(9, '\0'), "truncated",
                   "run-length TGA of 50 million pixels in 27 bytes");
    ExpectRejected(TgaHeader(2, 4000, 4000, 32, 8) + std::string(1000, '\0'), "truncated",
                   "raw TGA shorter than its pixels");
    // 37 bytes that claim 13315 by 4864 pixels: their scan hits the end marker at once, and
    // libjpeg would pad every one of those pixels (seconds of work and 250 MB).
    const unsigned char tinyJpeg[] = {0xff, 0xd8, 0xff, 0xc0, 0x00, 0x11, 0x08, 0x13, 0x00, 0x34,
                                      0x03, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
                                      0x13, 0x42, 0x2d, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00,
                                      0x02, 0x51, 0x03, 0xff, 0xb3, 0xb4, 0xdf};
    ExpectRejected(std::string(reinterpret_cast<const char*>(tinyJpeg), sizeof tinyJpeg),
                   "cannot come from 37 bytes", "a few bytes of a huge JPEG");

    std::string error;
    EXPECT_EQ(LoadPixmap(dir.File("none.png"), &error), nullptr);
    EXPECT_EQ(error, "the file does not exist");
    EXPECT_EQ(LoadPixmap(dir.Path(), &error), nullptr);
    EXPECT_EQ(error, "the file cannot be read");
}

TEST(Codecs, BmpPalettedAndTrueColour) {
    // 3 by 2, bottom-up: the first stored row is the bottom one; rows pad to 4 bytes.
    const std::string rows24 = std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0", 12) +
                               std::string("\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\0\0\0", 12);
    std::string error;
    auto p = DecodePixmap(Bmp(3, 2, 24, rows24), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 1), 0xFF030201u);
    EXPECT_EQ(p->ReadPixel(2, 1), 0xFF090807u);
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF0C0B0Au);

    // Top-down 32-bit: the fourth byte is alpha when any pixel uses it.
    const std::string rows32("\x10\x20\x30\x80\x01\x02\x03\x00", 8);
    p = DecodePixmap(Bmp(1, -2, 32, rows32), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0x80302010u);
    EXPECT_EQ(p->ReadPixel(0, 1), 0x00030201u);
    p = DecodePixmap(Bmp(1, 1, 32, std::string("\x10\x20\x30\x00", 4)), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF302010u);

    // Bitfields with an alpha mask (a 56-byte-style layout: masks after the 40-byte header).
    std::string masks;
    for (uint32_t m : {0x0000FF00u, 0x00FF0000u, 0xFF000000u, 0x000000FFu})
        Le(masks, m, 4);
    p = DecodePixmap(Bmp(1, 1, 32, std::string("\x40\x30\x20\x10", 4), "", 6, masks), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0x40302010u);

    // 8-bit paletted, 5 by 1 (padded to 8); index 9 is beyond the palette and reads black.
    const std::string palette("\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00", 12);
    const std::string indices("\x00\x01\x02\x09\x01\0\0\0", 8);
    p = DecodePixmap(Bmp(5, 1, 8, indices, palette), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(p->ReadPixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(p->ReadPixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(p->ReadPixel(3, 0), 0xFF000000u);

    ExpectRejected(Bmp(3, 2, 24, rows24.substr(0, 20)), "truncated", "short BMP");
    ExpectRejected(Bmp(3, 2, 8, rows24, palette, 1), "unsupported", "RLE BMP");
    ExpectRejected(Bmp(3, 2, 16, rows24), "unsupported", "16-bit BMP");
    ExpectRejected("BM", "truncated", "BMP signature only");
}

TEST(Codecs, TgaBothOriginsRawAndRunLength) {
    // 2 by 2, 24-bit, raw, bottom-left origin, with an id field to skip.
    const std::string raw("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 12);
    std::string error;
    auto p = DecodePixmap(TgaHeader(2, 2, 2, 24, 0, 3) + raw, &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 1), 0xFF030201u);
    EXPECT_EQ(p->ReadPixel(1, 1), 0xFF060504u);
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF090807u);

    // 3 by 2, 32-bit with alpha, run-length, top-left origin: a run of 4, then 2 raw pixels.
    const std::string rle = std::string("\x83\x10\x20\x30\x40", 5) +
                            std::string("\x01\x01\x02\x03\x04\x05\x06\x07\x08", 9);
    p = DecodePixmap(TgaHeader(10, 3, 2, 32, 0x28) + rle, &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0x40302010u);
    EXPECT_EQ(p->ReadPixel(0, 1), 0x40302010u);
    EXPECT_EQ(p->ReadPixel(1, 1), 0x04030201u);
    EXPECT_EQ(p->ReadPixel(2, 1), 0x08070605u);

    // A run that overshoots the image is cut at the last pixel.
    p = DecodePixmap(TgaHeader(10, 2, 1, 24, 0) + std::string("\xFF\x01\x02\x03", 4), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(1, 0), 0xFF030201u);

    // 32 bits without alpha bits in the descriptor: opaque.
    p = DecodePixmap(TgaHeader(2, 1, 1, 32, 0x20) + std::string("\x01\x02\x03\x00", 4), &error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF030201u);

    ExpectRejected(TgaHeader(2, 2, 2, 24, 0) + raw.substr(0, 11), "truncated", "short TGA");
    ExpectRejected(TgaHeader(10, 3, 2, 32, 8) + rle.substr(0, 8), "truncated", "short RLE");
    ExpectRejected(TgaHeader(2, 0, 2, 24, 0), "not a PNG", "TGA without pixels");

    // Kinds of TGA not read are named, whatever follows the header.
    auto colourMapped = [](int type, int entryBits) {
        std::string header = TgaHeader(type, 4, 4, 8, 0);
        header[1] = 1;                                  // a colour map
        header[5] = 16;                                 // of 16 entries
        header[7] = char(entryBits);                    // of this many bits
        return header + std::string(16 * 3 + 16, '\1'); // the map, then the indices
    };
    ExpectRejected(colourMapped(1, 24), "unsupported TGA (colour-mapped)", "colour-mapped");
    ExpectRejected(colourMapped(9, 16), "unsupported TGA (colour-mapped)", "colour-mapped RLE");
    ExpectRejected(TgaHeader(2, 2, 2, 16, 1) + std::string(8, '\x7F'), "unsupported TGA (16 bits)",
                   "16-bit true colour");
    ExpectRejected(TgaHeader(10, 2, 2, 15, 0) + std::string(9, '\x7F'), "unsupported TGA (15 bits)",
                   "15-bit run-length");
    ExpectRejected(TgaHeader(3, 2, 2, 16, 8) + std::string(8, '\x7F'), "unsupported TGA (16 bits)",
                   "16-bit grey with alpha");
    // Without a plausible map, type 1 is not taken for TGA.
    std::string noMap = colourMapped(1, 24);
    noMap[1] = 0;
    ExpectRejected(noMap, "not a PNG", "colour-mapped without a map");
    std::string oddEntry = colourMapped(1, 24);
    oddEntry[7] = 12;
    ExpectRejected(oddEntry, "not a PNG", "colour map of 12-bit entries");
}

// Every truncation and a few thousand damaged copies of each format: no crash, no read outside
// the bytes (the sanitizer build checks), and truncations load as nothing.
TEST(Codecs, DamagedFilesNeverCrash) {
    TempDir dir;
    ASSERT_TRUE(SavePixmapPNG(Pattern(9, 7), dir.File("a.png")));
    ASSERT_TRUE(SavePixmapJPEG(Gradient(19, 11), dir.File("a.jpg"), 80));
    const std::string samples[] = {
        Bytes(dir.File("a.png")),
        Bytes(dir.File("a.jpg")),
        Bmp(3, 2, 24, std::string(24, '\x7F')),
        Bmp(5, 2, 8, std::string(16, '\x01'), std::string(8, '\x55')),
        TgaHeader(10, 4, 3, 32, 8) + std::string("\x8B\x01\x02\x03\x04", 5),
    };
    SeedRnd(2024);
    for (const std::string& sample : samples) {
        ASSERT_TRUE(DecodePixmap(sample));
        // A PNG cut inside its final (empty) chunk still holds the whole picture.
        const size_t complete = sample.size() - (sample[0] == '\x89' ? 12 : 0);
        for (size_t n = 0; n < complete; ++n) {
            std::string error;
            ASSERT_EQ(DecodePixmap(sample.substr(0, n), &error), nullptr) << n;
            ASSERT_FALSE(error.empty());
        }
        for (int round = 0; round < 2000; ++round) {
            std::string damaged = sample;
            for (int k = Rand(1, 4); k > 0; --k)
                damaged[size_t(Rand(0, int(damaged.size()) - 1))] = char(Rand(0, 255));
            DecodePixmap(damaged);
        }
    }
}

} // namespace
