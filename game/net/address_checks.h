#pragma once
// The checks of the address and port prompts: plain functions of the typed text that pass it (1,
// with an empty message) or refuse it (-1, with the message that the prompt's error dialog shows).
// The prompts only let digits (and dots for the address) be typed, so the checks judge the numbers.

#include "framework/util/strings.h"

#include <optional>
#include <string>

// The pieces of the text, trimmed of characters 0 to 32 at both ends, between occurrences of a
// one-character separator: n separators give n + 1 pieces, the empty text one empty piece. No list
// when the separator is not exactly one character.
std::optional<TStringArray> SplitString(const std::string& text, const std::string& separator);

// The number formed by the decimal digits at the start of the text; 0 when there are none. A long
// run of digits stops growing at DECIMAL_VALUE_CAP instead of wrapping round to a small number.
constexpr int DECIMAL_VALUE_CAP = 1000000;
int DecimalValue(const std::string& text);

// 1 for the empty text or four dot-separated parts of value 0 to 255 (empty parts count 0),
// else -1 with "Error: Invalid IP Address".
int CheckIP(const std::string& text, std::string& message);
// 1 for a value up to 65535, else -1 with "Error: Invalid Port Number".
int CheckPort(const std::string& text, std::string& message);
