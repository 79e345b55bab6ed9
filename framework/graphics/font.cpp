#include "framework/graphics/font.h"

#include "framework/util/drawing.h"
#include "platform/system.h"

// ---- TFont -----------------------------------------------------------------------------------

TFontPtr TFont::Create(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
                       const TShadowPtr& shadow, int fixedWidth, const TBitmapFontPtr& bitmapFont,
                       const TColorPtr& inverseColor) {
    auto font = std::make_shared<TFont>();
    font->Init(imageFont, color, shadow, fixedWidth, bitmapFont, inverseColor);
    return font;
}

int TFont::Init(const platform::ImageFontPtr& imageFont, const TColorPtr& color,
                const TShadowPtr& shadow, int fixedWidth, const TBitmapFontPtr& bitmapFont,
                const TColorPtr& inverseColor) {
    ImageFont = imageFont;
    BitmapFont = bitmapFont;
    Color = color;
    InverseColor = inverseColor;
    Shadow = shadow;
    FixedWidth = fixedWidth;
    CalcHeight();
    return 0;
}

void TFont::SelectImageFont() const {
    if (!BitmapFont)
        platform::SetImageFont(ImageFont);
}

float TFont::CalcHeight() {
    if (BitmapFont) {
        H = static_cast<float>(BitmapFont->StringHeight("ABCXYZ"));
    } else {
        platform::SetImageFont(ImageFont);
        H = static_cast<float>(platform::TextHeight(""));
    }
    return H;
}

int TFont::Apply() {
    if (Color)
        Color->Apply();
    if (Shadow) {
        Shadow->ApplyToText();
        if (Color)
            ccTextAlpha = Color->Alpha;
    }
    SelectImageFont();
    return 0;
}

int TFont::ApplyInverse() {
    if (InverseColor)
        InverseColor->Apply();
    SelectImageFont();
    return 0;
}

int TFont::Kill() {
    ImageFont = nullptr;
    BitmapFont = nullptr;
    Color = nullptr;
    InverseColor = nullptr;
    Shadow = nullptr;
    return 0;
}

// ---- TLabel ----------------------------------------------------------------------------------

TLabelPtr TLabel::CreateSpecial(const std::string& text, float x, float y, int alignment,
                                int wordWrap) {
    auto label = std::make_shared<TLabel>();
    label->Text = text;
    label->X = x;
    label->Y = y;
    label->Alignment = alignment;
    label->WordWrap = wordWrap;
    label->Color = TColor::Create(255, 255, 255, 1.0f);
    return label;
}

float TLabel::CalcHeight() {
    if (WordWrap <= 0)
        return TFont::CalcHeight();
    return H;
}

int TLabel::CalcSize() {
    CalcWidth();
    CalcHeight();
    return 0;
}

float TLabel::CalcWidth() {
    if (BitmapFont) {
        W = static_cast<float>(BitmapFont->StringWidth(Text));
    } else {
        platform::SetImageFont(ImageFont);
        W = static_cast<float>(platform::TextWidth(Text));
    }
    return W;
}

int TLabel::PreCalcWordWrap() {
    SelectImageFont();
    TextArray = ccWordWrapArray(ccSplitStringIntoLines(Text), WordWrap, BitmapFont.get());
    TotalLines = static_cast<int>(TextArray.size());
    LineGap = BitmapFont ? platform::TruncToInt(BitmapFont->StringHeight("ABCXYZ"))
                         : platform::TextHeight("");
    H = static_cast<float>(TotalLines * LineGap);
    return 0;
}

int TLabel::Draw(float ox, float oy) {
    if (!Visible)
        return 0;
    SelectImageFont();
    // A style set up without a colour draws in the colour in force.
    if (Color)
        Color->Apply();
    if (WordWrap <= 0) {
        DrawTextLine(Text, platform::TruncToInt(ox + X), platform::TruncToInt(oy + Y));
    } else {
        int lineY = platform::TruncToInt(oy + Y);
        const int lineX = platform::TruncToInt(ox + X);
        for (int i = 0; i < TotalLines && i < static_cast<int>(TextArray.size()); ++i) {
            DrawTextLine(TextArray[static_cast<size_t>(i)], lineX, lineY);
            lineY += LineGap;
        }
    }
    if (Color)
        Color->Restore();
    return 1;
}

int TLabel::DrawTextLine(const std::string& text, int x, int y) {
    const float alpha = Color ? Color->Alpha : platform::GetAlpha();
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (!Shadow) {
        platform::SetAlpha(alpha);
        if (BitmapFont)
            BitmapFont->DrawAligned(text, fx, fy, Alignment, RoundCoords, RoundCoords, 0);
        else
            ccDrawTextAligned(text, fx, fy, 0, Alignment, RoundCoords);
    } else {
        Shadow->ApplyToText();
        ccTextAlpha = alpha;
        if (BitmapFont)
            BitmapFont->DrawAlignedWithShadow(text, fx, fy, Alignment, RoundCoords, RoundCoords);
        else
            ccDrawTextAligned(text, fx, fy, 1, Alignment, RoundCoords);
    }
    return 0;
}

// ---- TTextCursor -----------------------------------------------------------------------------

int TTextCursor::Init(int newX, int newY, int newLinegap) {
    x = newX;
    y = newY;
    linegap = newLinegap;
    return 0;
}

int TTextCursor::NewLine() {
    y += linegap;
    return 0;
}

int TTextCursor::Output(const std::string& text) {
    return ccDrawText(text, static_cast<float>(x), static_cast<float>(y), Shadow, 0);
}

int TTextCursor::OutputNL(const std::string& text) {
    Output(text);
    return NewLine();
}
