// Small readers for uncompressed BMP (8-bit paletted, 24- and 32-bit) and TGA (true colour and
// grey, raw or run-length encoded, either origin). Every offset is checked against the file's
// length before it is read; sizes are checked before anything is allocated.

#include "platform/image_codecs.h"

#include <bit>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Little-endian reads that report whether the bytes were there.
class TBytes {
public:
    explicit TBytes(const std::string& bytes) : bytes_(bytes) {}
    bool Has(uint64_t offset, uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    uint8_t U8(uint64_t at) const { return static_cast<uint8_t>(bytes_[static_cast<size_t>(at)]); }
    uint32_t U16(uint64_t at) const { return U8(at) | uint32_t{U8(at + 1)} << 8; }
    uint32_t U32(uint64_t at) const { return U16(at) | U16(at + 2) << 16; }
    const uint8_t* At(uint64_t at) const {
        return reinterpret_cast<const uint8_t*>(bytes_.data()) + at;
    }

private:
    const std::string& bytes_;
};

// One channel of a 32-bit bitfield pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    uint8_t Get(uint32_t pixel, uint8_t missing) const {
        if (!mask)
            return missing;
        return static_cast<uint8_t>(uint64_t{(pixel & mask) >> shift} * 255 / max);
    }
};

void Put(TPixmap& p, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* d = p.PixelPtr(x, y);
    d[0] = r, d[1] = g, d[2] = b, d[3] = a;
}

} // namespace

PixmapPtr DecodeBMP(const std::string& bytes, std::string& error) {
    const TBytes in(bytes);
    if (!in.Has(0, 18)) {
        error = "truncated BMP";
        return nullptr;
    }
    const uint64_t dataOffset = in.U32(10);
    const uint32_t headerSize = in.U32(14);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0, colours = 0, paletteEntry = 4;
    if (headerSize == 12 && in.Has(14, 12)) {
        width = in.U16(18);
        height = in.U16(20);
        bits = in.U16(24);
        paletteEntry = 3;
    } else if (headerSize >= 40 && in.Has(14, 40)) {
        width = static_cast<int32_t>(in.U32(18));
        height = static_cast<int32_t>(in.U32(22));
        bits = in.U16(28);
        compression = in.U32(30);
        colours = in.U32(46);
    } else {
        error = "truncated or malformed BMP header";
        return nullptr;
    }
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (!ImageSizeAllowed(width, height, error))
        return nullptr;

    // Bitfield masks follow a 40-byte header and sit inside the larger ones at the same place.
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    const bool bitfields = compression == 3 || compression == 6;
    if (bits == 32 && bitfields) {
        const int count = compression == 6 || headerSize >= 56 ? 4 : 3;
        if (!in.Has(54, 4 * static_cast<uint64_t>(count))) {
            error = "truncated BMP";
            return nullptr;
        }
        for (int i = 0; i < 4; ++i)
            masks[i] = i < count ? in.U32(54 + 4 * i) : 0;
    }
    const bool supported = (bits == 8 && compression == 0) || (bits == 24 && compression == 0) ||
                           (bits == 32 && (compression == 0 || bitfields));
    if (!supported) {
        error = "unsupported BMP (" + std::to_string(bits) + " bits, compression " +
                std::to_string(compression) + ")";
        return nullptr;
    }
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (!in.Has(dataOffset, rowBytes * static_cast<uint64_t>(height))) {
        error = "truncated BMP";
        return nullptr;
    }

    // The palette sits between the header and the pixels; missing entries read as black.
    std::vector<uint32_t> palette(256, 0xFF000000);
    if (bits == 8) {
        const uint64_t start = 14 + uint64_t{headerSize};
        const uint64_t count = colours == 0 || colours > 256 ? 256 : colours;
        for (uint64_t i = 0; i < count && in.Has(start + i * paletteEntry, 3); ++i) {
            const uint8_t* e = in.At(start + i * paletteEntry);
            palette[i] = 0xFF000000 | uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
        }
    }

    PixmapPtr pixmap = CreatePixmap(static_cast<int>(width), static_cast<int>(height));
    if (!pixmap) {
        error = "out of memory";
        return nullptr;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    bool anyAlpha = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = in.At(dataOffset + static_cast<uint64_t>(row) * rowBytes);
        const int y = static_cast<int>(topDown ? row : height - 1 - row);
        for (int x = 0; x < static_cast<int>(width); ++x) {
            if (bits == 8) {
                pixmap->WritePixel(x, y, palette[src[x]]);
            } else if (bits == 24) {
                const uint8_t* s = src + 3 * ptrdiff_t{x};
                Put(*pixmap, x, y, s[2], s[1], s[0], 255);
            } else if (!bitfields) {
                const uint8_t* s = src + 4 * ptrdiff_t{x};
                Put(*pixmap, x, y, s[2], s[1], s[0], s[3]);
                anyAlpha = anyAlpha || s[3] != 0;
            } else {
                const uint8_t* s = src + 4 * ptrdiff_t{x};
                const uint32_t v =
                    s[0] | uint32_t{s[1]} << 8 | uint32_t{s[2]} << 16 | uint32_t{s[3]} << 24;
                Put(*pixmap, x, y, red.Get(v, 0), green.Get(v, 0), blue.Get(v, 0),
                    alpha.Get(v, 255));
            }
        }
    }
    // Plain 32-bit files usually leave the fourth byte 0: then it is padding, not transparency.
    if (bits == 32 && !bitfields && !anyAlpha) {
        for (int y = 0; y < pixmap->Height(); ++y)
            for (int x = 0; x < pixmap->Width(); ++x)
                pixmap->PixelPtr(x, y)[3] = 255;
    }
    return pixmap;
}

