// The serial number check, the text-to-integer conversion under it, and the serial record
// check.
#include <gtest/gtest.h>

#include "Dravel_QVR_USB_Console.h"
#include "TextToInteger.h"

namespace {

TEST(TextToInteger, ConversionRules) {
  struct Case {
    std::u16string Text;
    bool Ok;
    std::int32_t Value;
  };
  const Case cases[] = {
      {u"4711", true, 4711},        {u"  12", true, 12},          {u"+7", true, 7},
      {u"-7", true, -7},            {u"0999", true, 999},         {u"$3E9", true, 1001},
      {u"x3e9", true, 1001},        {u"XFFF", true, 4095},        {u"0x10", true, 16},
      {u"0X10", true, 16},          {u"-$10", true, -16},         {u"$FFFFFFFF", true, -1},
      {u"$000000001", true, 1},     {u"2147483647", true, 2147483647},
      {u"-2147483648", true, INT32_MIN},
      {u"0", true, 0},
      {u"2147483648", false, 0},    {u"$100000000", false, 0},    {u"", false, 0},
      {u"+", false, 0},             {u"$", false, 0},             {u"0x", false, 0},
      {u"12 ", false, 0},           {u"\t12", false, 0},          {u"+ 1", false, 0},
      {u"1.5e3", false, 0},         {u"12G4", false, 0},          {u"--1", false, 0},
      {u"$G", false, 0},            {u"\uff11\uff12", false, 0},
  };
  for (const Case& c : cases) {
    std::int32_t value = 0;
    EXPECT_EQ(TextToInteger(c.Text, value), c.Ok) << std::string(c.Text.begin(), c.Text.end());
    if (c.Ok) EXPECT_EQ(value, c.Value);
  }
}

TEST(ValidateSerial, OnlyFourDecimalDigitsFrom1001To9999) {
  for (const std::u16string serial : {u"1001", u"9999", u"4711", u"1010"}) {
    EXPECT_TRUE(ValidateSerial(serial)) << std::string(serial.begin(), serial.end());
  }
  for (const std::u16string serial : {u"1000", u"0999", u"+999", u" 999", u"10000", u"12G4",
                                      u"1.5e3", u"", u"$3E9", u"x3e9", u"XFFF", u"$3E8", u"0001",
                                      u"999", u"-999", u"0x3E9", u"1001 "}) {
    EXPECT_FALSE(ValidateSerial(serial)) << std::string(serial.begin(), serial.end());
  }
}

TEST(SerialRecordCanTakeSerial, ShapeOfTheRecord) {
  const std::u16string good =
      u"S129B16E36291D20131D191B000A23230904363808FF2F2E3332332E2B2720300422343915363030303082";
  ASSERT_EQ(good.size(), 86u);
  struct Case {
    const char* Name;
    std::u16string Record;
    bool Ok;
  };
  std::u16string lower = good;
  for (auto& c : lower) c = (c >= u'A' && c <= u'F') ? c + 32 : c;
  lower[0] = u'S';
  const Case cases[] = {
      {"the sample's record", good, true},
      {"lower case", lower, true},
      {"longer, even", good + u"00", true},
      {"84 characters", good.substr(0, 84), false},
      {"odd length", good + u"0", false},
      {"no S", u"X" + good.substr(1), false},
      {"lower-case s", u"s" + good.substr(1), false},
      {"not hexadecimal", good.substr(0, 40) + u"G" + good.substr(41), false},
      {"a blank", good.substr(0, 40) + u" " + good.substr(41), false},
      {"empty", u"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SerialRecordCanTakeSerial(c.Record), c.Ok) << c.Name;
}

}  // namespace
