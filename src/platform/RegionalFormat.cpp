// Date and time formatting with regional settings, and those settings read off a POSIX
// locale's strftime formats.
#include "RegionalFormat.h"

namespace {

void AppendNumber(UnicodeString& out, int value, int minimumDigits) {
  char16_t digits[12];
  int n = 0;
  unsigned v = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (value < 0) out += u'-';
  for (int i = n; i < minimumDigits; ++i) out += u'0';
  while (n > 0) out += digits[--n];
}

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

template <std::size_t N>
const UnicodeString& Name(const std::array<UnicodeString, N>& names, int index) {
  static const UnicodeString none;
  return (index >= 0 && static_cast<std::size_t>(index) < N) ? names[index] : none;
}

}  // namespace

UnicodeString FormatShortDate(const LocalTime& time, const RegionalSettings& settings) {
  const UnicodeString& pattern = settings.ShortDatePattern;
  UnicodeString out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    const char16_t letter = Lower(c);
    if (letter == u'd' || letter == u'm' || letter == u'y') {
      std::size_t run = 1;
      while (i + run < pattern.size() && Lower(pattern[i + run]) == letter) ++run;
      i += run;
      if (letter == u'd') {
        if (run <= 2) AppendNumber(out, time.Day, static_cast<int>(run));
        else out += Name(run == 3 ? settings.ShortDayNames : settings.LongDayNames, time.DayOfWeek);
      } else if (letter == u'm') {
        if (run <= 2) AppendNumber(out, time.Month, static_cast<int>(run));
        else out += Name(run == 3 ? settings.ShortMonthNames : settings.LongMonthNames, time.Month - 1);
      } else if (run <= 2) {
        AppendNumber(out, time.Year % 100, 2);
      } else {
        AppendNumber(out, time.Year, 4);
      }
    } else if (c == u'"' || c == u'\'') {
      const std::size_t close = pattern.find(c, i + 1);
      const std::size_t end = close == UnicodeString::npos ? pattern.size() : close;
      out.append(pattern, i + 1, end - i - 1);
      i = end == pattern.size() ? end : end + 1;
    } else {
      out += c == u'/' ? settings.DateSeparator : c;
      ++i;
    }
  }
  return out;
}

UnicodeString FormatTime(const LocalTime& time, const RegionalSettings& settings) {
  int hour = time.Hour;
  if (!settings.TwentyFourHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  const UnicodeString& designator = time.Hour < 12 ? settings.AmDesignator : settings.PmDesignator;
  UnicodeString out;
  if (!settings.TwentyFourHour && settings.DesignatorFirst) out += designator + u' ';
  AppendNumber(out, hour, settings.HourLeadingZero ? 2 : 1);
  out += settings.TimeSeparator;
  AppendNumber(out, time.Minute, 2);
  out += settings.TimeSeparator;
  AppendNumber(out, time.Second, 2);
  if (!settings.TwentyFourHour && !settings.DesignatorFirst) out += u' ' + designator;
  return out;
}

namespace {

// One strftime conversion: flags and E/O modifiers skipped, the letter and whether a '-'
// or '_' flag asked for no zero padding.
struct Conversion {
  char16_t Letter = 0;
  bool Unpadded = false;
  std::size_t End = 0;  // index after the conversion
};

Conversion ReadConversion(const UnicodeString& format, std::size_t percent) {
  Conversion conversion;
  std::size_t i = percent + 1;
  while (i < format.size() && UnicodeString(u"-_0^#").find(format[i]) != UnicodeString::npos) {
    if (format[i] == u'-' || format[i] == u'_') conversion.Unpadded = true;
    ++i;
  }
  if (i < format.size() && (format[i] == u'E' || format[i] == u'O')) ++i;
  if (i < format.size()) conversion.Letter = format[i++];
  conversion.End = i;
  return conversion;
}

void AppendLiteral(UnicodeString& pattern, const UnicodeString& literal) {
  bool hasLetter = false;
  for (char16_t c : literal) hasLetter = hasLetter || IsAsciiLetter(c);
  if (hasLetter && literal.find(u'"') == UnicodeString::npos) {
    pattern += u'"' + literal + u'"';  // keep words such as "de" from reading as d and e
  } else {
    pattern += literal;
  }
}

UnicodeString DatePatternFromPosix(const UnicodeString& format) {
  UnicodeString pattern;
  UnicodeString literal;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != u'%') {
      literal += format[i++];
      continue;
    }
    const Conversion conversion = ReadConversion(format, i);
    const char16_t* letters = nullptr;
    switch (conversion.Letter) {
      case u'd': letters = u"dd"; break;
      case u'e': letters = u"d"; break;
      case u'm': letters = u"MM"; break;
      case u'y': letters = u"yy"; break;
      case u'Y': letters = u"yyyy"; break;
      case u'b': case u'h': letters = u"MMM"; break;
      case u'B': letters = u"MMMM"; break;
      case u'a': letters = u"ddd"; break;
      case u'A': letters = u"dddd"; break;
      default: break;
    }
    if (letters == nullptr) {
      literal.append(format, i, conversion.End - i);
    } else {
      AppendLiteral(pattern, literal);
      literal.clear();
      pattern += letters;
    }
    i = conversion.End;
  }
  AppendLiteral(pattern, literal);
  return pattern;
}

UnicodeString ExpandTimeFormat(const UnicodeString& format, const UnicodeString& ampmFormat) {
  UnicodeString out;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != u'%') {
      out += format[i++];
      continue;
    }
    const Conversion conversion = ReadConversion(format, i);
    if (conversion.Letter == u'T') out += u"%H:%M:%S";
    else if (conversion.Letter == u'R') out += u"%H:%M";
    else if (conversion.Letter == u'r') out += ampmFormat;
    else out.append(format, i, conversion.End - i);
    i = conversion.End;
  }
  return out;
}

}  // namespace

RegionalSettings RegionalSettingsFromPosix(const PosixTimeLocale& locale) {
  RegionalSettings settings;
  settings.ShortDatePattern = DatePatternFromPosix(locale.DateFormat);
  settings.AmDesignator = locale.AmString;
  settings.PmDesignator = locale.PmString;
  settings.ShortDayNames = locale.ShortDayNames;
  settings.LongDayNames = locale.LongDayNames;
  settings.ShortMonthNames = locale.ShortMonthNames;
  settings.LongMonthNames = locale.LongMonthNames;

  const UnicodeString format = ExpandTimeFormat(locale.TimeFormat, locale.TimeFormatAmPm);
  bool designatorSeen = false;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != u'%') {
      ++i;
      continue;
    }
    const Conversion conversion = ReadConversion(format, i);
    i = conversion.End;
    const char16_t c = conversion.Letter;
    if (c == u'p' || c == u'P') designatorSeen = true;
    if (c != u'H' && c != u'I' && c != u'k' && c != u'l') continue;
    settings.TwentyFourHour = c == u'H' || c == u'k';
    settings.HourLeadingZero = (c == u'H' || c == u'I') && !conversion.Unpadded;
    settings.DesignatorFirst = designatorSeen;
    if (i < format.size() && format[i] != u'%') settings.TimeSeparator = format[i];
    break;
  }
  return settings;
}
