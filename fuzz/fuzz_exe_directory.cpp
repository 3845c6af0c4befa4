// Directory extraction on any path: the fallback text, or the part before a separator that
// is not the last character, with no separator between it and the last character.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Unit_funcoesauxiliares.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) ? '\\' : '/';
  const std::string path(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string directory = ExtractExeDirectory(path, separator);
  const std::size_t last = path.size() < 2 ? std::string::npos : path.rfind(separator, path.size() - 2);
  if (last == std::string::npos) {
    if (directory != "Erro no endere\xe7o!") std::abort();
  } else if (directory != path.substr(0, last)) {
    std::abort();
  }
  const UnicodeString wide = Windows1252().ToUnicode(path);
  const UnicodeString wideDirectory = ExtractExeDirectory(wide, static_cast<char16_t>(separator));
  if (last != std::string::npos && Windows1252().ToAnsi(wideDirectory) != directory) std::abort();
  return 0;
}
