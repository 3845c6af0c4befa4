// An ordered list of text lines, loaded from and saved to the bytes of a text file with the
// rules the tool's files follow (byte-order marks, CR/LF line ends, CR LF on save).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <string>
#include <vector>

#include "TextCodec.h"

// The lines share one buffer of text; a line is a span of it. That keeps loading an image
// to one allocation instead of one per line.
class TextLineList {
 public:
  std::size_t Count() const { return spans_.size(); }
  // Index outside 0..Count()-1: false, nothing read or changed.
  bool Get(std::size_t index, UnicodeString& line) const;
  bool Put(std::size_t index, std::u16string_view line);
  void Add(std::u16string_view line);
  void Clear();

  // Replaces the content with the lines of a file's bytes. A leading mark chooses the
  // decoding (FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF strict UTF-8, whose invalid text
  // gives no lines); without one the bytes are in the code page. The text ends at its
  // first NUL. CR LF, LF and CR each end a line; a final terminator adds no empty line.
  void LoadFromBytes(std::string_view bytes, const TextCodec& codePage);

  // Every line followed by CR LF, in the code page, without a mark.
  ByteBuffer SaveToBytes(const TextCodec& codePage) const;

 private:
  struct Span {
    std::size_t Start, Length;
  };
  std::u16string_view Line(const Span& span) const { return {text_.get() + span.Start, span.Length}; }
  // Room for more characters at the end of the text; the text is never zero-filled.
  char16_t* Reserve(std::size_t more);
  void SplitDecodedText(std::u16string_view text);
  bool LaidOutAsSaved() const;

  std::unique_ptr<char16_t[]> text_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::vector<Span> spans_;
};
