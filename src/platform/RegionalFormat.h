// Date and time texts in the user's regional style: the short date pattern and the hour
// settings, as the report's "Data:" and "Hora:" fields show them.
#pragma once

#include <array>
#include <string_view>

#include "TextCodec.h"

struct LocalTime {
  int Year = 1899, Month = 12, Day = 30;  // the class library's zero date
  int Hour = 0, Minute = 0, Second = 0;
  int DayOfWeek = 6;  // 0 = Sunday
};

// Regional settings; the defaults are those used where a setting cannot be read.
struct RegionalSettings {
  UnicodeString ShortDatePattern = u"m/d/yy";
  char16_t DateSeparator = u'/';
  char16_t TimeSeparator = u':';
  UnicodeString AmDesignator = u"am";
  UnicodeString PmDesignator = u"pm";
  bool HourLeadingZero = false;
  bool TwentyFourHour = false;
  bool DesignatorFirst = false;
  std::array<UnicodeString, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  std::array<UnicodeString, 7> LongDayNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
  std::array<UnicodeString, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  std::array<UnicodeString, 12> LongMonthNames{
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"};
};

// The date in the short date pattern: d/dd day, ddd/dddd day names, M/MM month, MMM/MMMM
// month names, y/yy two-digit year, yyy+ full year (letters in either case), '/' the date
// separator, quoted text and anything else copied.
UnicodeString FormatShortDate(const LocalTime& time, const RegionalSettings& settings);

// The time as h:mm:ss: hh when the settings ask for a leading zero, the 12-hour clock with
// its designator before or after, ':' the time separator.
UnicodeString FormatTime(const LocalTime& time, const RegionalSettings& settings);

// What a POSIX locale says of dates and times (nl_langinfo), already decoded to text.
struct PosixTimeLocale {
  UnicodeString DateFormat;        // D_FMT
  UnicodeString TimeFormat;        // T_FMT
  UnicodeString TimeFormatAmPm;    // T_FMT_AMPM
  UnicodeString AmString, PmString;
  std::array<UnicodeString, 7> ShortDayNames, LongDayNames;
  std::array<UnicodeString, 12> ShortMonthNames, LongMonthNames;
};

// Regional settings from a POSIX locale's strftime formats: D_FMT's conversions become
// pattern letters; the hour conversion of T_FMT (with %T and %r expanded) decides the clock,
// the leading zero, the separator after it and where the designator stands.
RegionalSettings RegionalSettingsFromPosix(const PosixTimeLocale& locale);
