#pragma once
// A font drawn from one page image that holds every glyph, described by a ".fnt" text file of
// glyph lines beside it. It measures strings, cuts them to a width, draws them left-aligned,
// centred or right-aligned with an optional drop shadow, draws arrays of lines, and can lay a
// string out by moving the handle so that the drawing layer's rotation and scale turn the whole
// string about one point (handle mode).
//
// The ".fnt" file: line 1 holds "scaleF=", line 2 "scaleW=" and "scaleH="; every later line is one
// glyph line with the keys "id=", "x=", "y=" (values of 4 characters), "width=", "height=",
// "xoffset=", "yoffset=", "xadvance=" (3 characters). A line without "id=" (an empty or a kerning
// line) counts as glyph 0 with all values 0.

#include "framework/util/object.h"
#include "framework/util/strings.h"
#include "platform/graphics.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBitmapFont;
using TBitmapFontPtr = std::shared_ptr<TBitmapFont>;

class TBitmapFont : public TObject, public TStringWidthSource {
public:
    static constexpr int SLOTS = 356;       // 256 for ids below 256, then the extra slots
    static constexpr int EXTRA_SLOTS = 100; // ids of 256 and above, in file order

    // The font name + ".fnt" with its page name + ".png". A missing or damaged file is fatal,
    // with a message that names the file.
    static TBitmapFontPtr Create(const std::string& name, int flags);

    // Video memory of the page, each side raised to a power of two.
    int CalcVRAM() const;
    // One line at (x, y); centre and right align it on x; round puts each glyph on whole pixels
    // (the pen keeps its fraction); shadow draws the black shadow pass instead of the text.
    int Draw(const std::string& text, double x, double y, uint8_t centre, uint8_t right, int roundX,
             int roundY, int shadow);
    // align 0 left, 1 centred, 2 right; any other value draws nothing.
    int DrawAligned(const std::string& text, double x, double y, int align, int roundX, int roundY,
                    int shadow);
    int DrawAlignedWithShadow(const std::string& text, double x, double y, int align, int roundX,
                              int roundY);
    // The lines lineHeight apart (0: the height of "ABCXYZ"), optionally centred on y as a block.
    int DrawStringArray(const std::vector<std::string>& lines, double x, double y, uint8_t centre,
                        uint8_t right, int roundX, int roundY, int shadow, int lineHeight,
                        int centreVertically);
    // The extra slot of a character code of 256 or above, 0 when no glyph line lists it.
    int FindChar(int code) const;
    int Kill();
    int Precache();
    // Sum of the glyph heights / (characters - 1) * ScaleFactor ("ABCXYZ" divides by 5); one
    // character gives its own height, none 0.
    double StringHeight(const std::string& text) const;
    // Sum of the advances plus CharGap between glyphs, times ScaleFactor.
    double StringWidth(const std::string& text) const override;
    // The longest start of the text not wider than maxWidth * ScaleFactor.
    std::string TruncateString(const std::string& text, double maxWidth) const;

    platform::ImagePtr Image;
    double ScaleFactor = 0.0;
    double TextureH = 0.0;
    double TextureW = 0.0;
    uint16_t NumChars = 0;
    uint16_t NumExtraChars = 0;
    std::array<int, SLOTS> ID{};
    std::array<double, SLOTS> xPos{}; // fractions of the page
    std::array<double, SLOTS> yPos{};
    std::array<double, SLOTS> width{};
    std::array<double, SLOTS> height{};
    std::array<double, SLOTS> xOffset{}; // page pixels
    std::array<double, SLOTS> yOffset{};
    std::array<double, SLOTS> xAdvance{};
    double CharGap = 0.0;
    int ChangeHandle = 0;
    double HandleX = 0.0;
    double HandleY = 0.0;

private:
    // Fills the tables from the lines of a description; "" when it is sound, else what is wrong
    // with it (nothing is written outside the tables either way).
    std::string ReadDescription(const std::vector<std::string>& lines);
    // The slot of a character code: the code below 256, else its extra slot or 0.
    int SlotOf(int code) const;
    // Handle mode: the handle each pass of a shadowed draw starts from.
    void DrawPasses(const std::string& text, double x, double y, uint8_t centre, uint8_t right,
                    int roundX, int roundY, int shadow);
};
