// The command-line splitter, on every platform.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, Table) {
  struct Case {
    std::string Line;
    Args Expected;
  };
  const Case cases[] = {
      {"tool.exe fw.s 4711", {"fw.s", "4711"}},
      {"tool.exe", {}},
      {"", {}},
      {"tool.exe   \t fw.s\t\t4711  ", {"fw.s", "4711"}},
      // The program name: quoted to the next quote, else to the next blank.
      {"\"C:\\Program Files\\tool.exe\" fw.s 4711", {"fw.s", "4711"}},
      {"\"C:\\a b\\tool.exe\"fw.s 4711", {"fw.s", "4711"}},
      {"\"unclosed program name fw.s 4711", {}},
      {"C:\\tool\\\"x y\" z", {"y z"}},  // the name ends at the blank, not the quote
      // Quotes switch quoted mode and are removed.
      {"t \"C:\\Meus Arquivos\\fw.s\" 4711", {"C:\\Meus Arquivos\\fw.s", "4711"}},
      {"t a\"b c\"d e", {"ab cd", "e"}},
      {"t \"\" 4711", {"", "4711"}},
      {"t \"\"", {""}},
      {"t \"unclosed quote runs on", {"unclosed quote runs on"}},
      // Two double quotes inside quoted text give no literal quote.
      {"t \"a\"\"b\"", {"ab"}},
      {"t \"a \"\" b\" c", {"a  b", "c"}},
      // Backslashes.
      {"t a\\b c\\\\d", {"a\\b", "c\\\\d"}},
      {"t a\\\"b", {"a\"b"}},
      {"t a\\\\\"b c\"", {"a\\b c"}},
      {"t a\\\\\\\"b", {"a\\\"b"}},
      {"t \"C:\\pasta\\\\\" 4711", {"C:\\pasta\\", "4711"}},
      {"t \"C:\\pasta\\\" 4711", {"C:\\pasta\" 4711"}},
      {"t trailing\\", {"trailing\\"}},
      // No wildcard expansion, 8-bit text unchanged.
      {"t *.s ?", {"*.s", "?"}},
      {"t s\xe9rie \x80", {"s\xe9rie", "\x80"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.Line), c.Expected) << c.Line;
}

}  // namespace
