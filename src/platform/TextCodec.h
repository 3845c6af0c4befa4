// Text as the tool holds it (UTF-16, like the class library it was written against) and the
// conversions between that text and 8-bit code-page bytes.
#pragma once

#include <string>
#include <string_view>

using UnicodeString = std::u16string;
using AnsiString = std::string;  // 8-bit text in the system's code page

// A system 8-bit code page: how bytes become text and text becomes bytes.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual UnicodeString ToUnicode(std::string_view bytes) const = 0;
  // Characters the code page lacks become '?'.
  virtual AnsiString ToAnsi(std::u16string_view text) const = 0;
  // Appends the encoding of text to out (saves a copy per line when writing many lines).
  virtual void AppendAnsi(std::u16string_view text, AnsiString& out) const = 0;
};

// Windows-1252, with its five undefined bytes (81, 8D, 8F, 90, 9D) mapped to the C1 control
// characters of the same value, so that every byte string survives a round trip.
class Windows1252Codec final : public TextCodec {
 public:
  UnicodeString ToUnicode(std::string_view bytes) const override;
  AnsiString ToAnsi(std::u16string_view text) const override;
  void AppendAnsi(std::u16string_view text, AnsiString& out) const override;
};

const Windows1252Codec& Windows1252();

// Strict UTF-8: false (and out untouched) on any invalid, overlong, surrogate or
// out-of-range sequence.
bool DecodeUtf8Strict(std::string_view bytes, UnicodeString& out);

// UTF-16 in either byte order; an odd last byte is ignored.
UnicodeString DecodeUtf16(std::string_view bytes, bool bigEndian);
