#pragma once
// The default font's glyph table, generated at build time by tools/font_bake.cpp.

namespace platform::font_data {

struct BakedGlyph {
    int code;                  // Latin-1 code point
    int x, y;                  // offset of the coverage box from the pen, top-down
    int w, h;                  // coverage box; 0 for a blank
    int advance;               // whole pixels
    unsigned long long offset; // first coverage byte in COVERAGE (rows of w bytes)
};

extern const int LINE_HEIGHT;
extern const int GLYPH_COUNT;
extern const BakedGlyph GLYPHS[];
extern const unsigned char COVERAGE[];

} // namespace platform::font_data
