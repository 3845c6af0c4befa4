// Date and time texts with fixed settings and a fixed clock, and settings read off POSIX
// locale formats.
#include <gtest/gtest.h>

#include "RegionalFormat.h"

namespace {

LocalTime At(int year, int month, int day, int hour, int minute, int second, int weekday) {
  LocalTime t;
  t.Year = year, t.Month = month, t.Day = day;
  t.Hour = hour, t.Minute = minute, t.Second = second, t.DayOfWeek = weekday;
  return t;
}

const LocalTime kEvening = At(2013, 8, 26, 19, 54, 31, 1);  // a Monday
const LocalTime kMorning = At(2009, 1, 5, 7, 4, 3, 1);

RegionalSettings Settings(const std::u16string& pattern, char16_t dateSeparator = u'/') {
  RegionalSettings s;
  s.ShortDatePattern = pattern;
  s.DateSeparator = dateSeparator;
  return s;
}

TEST(FormatShortDate, PatternLetters) {
  struct Case {
    std::u16string Pattern;
    char16_t Separator;
    LocalTime Time;
    std::u16string Expected;
  };
  const Case cases[] = {
      {u"m/d/yy", u'/', kEvening, u"8/26/13"},  // the default
      {u"m/d/yy", u'/', kMorning, u"1/5/09"},
      {u"dd/MM/yyyy", u'/', kEvening, u"26/08/2013"},
      {u"dd/MM/yyyy", u'-', kMorning, u"05-01-2009"},
      {u"DD/mm/YYYY", u'.', kMorning, u"05.01.2009"},  // letters in either case
      {u"yyy", u'/', kMorning, u"2009"},
      {u"y", u'/', kMorning, u"09"},
      {u"ddd dddd", u'/', kEvening, u"Mon Monday"},
      {u"MMM MMMM", u'/', kEvening, u"Aug August"},
      {u"dd.MM.yyyy", u'/', kEvening, u"26.08.2013"},  // other characters copied
      {u"d 'de' MMMM", u'/', kEvening, u"26 de August"},  // quoted text copied
      {u"\"d\"d", u'/', kEvening, u"d26"},
      {u"'unclosed d", u'/', kEvening, u"unclosed d"},
      {u"", u'/', kEvening, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatShortDate(c.Time, Settings(c.Pattern, c.Separator)), c.Expected)
        << std::string(c.Pattern.begin(), c.Pattern.end());
  }
}

TEST(FormatTime, HourSettings) {
  struct Case {
    bool TwentyFour, LeadingZero, DesignatorFirst;
    char16_t Separator;
    LocalTime Time;
    std::u16string Expected;
  };
  const Case cases[] = {
      {false, false, false, u':', kEvening, u"7:54:31 pm"},  // the defaults
      {false, false, false, u':', kMorning, u"7:04:03 am"},
      {true, false, false, u':', kMorning, u"7:04:03"},
      {true, true, false, u':', kMorning, u"07:04:03"},
      {true, true, false, u'.', kEvening, u"19.54.31"},
      {false, true, false, u':', kEvening, u"07:54:31 pm"},
      {false, false, true, u':', kEvening, u"pm 7:54:31"},
      {false, false, false, u':', At(2013, 1, 1, 0, 0, 0, 2), u"12:00:00 am"},
      {false, false, false, u':', At(2013, 1, 1, 12, 5, 9, 2), u"12:05:09 pm"},
      {true, false, false, u':', At(2013, 1, 1, 0, 0, 0, 2), u"0:00:00"},
  };
  for (const Case& c : cases) {
    RegionalSettings s;
    s.TwentyFourHour = c.TwentyFour;
    s.HourLeadingZero = c.LeadingZero;
    s.DesignatorFirst = c.DesignatorFirst;
    s.TimeSeparator = c.Separator;
    EXPECT_EQ(FormatTime(c.Time, s), c.Expected) << std::string(c.Expected.begin(), c.Expected.end());
  }
}

TEST(RegionalSettingsFromPosix, LocaleFormats) {
  struct Case {
    const char* Name;
    std::u16string DateFormat, TimeFormat, AmPmFormat, Am, Pm;
    std::u16string Date, Time;  // for 26 August 2013 19:54:31
  };
  const Case cases[] = {
      {"C", u"%m/%d/%y", u"%H:%M:%S", u"%I:%M:%S %p", u"AM", u"PM", u"08/26/13", u"19:54:31"},
      {"pt_BR", u"%d/%m/%Y", u"%T", u"", u"", u"", u"26/08/2013", u"19:54:31"},
      {"en_US", u"%m/%d/%Y", u"%r", u"%I:%M:%S %p", u"AM", u"PM", u"08/26/2013", u"07:54:31 PM"},
      {"de_DE", u"%d.%m.%Y", u"%T", u"", u"", u"", u"26.08.2013", u"19:54:31"},
      {"12-hour, unpadded", u"%e/%m/%y", u"%l.%M.%S %p", u"", u"a", u"p", u"26/08/13", u"7.54.31 p"},
      {"designator first", u"%Y-%m-%d", u"%p %I:%M:%S", u"", u"AM", u"PM", u"2013-08-26", u"PM 07:54:31"},
      {"ko_KR-like", u"%Y\ub144 %m\uc6d4 %d\uc77c", u"%H\uc2dc %M\ubd84 %S\ucd08", u"", u"", u"",
       u"2013\ub144 08\uc6d4 26\uc77c", u"19\uc2dc54\uc2dc31"},
      {"words in the date", u"%d de %B de %Y", u"%k:%M:%S", u"", u"", u"",
       u"26 de August de 2013", u"19:54:31"},
      {"names", u"%a %b %e %Y", u"%H:%M:%S", u"", u"", u"", u"Mon Aug 26 2013", u"19:54:31"},
      {"no hour in the time format", u"%m/%d/%y", u"", u"", u"", u"", u"08/26/13", u"7:54:31 "},
  };
  for (const Case& c : cases) {
    PosixTimeLocale locale;
    locale.DateFormat = c.DateFormat;
    locale.TimeFormat = c.TimeFormat;
    locale.TimeFormatAmPm = c.AmPmFormat;
    locale.AmString = c.Am;
    locale.PmString = c.Pm;
    locale.ShortDayNames = RegionalSettings().ShortDayNames;
    locale.LongDayNames = RegionalSettings().LongDayNames;
    locale.ShortMonthNames = RegionalSettings().ShortMonthNames;
    locale.LongMonthNames = RegionalSettings().LongMonthNames;
    const RegionalSettings s = RegionalSettingsFromPosix(locale);
    EXPECT_EQ(FormatShortDate(kEvening, s), c.Date) << c.Name;
    EXPECT_EQ(FormatTime(kEvening, s), c.Time) << c.Name;
  }
}

}  // namespace
