#include "game/net/address_checks.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressChecks, CheckIPAndCheckPort) {
    struct Case {
        bool port; // CheckPort, else CheckIP
        const char* text;
        int result;
    } cases[] = {
        {false, "", 1},
        {false, "1.2.3", -1},
        {false, "1.2.3.4.5", -1},
        {false, "255.255.255.255", 1},
        {false, "256.0.0.1", -1},
        {false, "1.2.3.300", -1},
        {false, "...", 1},
        {false, "1..2.3", 1},
        {false, "010.000.001.002", 1},
        {false, "127.0.0.1", 1},
        {false, " 1.2.3.4 ", 1},
        // Long digit runs must not wrap round to a small value.
        {false, "4294967296.1.1.1", -1},
        {false, "99999999999.1.1.1", -1},
        {true, "65535", 1},
        {true, "65536", -1},
        {true, "99999", -1},
        {true, "0", 1},
        {true, "", 1},
        {true, "5337", 1},
        {true, "4294967297", -1},
        {true, "00000000000000000080", 1},
    };
    for (const auto& c : cases) {
        std::string message = "left over";
        const int result = c.port ? CheckPort(c.text, message) : CheckIP(c.text, message);
        EXPECT_EQ(result, c.result) << c.text;
        const char* refusal = c.port ? "Error: Invalid Port Number" : "Error: Invalid IP Address";
        EXPECT_EQ(message, c.result == 1 ? "" : refusal) << c.text;
    }
}

TEST(AddressChecks, SplitString) {
    struct Case {
        const char* text;
        const char* separator;
        std::optional<TStringArray> pieces;
    } cases[] = {
        {"a.b", ".", TStringArray{"a", "b"}},
        {"a.", ".", TStringArray{"a", ""}},
        {".", ".", TStringArray{"", ""}},
        {"", ".", TStringArray{""}},
        {" a.b ", ".", TStringArray{"a", "b"}},
        {"\t\na..b\x01", ".", TStringArray{"a", "", "b"}},
        {"a.b", "", std::nullopt},
        {"a.b", "..", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitString(c.text, c.separator), c.pieces) << c.text;
}

TEST(AddressChecks, DecimalValueReadsLeadingDigitsAndSaturates) {
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("abc"), 0);
    EXPECT_EQ(DecimalValue("5337x1"), 5337);
    EXPECT_EQ(DecimalValue("007"), 7);
    EXPECT_EQ(DecimalValue("123456789012345"), DECIMAL_VALUE_CAP);
}

} // namespace
