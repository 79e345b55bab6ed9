#include "framework/util/strings.h"

#include "platform/graphics.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

std::string AsciiUpper(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// ---- Sub-strings -------------------------------------------------------------------------------

std::string ccFirstStringToSub(const std::string& text, const std::string& separator) {
    size_t p = text.find(separator);
    return p == std::string::npos ? text : text.substr(0, p);
}

std::string ccLastStringToSub(const std::string& text, const std::string& separator) {
    size_t p = text.find(separator);
    return p == std::string::npos ? std::string() : text.substr(p + separator.size());
}

std::string ccFirstString(const std::string& text) {
    return ccFirstStringToSub(text, ",");
}

std::string ccFirstStringToSubChop(std::string& text, const std::string& separator) {
    size_t p = text.find(separator);
    if (p == std::string::npos) {
        std::string whole = std::move(text);
        text.clear();
        return whole;
    }
    std::string before = text.substr(0, p);
    // Only the separator's first character is consumed.
    text = text.substr(std::min(p + 1, text.size()));
    return before;
}

std::string ccMid(const std::string& text, int start, int count) {
    int64_t first = start;
    int64_t n = count;
    if (n < 0 || first > static_cast<int64_t>(text.size()))
        return std::string();
    if (first < 1) {
        n -= 1 - first;
        first = 1;
    }
    if (n <= 0)
        return std::string();
    return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(n));
}

// ---- Lines and word wrap -----------------------------------------------------------------------

TStringArray ccSplitStringIntoLines(const std::string& text) {
    TStringArray lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t lf = text.find('\n', pos);
        if (lf == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        size_t end = lf;
        if (end > pos && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(pos, end - pos));
        pos = lf + 1;
    }
    return lines;
}

namespace {

int MeasureText(const std::string& text, const TStringWidthSource* font) {
    if (font)
        return platform::TruncToInt(font->StringWidth(text));
    return platform::TextWidth(text);
}

// Every pair of spaces becomes one, in one pass over non-overlapping pairs.
std::string HalveSpaceRuns(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        out += line[i];
        if (line[i] == ' ' && i + 1 < line.size() && line[i + 1] == ' ')
            ++i;
    }
    return out;
}

// The wrap of both variants. The limit becomes width2 once the result holds switchLine - 1 lines
// (never when switchLine is 1 or less).
TStringArray WrapLines(const TStringArray& lines, int width, int width2, int switchLine,
                       const TStringWidthSource* font, bool halveSpaces) {
    TStringArray result;
    int limit = width;
    auto checkSwitch = [&] {
        if (switchLine > 1 && static_cast<int64_t>(result.size()) == int64_t{switchLine} - 1)
            limit = width2;
    };
    for (const std::string& source : lines) {
        if (source.empty()) {
            result.emplace_back();
            checkSwitch();
            continue;
        }
        const std::string line = halveSpaces ? HalveSpaceRuns(source) : source;
        size_t space = line.find(' ');
        std::string current = line.substr(0, space);
        size_t pos = space == std::string::npos ? line.size() : space + 1;
        while (pos < line.size()) {
            space = line.find(' ', pos);
            size_t end = space == std::string::npos ? line.size() : space;
            std::string word = line.substr(pos, end - pos);
            pos = space == std::string::npos ? line.size() : space + 1;
            // A run of spaces gives empty words; they are passed over so that the words behind
            // them are kept.
            if (word.empty())
                continue;
            std::string candidate = current + " " + word;
            if (MeasureText(candidate, font) <= limit) {
                current = std::move(candidate);
            } else {
                result.push_back(std::move(current));
                checkSwitch();
                current = std::move(word);
            }
        }
        result.push_back(std::move(current));
        checkSwitch();
    }
    return result;
}

} // namespace

TStringArray ccWordWrapArray(const TStringArray& lines, int width, const TStringWidthSource* font) {
    return WrapLines(lines, width, width, 0, font, true);
}

TStringArray ccWordWrapArraySpecial(const TStringArray& lines, int width, int width2,
                                    int switchLine, const TStringWidthSource* font) {
    return WrapLines(lines, width, width2, switchLine, font, false);
}

// ---- Filling and number text -------------------------------------------------------------------

std::string ccPadWithZeros(const std::string& text, int length) {
    std::string out = text;
    if (length > 0 && out.size() < static_cast<size_t>(length))
        out.insert(0, static_cast<size_t>(length) - out.size(), '0');
    return out;
}

std::string ccPadWithChar(const std::string& text, int length, const std::string& pad) {
    std::string out = text;
    if (pad.empty())
        return out;
    while (length > 0 && out.size() < static_cast<size_t>(length))
        out += pad;
    return out;
}

