#pragma once
// Reading UTF-8 text one code point at a time, for the layer's typed text and message lines.

#include <cstddef>
#include <string_view>

namespace platform::detail {

// What Utf8SequenceEnd gives for a byte that starts no whole sequence.
constexpr char32_t NOT_A_CODE_POINT = 0xFFFFFFFF;

// Where the UTF-8 sequence at `at` ends, with its code point in code. A byte that starts no whole,
// well-formed sequence (a stray continuation byte, a lead byte cut short, an overlong form, a
// surrogate or a value beyond U+10FFFF) is one byte long and gives NOT_A_CODE_POINT; so is a
// position at or past the end, which reads nothing.
inline size_t Utf8SequenceEnd(std::string_view text, size_t at, char32_t& code) {
    code = NOT_A_CODE_POINT;
    if (at >= text.size())
        return at + 1;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || at + length > text.size())
        return at + 1;
    // The second byte's range rules out the overlong forms, the surrogates and values past the
    // last code point.
    const unsigned char second = length > 1 ? byte(at + 1) : 0x80;
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (length > 1 && (second < low || second > high))
        return at + 1;
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return at + 1;
        value = value << 6 | (byte(at + k) & 0x3F);
    }
    code = value;
    return at + length;
}

} // namespace platform::detail
