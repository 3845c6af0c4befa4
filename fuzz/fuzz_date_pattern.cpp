// Date and time formatting with any pattern, clock and settings, and settings read off any
// POSIX formats. A pattern without date letters or quotes comes out as typed, with / as
// the date separator.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RegionalFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  LocalTime time;
  time.Year = 1 + (data[0] | (data[1] << 8)) % 9999;
  time.Month = 1 + data[2] % 12;
  time.Day = 1 + data[3] % 31;
  time.Hour = data[4] % 24;
  time.Minute = data[5] % 60;
  time.Second = data[6] % 60;
  time.DayOfWeek = data[7] % 7;
  const std::string rest(reinterpret_cast<const char*>(data) + 8, size - 8);
  const UnicodeString text = Windows1252().ToUnicode(rest);

  RegionalSettings settings;
  settings.ShortDatePattern = text;
  settings.DateSeparator = u'-';
  settings.TwentyFourHour = data[4] & 0x80;
  settings.HourLeadingZero = data[5] & 0x80;
  settings.DesignatorFirst = data[6] & 0x80;
  const UnicodeString date = FormatShortDate(time, settings);
  FormatTime(time, settings);

  bool plain = true;
  for (char16_t c : text) {
    const char16_t lower = (c >= u'A' && c <= u'Z') ? c + 32 : c;
    plain = plain && lower != u'd' && lower != u'm' && lower != u'y' && c != u'"' && c != u'\'';
  }
  if (plain) {
    UnicodeString expected = text;
    for (char16_t& c : expected) c = c == u'/' ? u'-' : c;
    if (date != expected) std::abort();
  }

  PosixTimeLocale posix;
  const std::size_t third = text.size() / 3;
  posix.DateFormat = text.substr(0, third);
  posix.TimeFormat = text.substr(third, third);
  posix.TimeFormatAmPm = text.substr(2 * third);
  posix.AmString = u"AM";
  posix.PmString = u"PM";
  const RegionalSettings fromPosix = RegionalSettingsFromPosix(posix);
  FormatShortDate(time, fromPosix);
  FormatTime(time, fromPosix);
  return 0;
}
