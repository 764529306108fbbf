// Dates and times written out in the class library's format notation (d dd ddd dddd ddddd
// dddddd, m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm, a/p, ampm, quoted
// literals, "/" and ":" as the separators). Names and formats come from a settings table.
#pragma once

#include <array>
#include <string>

// One moment of the calendar.
struct TDateTimeValue {
  int Year = 2000, Month = 1, Day = 1;  // Month 1-12, Day 1-31
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// What the notation takes from the locale; day names start with Sunday.
struct TDateTimeSettings {
  std::array<std::u16string, 12> ShortMonthNames, LongMonthNames;
  std::array<std::u16string, 12> GenitiveMonthNames;  // "mmmm" beside a day number: "11 декабря"
  std::array<std::u16string, 7> ShortDayNames, LongDayNames;
  std::u16string ShortDateFormat, LongDateFormat, ShortTimeFormat, LongTimeFormat;
  char16_t DateSeparator = u'.', TimeSeparator = u':';
  std::u16string TimeAMString, TimePMString;
};

// The settings of a locale: 1049 (Russian) or, for every other LCID, 1033 (English).
TDateTimeSettings DateTimeSettingsFor(unsigned lcid);

// 0 for Sunday to 6 for Saturday.
int DayOfWeek(const TDateTimeValue& value);

// `value` written in `format`; "mm" right after an hour means minutes, "c" leaves out a midnight
// time, an am/pm mark anywhere makes the hours count to 12, and "mmmm" in a format that also
// holds "d" or "dd" takes the month's genitive name.
std::u16string FormatDateTime(const std::u16string& format, const TDateTimeValue& value,
                              const TDateTimeSettings& settings);
