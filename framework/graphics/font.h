#pragma once
// The text the framework draws with its fonts: a font style (TFont: an image font of the drawing
// layer or a bitmap font, colour, inverse colour, drop shadow, line height), a label (TLabel: a
// positioned, aligned, optionally word-wrapped text in a style), and a plain text cursor
// (TTextCursor) that writes lines downwards.

#include "framework/graphics/bitmap_font.h"
#include "framework/util/color.h"
#include "framework/util/object.h"
#include "framework/util/strings.h"
#include "platform/graphics.h"

#include <memory>
#include <string>

class TFont;
class TLabel;
using TFontPtr = std::shared_ptr<TFont>;
using TLabelPtr = std::shared_ptr<TLabel>;

class TFont : public TObject {
public:
    // Always a plain font style, also when reached as TLabel::Create.
    static TFontPtr Create(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
                           const TShadowPtr& shadow, int fixedWidth,
                           const TBitmapFontPtr& bitmapFont, const TColorPtr& inverseColor);

    int Init(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
             const TShadowPtr& shadow, int fixedWidth, const TBitmapFontPtr& bitmapFont,
             const TColorPtr& inverseColor);
    // The line height H: the image font's, or the bitmap font's height of "ABCXYZ".
    virtual float CalcHeight();
    // The colour (and, with a shadow, the text-shadow settings and ccTextAlpha), then the image
    // font unless a bitmap font draws.
    int Apply();
    int ApplyInverse();
    int Kill();

    std::string name;
    platform::ImageFontPtr ImageFont; // null: the drawing layer's default font
    TBitmapFontPtr BitmapFont;        // when set, it measures and draws
    TColorPtr Color;
    TColorPtr InverseColor;
    TShadowPtr Shadow;
    int FixedWidth = 0;
    float H = 0.0f;

protected:
    // Selects the image font unless a bitmap font draws.
    void SelectImageFont() const;
};

class TLabel : public TFont {
public:
    // A white label in the default font without a shadow; the caller computes its size.
    static TLabelPtr CreateSpecial(const std::string& text, float x, float y, int alignment,
                                   int wordWrap);

    // With wrapping on, the H that PreCalcWordWrap left; otherwise the font style's height.
    float CalcHeight() override;
    int CalcSize();
    // The width of the whole Text.
    float CalcWidth();
    // Cuts Text into TextArray at line feeds, then wraps each line to WordWrap pixels.
    int PreCalcWordWrap();
    // Draws at (ox + X, oy + Y): one line, or the wrapped lines LineGap apart. 0 when hidden.
    int Draw(float ox, float oy);
    int DrawTextLine(const std::string& text, int x, int y);

    std::string Text;
    TStringArray TextArray;
    int TotalLines = 0;
    float X = 0.0f;
    float Y = 0.0f;
    float W = 0.0f;
    int Alignment = 0; // 0 starts at X, 1 centred on X, 2 ends at X; other values draw nothing
    int Visible = 1;
    int RoundCoords = 1;
    int WordWrap = 0; // wrap width in pixels; 0 or less: one line
    int LineGap = 0;
};

// Writes lines of text downwards from (x, y), linegap apart.
class TTextCursor : public TObject {
public:
    int Init(int newX, int newY, int newLinegap);
    int NewLine();
    // The text at the cursor in the current colour and image font (with the text shadow when
    // Shadow is set).
    int Output(const std::string& text);
    int OutputNL(const std::string& text);

    int x = 0, y = 0;
    int linegap = 20;
    int Shadow = 0;
};
