#pragma once
// A small bitmap font that the font tests write: a 128 by 32 page and a ".fnt" description in
// which every letter is 6 wide and advances 7 (A, B, C, X, Y, Z of heights 10, 12, 10, 10, 10, 8,
// so that the height of "ABCXYZ" is 60 / 5 = 12), and the space advances 4 with no pixels.

#include "platform/pixmap.h"
#include "tests/support/temp_dir.h"

#include <cstdio>
#include <string>

namespace graphics_test {

// One glyph line: each value followed by one space and the next key.
inline std::string GlyphLine(int id, int x, int y, int w, int h, int xoff, int yoff, int adv) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "char id=%-4d x=%-4d y=%-4d width=%-3d height=%-3d xoffset=%-3d yoffset=%-3d "
                  "xadvance=%-3d",
                  id, x, y, w, h, xoff, yoff, adv);
    return line;
}

inline std::string FontHeader(const std::string& scale = "1   ") {
    return "info scaleF=" + scale + "\ncommon scaleW=128  scaleH=32  \n";
}

inline int LetterHeight(char c) {
    switch (c) {
    case 'B':
        return 12;
    case 'Z':
        return 8;
    default:
        return 10;
    }
}

inline std::string LetterGlyphs() {
    std::string fnt;
    int x = 0;
    for (char c = 'A'; c <= 'Z'; ++c, x += 4)
        fnt += GlyphLine(c, x, 0, 6, LetterHeight(c), 1, 2, 7) + "\n";
    for (char c = 'a'; c <= 'z'; ++c, x += 4)
        fnt += GlyphLine(c, x % 120, 16, 6, 10, 0, 1, 7) + "\n";
    fnt += GlyphLine(' ', 0, 0, 0, 0, 0, 0, 4) + "\n";
    return fnt;
}

// Writes name.fnt (the given description) and name.png into the folder; returns the path stem.
inline std::string WriteFont(const testing_support::TempDir& dir, const std::string& name,
                             const std::string& description) {
    testing_support::WriteTextFile(dir.File(name + ".fnt"), description);
    platform::PixmapPtr page = platform::CreatePixmap(128, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x)
            page->WritePixel(x, y, 0xFFFFFFFF);
    platform::SavePixmapPNG(page, dir.File(name + ".png"));
    return dir.File(name);
}

} // namespace graphics_test
