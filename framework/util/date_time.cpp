#include "framework/util/date_time.h"

#include "framework/util/strings.h"
#include "platform/system.h"

// clang-format off
const char* const TDateTime::txtMonth_Abbrv[2][12] = {
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Janv", "F\xE9vr", "Mars", "Avr", "Mai", "Juin", "Juil", "Ao\xFBt", "Sept", "Oct", "Nov",
     "D\xE9" "c"}};
const char* const TDateTime::txtMonth_Full[2][12] = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Janvier", "F\xE9vrier", "Mars", "Avril", "Mai", "Juin", "Juillet", "Ao\xFBt", "Septembre",
     "Octobre", "Novembre", "D\xE9" "cembre"}};
const char* const TDateTime::txtDay_Abbrv[2][7] = {
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"Dim", "Lun", "Mar", "Mer", "Jeu", "Ven", "Sam"}};
const char* const TDateTime::txtDay_Full[2][7] = {
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"}};
// clang-format on

namespace {

int SecondsOfDay(const TDateTime& value) {
    return value.Hour * 3600 + value.Minute * 60 + value.Second;
}

int LanguageRow() {
    return TDateTime::Language == TDateTime::lngFrench ? TDateTime::lngFrench
                                                       : TDateTime::lngEnglish;
}

// Adds amount to a field of base units, carrying whole bases into the next larger unit. Amounts
// are added as they are: a negative amount is not borrowed from the larger unit.
TDateTime AddWithCarry(TDateTime result, int TDateTime::*field, int base, const char* next,
                       int amount) {
    if (amount / base != 0) {
        result = TDateTime::Add(next, amount / base, result);
        result.*field += amount % base;
    } else {
        result.*field += amount;
    }
    int carry = result.*field / base;
    if (carry > 0) {
        result.*field -= base * carry;
        result = TDateTime::Add(next, carry, result);
    }
    return result;
}

} // namespace

int TDateTime::Compare(const TObject& other) const {
    if (const auto* date = dynamic_cast<const TDateTime*>(&other))
        return compare(*date);
    return TObject::Compare(other);
}

int TDateTime::compare(const TDateTime& other) const {
    int days = Conv_Date2Julian(*this) - Conv_Date2Julian(other);
    if (days != 0)
        return days;
    return SecondsOfDay(*this) - SecondsOfDay(other);
}

TDateTime TDateTime::Create() {
    return TDateTime();
}

TDateTime TDateTime::Add(const std::string& interval, int amount, const TDateTime& value) {
    TDateTime result;
    value.Copy(result);
    if (interval == "Y") {
        result.Year += amount;
    } else if (interval == "M") {
        if (amount / 12 != 0) {
            result = Add("Y", amount / 12, result);
            result.Month += amount % 12;
        } else {
            result.Month += amount;
        }
        if (result.Month > 12) {
            int years = (result.Month - 1) / 12;
            result.Month -= 12 * years;
            result = Add("Y", years, result);
        } else if (result.Month < 1) {
            // Months taken away below January borrow whole years, so the month stays nameable.
            int years = (12 - result.Month) / 12;
            result.Month += 12 * years;
            result = Add("Y", -years, result);
        }
    } else if (interval == "D") {
        Conv_Julian2Date(Conv_Date2Julian(result) + amount, result);
    } else if (interval == "H") {
        result = AddWithCarry(result, &TDateTime::Hour, 24, "D", amount);
    } else if (interval == "N") {
        result = AddWithCarry(result, &TDateTime::Minute, 60, "H", amount);
    } else if (interval == "S") {
        result = AddWithCarry(result, &TDateTime::Second, 60, "N", amount);
    }
    return result;
}

int TDateTime::Diff(const std::string& interval, const TDateTime& first, const TDateTime& second) {
    const int days = Conv_Date2Julian(second) - Conv_Date2Julian(first);
    if (interval == "Y")
        return second.Year - first.Year;
    if (interval == "M")
        return (second.Year - first.Year) * 12 + (second.Month - first.Month);
    if (interval == "D")
        return days;
    if (interval == "H")
        return days * 24 + (second.Hour - first.Hour);
    if (interval == "N")
        return days * 1440 + (second.Hour * 60 + second.Minute) - (first.Hour * 60 + first.Minute);
    if (interval == "S")
        return days * 86400 + SecondsOfDay(second) - SecondsOfDay(first);
    return 0;
}

std::string TDateTime::Get_String(const TDateTime& value, const std::string& pattern) {
    std::string text;
    size_t start = 0;
    while (start < pattern.size()) {
        size_t end = start;
        while (end < pattern.size() && pattern[end] == pattern[start])
            ++end;
        text += Get_String_Parser(pattern, std::string(1, pattern[start]),
                                  static_cast<int>(end) + 1, static_cast<int>(end - start), value);
        start = end;
    }
    return text;
}

std::string TDateTime::Get_String_Parser(const std::string& pattern, const std::string& letter,
                                         int position, int length, const TDateTime& value) {
    const int row = LanguageRow();
    auto plainOrPadded = [&](int field) {
        if (length == 1)
            return std::to_string(field);
        if (length == 2)
            return Get_String_Parser_Formater(field, 2);
        return std::string();
    };
    if (letter == "Y") {
        if (length == 2 || length == 4)
            return Get_String_Parser_Formater(value.Year, length);
        return std::string();
    }
    if (letter == "M") {
        if (length <= 2)
            return plainOrPadded(value.Month);
        if (value.Month < 1 || value.Month > 12)
            return std::string();
        if (length == 3)
            return txtMonth_Abbrv[row][value.Month - 1];
        if (length == 4)
            return txtMonth_Full[row][value.Month - 1];
        return std::string();
    }
    if (letter == "D") {
        if (length <= 2)
            return plainOrPadded(value.Day);
        const int day = WeekDay(value);
        if (day < 0 || day > 6)
            return std::string();
        if (length == 3)
            return txtDay_Abbrv[row][day];
        if (length == 4)
            return txtDay_Full[row][day];
        return std::string();
    }
    if (letter == "H")
        return plainOrPadded(value.Hour);
    if (letter == "N")
        return plainOrPadded(value.Minute);
    if (letter == "S")
        return plainOrPadded(value.Second);
    return ccMid(pattern, position - length, length);
}

std::string TDateTime::Get_String_Parser_Formater(int number, int width) {
    std::string text = std::to_string(number);
    if (width < 0)
        width = 0;
    const size_t w = static_cast<size_t>(width);
    if (text.size() < w)
        return std::string(w - text.size(), '0') + text;
    return text.substr(text.size() - w);
}

int TDateTime::Conv_Date2Julian(const TDateTime& value) {
    const int Y = value.Year;
    const int M = value.Month;
    return 367 * Y - (7 * (Y + 5001 + (M - 9) / 7)) / 4 + (275 * M) / 9 + value.Day + 1729777;
}

int TDateTime::Conv_Julian2Date(int J, TDateTime& value) {
    const int c = J + 1402;
    const int k1 = (c - 1) / 1461;
    const int l = c - 1461 * k1;
    const int k2 = (l - 1) / 365 - l / 1461;
    const int i = l - 365 * k2 + 30;
    const int k3 = (80 * i) / 2447;
    value.Day = i - (2447 * k3) / 80;
    const int k4 = k3 / 11;
    value.Month = k3 + 2 - 12 * k4;
    value.Year = 4 * k1 + k2 + k4 - 4716;
    return 0;
}

int TDateTime::WeekDay(const TDateTime& value) {
    int m = value.Month;
    int y = value.Year;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    return (value.Day + (13 * m - 27) / 5 + y + y / 4 - y / 100 + y / 400) % 7;
}

int TDateTime::Copy(TDateTime& target) const {
    return target.Set_DateTimeSerial(Year, Month, Day, Hour, Minute, Second);
}

int TDateTime::Set_DateSerial(int year, int month, int day) {
    Year = year;
    Month = month;
    Day = day;
    return 0;
}

int TDateTime::Set_TimeSerial(int hour, int minute, int second) {
    Hour = hour;
    Minute = minute;
    Second = second;
    return 0;
}

int TDateTime::Set_DateTimeSerial(int year, int month, int day, int hour, int minute, int second) {
    Set_TimeSerial(hour, minute, second);
    Set_DateSerial(year, month, day);
    return 0;
}

int TDateTime::Set_DateCurrent() {
    // "08 Dec 2026"
    const std::string date = platform::CurrentDate();
    Day = platform::StrToInt(ccMid(date, 1, 2));
    const size_t found = std::string(MonthList).find(AsciiUpper(ccMid(date, 4, 3)));
    const int position = found == std::string::npos ? 0 : static_cast<int>(found) + 1;
    Month = position / 3 + 1;
    Year = platform::StrToInt(date.size() > 4 ? date.substr(date.size() - 4) : date);
    return 0;
}

int TDateTime::Set_TimeCurrent() {
    // "21:17:40"
    const std::string time = platform::CurrentTime();
    Hour = platform::StrToInt(ccMid(time, 1, 2));
    Minute = platform::StrToInt(ccMid(time, 4, 3));
    Second = platform::StrToInt(time.size() > 6 ? time.substr(6) : std::string());
    return 0;
}

int TDateTime::Set_DateTimeCurrent() {
    Set_DateCurrent();
    Set_TimeCurrent();
    return 0;
}

int TDateTime::Debug_PrintDate() const {
    platform::Print(std::to_string(Year) + "/" + std::to_string(Month) + "/" + std::to_string(Day) +
                    "  " + std::to_string(Hour) + ":" + std::to_string(Minute) + ":" +
                    std::to_string(Second));
    return 0;
}
