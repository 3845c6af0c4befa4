// Windows-1252 conversion and the Unicode decoders.
#include <gtest/gtest.h>

#include "TextCodec.h"

namespace {

TEST(Windows1252, EveryByteStringSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string text = Windows1252().ToUnicode(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Windows1252().ToAnsi(text), all);
}

TEST(Windows1252, MapsTheCodePageCharacters) {
  struct Case {
    std::string Byte;
    char16_t Character;
  };
  const Case cases[] = {
      {"\x80", u'\u20AC'}, {"\x81", u'\u0081'}, {"\x8D", u'\u008D'}, {"\x8F", u'\u008F'},
      {"\x90", u'\u0090'}, {"\x9D", u'\u009D'}, {"\x9F", u'\u0178'}, {"\xE3", u'\u00E3'},
      {"\xA0", u'\u00A0'}, {"A", u'A'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Windows1252().ToUnicode(c.Byte), std::u16string(1, c.Character));
    EXPECT_EQ(Windows1252().ToAnsi(std::u16string(1, c.Character)), c.Byte);
  }
}

TEST(Windows1252, CharactersItLacksBecomeQuestionMarks) {
  EXPECT_EQ(Windows1252().ToAnsi(u"\u0100\u0080\u4E2D"), "???");
  EXPECT_EQ(Windows1252().ToAnsi(u"a\U0001F600b"), "a?b");       // one character, one mark
  EXPECT_EQ(Windows1252().ToAnsi(std::u16string(u"\xD800x")), "?x");  // lone surrogate
}

TEST(DecodeUtf8Strict, AcceptsValidAndRefusesInvalid) {
  std::u16string out = u"unchanged";
  EXPECT_TRUE(DecodeUtf8Strict("a\xc3\xa7\xe2\x82\xac\xf0\x9f\x98\x80", out));
  EXPECT_EQ(out, u"a\u00e7\u20ac\U0001F600");
  for (const std::string bad : {"\x80", "\xc3", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                                "\xf4\x90\x80\x80", "\xff", "a\xc3(", "\xf8\x88\x80\x80\x80"}) {
    out = u"unchanged";
    EXPECT_FALSE(DecodeUtf8Strict(bad, out)) << bad;
    EXPECT_EQ(out, u"unchanged");
  }
}

TEST(DecodeUtf16, BothByteOrdersAndAnOddLastByte) {
  EXPECT_EQ(DecodeUtf16(std::string("A\0\xe7\0", 4), false), u"A\u00e7");
  EXPECT_EQ(DecodeUtf16(std::string("\0A\0\xe7", 4), true), u"A\u00e7");
  EXPECT_EQ(DecodeUtf16(std::string("A\0B", 3), false), u"A");
  EXPECT_EQ(DecodeUtf16("", true), u"");
}

}  // namespace