std::string ccIntToStringWithSign(int value) {
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

std::string ccFormatNumber(double value, int decimals, int block, int width) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.17lg", value);
    std::string text = buf;
    size_t dot = text.find('.');
    int64_t point = dot == std::string::npos ? -1 : static_cast<int64_t>(dot);
    if (decimals == 0)
        decimals = -1;
    // Cut, never rounded; a cut beyond the end is filled with spaces.
    int64_t keep = std::max<int64_t>(0, point + decimals + 1);
    if (keep <= static_cast<int64_t>(text.size()))
        text.resize(static_cast<size_t>(keep));
    else
        text.append(static_cast<size_t>(keep) - text.size(), ' ');
    if (block > 0) {
        while (point > block) {
            // Decimals below -1 cut into the integer part: no separator past what is left.
            if (point - block < static_cast<int64_t>(text.size()))
                text.insert(static_cast<size_t>(point - block), ",");
            point -= block;
        }
    }
    if (width != 0) {
        int64_t field = std::max<int64_t>(0, int64_t{width} + decimals + 1);
        if (static_cast<int64_t>(text.size()) > field)
            text = "Error";
        int64_t size = static_cast<int64_t>(text.size());
        if (size < field)
            text.insert(0, static_cast<size_t>(field - size), ' ');
        else
            text = text.substr(static_cast<size_t>(size - field));
    }
    return text;
}

std::string ccRoundFloatToString(float value, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    int factor = 1;
    for (int i = 0; i < decimals; ++i)
        factor *= 10;
    double n = std::floor(static_cast<double>(value) * factor + 0.5);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.0f", n);
    std::string text = buf;
    while (text.size() <= static_cast<size_t>(decimals))
        text.insert(0, "0");
    if (decimals > 0)
        text.insert(text.size() - static_cast<size_t>(decimals), ".");
    return text;
}

std::string ccTimeTo12Hour(const std::string& time) {
    int hour = platform::StrToInt(ccMid(time, 1, 2));
    std::string suffix = "am";
    if (hour >= 12) {
        suffix = "pm";
        hour -= 12;
    }
    if (hour == 0)
        hour = 12;
    return std::to_string(hour) + (time.size() > 2 ? time.substr(2) : std::string()) + suffix;
}

int ccMillisecsToMinutes(float milliseconds, int& minutes, int& seconds) {
    float t = milliseconds / 1000.0f;
    bool negative = false;
    if (!(t >= 0.0f)) {
        negative = true;
        t = std::fabs(t);
    }
    minutes = platform::TruncToInt(std::floor(t / 60.0f));
    seconds = platform::TruncToInt(std::floor(t - static_cast<float>(minutes) * 60.0f));
    if (negative) {
        minutes = -minutes;
        seconds = -seconds;
    }
    return 0;
}

// ---- Arrays and lists --------------------------------------------------------------------------

int ccCopyStringArray(const TStringArray& source, TStringArray& target, int first, int last) {
    const int count = static_cast<int>(std::min<size_t>(source.size(), INT32_MAX));
    if (last == -1 || last >= count)
        last = count - 1;
    first = std::max(first, 0);
    if (first > last) {
        target = TStringArray();
        return 0;
    }
    TStringArray copy(static_cast<size_t>(last) + 1);
    for (int i = first; i <= last; ++i)
        copy[static_cast<size_t>(i)] = source[static_cast<size_t>(i)];
    target = std::move(copy);
    return 0;
}

TStringArray ccRemoveStringArraySlots(const TStringArray& array, int first, int last) {
    const int count = static_cast<int>(std::min<size_t>(array.size(), INT32_MAX));
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last)
        return array;
    TStringArray out(array.begin(), array.begin() + first);
    out.insert(out.end(), array.begin() + last + 1, array.end());
    return out;
}

int ccSortIntArray(TIntArray& array, int ascending) {
    if (ascending)
        std::sort(array.begin(), array.end());
    else
        std::sort(array.begin(), array.end(), std::greater<int>());
    return 0;
}

int ccListIndex(const TObjectList& list, const TObjectPtr& object) {
    int position = 0;
    for (const TObjectPtr& element : list) {
        if (!element)
            continue;
        if (element == object)
            return position;
        ++position;
    }
    return -1;
}

int ccListStringIndex(const TObjectList& list, const std::string& text) {
    int position = 0;
    for (const TObjectPtr& element : list) {
        if (!element)
            continue;
        const auto* string = dynamic_cast<const TStringObject*>(element.get());
        if ((string ? string->Value : std::string()) == text)
            return position;
        ++position;
    }
    return -1;
}
