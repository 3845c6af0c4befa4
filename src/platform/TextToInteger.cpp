// Text to integer conversion.
#include "TextToInteger.h"

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

bool TextToInteger(std::u16string_view text, std::int32_t& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool hexadecimal = false;
  if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hexadecimal = true;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hexadecimal = true;
    i += 2;
  }
  if (i == n) return false;  // empty, a bare sign or a bare marker

  std::uint32_t magnitude = 0;
  if (hexadecimal) {
    int significant = 0;
    for (; i < n; ++i) {
      const int digit = HexDigit(text[i]);
      if (digit < 0) return false;
      if (significant > 0 || digit != 0) ++significant;
      if (significant > 8) return false;
      magnitude = (magnitude << 4) | static_cast<std::uint32_t>(digit);
    }
  } else {
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < n; ++i) {
      if (text[i] < u'0' || text[i] > u'9') return false;
      const std::uint32_t digit = text[i] - u'0';
      if (magnitude > (limit - digit) / 10) return false;
      magnitude = magnitude * 10 + digit;
    }
  }
  value = static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
  return true;
}
