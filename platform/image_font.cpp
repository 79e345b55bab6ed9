// The built-in default font (baked from DejaVu Sans at build time) and text drawn in image fonts.
#include "platform/draw_internal.h"
#include "platform/font_data_internal.h"
#include "platform/graphics.h"
#include "platform/utf8_internal.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

namespace {

// Each glyph has an image of its own (for callers that draw glyph by glyph), and the font also
// keeps all of them in one atlas, so that DrawText sends a whole line as one batch of quads.
class TDefaultFont : public TImageFont {
public:
    struct Cell {
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    };

    TDefaultFont() {
        // Glyphs on shelves, a blank pixel between neighbours so that filtering never mixes them.
        constexpr int ATLAS_WIDTH = 256;
        std::array<int, 256> cellX{}, cellY{};
        int x = 1, y = 1, shelf = 0;
        for (int i = 0; i < font_data::GLYPH_COUNT; ++i) {
            const font_data::BakedGlyph& baked = font_data::GLYPHS[i];
            if (x + baked.w + 1 > ATLAS_WIDTH) {
                x = 1;
                y += shelf + 1;
                shelf = 0;
            }
            cellX[static_cast<size_t>(baked.code)] = x;
            cellY[static_cast<size_t>(baked.code)] = y;
            x += baked.w + 1;
            shelf = std::max(shelf, baked.h);
        }
        const int atlasHeight = y + shelf + 1;
        PixmapPtr atlas = CreatePixmap(ATLAS_WIDTH, atlasHeight, PF_RGBA8888);

        for (int i = 0; i < font_data::GLYPH_COUNT; ++i) {
            const font_data::BakedGlyph& baked = font_data::GLYPHS[i];
            const auto code = static_cast<size_t>(baked.code);
            TGlyph& glyph = glyphs_[code];
            glyph.x = baked.x;
            glyph.y = baked.y;
            glyph.advance = baked.advance;
            present_[code] = true;
            if (baked.w <= 0 || baked.h <= 0)
                continue;
            // White, with the coverage as alpha: the drawing colour tints it.
            PixmapPtr pixels = CreatePixmap(baked.w, baked.h, PF_RGBA8888);
            const unsigned char* coverage = font_data::COVERAGE + baked.offset;
            for (int row = 0; row < baked.h; ++row) {
                uint8_t* p = pixels->PixelPtr(0, row);
                uint8_t* a = atlas->PixelPtr(cellX[code], cellY[code] + row);
                for (int col = 0; col < baked.w; ++col, p += 4, a += 4) {
                    p[0] = p[1] = p[2] = a[0] = a[1] = a[2] = 255;
                    p[3] = a[3] = *coverage++;
                }
            }
            glyph.image = MakeImage({pixels}, FILTEREDIMAGE);
            cells_[code] = {static_cast<float>(cellX[code]) / ATLAS_WIDTH,
                            static_cast<float>(cellY[code]) / atlasHeight,
                            static_cast<float>(cellX[code] + baked.w) / ATLAS_WIDTH,
                            static_cast<float>(cellY[code] + baked.h) / atlasHeight};
        }
        atlas_ = MakeImage({atlas}, FILTEREDIMAGE);
    }

    int Height() const override { return font_data::LINE_HEIGHT; }

    const TGlyph* Glyph(int code) const override {
        if (code < 0 || code > 255 || !present_[static_cast<size_t>(code)])
            return nullptr;
        return &glyphs_[static_cast<size_t>(code)];
    }

    const TImage& Atlas() const { return *atlas_; }
    const Cell& AtlasCell(int code) const { return cells_[static_cast<size_t>(code)]; }

private:
    std::array<TGlyph, 256> glyphs_{};
    std::array<bool, 256> present_{};
    std::array<Cell, 256> cells_{};
    ImagePtr atlas_;
};

ImageFontPtr currentFont;

} // namespace

ImageFontPtr DefaultFont() {
    // Never destroyed: its textures must not be freed while OpenGL shuts down at exit.
    static const ImageFontPtr* font = new ImageFontPtr(std::make_shared<TDefaultFont>());
    return *font;
}

void SetImageFont(const ImageFontPtr& font) {
    currentFont = font;
}

ImageFontPtr GetImageFont() {
    return currentFont ? currentFont : DefaultFont();
}

void DrawText(const std::string& text, float x, float y) {
    const ImageFontPtr font = GetImageFont();
    TDrawRecord record;
    record.kind = TDrawRecord::TEXT;
    record.x = x;
    record.y = y;
    record.w = static_cast<float>(TextWidth(text));
    record.h = static_cast<float>(font->Height());
    record.text = text;
    detail::LogDraw(std::move(record));

    float hx, hy, ix, iy, jx, jy, ox, oy;
    GetHandle(hx, hy);
    GetTransform(ix, iy, jx, jy);
    GetOrigin(ox, oy);
    if (ix == 1 && iy == 0 && jx == 0 && jy == 1) {
        // Unturned and unscaled text lands on whole pixels, so that it stays sharp.
        const float left = x + ox - hx, top = y + oy - hy;
        x += std::floor(left + 0.5f) - left;
        y += std::floor(top + 0.5f) - top;
    }
    const auto* builtIn = dynamic_cast<const TDefaultFont*>(font.get());
    float pen = -hx;
    for (unsigned char c : text) {
        const TGlyph* glyph = font->Glyph(c);
        if (!glyph)
            continue;
        if (glyph->image && glyph->image->Frames() > 0) {
            const float l = pen + glyph->x, t = -hy + glyph->y;
            const float r = l + glyph->image->Width(), b = t + glyph->image->Height();
            if (builtIn) {
                const TDefaultFont::Cell& cell = builtIn->AtlasCell(c);
                detail::DrawFrameQuad(builtIn->Atlas(), 0, x, y, l, t, r, b, cell.u0, cell.v0,
                                      cell.u1, cell.v1);
            } else {
                detail::DrawFrameQuad(*glyph->image, 0, x, y, l, t, r, b, 0, 0, 1, 1);
            }
        }
        pen += static_cast<float>(glyph->advance);
    }
}

int TextWidth(const std::string& text) {
    const ImageFontPtr font = GetImageFont();
    int width = 0;
    for (unsigned char c : text)
        if (const TGlyph* glyph = font->Glyph(c))
            width += glyph->advance;
    return width;
}

std::string FontText(const std::string& utf8) {
    const ImageFontPtr font = GetImageFont();
    std::string text;
    text.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        char32_t code = 0;
        const size_t end = detail::Utf8SequenceEnd(utf8, at, code);
        if (code == detail::NOT_A_CODE_POINT)
            code = byte;
        at = end;
        if (code < 0x80 || (code <= 0xFF && font->Glyph(static_cast<int>(code))))
            text += static_cast<char>(code);
        else
            text += '?';
    }
    return text;
}

int TextHeight(const std::string& text) {
    (void)text; // the line height, whatever the text
    return GetImageFont()->Height();
}

} // namespace platform
