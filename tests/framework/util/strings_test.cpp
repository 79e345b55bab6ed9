#include "framework/util/strings.h"

#include "platform/graphics.h"

#include <gtest/gtest.h>

namespace {

// Ten pixels per character, the measure of the wrap examples.
class TenPixelFont : public TStringWidthSource {
public:
    double StringWidth(const std::string& text) const override { return 10.0 * text.size(); }
};

TEST(SubStrings, SplitAtTheFirstSeparator) {
    struct Case {
        std::string text, separator, first, last;
    } cases[] = {
        {"KEY=A=B", "=", "KEY", "A=B"}, {"Bonus", "=", "Bonus", ""},        {"=x", "=", "", "x"},
        {"a::b::c", "::", "a", "b::c"}, {"Sound = 1", "=", "Sound ", " 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ccFirstStringToSub(c.text, c.separator), c.first) << c.text;
        EXPECT_EQ(ccLastStringToSub(c.text, c.separator), c.last) << c.text;
    }
    EXPECT_EQ(ccFirstString("red,green,blue"), "red");
}

TEST(SubStrings, ChopConsumesOnlyTheSeparatorsFirstCharacter) {
    std::string text = "a::b";
    EXPECT_EQ(ccFirstStringToSubChop(text, "::"), "a");
    EXPECT_EQ(text, ":b");
    text = "one,two";
    EXPECT_EQ(ccFirstStringToSubChop(text, ","), "one");
    EXPECT_EQ(text, "two");
    EXPECT_EQ(ccFirstStringToSubChop(text, ","), "two");
    EXPECT_EQ(text, "");
}

TEST(SubStrings, MidCountsPositionsFromOne) {
    struct Case {
        int start, count;
        std::string expected;
    } cases[] = {
        {1, 3, "abc"},
        {2, 2, "bc"},
        {0, 3, "ab"},
        {-1, 3, "a"},
        {-5, 3, ""},
        {4, 10, "def"},
        {6, 1, "f"},
        {7, 1, ""},
        {2, -1, ""},
        {2, 0, ""},
        {1, 2147483647, "abcdef"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccMid("abcdef", c.start, c.count), c.expected) << c.start << "," << c.count;
}

TEST(SplitStringIntoLines, CutsAtLineFeeds) {
    struct Case {
        std::string text;
        TStringArray lines;
    } cases[] = {
        {"", {}},
        {"a\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"\na", {"", "a"}},
        {"a\rb\n", {"a\rb"}},
        {"\r\n", {""}},
        {"a\r\r\nb", {"a\r", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccSplitStringIntoLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(WordWrap, BreaksAtSpacesWithinTheWidth) {
    TenPixelFont font;
    struct Case {
        TStringArray lines;
        TStringArray expected;
    } cases[] = {
        // A candidate of exactly the width fits.
        {{"the quick brown fox jumps over the lazy dog"},
         {"the quick", "brown fox", "jumps over", "the lazy", "dog"}},
        {{""}, {""}},
        {{"a  b c"}, {"a b c"}},
        // Runs of spaces are passed over; the words behind them are kept.
        {{"a   b c"}, {"a b c"}},
        {{"a      b"}, {"a b"}},
        {{"a b "}, {"a b"}},
        {{" a b"}, {" a b"}},
        {{"abcdefghijklmno xy"}, {"abcdefghijklmno", "xy"}},
        {{"one", "", "two three"}, {"one", "", "two three"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccWordWrapArray(c.lines, 100, &font), c.expected)
            << testing::PrintToString(c.lines);
}

TEST(WordWrap, TruncatesTheFontsWidth) {
    class AlmostEleven : public TStringWidthSource {
    public:
        double StringWidth(const std::string& text) const override { return 10.99 * text.size(); }
    } font;
    // "ab cd" measures 54.95, taken as 54.
    EXPECT_EQ(ccWordWrapArray({"ab cd"}, 54, &font), (TStringArray{"ab cd"}));
    EXPECT_EQ(ccWordWrapArray({"ab cd"}, 53, &font), (TStringArray{"ab", "cd"}));
}

TEST(WordWrap, MeasuresWithTheImageFontWithoutAFont) {
    platform::SetImageFont(nullptr);
    const int width = platform::TextWidth("Error loading file");
    ASSERT_GT(width, 0);
    EXPECT_EQ(ccWordWrapArray({"Error loading file"}, width), (TStringArray{"Error loading file"}));
    EXPECT_EQ(ccWordWrapArray({"Error loading file"}, width - 1),
              (TStringArray{"Error loading", "file"}));
}

TEST(WordWrap, SpecialSwitchesToTheSecondWidth) {
    TenPixelFont font;
    const TStringArray text = {"one two three four five six seven"};
    EXPECT_EQ(ccWordWrapArraySpecial(text, 90, 50, 2, &font),
              (TStringArray{"one two", "three", "four", "five", "six", "seven"}));
    EXPECT_EQ(ccWordWrapArraySpecial(text, 90, 50, 1, &font),
              (TStringArray{"one two", "three", "four five", "six seven"}));
    EXPECT_EQ(ccWordWrapArraySpecial(text, 90, 50, 0, &font),
              (TStringArray{"one two", "three", "four five", "six seven"}));
    // The switch is also tested after a finished source line.
    EXPECT_EQ(ccWordWrapArraySpecial({"aa bb", "cc dd"}, 50, 20, 2, &font),
              (TStringArray{"aa bb", "cc", "dd"}));
    // Runs of spaces are not reduced, and still do not lose the words behind them.
    EXPECT_EQ(ccWordWrapArraySpecial({"a  b"}, 90, 50, 2, &font), (TStringArray{"a b"}));
}

TEST(Padding, FillsToTheLength) {
    EXPECT_EQ(ccPadWithZeros("7", 3), "007");
    EXPECT_EQ(ccPadWithZeros("4567", 3), "4567");
    EXPECT_EQ(ccPadWithChar("ab", 5, "."), "ab...");
    EXPECT_EQ(ccPadWithChar("ab", 5, "xy"), "abxyxy");
    EXPECT_EQ(ccPadWithChar("abcdef", 5, "."), "abcdef");
    EXPECT_EQ(ccPadWithChar("ab", 5, ""), "ab");
    EXPECT_EQ(ccIntToStringWithSign(0), "0");
    EXPECT_EQ(ccIntToStringWithSign(5), "+5");
    EXPECT_EQ(ccIntToStringWithSign(-5), "-5");
}

TEST(FormatNumber, CutsGroupsAndAligns) {
    struct Case {
        double value;
        int decimals, block, width;
        std::string expected;
    } cases[] = {
        {7654321.987, 2, 3, 0, "7,654,321.98"},
        {7654321.987, 0, 3, 0, "7,654,321"},
        {0.29, 2, 0, 0, "0.28"},
        {2.999, 2, 0, 0, "2.99"},
        {5, 0, 0, 0, "5"},
        {12.5, 1, 0, 5, "   12.5"},
        {654321, 0, 0, 3, "ror"},
        {654321, 0, 0, 4, "rror"},
        {123.25, 1, 3, 0, "123.2"},
        {1234, 0, 3, 8, "   1,234"},
        {1.5, 20, 0, 0, "1.5000000000000000    "},
        // Decimals below -1 cut digits off the integer part.
        {1234567, -3, 3, 0, "1,234,5"},
        {1234567, -5, 3, 0, "1,23"},
        {1234567, -9, 3, 0, ""},
        {1234567, -5, 3, 2, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccFormatNumber(c.value, c.decimals, c.block, c.width), c.expected) << c.value;
}

TEST(RoundFloatToString, RoundsHalfUp) {
    struct Case {
        float value;
        int decimals;
        std::string expected;
    } cases[] = {
        {3.14159f, 2, "3.14"}, {0.05f, 3, "0.050"},   {2.5f, 0, "3"},    {0.999f, 2, "1.00"},
        {12.0f, 2, "12.00"},   {-1.456f, 2, "-1.46"}, {0.0f, 2, "0.00"}, {7.0f, 0, "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ccRoundFloatToString(c.value, c.decimals), c.expected) << c.value;
}

TEST(TimeText, TwelveHourClockAndMinutes) {
    EXPECT_EQ(ccTimeTo12Hour("13:45:10"), "1:45:10pm");
    EXPECT_EQ(ccTimeTo12Hour("00:05:00"), "12:05:00am");
    EXPECT_EQ(ccTimeTo12Hour("12:30:00"), "12:30:00pm");
    EXPECT_EQ(ccTimeTo12Hour("09:00:00"), "9:00:00am");

    struct Case {
        float ms;
        int minutes, seconds;
    } cases[] = {{125500, 2, 5}, {-61000, -1, -1}, {0, 0, 0}, {59999, 0, 59}, {3600000, 60, 0}};
    for (const Case& c : cases) {
        int minutes = 99, seconds = 99;
        EXPECT_EQ(ccMillisecsToMinutes(c.ms, minutes, seconds), 0);
        EXPECT_EQ(minutes, c.minutes) << c.ms;
        EXPECT_EQ(seconds, c.seconds) << c.ms;
    }
}

TEST(StringArrays, CopyAndRemoveSlots) {
    const TStringArray five = {"a", "b", "c", "d", "e"};
    EXPECT_EQ(ccRemoveStringArraySlots(five, 1, 2), (TStringArray{"a", "d", "e"}));
    EXPECT_EQ(ccRemoveStringArraySlots(five, 0, 4), TStringArray{});
    EXPECT_EQ(ccRemoveStringArraySlots(five, 3, 99), (TStringArray{"a", "b", "c"}));

    TStringArray target = {"old"};
    ccCopyStringArray(five, target, 2, 3);
    EXPECT_EQ(target, (TStringArray{"", "", "c", "d"}));
    ccCopyStringArray(five, target, 0, -1);
    EXPECT_EQ(target, five);
    ccCopyStringArray(five, target, 3, 2);
    EXPECT_EQ(target, TStringArray{});
    ccCopyStringArray(five, target, -2, 10);
    EXPECT_EQ(target, five);
}

TEST(IntArrays, SortsBothWays) {
    TIntArray values = {3, -1, 7, 0, 3};
    ccSortIntArray(values, 1);
    EXPECT_EQ(values, (TIntArray{-1, 0, 3, 3, 7}));
    ccSortIntArray(values, 0);
    EXPECT_EQ(values, (TIntArray{7, 3, 3, 0, -1}));
}

TEST(Lists, PositionsSkipNullElements) {
    auto a = std::make_shared<TStringObject>("anna");
    auto b = std::make_shared<TStringObject>("bert");
    auto same = std::make_shared<TStringObject>("bert");
    auto other = std::make_shared<TObject>();
    TObjectList list = {nullptr, a, nullptr, other, b};

    EXPECT_EQ(ccListIndex(TObjectList{}, a), -1);
    EXPECT_EQ(ccListIndex(list, a), 0);
    EXPECT_EQ(ccListIndex(list, b), 2);
    EXPECT_EQ(ccListIndex(list, same), -1); // identity, not equality
    EXPECT_EQ(ccListIndex(list, nullptr), -1);

    EXPECT_EQ(ccListStringIndex(TObjectList{}, "anna"), -1);
    EXPECT_EQ(ccListStringIndex(list, "bert"), 2);
    EXPECT_EQ(ccListStringIndex(list, "Bert"), -1);
    EXPECT_EQ(ccListStringIndex(list, ""), 1); // an element that is no string reads as ""
}

TEST(Upper, TouchesOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpper("Music Volume=20 \xE9z"), "MUSIC VOLUME=20 \xE9Z");
}

} // namespace
