// Text to integer conversion as the class library's run-time routine does it.
#pragma once

#include <cstdint>
#include <string_view>

// Leading spaces, at most one sign, then decimal digits within 32 bits or a hexadecimal
// marker ($, x, X, 0x, 0X) with up to eight significant hexadecimal digits whose 32-bit
// pattern is the signed value; nothing may follow. False for anything else.
bool TextToInteger(std::u16string_view text, std::int32_t& value);

// The value of a hexadecimal digit of either case, or -1 for any other character.
int HexDigit(char16_t c);