namespace {

struct TgaHeader {
    uint64_t dataOffset;
    int width, height, bits, type;
    bool topDown, rightToLeft, alpha;
};

// TGA has no signature: a header counts as TGA when its fields hold values TGA files use. False
// when it does not; else true, with unread empty for a kind this reader decodes (true colour of 24
// or 32 bits, grey of 8) or naming the kind it does not.
bool TgaKind(const TBytes& in, std::string& unread) {
    if (!in.Has(0, 18))
        return false;
    const int colourMapType = in.U8(1), type = in.U8(2), bits = in.U8(16);
    if (colourMapType > 1)
        return false;
    if (type == 1 || type == 9) {
        const int entry = in.U8(7);
        const bool plausible = colourMapType == 1 && in.U16(5) > 0 &&
                               (entry == 15 || entry == 16 || entry == 24 || entry == 32) &&
                               (bits == 8 || bits == 16);
        unread = "colour-mapped";
        return plausible;
    }
    const bool grey = type == 3 || type == 11;
    const bool colour = type == 2 || type == 10;
    if (grey ? bits != 8 && bits != 16
             : !colour || (bits != 15 && bits != 16 && bits != 24 && bits != 32))
        return false;
    const bool read = grey ? bits == 8 : bits == 24 || bits == 32;
    unread = read ? "" : std::to_string(bits) + " bits";
    return true;
}

// The header of a kind TgaKind says this reader decodes.
TgaHeader ReadTgaHeader(const TBytes& in) {
    TgaHeader h;
    const int colourMapType = in.U8(1);
    h.type = in.U8(2);
    h.width = static_cast<int>(in.U16(12));
    h.height = static_cast<int>(in.U16(14));
    h.bits = in.U8(16);
    const int descriptor = in.U8(17);
    // A colour map in a true-colour file is skipped.
    const uint64_t mapBytes =
        colourMapType ? uint64_t{in.U16(5)} * ((uint64_t{in.U8(7)} + 7) / 8) : 0;
    h.dataOffset = 18 + uint64_t{in.U8(0)} + mapBytes;
    h.topDown = descriptor & 0x20;
    h.rightToLeft = descriptor & 0x10;
    h.alpha = h.bits == 32 && (descriptor & 0x0F) != 0;
    return h;
}

} // namespace

bool LooksLikeTGA(const std::string& bytes) {
    const TBytes in(bytes);
    std::string unread;
    return TgaKind(in, unread) && in.U16(12) > 0 && in.U16(14) > 0;
}

PixmapPtr DecodeTGA(const std::string& bytes, std::string& error) {
    const TBytes in(bytes);
    std::string unread;
    if (!TgaKind(in, unread)) {
        error = "truncated or unsupported TGA";
        return nullptr;
    }
    if (!unread.empty()) {
        error = "unsupported TGA (" + unread + ")";
        return nullptr;
    }
    const TgaHeader h = ReadTgaHeader(in);
    if (!ImageSizeAllowed(h.width, h.height, error))
        return nullptr;
    const int size = h.bits / 8;
    const int64_t total = int64_t{h.width} * h.height;
    const bool rle = h.type >= 9;
    // The fewest bytes that can hold the pixels: all of them, or with run-length packets one
    // pixel in every 128. A shorter file is cut short whatever it holds, and is refused before a
    // picture of the size it claims is made.
    const uint64_t least =
        static_cast<uint64_t>(rle ? (total + 127) / 128 * (1 + size) : total * size);
    if (static_cast<uint64_t>(bytes.size()) < h.dataOffset + least) {
        error = "truncated TGA";
        return nullptr;
    }
    PixmapPtr pixmap = CreatePixmap(h.width, h.height);
    if (!pixmap) {
        error = "out of memory";
        return nullptr;
    }
    uint64_t at = h.dataOffset;
    int64_t done = 0;
    // Pixels come in rows from the origin's corner.
    auto place = [&](const uint8_t* s) {
        const int col = static_cast<int>(done % h.width);
        const int row = static_cast<int>(done / h.width);
        const int x = h.rightToLeft ? h.width - 1 - col : col;
        const int y = h.topDown ? row : h.height - 1 - row;
        if (size == 1)
            Put(*pixmap, x, y, s[0], s[0], s[0], 255);
        else
            Put(*pixmap, x, y, s[2], s[1], s[0], h.alpha ? s[3] : 255);
        ++done;
    };
    while (done < total) {
        int64_t count = total - done;
        bool repeat = false;
        if (rle) {
            if (!in.Has(at, 1))
                break;
            const uint8_t packet = in.U8(at++);
            repeat = packet & 0x80;
            // A packet that runs past the last pixel is cut there.
            count = std::min<int64_t>((packet & 0x7F) + 1, total - done);
        }
        if (repeat) {
            if (!in.Has(at, static_cast<uint64_t>(size)))
                break;
            for (int64_t i = 0; i < count; ++i)
                place(in.At(at));
            at += static_cast<uint64_t>(size);
        } else {
            if (!in.Has(at, static_cast<uint64_t>(count * size)))
                break;
            for (int64_t i = 0; i < count; ++i)
                place(in.At(at + static_cast<uint64_t>(i * size)));
            at += static_cast<uint64_t>(count * size);
        }
    }
    if (done < total) {
        error = "truncated TGA";
        return nullptr;
    }
    return pixmap;
}

} // namespace platform
