#pragma once
// A calendar date and a time of day as six integers: intervals added and differences taken in a
// chosen unit, day numbers, the day of the week, and formatting through a pattern of letter runs
// ("YYYY-MM-DD HHNNSS") with month and day names in English or French. Nothing is validated.

#include "framework/util/object.h"

#include <string>

class TDateTime : public TObject {
public:
    // Upper-case month abbreviations, used to read the system date.
    static constexpr const char* MonthList = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    static constexpr int lngEnglish = 0;
    static constexpr int lngFrench = 1;
    // The row of the name tables in use.
    static inline int Language = lngEnglish;
    // Rows: English, French (Latin-1). Months from January, days from Sunday.
    static const char* const txtMonth_Abbrv[2][12];
    static const char* const txtMonth_Full[2][12];
    static const char* const txtDay_Abbrv[2][7];
    static const char* const txtDay_Full[2][7];

    // Ordering against another date: below 0, 0 or above 0 as this one is earlier, equal, later.
    int Compare(const TObject& other) const override;
    int compare(const TDateTime& other) const;

    // ---- Class functions. Interval and pattern letters: Y year, M month, D day, H hour,
    // N minute, S second (upper case only).

    static TDateTime Create();
    // The value with the amount of that interval added; carries go into the larger units, an
    // unknown interval gives the value unchanged.
    static TDateTime Add(const std::string& interval, int amount, const TDateTime& value);
    // second - first in the interval's unit; 0 for an unknown interval.
    static int Diff(const std::string& interval, const TDateTime& first, const TDateTime& second);
    // The pattern with each run of a letter replaced by the field (see Get_String_Parser); other
    // characters are copied.
    static std::string Get_String(const TDateTime& value, const std::string& pattern);
    // The text of one run of length characters ending before the 1-based position.
    static std::string Get_String_Parser(const std::string& pattern, const std::string& letter,
                                         int position, int length, const TDateTime& value);
    // The number in exactly width characters: padded with "0" in front, or its last characters.
    static std::string Get_String_Parser_Formater(int number, int width);
    // The Julian-calendar day number of the date (exact for the civil calendar from 1 March 1900
    // to 28 February 2100), and its inverse, which writes only the date fields.
    static int Conv_Date2Julian(const TDateTime& value);
    static int Conv_Julian2Date(int J, TDateTime& value);
    // 0 Sunday to 6 Saturday.
    static int WeekDay(const TDateTime& value);

    // ---- Methods.

    int Copy(TDateTime& target) const;
    int Set_DateSerial(int year, int month, int day);
    int Set_TimeSerial(int hour, int minute, int second);
    int Set_DateTimeSerial(int year, int month, int day, int hour, int minute, int second);
    // From the system's local date and time.
    int Set_DateCurrent();
    int Set_TimeCurrent();
    int Set_DateTimeCurrent();
    // Y/M/D  H:N:S on standard output.
    int Debug_PrintDate() const;

    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};
