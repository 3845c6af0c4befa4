// Loading and saving the text line list.
#include "TextLineList.h"

bool TextLineList::Get(std::size_t index, UnicodeString& line) const {
  if (index >= lines_.size()) return false;
  line = lines_[index];
  return true;
}

bool TextLineList::Put(std::size_t index, UnicodeString line) {
  if (index >= lines_.size()) return false;
  lines_[index] = std::move(line);
  return true;
}

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

UnicodeString DecodeText(std::string_view bytes, const TextCodec& codePage) {
  if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    UnicodeString text;
    DecodeUtf8Strict(bytes.substr(3), text);  // invalid UTF-8 leaves the text empty
    return text;
  }
  return codePage.ToUnicode(bytes);
}

}  // namespace

void TextLineList::LoadFromBytes(std::string_view bytes, const TextCodec& codePage) {
  const UnicodeString decoded = DecodeText(bytes, codePage);
  std::u16string_view text(decoded);
  text = text.substr(0, text.find(u'\0'));

  lines_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    lines_.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') {
      ++end;
    }
    start = end + 1;
  }
}

AnsiString TextLineList::SaveToBytes(const TextCodec& codePage) const {
  AnsiString bytes;
  std::size_t estimate = 0;
  for (const auto& line : lines_) estimate += line.size() + 2;
  bytes.reserve(estimate);
  for (const auto& line : lines_) {
    codePage.AppendAnsi(line, bytes);
    bytes += "\r\n";
  }
  return bytes;
}
