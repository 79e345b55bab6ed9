#include "framework/util/drawing.h"

#include "framework/graphics/fade.h"
#include "framework/util/color.h"
#include "framework/util/globals.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>

int ccFlipSync = 1;
float ccShadowTextDepthX = 1.0f;
float ccShadowTextDepthY = 1.0f;
float ccShadowTextAlpha = 0.5f;
float ccTextAlpha = 1.0f;

namespace {

float RoundCoord(float v) {
    return std::floor(v + 0.5f);
}

// An image and a frame that a draw call can take: a missing image or a frame outside the image
// never reaches the drawing layer.
bool Drawable(const platform::ImagePtr& image, int frame) {
    return image && frame >= 0 && frame < image->Frames();
}

// The shadow then the text, as ccShadowText does once the blend mode and colour are remembered.
void ShadowAndText(const std::string& text, float x, float y, int r, int g, int b) {
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(ccShadowTextAlpha * ccTextAlpha);
    platform::DrawText(text, x + ccShadowTextDepthX, y + ccShadowTextDepthY);
    platform::SetColor(r, g, b);
    platform::SetAlpha(ccTextAlpha);
    platform::DrawText(text, x, y);
}

// Draws placed text: through ccShadowText when shadow is set, else plainly in the current state.
int PlaceText(const std::string& text, float x, float y, int shadow) {
    if (shadow)
        return ccShadowText(x, y, text, 0);
    platform::DrawText(text, x, y);
    return 0;
}

// The text width scaled by the current x scale, and the y shift of scaled text, as the centring
// functions use them.
float ScaledWidth(const std::string& text) {
    float sx, sy;
    platform::GetScale(sx, sy);
    float w = static_cast<float>(platform::TextWidth(text));
    if (sx != 1.0f)
        w *= sx;
    return w;
}

float ScaledTop(const std::string& text, float y) {
    float sx, sy;
    platform::GetScale(sx, sy);
    if (sy == 1.0f)
        return y;
    float h = static_cast<float>(platform::TextHeight(text));
    return y - (h * sy - h) / 2.0f;
}

int DigitOf(char c) {
    return platform::StrToInt(std::string(1, c));
}

int SpacedText(const std::string& text, float x, float y, int spacing, bool roundX) {
    platform::ImageFontPtr font = platform::GetImageFont();
    if (!font)
        return 0;
    float ix, iy, jx, jy, hx, hy;
    platform::GetTransform(ix, iy, jx, jy);
    platform::GetHandle(hx, hy);
    // DrawImage adds the origin itself; the handle is taken off as DrawText does.
    float sx = x - (hx * ix + hy * iy);
    float sy = y - (hx * jx + hy * jy);
    for (size_t i = 0; i < text.size(); i++) {
        const platform::TGlyph* glyph = font->Glyph(static_cast<unsigned char>(text[i]));
        if (!glyph)
            continue;
        if (Drawable(glyph->image, 0)) {
            float gx = static_cast<float>(glyph->x), gy = static_cast<float>(glyph->y);
            float px = sx + gx * ix + gy * iy + static_cast<float>(spacing) * static_cast<float>(i);
            float py = sy + gx * jx + gy * jy;
            if (roundX)
                px = std::floor(px);
            platform::DrawImage(glyph->image, px, py, 0);
        }
        float advance = static_cast<float>(glyph->advance);
        sx += advance * ix;
        sy += advance * jx;
    }
    return 0;
}

} // namespace

// ---- Clearing and flipping ----------------------------------------------------------------------

int ccCls(int red, int green, int blue) {
    ccClsNoFlip(red, green, blue);
    return ccFlip();
}

int ccClsNoFlip(int red, int green, int blue) {
    platform::SetClsColor(red, green, blue);
    platform::Cls();
    return 0;
}

int ccClsVSync(int red, int green, int blue) {
    ccClsNoFlip(red, green, blue);
    platform::Flip(1);
    return 0;
}

