// Directory extraction, byte sum and checksum repair.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Unit_funcoesauxiliares.h"

namespace {

TEST(ExtractExeDirectory, BackslashPaths) {
  struct Case {
    std::string Path, Directory;
  };
  const Case cases[] = {
      {"C:\\Ferramentas\\Gravador\\tool.exe", "C:\\Ferramentas\\Gravador"},
      {"C:\\tool.exe", "C:"},
      {"\\tool.exe", ""},
      {"tool.exe", "Erro no endere\xe7o!"},
      {"abc\\", "Erro no endere\xe7o!"},       // the last character is never examined
      {"a\\b\\", "a"},
      {"\\\\", ""},
      {"", "Erro no endere\xe7o!"},
      {"\\", "Erro no endere\xe7o!"},
      {"C:/Ferramentas/tool.exe", "Erro no endere\xe7o!"},  // the other separator is a name
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractExeDirectory(c.Path, '\\'), c.Directory) << c.Path;
  }
}

TEST(ExtractExeDirectory, SlashPathsInUnicode) {
  struct Case {
    std::u16string Path, Directory;
  };
  const Case cases[] = {
      {u"/opt/gravador/Dravel_QVR_USB_Console", u"/opt/gravador"},
      {u"/Dravel_QVR_USB_Console", u""},
      {u"/opt/s\u00e9rie/tool", u"/opt/s\u00e9rie"},
      {u"tool", u"Erro no endere\u00e7o!"},
      {u"dir/", u"Erro no endere\u00e7o!"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractExeDirectory(c.Path, u'/'), c.Directory);
}

TEST(StreamByteSum, AddsUnsignedBytesAndRewindsFirst) {
  MemoryStream empty;
  EXPECT_EQ(StreamByteSum(empty), 0u);

  MemoryStream high;
  high.Bytes = ByteBuffer::Copy(std::string_view("\xff\x80\x01", 3));
  high.Position = 2;  // the sum always starts at the beginning
  EXPECT_EQ(StreamByteSum(high), 0xFFu + 0x80u + 1u);
  EXPECT_EQ(high.Position, 3u);

  std::ifstream in(QVR_SAMPLE_IMAGE, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  MemoryStream sample;
  sample.Bytes = ByteBuffer::Copy(bytes.str());
  EXPECT_EQ(sample.Size(), 30160u);
  EXPECT_EQ(StreamByteSum(sample), 1648428u);
}

TEST(FixSRecordChecksum, RecomputesTheLastTwoCharacters) {
  struct Case {
    std::u16string Line, Fixed;
  };
  const Case cases[] = {
      {u"S9030000??", u"S9030000FC"},
      {u"S1060010414243XX", u"S106001041424323"},
      {u"S106001041424323", u"S106001041424323"},  // already right: unchanged
      {u"S1060010414243", u"S1060010414266"},      // no checksum yet: the last pair is taken
      {u"S1060010AABBCC00", u"S1060010AABBCCB8"},
      {u"S1060010aabbcc00", u"S1060010aabbccB8"},  // lower case decodes as upper case
      {u"S1060010abcdefZZ", u"S1060010abcdef82"},
      {u"S10300FFxxx", u"S10300FFxFD"},            // odd length: the last pair is (L-3, L-2)
      {u"S1", u"FF"},                              // nothing to sum: the complement of 0
      {u"S", u"S"},                                // no room for a checksum
      {u"", u""},
  };
  for (const Case& c : cases) {
    std::u16string line = c.Line;
    FixSRecordChecksum(line);
    EXPECT_EQ(line, c.Fixed) << std::string(c.Line.begin(), c.Line.end());
  }
}

}  // namespace
