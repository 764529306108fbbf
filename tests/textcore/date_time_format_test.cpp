// Dates and times in the class library's notation, with a fixed moment and both locale tables.
#include <gtest/gtest.h>

#include "textcore/date_time_format.h"

namespace {

const TDateTimeValue kMoment{2024, 3, 5, 14, 7, 9, 42};  // a Tuesday afternoon

TEST(DateTimeFormat, NotationLetters) {
  const TDateTimeSettings english = DateTimeSettingsFor(1033);
  struct Case {
    const char16_t* format;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"dd.mm.yyyy", u"05.03.2024"},
      {u"mm'/'dd'/'yyyy", u"03/05/2024"},
      {u"d/m/yy", u"5/3/24"},                  // "/" is the locale's date separator
      {u"ddd, dd", u"Tue, 05"},
      {u"dddd, dd", u"Tuesday, 05"},
      {u"dd-mmm-yyyy", u"05-Mar-2024"},
      {u"mmmm dd, yyyy", u"March 05, 2024"},
      {u"hh:mm:ss", u"14:07:09"},              // "mm" after an hour means minutes
      {u"h:nn:ss.zzz", u"14:07:09.042"},
      {u"hh:nn am/pm", u"02:07 pm"},           // am/pm makes the hours count to 12
      {u"h a/p", u"2 p"},
      {u"'dd' \"mm\" d", u"dd mm 5"},          // quoted text is copied
      {u"DD.MM.YYYY", u"05.03.2024"},          // letters in any case
      {u"ddddd", u"3/5/2024"},
      {u"dddddd", u"Tuesday, March 05, 2024"},
      {u"t", u"2:07 PM"},
      {u"tt", u"2:07:09 PM"},
      {u"c", u"3/5/2024 2:07:09 PM"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatDateTime(c.format, kMoment, english), std::u16string(c.expected))
        << std::string(c.format, c.format + std::char_traits<char16_t>::length(c.format));
}

TEST(DateTimeFormat, RussianTableAndMidnightAndWeekdays) {
  const TDateTimeSettings russian = DateTimeSettingsFor(1049);
  // A month beside a day number takes its genitive name; alone it keeps the nominative.
  EXPECT_EQ(FormatDateTime(u"dddd, d mmmm", kMoment, russian), u"вторник, 5 марта");
  EXPECT_EQ(FormatDateTime(u"dddddd", kMoment, russian), u"5 марта 2024 г.");
  EXPECT_EQ(FormatDateTime(u"mmmm yyyy", kMoment, russian), u"Март 2024");
  EXPECT_EQ(FormatDateTime(u"dddd mmmm", kMoment, russian), u"вторник Март");
  EXPECT_EQ(FormatDateTime(u"ddddd tt", kMoment, russian), u"05.03.2024 14:07:09");
  // "c" leaves out a midnight time.
  EXPECT_EQ(FormatDateTime(u"c", TDateTimeValue{2024, 1, 1}, russian), u"01.01.2024");
  EXPECT_EQ(DayOfWeek({2000, 1, 1}), 6);   // Saturday
  EXPECT_EQ(DayOfWeek({2024, 2, 29}), 4);  // Thursday of a leap year
  EXPECT_EQ(DayOfWeek({1900, 3, 1}), 4);
}

}  // namespace