int ccFlip() {
    platform::Flip(ccFlipSync);
    return 0;
}

int ccVWait() {
    return 0;
}

// ---- Text ---------------------------------------------------------------------------------------

int ccShadowTextSet(float x, float y, float alpha) {
    ccShadowTextDepthX = x;
    ccShadowTextDepthY = y;
    ccShadowTextAlpha = alpha;
    return 0;
}

int ccShadowText(float x, float y, const std::string& text, int centred) {
    if (centred)
        x -= static_cast<float>(platform::TextWidth(text)) / 2.0f;
    int blend = platform::GetBlend();
    platform::SetBlend(platform::ALPHABLEND);
    int r, g, b;
    platform::GetColor(r, g, b);
    ShadowAndText(text, x, y, r, g, b);
    platform::SetBlend(blend);
    return 0;
}

int ccShadowTextWrapped(float x, float y, const std::vector<std::string>& lines, int centred,
                        int lineHeight) {
    if (lineHeight == 0)
        lineHeight = platform::TextHeight("ABCXYZ");
    int blend = platform::GetBlend();
    platform::SetBlend(platform::ALPHABLEND);
    int r, g, b;
    platform::GetColor(r, g, b);
    for (const std::string& line : lines) {
        float lx = x;
        if (centred)
            lx -= static_cast<float>(platform::TextWidth(line)) / 2.0f;
        ShadowAndText(line, lx, y, r, g, b);
        y += static_cast<float>(lineHeight);
    }
    platform::SetBlend(blend);
    return 0;
}

int ccDrawText(const std::string& text, float x, float y, int shadow, int roundCoords) {
    if (roundCoords) {
        x = RoundCoord(x);
        y = RoundCoord(y);
    }
    return PlaceText(text, x, y, shadow);
}

int ccDrawTextAligned(const std::string& text, float x, float y, int shadow, int alignment,
                      int roundCoords) {
    switch (alignment) {
    case 0:
        return ccDrawText(text, x, y, shadow, roundCoords);
    case 1:
        return ccDrawTextCentred(text, x, y, shadow, roundCoords);
    case 2:
        return ccDrawTextRight(text, x, y, shadow, roundCoords);
    default:
        return 0;
    }
}

int ccDrawTextCentred(const std::string& text, float x, float y, int shadow, int roundCoords) {
    float px = x - ScaledWidth(text) / 2.0f;
    float py = ScaledTop(text, y);
    if (roundCoords) {
        px = RoundCoord(px);
        py = RoundCoord(py);
    }
    return PlaceText(text, px, py, shadow);
}

int ccDrawTextCentredRoundX(const std::string& text, float x, float y, int shadow) {
    float px = RoundCoord(x - ScaledWidth(text) / 2.0f);
    return PlaceText(text, px, ScaledTop(text, y), shadow);
}

int ccDrawTextCentre(const std::string& text, float y, int shadow, int roundCoords) {
    float px = (static_cast<float>(ScreenWidth) - ScaledWidth(text)) / 2.0f;
    float py = ScaledTop(text, y);
    if (roundCoords) {
        px = RoundCoord(px);
        py = RoundCoord(py);
    }
    return PlaceText(text, px, py, shadow);
}

int ccDrawTextCentreAll(const std::string& text, int shadow, int roundCoords) {
    (void)roundCoords; // whole numbers already
    int px = (ScreenWidth - platform::TextWidth(text)) / 2;
    int py = (ScreenHeight - platform::TextHeight(text)) / 2;
    return PlaceText(text, static_cast<float>(px), static_cast<float>(py), shadow);
}

int ccDrawTextRight(const std::string& text, float x, float y, int shadow, int roundCoords) {
    if (roundCoords) {
        x = RoundCoord(x);
        y = RoundCoord(y);
    }
    return PlaceText(text, x - static_cast<float>(platform::TextWidth(text)), y, shadow);
}

int ccDrawTextSpaced(const std::string& text, float x, float y, int spacing) {
    return SpacedText(text, x, y, spacing, false);
}

