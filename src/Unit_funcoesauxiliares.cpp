// Stateless helpers of the personalisation.
#include "Unit_funcoesauxiliares.h"

namespace {

template <class Text>
bool FindDirectoryEnd(const Text& path, typename Text::value_type separator, std::size_t& end) {
  // The last character is never looked at: "abc/" names no folder.
  for (std::size_t i = path.size() < 2 ? 0 : path.size() - 1; i-- > 0;) {
    if (path[i] == separator) {
      end = i;
      return true;
    }
  }
  return false;
}

// Value of one hexadecimal digit of either case; other characters keep the old arithmetic
// (code - 55 above '@', code - 48 otherwise) so a damaged line still gets a checksum.
unsigned DigitValue(char16_t c) {
  if (c >= u'a' && c <= u'f') return c - u'a' + 10u;
  const unsigned code = c & 0xFFu;
  return (c > 64 ? code - 55u : code - 48u) & 0xFFu;
}

}  // namespace

AnsiString ExtractExeDirectory(const AnsiString& path, char separator) {
  std::size_t end;
  if (!FindDirectoryEnd(path, separator, end)) return "Erro no endere\xe7o!";
  return path.substr(0, end);
}

UnicodeString ExtractExeDirectory(const UnicodeString& path, char16_t separator) {
  std::size_t end;
  if (!FindDirectoryEnd(path, separator, end)) return u"Erro no endere\u00e7o!";
  return path.substr(0, end);
}

std::uint32_t StreamByteSum(MemoryStream& stream) {
  std::uint32_t sum = 0;
  for (unsigned char byte : stream.Bytes.View()) sum += byte;
  stream.Position = stream.Size();
  return sum;
}

void FixSRecordChecksum(UnicodeString& line) {
  const std::size_t length = line.size();
  if (length < 2) return;  // no checksum field to write
  unsigned sum = 0;
  // Pairs start at index 2 (after "S" and the type); the last two characters are the old
  // checksum and are never read.
  for (std::size_t i = 2; i + 3 < length; i += 2) {
    sum = (sum + (((DigitValue(line[i]) << 4) | DigitValue(line[i + 1])) & 0xFFu)) & 0xFFu;
  }
  const unsigned checksum = ~sum & 0xFFu;
  static const char16_t kHex[] = u"0123456789ABCDEF";
  line[length - 2] = kHex[checksum >> 4];
  line[length - 1] = kHex[checksum & 0xF];
}
