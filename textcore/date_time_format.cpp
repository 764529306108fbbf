#include "textcore/date_time_format.h"

#include <cctype>

namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

std::u16string Number(int value, int digits) {
  std::string text = std::to_string(value);
  if (int(text.size()) < digits) text.insert(0, size_t(digits - int(text.size())), '0');
  return Ascii(text.c_str());
}

char16_t Lower(char16_t c) { return c < 128 ? char16_t(std::tolower(int(c))) : c; }

// True when `format` at `pos` starts with the ASCII text `word`, in any case.
bool StartsWith(const std::u16string& format, size_t pos, const char* word) {
  for (size_t i = 0; word[i]; ++i)
    if (pos + i >= format.size() || Lower(format[pos + i]) != char16_t(word[i])) return false;
  return true;
}

// Whether the format has an am/pm mark outside its quoted literals.
bool HasAmPm(const std::u16string& format) {
  char16_t quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (StartsWith(format, i, "am/pm") || StartsWith(format, i, "a/p") || StartsWith(format, i, "ampm")) {
      return true;
    }
  }
  return false;
}

// Whether the format writes the day as a number ("d" or "dd") outside its quoted literals.
bool HasDayNumber(const std::u16string& format) {
  char16_t quote = 0;
  for (size_t i = 0; i < format.size();) {
    const char16_t c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
      ++i;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
      ++i;
    } else if (Lower(c) == u'd') {
      size_t run = 1;
      while (i + run < format.size() && Lower(format[i + run]) == u'd') ++run;
      if (run <= 2) return true;
      i += run;
    } else {
      ++i;
    }
  }
  return false;
}

class TWriter {
public:
  TWriter(const TDateTimeValue& value, const TDateTimeSettings& settings) : v_(value), s_(settings) {}

  void Write(const std::u16string& format, int depth) {
    const bool twelveHours = HasAmPm(format);
    const bool genitive = HasDayNumber(format);
    bool afterHour = false;
    size_t i = 0;
    while (i < format.size()) {
      const char16_t c = format[i];
      const char16_t lower = Lower(c);
      if (c == u'\'' || c == u'"') {
        const size_t end = format.find(c, i + 1);
        out_ += format.substr(i + 1, (end == std::u16string::npos ? format.size() : end) - i - 1);
        i = end == std::u16string::npos ? format.size() : end + 1;
        continue;
      }
      if (StartsWith(format, i, "am/pm")) {
        out_ += v_.Hour < 12 ? Ascii("am") : Ascii("pm");
        i += 5;
        continue;
      }
      if (StartsWith(format, i, "a/p")) {
        out_ += v_.Hour < 12 ? u'a' : u'p';
        i += 3;
        continue;
      }
      if (StartsWith(format, i, "ampm")) {
        out_ += v_.Hour < 12 ? s_.TimeAMString : s_.TimePMString;
        i += 4;
        continue;
      }
      size_t run = 1;
      if (lower < 128 && std::isalpha(int(lower)))
        while (i + run < format.size() && Lower(format[i + run]) == lower) ++run;
      i += run;
      const int count = int(run);
      switch (lower) {
        case u'd': Day(count, depth); break;
        case u'm':
          if (afterHour && count <= 2) out_ += Number(v_.Minute, count);
          else Month(count, genitive);
          break;
        case u'y': out_ += count <= 2 ? Number(v_.Year % 100, 2) : Number(v_.Year, 4); break;
        case u'h': {
          int hour = v_.Hour;
          if (twelveHours) hour = hour % 12 == 0 ? 12 : hour % 12;
          out_ += Number(hour, count >= 2 ? 2 : 1);
          break;
        }
        case u'n': out_ += Number(v_.Minute, count >= 2 ? 2 : 1); break;
        case u's': out_ += Number(v_.Second, count >= 2 ? 2 : 1); break;
        case u'z': out_ += Number(v_.Millisecond, count >= 3 ? 3 : 1); break;
        case u't': Nested(count == 1 ? s_.ShortTimeFormat : s_.LongTimeFormat, depth); break;
        case u'c':
          Nested(s_.ShortDateFormat, depth);
          if (v_.Hour || v_.Minute || v_.Second || v_.Millisecond) {
            out_ += u' ';
            Nested(s_.LongTimeFormat, depth);
          }
          break;
        case u'/': out_ += s_.DateSeparator; break;
        case u':': out_ += s_.TimeSeparator; break;
        default: out_.append(run, c); break;
      }
      afterHour = lower == u'h' || (afterHour && (lower == u':' || lower == u' '));
    }
  }