int ccDrawTextSpacedRounded(const std::string& text, float x, float y, int spacing) {
    return SpacedText(text, x, y, spacing, true);
}

// ---- Digit strings ------------------------------------------------------------------------------

int ccDrawNumbers(const std::string& digits, float x, float y, const platform::ImagePtr& image,
                  float width, int centred, int roundCoords) {
    if (width == 0.0f)
        width = static_cast<float>(platform::ImageWidth(image));
    if (centred) {
        x -= width * static_cast<float>(digits.size()) / 2.0f;
        if (roundCoords)
            x = RoundCoord(x);
    }
    for (char c : digits) {
        int d = DigitOf(c);
        if (Drawable(image, d))
            platform::DrawImage(image, x, y, d);
        x += width;
    }
    return 0;
}

float ccDrawNumbersVariableWidthCalcWidth(const std::string& digits,
                                          const std::vector<int>& advances,
                                          const std::vector<int>& offsets, float gap, float scale) {
    (void)offsets;
    float total = 0.0f;
    for (char c : digits) {
        size_t d = static_cast<size_t>(DigitOf(c));
        float advance = d < advances.size() ? static_cast<float>(advances[d]) : 0.0f;
        total += advance * scale + gap * scale;
    }
    if (!digits.empty())
        total -= gap * scale;
    return total;
}

int ccDrawNumbersVariableWidth(const std::string& digits, float x, float y,
                               const platform::ImagePtr& image, const std::vector<int>& advances,
                               const std::vector<int>& offsets, float gap, int centred,
                               int roundCoords, float scale) {
    float total = ccDrawNumbersVariableWidthCalcWidth(digits, advances, offsets, gap, scale);
    if (centred) {
        x -= total / 2.0f;
        if (roundCoords)
            x = RoundCoord(x);
    }
    for (char c : digits) {
        int d = DigitOf(c);
        size_t i = static_cast<size_t>(d);
        float advance = i < advances.size() ? static_cast<float>(advances[i]) : 0.0f;
        float offset = i < offsets.size() ? static_cast<float>(offsets[i]) : 0.0f;
        if (Drawable(image, d))
            platform::DrawImage(image, x - offset * scale, y, d);
        x += advance * scale + gap * scale;
    }
    return platform::TruncToInt(RoundCoord(total));
}

// ---- Images -------------------------------------------------------------------------------------

int ccDrawImage(const platform::ImagePtr& image, float x, float y, const TShadow* shadow) {
    if (!Drawable(image, 0))
        return 0;
    if (shadow) {
        shadow->Apply();
        platform::DrawImage(image, x + shadow->X, y + shadow->Y, 0);
        shadow->Restore();
    }
    platform::DrawImage(image, x, y, 0);
    return 0;
}

int ccDrawImageCentred(const platform::ImagePtr& image, const TShadow* shadow) {
    int x = (ScreenWidth - platform::ImageWidth(image)) / 2;
    int y = (ScreenHeight - platform::ImageHeight(image)) / 2;
    return ccDrawImage(image, static_cast<float>(x), static_cast<float>(y), shadow);
}

int ccDrawImageArea(const platform::ImagePtr& image, float x, float y, float sourceX, float sourceY,
                    float sourceWidth, float sourceHeight, int frame) {
    if (!Drawable(image, frame))
        return 0;
    float handleX = image->handleX, handleY = image->handleY;
    // A start left of or above the image leaves out the part outside it, the rest staying where it
    // would have been drawn: the handle moves with the cut.
    if (sourceX < 0.0f) {
        sourceWidth += sourceX;
        handleX += sourceX;
        sourceX = 0.0f;
    }
    if (sourceY < 0.0f) {
        sourceHeight += sourceY;
        handleY += sourceY;
        sourceY = 0.0f;
    }
    float right = std::min(sourceX + sourceWidth, static_cast<float>(image->Width()));
    float bottom = std::min(sourceY + sourceHeight, static_cast<float>(image->Height()));
    float w = right - sourceX, h = bottom - sourceY;
    if (!(w > 0.0f && h > 0.0f))
        return 0;
    platform::DrawSubImageRect(image, x, y, w, h, sourceX, sourceY, w, h, handleX, handleY, frame);
    return 0;
}

