#include "game/net/address_checks.h"

namespace {

constexpr std::size_t IP_PARTS = 4;
constexpr int IP_PART_MAX = 255;
constexpr int PORT_MAX = 65535;

bool Blank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::optional<TStringArray> SplitString(const std::string& text, const std::string& separator) {
    if (separator.size() != 1)
        return std::nullopt;
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && Blank(text[first]))
        ++first;
    while (last > first && Blank(text[last - 1]))
        --last;
    TStringArray pieces;
    std::size_t start = first;
    for (std::size_t i = first; i < last; ++i) {
        if (text[i] == separator[0]) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start, last - start));
    return pieces;
}

int DecimalValue(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value >= DECIMAL_VALUE_CAP)
            return DECIMAL_VALUE_CAP;
    }
    return value;
}

int CheckIP(const std::string& text, std::string& message) {
    message.clear();
    if (text.empty())
        return 1;
    const auto parts = SplitString(text, ".");
    bool valid = parts && parts->size() == IP_PARTS;
    if (valid)
        for (const auto& part : *parts)
            valid = valid && DecimalValue(part) <= IP_PART_MAX;
    if (valid)
        return 1;
    message = "Error: Invalid IP Address";
    return -1;
}

int CheckPort(const std::string& text, std::string& message) {
    message.clear();
    if (DecimalValue(text) <= PORT_MAX)
        return 1;
    message = "Error: Invalid Port Number";
    return -1;
}
