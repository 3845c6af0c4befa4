// Text as the tool holds it (UTF-16, like the class library it was written against) and the
// conversions between that text and 8-bit code-page bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

using UnicodeString = std::u16string;
using AnsiString = std::string;  // 8-bit text in the system's code page

// Bytes in one allocation that is never zero-filled first: a whole image is written into
// it once, by a read or an encoder.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::size_t capacity) : data_(new char[capacity]), capacity_(capacity) {}
  static ByteBuffer Copy(std::string_view bytes) {
    ByteBuffer buffer(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.Data());
    buffer.SetSize(bytes.size());
    return buffer;
  }
  char* Data() { return data_.get(); }
  std::size_t Capacity() const { return capacity_; }
  std::size_t Size() const { return size_; }
  void SetSize(std::size_t size) { size_ = size < capacity_ ? size : capacity_; }
  std::string_view View() const { return std::string_view(data_.get(), size_); }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

// A system 8-bit code page: how bytes become text and text becomes bytes. The Into forms
// write to a buffer the caller sized, so that many lines can share one.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // The most bytes one UTF-16 code unit can take in this code page.
  virtual std::size_t MaxBytesPerCharacter() const = 0;
  // Decodes into out, which has room for bytes.size() characters; returns how many.
  virtual std::size_t DecodeInto(std::string_view bytes, char16_t* out) const = 0;
  // Encodes into out, which has room for text.size() * MaxBytesPerCharacter() bytes; returns
  // how many. Characters the code page lacks become '?'.
  virtual std::size_t EncodeInto(std::u16string_view text, char* out) const = 0;

  void AppendUnicode(std::string_view bytes, UnicodeString& out) const {
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    out.resize(start + DecodeInto(bytes, &out[start]));
  }
  void AppendAnsi(std::u16string_view text, AnsiString& out) const {
    const std::size_t start = out.size();
    out.resize(start + text.size() * MaxBytesPerCharacter());
    out.resize(start + EncodeInto(text, &out[start]));
  }
  UnicodeString ToUnicode(std::string_view bytes) const {
    UnicodeString text;
    AppendUnicode(bytes, text);
    return text;
  }
  AnsiString ToAnsi(std::u16string_view text) const {
    AnsiString bytes;
    AppendAnsi(text, bytes);
    return bytes;
  }
};

// Windows-1252, with its five undefined bytes (81, 8D, 8F, 90, 9D) mapped to the C1 control
// characters of the same value, so that every byte string survives a round trip.
class Windows1252Codec final : public TextCodec {
 public:
  std::size_t MaxBytesPerCharacter() const override { return 1; }
  std::size_t DecodeInto(std::string_view bytes, char16_t* out) const override;
  std::size_t EncodeInto(std::u16string_view text, char* out) const override;
};

const Windows1252Codec& Windows1252();

// Strict UTF-8: false (and out untouched) on any invalid, overlong, surrogate or
// out-of-range sequence.
bool DecodeUtf8Strict(std::string_view bytes, UnicodeString& out);

// UTF-16 in either byte order; an odd last byte is ignored.
UnicodeString DecodeUtf16(std::string_view bytes, bool bigEndian);
