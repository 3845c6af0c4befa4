// Windows-1252 tables and the Unicode decoders used when a text file starts with a mark.
#include "TextCodec.h"

#include <cstdint>

namespace {

// Bytes 80..9F of Windows-1252; the undefined ones map to themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The byte for a character outside 00..7F and A0..FF, or '?' when the code page lacks it.
char ByteForSpecial(char16_t c) {
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

UnicodeString Windows1252Codec::ToUnicode(std::string_view bytes) const {
  UnicodeString text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text[i] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
  }
  return text;
}

void Windows1252Codec::AppendAnsi(std::u16string_view text, AnsiString& out) const {
  const std::size_t start = out.size();
  out.resize(start + text.size());
  std::size_t n = start;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out[n++] = static_cast<char>(c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out[n++] = '?';  // one character beyond the BMP, one replacement
      ++i;
    } else {
      out[n++] = ByteForSpecial(c);
    }
  }
  out.resize(n);
}

AnsiString Windows1252Codec::ToAnsi(std::u16string_view text) const {
  AnsiString out;
  AppendAnsi(text, out);
  return out;
}

const Windows1252Codec& Windows1252() {
  static const Windows1252Codec codec;
  return codec;
}

bool DecodeUtf8Strict(std::string_view bytes, UnicodeString& out) {
  UnicodeString text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      text.push_back(b0);
      ++i;
      continue;
    }
    std::size_t length;
    std::uint32_t cp;
    std::uint32_t minimum;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      text.push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  out = std::move(text);
  return true;
}

UnicodeString DecodeUtf16(std::string_view bytes, bool bigEndian) {
  UnicodeString text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return text;
}
