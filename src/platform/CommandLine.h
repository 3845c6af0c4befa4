// Splitting an 8-bit Windows command line into arguments, as the program's start-up code
// does before main: the program name is skipped, the rest split at blanks with quoting.
#pragma once

#include <string_view>
#include <vector>

#include "TextCodec.h"

// The arguments after the program name. A name starting with a double quote runs to the
// next double quote, any other to the next space or tab. Arguments are separated by runs
// of spaces and tabs; a double quote switches quoted mode and is removed ("" is an empty
// argument, an unclosed quote runs to the end); 2n backslashes before a double quote give n
// backslashes and the quote switches the mode, 2n+1 give n and a literal double quote;
// other backslashes stay. Two double quotes inside quoted text give no literal quote.
std::vector<AnsiString> SplitCommandLine(std::string_view commandLine);
