// An ordered list of text lines, loaded from and saved to the bytes of a text file with the
// rules the tool's files follow (byte-order marks, CR/LF line ends, CR LF on save).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "TextCodec.h"

class TextLineList {
 public:
  std::size_t Count() const { return lines_.size(); }
  // Index outside 0..Count()-1: false, nothing read or changed.
  bool Get(std::size_t index, UnicodeString& line) const;
  bool Put(std::size_t index, UnicodeString line);
  void Add(UnicodeString line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }

  // Replaces the content with the lines of a file's bytes. A leading mark chooses the
  // decoding (FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF strict UTF-8, whose invalid text
  // gives no lines); without one the bytes are in the code page. The text ends at its
  // first NUL. CR LF, LF and CR each end a line; a final terminator adds no empty line.
  void LoadFromBytes(std::string_view bytes, const TextCodec& codePage);

  // Every line followed by CR LF, in the code page, without a mark.
  AnsiString SaveToBytes(const TextCodec& codePage) const;

 private:
  std::vector<UnicodeString> lines_;
};
