// Loading and saving the text line list.
#include <gtest/gtest.h>

#include "TextLineList.h"

namespace {

std::vector<std::u16string> Lines(const TextLineList& list) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (std::size_t i = 0; list.Get(i, line); ++i) lines.push_back(line);
  return lines;
}

std::vector<std::u16string> Load(const std::string& bytes) {
  TextLineList list;
  list.Add(u"left over");
  list.LoadFromBytes(bytes, Windows1252());
  return Lines(list);
}

using L = std::vector<std::u16string>;

TEST(TextLineList, LineEnds) {
  struct Case {
    const char* Name;
    std::string Bytes;
    L Expected;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"CR LF", "a\r\nb\r\n", {u"a", u"b"}},
      {"last line unterminated", "a\r\nb", {u"a", u"b"}},
      {"lone LF and lone CR", "a\nb\rc", {u"a", u"b", u"c"}},
      {"LF CR is two ends", "a\n\rb", {u"a", u"", u"b"}},
      {"CR CR LF", "a\r\r\nb", {u"a", u"", u"b"}},
      {"only a terminator", "\r\n", {u""}},
      {"empty lines kept", "\n\n", {u"", u""}},
      {"duplicates kept", "x\nx\n", {u"x", u"x"}},
      {"text ends at NUL", std::string("a\r\nb\0c\r\nd", 9), {u"a", u"b"}},
      {"NUL first", std::string("\0abc", 4), {}},
      {"8-bit text", "S\xe9rie\r\n\x80", {u"S\u00e9rie", u"\u20ac"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Load(c.Bytes), c.Expected) << c.Name;
}

TEST(TextLineList, ByteOrderMarks) {
  struct Case {
    const char* Name;
    std::string Bytes;
    L Expected;
  };
  const Case cases[] = {
      {"UTF-8", "\xEF\xBB\xBFS\xC3\xA9rie\r\nx", {u"S\u00e9rie", u"x"}},
      {"UTF-8 mark only", "\xEF\xBB\xBF", {}},
      {"invalid UTF-8 gives no lines", "\xEF\xBB\xBF" "a\r\n\xC3(", {}},
      {"UTF-16LE", std::string("\xFF\xFE" "a\0\r\0\n\0\xe9\0", 10), {u"a", u"\u00e9"}},
      {"UTF-16BE", std::string("\xFE\xFF\0a\0\n\0b", 8), {u"a", u"b"}},
      {"UTF-16 odd byte", std::string("\xFF\xFE" "a\0b", 5), {u"a"}},
      {"UTF-16 NUL", std::string("\xFF\xFE" "a\0\0\0b\0", 8), {u"a"}},
      {"no mark: bytes as text", "\xEF\xBB", {u"\u00ef\u00bb"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Load(c.Bytes), c.Expected) << c.Name;
}

TEST(TextLineList, SaveEndsEveryLineWithCrLfInTheCodePage) {
  TextLineList list;
  EXPECT_EQ(list.SaveToBytes(Windows1252()).View(), "");
  list.Add(u"S\u00e9rie");
  list.Add(u"");
  list.Add(u"\u20ac\u4e2d");
  EXPECT_EQ(list.SaveToBytes(Windows1252()).View(), "S\xe9rie\r\n\r\n\x80?\r\n");

  // Whatever the file was loaded from, it is saved without a mark.
  list.LoadFromBytes("\xEF\xBB\xBF\xC3\xA9", Windows1252());
  EXPECT_EQ(list.SaveToBytes(Windows1252()).View(), "\xe9\r\n");
}

TEST(TextLineList, CrLfTextWithoutNulSurvivesLoadAndSave) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
    if (b % 40 == 0) bytes += "\r\n";
  }
  bytes += "\r\n";
  TextLineList list;
  list.LoadFromBytes(bytes, Windows1252());
  EXPECT_EQ(list.SaveToBytes(Windows1252()).View(), bytes);
}

TEST(TextLineList, IndexOutsideTheListIsRefused) {
  TextLineList list;
  std::u16string line = u"kept";
  EXPECT_FALSE(list.Get(0, line));
  EXPECT_FALSE(list.Put(0, u"x"));
  list.Add(u"a");
  EXPECT_FALSE(list.Get(1, line));
  EXPECT_EQ(line, u"kept");
  EXPECT_TRUE(list.Put(0, u"b"));
  EXPECT_EQ(Lines(list), L{u"b"});
}

TEST(TextLineList, ReplacedLinesKeepTheirNeighbours) {
  TextLineList list;
  list.LoadFromBytes("one\r\ntwo\r\nthree\r\n", Windows1252());
  EXPECT_TRUE(list.Put(1, u"TWO"));      // same length: in place
  EXPECT_TRUE(list.Put(2, u"3"));        // shorter
  EXPECT_TRUE(list.Put(0, u"the first line, much longer than before"));
  for (int i = 0; i < 100; ++i) list.Add(u"added so that the text moves");
  EXPECT_EQ(Lines(list)[0], u"the first line, much longer than before");
  EXPECT_EQ(Lines(list)[1], u"TWO");
  EXPECT_EQ(Lines(list)[2], u"3");
  EXPECT_EQ(list.Count(), 103u);
  EXPECT_EQ(std::string(list.SaveToBytes(Windows1252()).View()).substr(0, 49),
            "the first line, much longer than before\r\nTWO\r\n3\r\n");
}

}  // namespace
