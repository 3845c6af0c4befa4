// The personalisation run: one attempt to stamp a serial number into the QVR USB firmware
// image, reported in the log file, on standard output and in the exit code.
#pragma once

#include <cstdint>

#include "Unit_funcoesauxiliares.h"
#include "platform/Platform.h"
#include "platform/TextLineList.h"

extern const char ToolVersion[];
extern const char FirmwareVersion[];

// The fixed report texts, Windows-1252 bytes.
namespace Messages {
extern const char DeletionFailed[];
extern const char WrongArgumentCount[];
extern const char FirmwareUnreadable[];
extern const char FirmwareCorrupt[];
extern const char InvalidSerial[];
extern const char SaveFailed[];
}  // namespace Messages

constexpr std::uint64_t kFirmwareSize = 30160;
constexpr std::uint32_t kFirmwareByteSum = 1648428;
constexpr std::size_t kSerialRecordIndex = 334;  // the image's 335th line

// Everything one run owns, from the entry point until it returns.
struct RunState {
  int ErrorFlag = 0;
  UnicodeString ErrorMessage;
  UnicodeString LogPath;
  UnicodeString OutputPath;
  UnicodeString FirmwarePath;
  UnicodeString SerialText;
  TextLineList FirmwareLines;
  MemoryStream FirmwareBytes;
  TextLineList ProcessLog;
  AnsiString Echo;
};

// Four decimal digits worth 1001 to 9999.
bool ValidateSerial(const UnicodeString& serial);

// "S" and hexadecimal digits only, of an even length that puts the four serial positions
// in the data, before the checksum.
bool SerialRecordCanTakeSerial(const UnicodeString& record);

// One whole run; returns the process exit code (0 success, 1 failure).
int RunPersonalisation(Platform& platform, int argc, char** argv);
