// Loading and saving the text line list.
#include "TextLineList.h"

#include <algorithm>
#include <cstring>
#include <functional>

char16_t* TextLineList::Reserve(std::size_t more) {
  if (capacity_ - size_ < more) {
    const std::size_t capacity = std::max(size_ + more, 2 * capacity_);
    std::unique_ptr<char16_t[]> text(new char16_t[capacity]);
    std::copy(text_.get(), text_.get() + size_, text.get());
    text_ = std::move(text);
    capacity_ = capacity;
  }
  return text_.get() + size_;
}

bool TextLineList::Get(std::size_t index, UnicodeString& line) const {
  if (index >= spans_.size()) return false;
  line.assign(Line(spans_[index]));
  return true;
}

bool TextLineList::Put(std::size_t index, std::u16string_view line) {
  if (index >= spans_.size()) return false;
  if (line.size() != spans_[index].Length) {
    Add(line);  // the old text stays behind, unused
    spans_[index] = spans_.back();
    spans_.pop_back();
    return true;
  }
  std::char_traits<char16_t>::move(text_.get() + spans_[index].Start, line.data(), line.size());
  return true;
}

void TextLineList::Add(std::u16string_view line) {
  const std::less<const char16_t*> before;
  if (text_ && !before(line.data(), text_.get()) && before(line.data(), text_.get() + capacity_)) {
    const UnicodeString own(line);  // a line of this list: copied before the buffer can move
    Add(own);
    return;
  }
  std::copy(line.begin(), line.end(), Reserve(line.size()));
  spans_.push_back({size_, line.size()});
  size_ += line.size();
}

void TextLineList::Clear() {
  size_ = 0;
  spans_.clear();
}

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

// Lines of text already decoded: CR LF, LF and CR each end one.
void TextLineList::SplitDecodedText(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    Add(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ++end;
    start = end + 1;
  }
}

void TextLineList::LoadFromBytes(std::string_view bytes, const TextCodec& codePage) {
  Clear();
  UnicodeString decoded;
  if (StartsWith(bytes, "\xFF\xFE")) {
    SplitDecodedText(DecodeUtf16(bytes.substr(2), false));
  } else if (StartsWith(bytes, "\xFE\xFF")) {
    SplitDecodedText(DecodeUtf16(bytes.substr(2), true));
  } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    if (DecodeUtf8Strict(bytes.substr(3), decoded)) SplitDecodedText(decoded);  // invalid: no lines
  } else {
    // Code-page text: NUL, CR and LF are single bytes in every code page (never the second
    // byte of a pair), so the lines are found in the bytes.
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    if (const void* nul = std::memchr(data, '\0', size)) size = static_cast<const char*>(nul) - data;
    // A single-byte code page decodes character for character: the whole text at once, the
    // line ends kept between the lines, where saving finds them again.
    const bool whole = codePage.MaxBytesPerCharacter() == 1;
    char16_t* to = Reserve(size);  // one character at most per byte
    if (whole) codePage.DecodeInto(std::string_view(data, size), to);
    std::size_t start = 0;
    std::size_t lineFeed = 0;  // the next LF at or after start, or size
    bool lineFeedKnown = false;
    while (start < size) {
      if (!lineFeedKnown || lineFeed < start) {
        const void* found = std::memchr(data + start, '\n', size - start);
        lineFeed = found ? static_cast<const char*>(found) - data : size;
        lineFeedKnown = true;
      }
      const void* cr = std::memchr(data + start, '\r', lineFeed - start);
      const std::size_t end = cr ? static_cast<const char*>(cr) - data : lineFeed;
      if (whole) {
        spans_.push_back({start, end - start});
      } else {
        const std::size_t length = codePage.DecodeInto(std::string_view(data + start, end - start), to);
        spans_.push_back({size_, length});
        size_ += length;
        to += length;
      }
      start = (cr && end + 1 == lineFeed) ? lineFeed + 1 : end + 1;
    }
    if (whole) size_ = size;
  }
}

// True when the lines lie one after the other in the text, each followed by CR LF: then the
// text is saved as it stands, in one piece.
bool TextLineList::LaidOutAsSaved() const {
  std::size_t next = spans_.empty() ? 0 : spans_.front().Start;
  for (const Span& span : spans_) {
    const std::size_t end = span.Start + span.Length;
    if (span.Start != next || end + 2 > size_ || text_[end] != u'\r' || text_[end + 1] != u'\n') {
      return false;
    }
    next = end + 2;
  }
  return true;
}

ByteBuffer TextLineList::SaveToBytes(const TextCodec& codePage) const {
  std::size_t room = 0;
  for (const Span& span : spans_) room += span.Length * codePage.MaxBytesPerCharacter() + 2;
  ByteBuffer bytes(room);
  char* to = bytes.Data();
  if (!spans_.empty() && LaidOutAsSaved()) {
    const std::size_t start = spans_.front().Start;
    const std::size_t end = spans_.back().Start + spans_.back().Length + 2;
    bytes.SetSize(codePage.EncodeInto(std::u16string_view(text_.get() + start, end - start), to));
    return bytes;
  }
  std::size_t filled = 0;
  for (const Span& span : spans_) {
    filled += codePage.EncodeInto(Line(span), to + filled);
    to[filled++] = '\r';
    to[filled++] = '\n';
  }
  bytes.SetSize(filled);
  return bytes;
}
