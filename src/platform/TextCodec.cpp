// Windows-1252 tables and the Unicode decoders used when a text file starts with a mark.
#include "TextCodec.h"

#include <cstdint>
#include <cstring>

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

// Plain ASCII is most of any image: those runs are copied without the table, in a loop the
// compiler turns into vector code.
bool IsAscii(const unsigned char* bytes, std::size_t size) {
  std::uint64_t any = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    any |= word;
  }
  for (; i < size; ++i) any |= bytes[i];
  return (any & 0x8080808080808080ull) == 0;
}

bool IsAscii(const char16_t* text, std::size_t size) {
  char16_t any = 0;
  for (std::size_t i = 0; i < size; ++i) any |= text[i];
  return any < 0x80;
}

// The buffers never overlap; saying so lets the compiler copy sixteen at a time.
void Widen(const unsigned char* __restrict in, char16_t* __restrict out, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out[i] = in[i];
}

void Narrow(const char16_t* __restrict in, char* __restrict out, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(in[i]);
}

}  // namespace

std::size_t Windows1252Codec::DecodeInto(std::string_view bytes, char16_t* out) const {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  if (IsAscii(in, size)) {
    Widen(in, out, size);
    return size;
  }
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char b = in[i];
    out[i] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
  }
  return size;
}

std::size_t Windows1252Codec::EncodeInto(std::u16string_view text, char* out) const {
  const char16_t* in = text.data();
  const std::size_t size = text.size();
  if (IsAscii(in, size)) {
    Narrow(in, out, size);
    return size;
  }
  std::size_t n = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t c = in[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out[n++] = static_cast<char>(c);
    } else if (IsHighSurrogate(c) && i + 1 < size && IsLowSurrogate(in[i + 1])) {
      out[n++] = '?';  // one character beyond the BMP, one replacement
      ++i;
    } else {
      out[n++] = ByteForSpecial(c);
    }
  }
  return n;
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
