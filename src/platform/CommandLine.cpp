// Command-line splitting.
#include "CommandLine.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<AnsiString> SplitCommandLine(std::string_view line) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  if (n > 0 && line[0] == '"') {
    i = line.find('"', 1);
    i = i == std::string_view::npos ? n : i + 1;
  } else {
    while (i < n && !IsBlank(line[i])) ++i;
  }

  std::vector<AnsiString> arguments;
  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    AnsiString argument;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      if (line[i] == '\\') {
        std::size_t end = i;
        while (end < n && line[end] == '\\') ++end;
        const std::size_t count = end - i;
        if (end < n && line[end] == '"') {
          argument.append(count / 2, '\\');
          if (count % 2 == 1) argument += '"';
          else quoted = !quoted;
          i = end + 1;
        } else {
          argument.append(count, '\\');
          i = end;
        }
      } else if (line[i] == '"') {
        quoted = !quoted;
        ++i;
      } else {
        argument += line[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}
