// The serial check accepts exactly the four-digit texts 1001 to 9999, whatever the bytes;
// the conversion under it reads back every 32-bit number it is given in decimal.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Dravel_QVR_USB_Console.h"
#include "TextToInteger.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const UnicodeString serial = Windows1252().ToUnicode(bytes);
  bool fourDigits = bytes.size() == 4;
  for (char c : bytes) fourDigits = fourDigits && c >= '0' && c <= '9';
  const bool expected = fourDigits && std::atoi(bytes.c_str()) >= 1001;
  if (ValidateSerial(serial) != expected) std::abort();

  if (size >= 4) {
    std::int32_t number;
    std::memcpy(&number, data, 4);
    const std::string decimal = std::to_string(number);
    std::int32_t back = 0;
    if (!TextToInteger(UnicodeString(decimal.begin(), decimal.end()), back) || back != number) {
      std::abort();
    }
  }
  std::int32_t ignored;
  TextToInteger(serial, ignored);
  return 0;
}