int ccDrawImageLight(const platform::ImagePtr& image, float x, float y, float intensity, float red,
                     float green, float blue, int frame) {
    platform::SetBlend(platform::LIGHTBLEND);
    float k = intensity * 255.0f;
    platform::SetColor(platform::TruncToInt(k * red), platform::TruncToInt(k * green),
                       platform::TruncToInt(k * blue));
    if (Drawable(image, frame))
        platform::DrawImage(image, x, y, frame);
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetColor(255, 255, 255);
    return 0;
}

int ccDrawImageRect(const platform::ImagePtr& image, int x, int y, int rectX, int rectY,
                    int rectWidth, int rectHeight) {
    if (!Drawable(image, 0))
        return 0;
    platform::PixmapPtr pixels = platform::LockImage(image, 0);
    if (!pixels)
        return 0;
    platform::PixmapPtr window = pixels->Window(rectX, rectY, rectWidth, rectHeight);
    if (!window || window->Width() <= 0 || window->Height() <= 0)
        return 0;
    platform::ImagePtr part = platform::LoadImage(window, -1);
    if (Drawable(part, 0))
        platform::DrawImage(part, static_cast<float>(x), static_cast<float>(y), 0);
    return 0;
}

int ccMidhandle(const platform::ImagePtr& image, int mid) {
    if (mid)
        platform::MidHandleImage(image);
    else
        platform::SetImageHandle(image, 0.0f, 0.0f);
    return 0;
}

int ccCreateFrames(const platform::ImagePtr& image) {
    // Uploads every frame's texture now, so the first draw does not stall.
    platform::PrecacheImage(image);
    return 0;
}

int ccFadeScreen(int duration, int fadeOut, const platform::ChannelPtr& channel) {
    platform::ImagePtr image = platform::CreateImage(ScreenWidth, ScreenHeight, 1, -1);
    platform::GrabImage(image, 0, 0);
    platform::SetImageHandle(image, 0.0f, 0.0f);
    TFade fade;
    fade.Init(static_cast<float>(duration), image, channel);
    fade.FadeDo(fadeOut);
    if (fadeOut)
        fade.Zero();
    else
        fade.Full();
    return ccRestoreSolidMode();
}

// ---- Rectangles and drawing state ---------------------------------------------------------------

int ccDrawRect(float x, float y, float width, float height, const TShadow* shadow) {
    if (shadow) {
        int r, g, b;
        platform::GetColor(r, g, b);
        shadow->Apply();
        platform::DrawRect(x + shadow->X, y + shadow->Y, width, height);
        platform::SetAlpha(1.0f);
        platform::SetColor(r, g, b);
    }
    platform::DrawRect(x, y, width, height);
    return 0;
}

int ccDrawRectOutline(int x, int y, int width, int height) {
    float l = static_cast<float>(x), t = static_cast<float>(y);
    float r = static_cast<float>(x + width - 1), b = static_cast<float>(y + height - 1);
    platform::DrawLine(l, t, r, t, false);
    platform::DrawLine(r, t, r, b, false);
    platform::DrawLine(r, b, l, b, false);
    platform::DrawLine(l, b, l, t, false);
    return 0;
}

int ccDimScreen(float alpha) {
    return ccDimArea(alpha, 0, 0, ScreenWidth, ScreenHeight);
}

int ccDimArea(float alpha, int x, int y, int width, int height) {
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(alpha);
    platform::DrawRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                       static_cast<float>(height));
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    return 0;
}

int ccRestoreSolidMode() {
    platform::SetBlend(platform::SOLIDBLEND);
    platform::SetAlpha(1.0f);
    platform::SetColor(255, 255, 255);
    return 0;
}
