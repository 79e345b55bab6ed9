#pragma once
// A fixed local time for the tests that read the clock or write dates (error log, screenshot
// names).

#include <ctime>

namespace util_tests {

inline std::tm LocalTimeAt(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

} // namespace util_tests
