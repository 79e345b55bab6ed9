#include "framework/graphics/bitmap_font.h"

#include "framework/util/assets.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/numbers.h"
#include "platform/files.h"
#include "platform/system.h"

#include <cmath>
#include <limits>

namespace {

// The prefix the glyph file is named with; the file itself is opened without it.
constexpr const char* STREAM_PREFIX = "littleendian::";

double RoundHalfUp(double v) {
    return std::floor(v + 0.5);
}

// The width characters after the first occurrence of a key in the line; found tells whether the
// line has the key at all.
std::string KeyCut(const std::string& line, const std::string& key, size_t width, bool& found) {
    const size_t at = line.find(key);
    found = at != std::string::npos;
    return found ? line.substr(at + key.size(), width) : std::string();
}

// The cut read as a decimal number (0 when the key is missing or the cut holds none).
double KeyValue(const std::string& line, const std::string& key, size_t width, bool& found) {
    return platform::StrToDouble(KeyCut(line, key, width, found));
}

} // namespace

TBitmapFontPtr TBitmapFont::Create(const std::string& name, int flags) {
    auto font = std::make_shared<TBitmapFont>();
    platform::AutoMidHandle(false);

    const std::string file = name + ".fnt";
    platform::StreamPtr stream = platform::ReadFile(file);
    if (!stream)
        ccRunTimeError("Error loading file " + std::string(STREAM_PREFIX) + file, 1);
    std::vector<std::string> lines;
    while (!stream->Eof() && !stream->Failed())
        lines.push_back(stream->ReadLine());
    // A read error leaves the position short of the end for good: the file is not usable.
    if (!stream->Close())
        ccRunTimeError("Error loading file " + std::string(STREAM_PREFIX) + file, 1);
    const std::string fault = font->ReadDescription(lines);
    if (!fault.empty())
        ccRunTimeError("Error loading font " + file + ": " + fault, 1);

    font->Image = ccLoadBitmap(name + ".png", flags);
    return font;
}

std::string TBitmapFont::ReadDescription(const std::vector<std::string>& lines) {
    if (lines.size() < 2)
        return "the file ends before its scale lines";
    bool found = false;
    ScaleFactor = KeyValue(lines[0], "scaleF=", 4, found);
    if (!found)
        return "line 1 has no \"scaleF=\"";
    TextureW = KeyValue(lines[1], "scaleW=", 4, found);
    if (!found)
        return "line 2 has no \"scaleW=\"";
    TextureH = KeyValue(lines[1], "scaleH=", 4, found);
    if (!found)
        return "line 2 has no \"scaleH=\"";
    if (!(TextureW > 0.0) || !(TextureH > 0.0))
        return "the page size on line 2 is not above 0";

    for (size_t i = 2; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1);
        if (NumChars < std::numeric_limits<uint16_t>::max())
            ++NumChars;
        const int id = platform::StrToInt(KeyCut(line, "id=", 4, found));
        if (!found) {
            // An empty or a kerning line: glyph 0 with nothing in it.
            ID[0] = 0;
            xPos[0] = yPos[0] = width[0] = height[0] = 0.0;
            xOffset[0] = yOffset[0] = xAdvance[0] = 0.0;
            continue;
        }
        if (id < 0)
            return where + " has the glyph id " + std::to_string(id);
        struct Key {
            const char* key;
            size_t width;
            double value = 0.0;
        };
        Key keys[] = {{"x=", 4},       {"y=", 4},       {"width=", 3},   {"height=", 3},
                      {"xoffset=", 3}, {"yoffset=", 3}, {"xadvance=", 3}};
        for (Key& k : keys) {
            k.value = KeyValue(line, k.key, k.width, found);
            if (!found)
                return where + " has no \"" + k.key + "\"";
        }
        int slot = id;
        if (id >= 256) {
            if (NumExtraChars >= EXTRA_SLOTS)
                return where + ": more than " + std::to_string(EXTRA_SLOTS) +
                       " glyphs with ids of 256 and above";
            slot = 256 + NumExtraChars;
            ++NumExtraChars;
        }
        const auto s = static_cast<size_t>(slot);
        ID[s] = id;
        xPos[s] = keys[0].value / TextureW;
        yPos[s] = keys[1].value / TextureH;
        width[s] = keys[2].value / TextureW;
        height[s] = keys[3].value / TextureH;
        xOffset[s] = keys[4].value;
        yOffset[s] = keys[5].value;
        xAdvance[s] = keys[6].value;
    }
    return std::string();
}

int TBitmapFont::CalcVRAM() const {
    return ccPow2Size(platform::ImageWidth(Image)) * 4 * ccPow2Size(platform::ImageHeight(Image));
}

int TBitmapFont::SlotOf(int code) const {
    return code >= 0 && code < 256 ? code : FindChar(code);
}

int TBitmapFont::FindChar(int code) const {
    for (int s = 256; s < 256 + NumExtraChars; ++s)
        if (ID[static_cast<size_t>(s)] == code)
            return s;
    return 0;
}

double TBitmapFont::StringWidth(const std::string& text) const {
    double sum = 0.0;
    for (unsigned char c : text)
        sum += xAdvance[static_cast<size_t>(SlotOf(c))] + CharGap;
    if (sum > 0.0)
        sum -= CharGap;
    return sum * ScaleFactor;
}

