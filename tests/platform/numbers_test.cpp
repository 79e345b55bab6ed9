#include "platform/system.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

namespace {

using namespace platform;

TEST(Numbers, StrToInt) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"42", 42},
        {"  \t-17xyz", -17},
        {"+8", 8},
        {"$ff", 255},
        {"-$10", -16},
        {"%1011", 11},
        {"%102", 2},
        {"12.9", 12},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"$", 0},
        {"\n5", 0}, // only spaces and tabs are skipped
        {"2147483647", INT_MAX},
        {"2147483648", INT_MIN}, // wraps as a 32-bit number
        {"-2147483648", INT_MIN},
        {"4294967297", 1},
        {"$FFFFFFFF", -1},
        {"99999999999999999999", 1661992959}, // 10^20 - 1 modulo 2^32
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, StrToDoubleReadsTheLongestDecimalPrefixWhateverTheLocale) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1.5", 1.5},    {"  -2.25kg", -2.25}, {".5", 0.5},     {"5.", 5.0},
        {"1e3", 1000.0}, {"1e", 1.0},          {"2E-2x", 0.02}, {"+7", 7.0},
        {"", 0.0},       {".", 0.0},           {"-", 0.0},      {"abc", 0.0},
        {"inf", 0.0},    {"nan", 0.0},         {"0x10", 0.0},   {"3,5", 3.0},
    };
    // A locale with a decimal comma must not change how "1.5" reads.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(StrToDouble(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(StrToDouble("1e999")));
    std::setlocale(LC_ALL, "C");
}

TEST(Numbers, TruncToIntIsDefinedForEveryDouble) {
    struct Case {
        double value;
        int result;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {0.0, 0},
        {1.99, 1},
        {-1.99, -1},
        {-0.5, 0},
        {2147483647.9, INT_MAX},
        {2147483648.0, INT_MAX},
        {1e300, INT_MAX},
        {inf, INT_MAX},
        {-2147483648.9, INT_MIN},
        {-2147483649.0, INT_MIN},
        {-inf, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncToInt(c.value), c.result) << c.value;
}

} // namespace
