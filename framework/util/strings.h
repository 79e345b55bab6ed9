#pragma once
// The library's plain functions for cutting, splitting, word-wrapping, filling and formatting text,
// and for copying, trimming, sorting and searching arrays and lists. Strings hold one byte per
// character; positions count from 1, indexes from 0; comparisons are exact.

#include "framework/util/object.h"

#include <string>
#include <vector>

using TStringArray = std::vector<std::string>;
using TIntArray = std::vector<int>;

// Anything that can tell the drawn width of a text in pixels; bitmap fonts are one. The word
// wraps measure with it, or with the current image font when none is given.
class TStringWidthSource {
public:
    virtual ~TStringWidthSource() = default;
    virtual double StringWidth(const std::string& text) const = 0;
};

// ---- Sub-strings -------------------------------------------------------------------------------

// The text before the first separator (all of it when there is none).
std::string ccFirstStringToSub(const std::string& text, const std::string& separator);
// The text behind the first separator ("" when there is none).
std::string ccLastStringToSub(const std::string& text, const std::string& separator);
// The text before the first ",".
std::string ccFirstString(const std::string& text);
// The text before the first separator; text becomes what follows the separator's first character
// ("" when there is no separator).
std::string ccFirstStringToSubChop(std::string& text, const std::string& separator);
// At most count characters from the 1-based position start; positions before 1 count against count.
std::string ccMid(const std::string& text, int start, int count);

// ---- Lines and word wrap -----------------------------------------------------------------------

// The text cut at each line feed; a carriage return just before a line feed is dropped, and a
// final line feed adds no empty line.
TStringArray ccSplitStringIntoLines(const std::string& text);
// Each line broken at single spaces into lines at most width pixels wide, measured with font, or
// with the current image font when font is null. A word wider than width stands alone.
TStringArray ccWordWrapArray(const TStringArray& lines, int width,
                             const TStringWidthSource* font = nullptr);
// As ccWordWrapArray without reducing runs of spaces; from output line switchLine (counted from 1)
// on, lines are measured against width2.
TStringArray ccWordWrapArraySpecial(const TStringArray& lines, int width, int width2,
                                    int switchLine, const TStringWidthSource* font = nullptr);

// ---- Filling and number text -------------------------------------------------------------------

std::string ccPadWithZeros(const std::string& text, int length);
// pad appended until the text is at least length long (a long pad may overshoot; an empty pad
// leaves the text as it is).
std::string ccPadWithChar(const std::string& text, int length, const std::string& pad);
std::string ccIntToStringWithSign(int value);
// The value cut (not rounded) to decimals places, with "," between blocks of block digits, and
// right-aligned in a field of width + decimals + 1 characters when width is not 0.
std::string ccFormatNumber(double value, int decimals, int block, int width);
// The value rounded half up to decimals places, with at least one digit before the point.
std::string ccRoundFloatToString(float value, int decimals);
// "13:45:10" -> "1:45:10pm".
std::string ccTimeTo12Hour(const std::string& time);
int ccMillisecsToMinutes(float milliseconds, int& minutes, int& seconds);

// ---- Arrays and lists --------------------------------------------------------------------------

// target = last + 1 slots, slots first..last from source, the ones below first empty; last -1
// stands for the source's last index.
int ccCopyStringArray(const TStringArray& source, TStringArray& target, int first, int last);
// A new array without the slots first..last.
TStringArray ccRemoveStringArraySlots(const TStringArray& array, int first, int last);
int ccSortIntArray(TIntArray& array, int ascending);
// Position of the very object in the list, counting the elements that are not null; -1 if absent.
int ccListIndex(const TObjectList& list, const TObjectPtr& object);
// Position of the first string element equal to text (other elements count as ""); -1 if absent.
int ccListStringIndex(const TObjectList& list, const std::string& text);

// ---- Helpers of this library -------------------------------------------------------------------

// Letters a to z made upper case; every other byte unchanged.
std::string AsciiUpper(const std::string& text);