double TBitmapFont::StringHeight(const std::string& text) const {
    if (text.empty())
        return 0.0;
    double sum = 0.0;
    for (unsigned char c : text)
        sum += height[static_cast<size_t>(SlotOf(c))] * TextureH;
    const double count = text.size() > 1 ? static_cast<double>(text.size() - 1) : 1.0;
    return sum / count * ScaleFactor;
}

std::string TBitmapFont::TruncateString(const std::string& text, double maxWidth) const {
    std::string kept;
    for (char c : text) {
        if (StringWidth(kept + c) > maxWidth * ScaleFactor)
            break;
        kept += c;
    }
    return kept;
}

int TBitmapFont::Draw(const std::string& text, double x, double y, uint8_t centre, uint8_t right,
                      int roundX, int roundY, int shadow) {
    if (text.empty() || !Image)
        return 0;
    int r = 255, g = 255, b = 255;
    if (shadow) {
        platform::GetColor(r, g, b);
        platform::SetColor(0, 0, 0);
        platform::SetAlpha(ccShadowTextAlpha * ccTextAlpha);
        x += ccShadowTextDepthX;
        y += ccShadowTextDepthY;
    }
    float scaleX = 1.0f, scaleY = 1.0f;
    platform::GetScale(scaleX, scaleY);
    double sx = scaleX, sy = scaleY;
    if (centre) {
        const double half = StringWidth(text) / 2.0;
        if (ChangeHandle)
            HandleX += half;
        else
            x -= half * sx;
    }
    if (right) {
        if (ChangeHandle)
            HandleX += StringWidth(text) * sx;
        else
            x -= StringWidth(text) * sx;
    }
    sx *= ScaleFactor;
    sy *= ScaleFactor;

    const double pageW = platform::ImageWidth(Image), pageH = platform::ImageHeight(Image);
    for (unsigned char c : text) {
        const auto s = static_cast<size_t>(SlotOf(c));
        double px = ChangeHandle ? x : x + xOffset[s] * sx;
        double py = ChangeHandle ? y : y + yOffset[s] * sy;
        double dw = width[s] * TextureW * ScaleFactor;
        double dh = height[s] * TextureH * ScaleFactor;
        if (roundX) {
            px = RoundHalfUp(px);
            dw = RoundHalfUp(dw);
        }
        if (roundY) {
            py = RoundHalfUp(py);
            dh = RoundHalfUp(dh);
        }
        const double advance = xAdvance[s] + CharGap;
        // The handle stays in the call: the page image is shared and keeps its own.
        double hx = Image->handleX, hy = Image->handleY;
        if (ChangeHandle) {
            hx = HandleX - xOffset[s] * ScaleFactor;
            hy = HandleY - yOffset[s] * ScaleFactor;
        }
        platform::DrawSubImageRect(
            Image, static_cast<float>(px), static_cast<float>(py), static_cast<float>(dw),
            static_cast<float>(dh), static_cast<float>(xPos[s] * pageW),
            static_cast<float>(yPos[s] * pageH), static_cast<float>(width[s] * pageW),
            static_cast<float>(height[s] * pageH), static_cast<float>(hx), static_cast<float>(hy),
            0);
        if (ChangeHandle)
            HandleX -= advance * ScaleFactor;
        else
            x += advance * sx;
    }
    if (shadow) {
        platform::SetColor(r, g, b);
        platform::SetAlpha(ccTextAlpha);
    }
    return 0;
}

int TBitmapFont::DrawAligned(const std::string& text, double x, double y, int align, int roundX,
                             int roundY, int shadow) {
    if (align < 0 || align > 2)
        return 0;
    return Draw(text, x, y, align == 1, align == 2, roundX, roundY, shadow);
}

void TBitmapFont::DrawPasses(const std::string& text, double x, double y, uint8_t centre,
                             uint8_t right, int roundX, int roundY, int shadow) {
    if (shadow) {
        // The shadow pass moves the handle; the text starts from where the shadow started.
        const double handleX = HandleX, handleY = HandleY;
        Draw(text, x, y, centre, right, roundX, roundY, 1);
        HandleX = handleX;
        HandleY = handleY;
    }
    Draw(text, x, y, centre, right, roundX, roundY, 0);
}

int TBitmapFont::DrawAlignedWithShadow(const std::string& text, double x, double y, int align,
                                       int roundX, int roundY) {
    if (align < 0 || align > 2)
        return 0;
    DrawPasses(text, x, y, align == 1, align == 2, roundX, roundY, 1);
    return 0;
}

int TBitmapFont::DrawStringArray(const std::vector<std::string>& lines, double x, double y,
                                 uint8_t centre, uint8_t right, int roundX, int roundY, int shadow,
                                 int lineHeight, int centreVertically) {
    if (lineHeight == 0)
        lineHeight = platform::TruncToInt(StringHeight("ABCXYZ"));
    float at = static_cast<float>(y);
    if (centreVertically)
        at -= static_cast<float>(
            ccRound(static_cast<float>(lineHeight) * static_cast<float>(lines.size()) / 2.0f));
    const double handleX = HandleX, handleY = HandleY;
    for (const std::string& line : lines) {
        // In handle mode every line is laid out from the same handle.
        HandleX = handleX;
        HandleY = handleY;
        DrawPasses(line, x, at, centre, right, roundX, roundY, shadow);
        at += static_cast<float>(lineHeight);
    }
    return 0;
}

int TBitmapFont::Kill() {
    Image = nullptr;
    return 0;
}

int TBitmapFont::Precache() {
    return ccCreateFrames(Image);
}