  std::u16string Result() const { return out_; }

private:
  void Day(int count, int depth) {
    switch (count) {
      case 1: out_ += Number(v_.Day, 1); break;
      case 2: out_ += Number(v_.Day, 2); break;
      case 3: out_ += s_.ShortDayNames[size_t(DayOfWeek(v_))]; break;
      case 4: out_ += s_.LongDayNames[size_t(DayOfWeek(v_))]; break;
      case 5: Nested(s_.ShortDateFormat, depth); break;
      default: Nested(s_.LongDateFormat, depth); break;
    }
  }
  void Month(int count, bool genitive) {
    switch (count) {
      case 1: out_ += Number(v_.Month, 1); break;
      case 2: out_ += Number(v_.Month, 2); break;
      case 3: out_ += s_.ShortMonthNames[size_t(v_.Month - 1)]; break;
      default: out_ += (genitive ? s_.GenitiveMonthNames : s_.LongMonthNames)[size_t(v_.Month - 1)]; break;
    }
  }
  // The settings' own formats may not name themselves again: one level deep only.
  void Nested(const std::u16string& format, int depth) {
    if (depth == 0) Write(format, depth + 1);
  }

  const TDateTimeValue& v_;
  const TDateTimeSettings& s_;
  std::u16string out_;
};

}  // namespace

int DayOfWeek(const TDateTimeValue& value) {
  // Sakamoto's rule for the Gregorian calendar.
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int year = value.Year;
  if (value.Month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + offsets[(value.Month - 1) % 12] + value.Day) % 7;
}

TDateTimeSettings DateTimeSettingsFor(unsigned lcid) {
  TDateTimeSettings s;
  if (lcid == 1049) {
    s.ShortMonthNames = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                         u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
    s.LongMonthNames = {u"Январь", u"Февраль", u"Март",     u"Апрель",  u"Май",    u"Июнь",
                        u"Июль",   u"Август",  u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
    s.GenitiveMonthNames = {u"января", u"февраля", u"марта",    u"апреля",  u"мая",    u"июня",
                            u"июля",   u"августа", u"сентября", u"октября", u"ноября", u"декабря"};
    s.ShortDayNames = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
    s.LongDayNames = {u"воскресенье", u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота"};
    s.ShortDateFormat = u"dd.mm.yyyy";
    s.LongDateFormat = u"d mmmm yyyy 'г.'";
    s.ShortTimeFormat = u"h:nn";
    s.LongTimeFormat = u"h:nn:ss";
    s.DateSeparator = u'.';
    return s;
  }
  s.ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  s.LongMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  s.GenitiveMonthNames = s.LongMonthNames;
  s.ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  s.LongDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  s.ShortDateFormat = u"m/d/yyyy";
  s.LongDateFormat = u"dddd, mmmm dd, yyyy";
  s.ShortTimeFormat = u"h:nn AMPM";
  s.LongTimeFormat = u"h:nn:ss AMPM";
  s.DateSeparator = u'/';
  s.TimeAMString = u"AM";
  s.TimePMString = u"PM";
  return s;
}

std::u16string FormatDateTime(const std::u16string& format, const TDateTimeValue& value,
                              const TDateTimeSettings& settings) {
  TWriter writer(value, settings);
  writer.Write(format, 0);
  return writer.Result();
}
