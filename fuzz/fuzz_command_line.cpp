// The command-line splitter on any line; quoting the arguments it found the usual Windows
// way and splitting again gives the same arguments.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommandLine.h"

namespace {

std::string Quoted(const std::string& argument) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::vector<AnsiString> arguments = SplitCommandLine(line);
  std::string rebuilt = "tool.exe";
  for (const auto& argument : arguments) rebuilt += " " + Quoted(argument);
  if (SplitCommandLine(rebuilt) != arguments) std::abort();
  return 0;
}
