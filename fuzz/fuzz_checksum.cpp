// Checksum repair on any line: the length stays, only the last two characters change, and
// on a record of hexadecimal pairs the bytes from the count to the checksum sum to FF.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Unit_funcoesauxiliares.h"

namespace {

int Digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UnicodeString line = Windows1252().ToUnicode(std::string(reinterpret_cast<const char*>(data), size));
  UnicodeString fixed = line;
  FixSRecordChecksum(fixed);
  if (fixed.size() != line.size()) std::abort();
  if (line.size() >= 2 && fixed.compare(0, line.size() - 2, line, 0, line.size() - 2) != 0) std::abort();
  if (line.size() < 2 && fixed != line) std::abort();

  bool record = line.size() >= 4 && line.size() % 2 == 0;
  for (std::size_t i = 2; record && i < line.size() - 2; ++i) record = Digit(line[i]) >= 0;
  if (record) {
    unsigned sum = 0;
    for (std::size_t i = 2; i < fixed.size(); i += 2) sum += Digit(fixed[i]) * 16 + Digit(fixed[i + 1]);
    if ((sum & 0xFF) != 0xFF) std::abort();
    UnicodeString twice = fixed;
    FixSRecordChecksum(twice);
    if (twice != fixed) std::abort();
  }
  return 0;
}
