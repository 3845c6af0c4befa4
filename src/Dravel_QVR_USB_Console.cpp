// Dravel_QVR_USB_Console: personalises the QVR USB firmware image with a four-digit serial
// number. Usage: Dravel_QVR_USB_Console <firmware image> <serial>. Writes Firmware_Gerado.s
// and Process_Log_File.txt beside the executable, echoes the report and exits 0 or 1.
#include "Dravel_QVR_USB_Console.h"

#include "platform/TextToInteger.h"

const char ToolVersion[] = "2";
const char FirmwareVersion[] = "2.2";

namespace Messages {
const char DeletionFailed[] =
    "Imposs\xedvel executar opera\xe7\xe3o de exclus\xe3o de arquivo na pasta de instala\xe7\xe3o.";
const char WrongArgumentCount[] = "N\xfamero de par\xe2metros incorreto";
const char FirmwareUnreadable[] = "Arquivo de firmware n\xe3o acess\xedvel.";
const char FirmwareCorrupt[] = "Arquivo de firmware est\xe1 corrompido ou foi alterado.";
const char InvalidSerial[] = "N\xfamero de s\xe9rie inv\xe1lido";
const char SaveFailed[] = "Imposs\xedvel gravar arquivo de firmware, diret\xf3rio n\xe3o acess\xedvel.";
}  // namespace Messages

namespace {

const char kLogFileName[] = "Process_Log_File.txt";
const char kOutputFileName[] = "Firmware_Gerado.s";
const char kVersionLabel[] = "Dravel_QVR_USB Vers\xe3o: ";
const char kFirmwareVersionLabel[] = "   Firmware QVR USB Vers\xe3o: ";
const char kLogWriteFailed[] = "Imposs\xedvel gravar arquivo de log: ";
const char kEchoWriteFailed[] = "Imposs\xedvel escrever o relat\xf3rio na sa\xed""da padr\xe3o.\n";

// Where the four serial characters go in the serial record (0-based).
constexpr std::size_t kSerialPositions[4] = {77, 79, 81, 83};

void RecordFailure(RunState& run, const TextCodec& codePage, const char* message) {
  run.ErrorFlag = 1;
  run.ErrorMessage = codePage.ToUnicode(message);
}

void RemoveStaleOutput(Platform& platform, RunState& run) {
  if (platform.FileExists(run.OutputPath) && !platform.DeleteExistingFile(run.OutputPath)) {
    RecordFailure(run, platform.SystemCodePage(), Messages::DeletionFailed);
  }
}

// One bounded read gives both the bytes for the size and sum test and the lines.
void LoadFirmware(Platform& platform, RunState& run) {
  const TextCodec& codePage = platform.SystemCodePage();
  if (ReadFileBounded(platform, run.FirmwarePath, kFirmwareSize + 1, run.FirmwareBytes.Bytes) !=
      ReadOutcome::Read) {
    RecordFailure(run, codePage, Messages::FirmwareUnreadable);
    return;
  }
  if (StreamByteSum(run.FirmwareBytes) != kFirmwareByteSum ||
      run.FirmwareBytes.Size() != kFirmwareSize) {
    RecordFailure(run, codePage, Messages::FirmwareCorrupt);
    return;
  }
  run.FirmwareLines.LoadFromBytes(run.FirmwareBytes.Bytes.View(), codePage);
}

void StampSerial(Platform& platform, RunState& run) {
  const TextCodec& codePage = platform.SystemCodePage();
  UnicodeString record;
  if (!run.FirmwareLines.Get(kSerialRecordIndex, record) || !SerialRecordCanTakeSerial(record)) {
    RecordFailure(run, codePage, Messages::FirmwareCorrupt);
    return;
  }
  for (std::size_t i = 0; i < 4; ++i) record[kSerialPositions[i]] = run.SerialText[i];
  FixSRecordChecksum(record);
  run.FirmwareLines.Put(kSerialRecordIndex, record);
  if (!ReplaceFileAtomically(platform, run.OutputPath, run.FirmwareLines.SaveToBytes(codePage).View())) {
    RecordFailure(run, codePage, Messages::SaveFailed);
  }
}

// Builds the report, writes the log and the echo; 1 when either could not be written.
int Report(Platform& platform, RunState& run, const RegionalSettings& regional) {
  const TextCodec& codePage = platform.SystemCodePage();
  if (run.ErrorFlag == 0) {
    run.ProcessLog.Add(u"OK");
  } else {
    run.ProcessLog.Add(u"ERRO");
    run.ProcessLog.Add(run.ErrorMessage);
  }
  LocalTime now;  // one reading for both texts; the zero date if the clock fails
  platform.ReadLocalTime(now);
  run.ProcessLog.Add(u"Data: " + FormatShortDate(now, regional) + u"   Hora:" +
                     FormatTime(now, regional));
  run.ProcessLog.Add(codePage.ToUnicode(kVersionLabel) + codePage.ToUnicode(ToolVersion) +
                     codePage.ToUnicode(kFirmwareVersionLabel) + codePage.ToUnicode(FirmwareVersion));

  const bool logWritten =
      ReplaceFileAtomically(platform, run.LogPath, run.ProcessLog.SaveToBytes(codePage).View());

  UnicodeString line;
  for (std::size_t i = 0; run.ProcessLog.Get(i, line); ++i) {
    codePage.AppendAnsi(line, run.Echo);
    run.Echo += "<br>";
  }
  const bool echoWritten = platform.WriteStandardOutput(run.Echo);

  if (!logWritten) {
    platform.WriteStandardError(kLogWriteFailed + codePage.ToAnsi(run.LogPath) + "\n");
  }
  if (!echoWritten) platform.WriteStandardError(kEchoWriteFailed);
  return (logWritten && echoWritten) ? 0 : 1;
}

}  // namespace

