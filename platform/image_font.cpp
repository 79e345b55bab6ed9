// The built-in default font (baked from DejaVu Sans at build time) and text drawn in image fonts.
#include "platform/draw_internal.h"
#include "platform/font_data_internal.h"
#include "platform/graphics.h"

#include <array>
#include <cmath>

namespace platform {

namespace {

class TDefaultFont : public TImageFont {
public:
    TDefaultFont() {
        for (int i = 0; i < font_data::GLYPH_COUNT; ++i) {
            const font_data::BakedGlyph& baked = font_data::GLYPHS[i];
            TGlyph& glyph = glyphs_[static_cast<size_t>(baked.code)];
            glyph.x = baked.x;
            glyph.y = baked.y;
            glyph.advance = baked.advance;
            present_[static_cast<size_t>(baked.code)] = true;
            if (baked.w <= 0 || baked.h <= 0)
                continue;
            // White, with the coverage as alpha: the drawing colour tints it.
            PixmapPtr pixels = CreatePixmap(baked.w, baked.h, PF_RGBA8888);
            const unsigned char* coverage = font_data::COVERAGE + baked.offset;
            for (int y = 0; y < baked.h; ++y) {
                uint8_t* p = pixels->PixelPtr(0, y);
                for (int x = 0; x < baked.w; ++x, p += 4) {
                    p[0] = p[1] = p[2] = 255;
                    p[3] = *coverage++;
                }
            }
            glyph.image = MakeImage({pixels}, FILTEREDIMAGE);
        }
    }

    int Height() const override { return font_data::LINE_HEIGHT; }

    const TGlyph* Glyph(int code) const override {
        if (code < 0 || code > 255 || !present_[static_cast<size_t>(code)])
            return nullptr;
        return &glyphs_[static_cast<size_t>(code)];
    }

private:
    std::array<TGlyph, 256> glyphs_{};
    std::array<bool, 256> present_{};
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
    float pen = -hx;
    for (unsigned char c : text) {
        const TGlyph* glyph = font->Glyph(c);
        if (!glyph)
            continue;
        if (glyph->image && glyph->image->Frames() > 0) {
            const float l = pen + glyph->x, t = -hy + glyph->y;
            detail::DrawFrameQuad(*glyph->image, 0, x, y, l, t, l + glyph->image->Width(),
                                  t + glyph->image->Height(), 0, 0, 1, 1);
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

int TextHeight(const std::string& text) {
    (void)text; // the line height, whatever the text
    return GetImageFont()->Height();
}

} // namespace platform
