#include "framework/util/date_time.h"

#include "platform/system.h"
#include "tests/framework/util/local_time.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using util_tests::LocalTimeAt;

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    TDateTime value = TDateTime::Create();
    value.Set_DateTimeSerial(year, month, day, hour, minute, second);
    return value;
}

std::string Text(const TDateTime& v) {
    return TDateTime::Get_String(v, "YYYY-MM-DD HH:NN:SS");
}

TEST(DateTime, NewValuesAreZero) {
    TDateTime v = TDateTime::Create();
    EXPECT_EQ(v.Year + v.Month + v.Day + v.Hour + v.Minute + v.Second, 0);
}

TEST(DateTime, GetStringFormatsRuns) {
    const TDateTime screenshot = At(2026, 12, 8, 21, 17, 40);
    const TDateTime march = At(2026, 3, 5, 7, 4, 9);
    struct Case {
        TDateTime value;
        std::string pattern, expected;
    } cases[] = {
        {screenshot, "YYYY-MM-DD HHNNSS screenshot.png", "2026-12-08 211740 screenshot.png"},
        {screenshot, "YY", "26"},
        {screenshot, "YYY", ""},
        {screenshot, "Y", ""},
        {screenshot, "YYYYY", ""},
        {march, "M", "3"},
        {march, "MM", "03"},
        {march, "MMM", "Mar"},
        {march, "MMMM", "March"},
        {march, "MMMMM", ""},
        {screenshot, "DDD", "Tue"},
        {screenshot, "DDDD", "Tuesday"},
        {march, "D/DD H:HH N:NN S:SS", "5/05 7:07 4:04 9:09"},
        {screenshot, "HHH NNN SSS", "  "},
        {screenshot, "yyyy", "yyyy"},
        {screenshot, "", ""},
        {At(5, 1, 1), "YYYY", "0005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDateTime::Get_String(c.value, c.pattern), c.expected) << c.pattern;
}

TEST(DateTime, FrenchNamesAreLatin1) {
    TDateTime::Language = TDateTime::lngFrench;
    EXPECT_EQ(TDateTime::Get_String(At(2026, 2, 1), "MMMM MMM"), "F\xE9vrier F\xE9vr");
    EXPECT_EQ(TDateTime::Get_String(At(2026, 12, 8), "DDDD DDD MMMM"), "Mardi Mar D\xE9"
                                                                       "cembre");
    TDateTime::Language = TDateTime::lngEnglish;
    EXPECT_EQ(TDateTime::Get_String(At(2026, 8, 1), "MMMM"), "August");
}

TEST(DateTime, FormaterKeepsTheLastDigits) {
    EXPECT_EQ(TDateTime::Get_String_Parser_Formater(2026, 2), "26");
    EXPECT_EQ(TDateTime::Get_String_Parser_Formater(7, 3), "007");
    EXPECT_EQ(TDateTime::Get_String_Parser_Formater(12, 2), "12");
}

TEST(DateTime, AddCarriesIntoLargerUnits) {
    struct Case {
        TDateTime value;
        std::string interval;
        int amount;
        std::string expected;
    } cases[] = {
        {At(2026, 11, 15), "M", 1, "2026-12-15 00:00:00"},
        {At(2026, 12, 15), "M", 1, "2027-01-15 00:00:00"},
        {At(2026, 12, 15), "M", 13, "2028-01-15 00:00:00"},
        {At(2026, 12, 15), "M", 24, "2028-12-15 00:00:00"},
        {At(2026, 1, 31), "M", 1, "2026-02-31 00:00:00"},
        {At(2026, 3, 15), "M", -5, "2025-10-15 00:00:00"},
        {At(2026, 3, 15), "M", -15, "2024-12-15 00:00:00"},
        {At(2024, 2, 28), "D", 1, "2024-02-29 00:00:00"},
        {At(2100, 2, 28), "D", 1, "2100-02-29 00:00:00"},
        {At(2026, 3, 1), "D", -1, "2026-02-28 00:00:00"},
        {At(2026, 12, 31, 23, 59, 59), "S", 1, "2027-01-01 00:00:00"},
        {At(2026, 12, 8, 23), "S", 3661, "2026-12-09 00:01:01"},
        {At(2026, 12, 8, 22, 30), "N", 95, "2026-12-09 00:05:00"},
        {At(2026, 12, 8, 20), "H", 52, "2026-12-11 00:00:00"},
        {At(2026, 12, 8, 2), "H", -5, "2026-12-08 -3:00:00"},
        {At(2020, 2, 29), "Y", 1, "2021-02-29 00:00:00"},
        {At(2026, 1, 1), "W", 1, "2026-01-01 00:00:00"},
        {At(2026, 1, 1), "d", 1, "2026-01-01 00:00:00"},
    };
    for (const Case& c : cases) {
        const TDateTime before = c.value;
        EXPECT_EQ(Text(TDateTime::Add(c.interval, c.amount, c.value)), c.expected)
            << Text(c.value) << " + " << c.amount << c.interval;
        EXPECT_EQ(before.compare(c.value), 0);
    }
}

TEST(DateTime, DiffCountsCalendarFields) {
    const TDateTime a = At(2026, 12, 31, 23);
    const TDateTime b = At(2027, 1, 1, 1);
    EXPECT_EQ(TDateTime::Diff("D", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("H", a, b), 2);
    EXPECT_EQ(TDateTime::Diff("Y", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("M", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("N", a, b), 120);
    EXPECT_EQ(TDateTime::Diff("S", At(2026, 1, 1, 0, 0, 30), At(2026, 1, 2, 0, 1, 0)), 86430);
    EXPECT_EQ(TDateTime::Diff("S", b, a), -7200);
    EXPECT_EQ(TDateTime::Diff("X", a, b), 0);
}

TEST(DateTime, DayNumbersAndWeekDaysMatchTheCivilCalendar) {
    using namespace std::chrono;
    EXPECT_EQ(TDateTime::Conv_Date2Julian(At(2000, 1, 1)), 2451558);
    EXPECT_EQ(TDateTime::WeekDay(At(2000, 1, 1)), 6);
    EXPECT_EQ(TDateTime::WeekDay(At(2026, 12, 8)), 2);

    const sys_days first = year{1900} / March / 1;
    const sys_days last = year{2100} / February / 28;
    const int base = TDateTime::Conv_Date2Julian(At(1900, 3, 1));
    for (sys_days d = first; d <= last; d += days{1}) {
        const year_month_day ymd{d};
        const TDateTime value =
            At(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())));
        const int J = TDateTime::Conv_Date2Julian(value);
        ASSERT_EQ(J - base, (d - first).count()) << Text(value);
        TDateTime back = At(1, 1, 1, 5, 6, 7);
        TDateTime::Conv_Julian2Date(J, back);
        ASSERT_EQ(Text(back), TDateTime::Get_String(value, "YYYY-MM-DD") + " 05:06:07");
        ASSERT_EQ(TDateTime::WeekDay(value), int(weekday{d}.c_encoding())) << Text(value);
    }
}

TEST(DateTime, CompareOrdersByDayThenTime) {
    const TDateTime a = At(2026, 12, 8, 10);
    EXPECT_LT(a.compare(At(2026, 12, 9)), 0);
    EXPECT_GT(a.compare(At(2026, 12, 8, 9, 59, 59)), 0);
    EXPECT_EQ(a.compare(At(2026, 12, 8, 10)), 0);
    const TObject& root = a;
    EXPECT_LT(root.Compare(At(2027, 1, 1)), 0);
}

TEST(DateTime, CopyAndSerialSetters) {
    const TDateTime source = At(2026, 12, 8, 21, 17, 40);
    TDateTime target = At(1, 2, 3, 4, 5, 6);
    source.Copy(target);
    EXPECT_EQ(Text(target), "2026-12-08 21:17:40");
    target.Set_TimeSerial(1, 2, 3);
    EXPECT_EQ(Text(target), "2026-12-08 01:02:03");
    target.Set_DateSerial(1999, 9, 9);
    EXPECT_EQ(Text(target), "1999-09-09 01:02:03");
}

TEST(DateTime, CurrentReadsTheDateBeforeTheTime) {
    // The clock passes midnight between the two reads.
    int reads = 0;
    platform::SetLocalTimeSource([&] {
        return reads++ == 0 ? LocalTimeAt(2026, 12, 31, 23, 59, 59)
                            : LocalTimeAt(2027, 1, 1, 0, 0, 0);
    });
    TDateTime now;
    now.Set_DateTimeCurrent();
    EXPECT_EQ(Text(now), "2026-12-31 00:00:00");

    platform::SetLocalTimeSource([] { return LocalTimeAt(2026, 2, 8, 21, 7, 4); });
    now.Set_DateTimeCurrent();
    EXPECT_EQ(Text(now), "2026-02-08 21:07:04");
    platform::SetLocalTimeSource(nullptr);
}

TEST(DateTime, DebugPrintHasNoLeadingZeros) {
    testing::internal::CaptureStdout();
    At(2026, 3, 8, 9, 5, 0).Debug_PrintDate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "2026/3/8  9:5:0\n");
}

} // namespace