bool ValidateSerial(const UnicodeString& serial) {
  std::int32_t value;
  if (!TextToInteger(serial, value) || value <= 1000 || serial.size() != 4) return false;
  // The conversion also takes $3E9 or x3e9; only decimal digits may enter the record.
  for (char16_t c : serial) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

bool SerialRecordCanTakeSerial(const UnicodeString& record) {
  if (record.size() < kSerialPositions[3] + 3 || record.size() % 2 != 0 || record[0] != u'S') {
    return false;
  }
  for (std::size_t i = 1; i < record.size(); ++i) {
    if (HexDigit(record[i]) < 0) return false;
  }
  return true;
}

int RunPersonalisation(Platform& platform, int argc, char** argv) {
  RunState run;
  const TextCodec& codePage = platform.SystemCodePage();
  const RegionalSettings regional = platform.ReadRegionalSettings();

  const char16_t separator = platform.PathSeparator();
  const UnicodeString directory = ExtractExeDirectory(platform.ExecutablePath(), separator);
  run.LogPath = directory + separator + codePage.ToUnicode(kLogFileName);
  run.OutputPath = directory + separator + codePage.ToUnicode(kOutputFileName);

  RemoveStaleOutput(platform, run);

  const std::vector<AnsiString> arguments = platform.Arguments(argc, argv);
  if (arguments.size() != 2) {
    RecordFailure(run, codePage, Messages::WrongArgumentCount);
  } else {
    run.FirmwarePath = codePage.ToUnicode(arguments[0]);
    run.SerialText = codePage.ToUnicode(arguments[1]);
  }

  if (run.ErrorFlag == 0) LoadFirmware(platform, run);
  if (run.ErrorFlag == 0 && !ValidateSerial(run.SerialText)) {
    RecordFailure(run, codePage, Messages::InvalidSerial);
  }
  if (run.ErrorFlag == 0) StampSerial(platform, run);

  const int reportStatus = Report(platform, run, regional);
  return run.ErrorFlag != 0 ? run.ErrorFlag : reportStatus;
}

int main(int argc, char** argv) { return RunPersonalisation(SystemPlatform(), argc, argv); }
