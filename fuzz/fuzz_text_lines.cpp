// The text line loader on any bytes: every mark, every line end, NUL, invalid UTF-8, odd
// UTF-16. Without a mark, saving what was loaded gives the bytes back with every line end
// made CR LF, cut at the first NUL; with any input, a second load and save changes nothing,
// unless the saved text itself starts with the bytes of a mark (a first line beginning with
// "ÿþ" is read back as UTF-16, as the format says).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "TextLineList.h"

namespace {

bool HasMark(const std::string& bytes) {
  return bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0 ||
         bytes.rfind("\xEF\xBB\xBF", 0) == 0;
}

// What saving the loaded lines must give for bytes without a mark.
std::string Normalised(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!out.empty() && (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)) {
    out += "\r\n";  // the last line had no terminator
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TextLineList list;
  list.LoadFromBytes(bytes, Windows1252());
  const std::string saved(list.SaveToBytes(Windows1252()).View());
  if (!HasMark(bytes) && saved != Normalised(bytes)) std::abort();

  if (HasMark(saved)) return 0;
  TextLineList again;
  again.LoadFromBytes(saved, Windows1252());
  if (again.SaveToBytes(Windows1252()).View() != saved) std::abort();
  return 0;
}
