#include "platform/system.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Value of c as a digit of the base, or -1.
int DigitValue(char c, unsigned base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v >= 0 && static_cast<unsigned>(v) < base ? v : -1;
}

// The C locale, so that the decimal point is "." whatever the user's locale says.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

int StrToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned arithmetic wraps by definition; the result is the same bits as a 32-bit int.
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0)
            break;
        value = value * base + static_cast<uint32_t>(d);
    }
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

double StrToDouble(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when it has digits ("1e" reads as 1).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    const std::string number = text.substr(start, i - start);
    return strtod_l(number.c_str(), nullptr, CLocale());
}

int TruncToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0)
        return INT_MAX;
    if (value <= -2147483649.0)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace platform
