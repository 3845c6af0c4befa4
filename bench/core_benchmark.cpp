// The in-process core of a run (load, check, stamp, save to a temporary folder) against a
// plain read and write of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "Dravel_QVR_USB_Console.h"

namespace {

std::string Folder() {
  static std::string folder = [] {
    char pattern[] = "/tmp/qvr-bench-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return folder;
}

void Core(benchmark::State& state) {
  Platform& platform = SystemPlatform();
  const TextCodec& codePage = platform.SystemCodePage();
  const UnicodeString image = codePage.ToUnicode(QVR_SAMPLE_IMAGE);
  const UnicodeString output = codePage.ToUnicode(Folder() + "/Firmware_Gerado.s");
  const UnicodeString serial = u"4711";
  for (auto _ : state) {
    MemoryStream bytes;
    TextLineList lines;
    if (ReadFileBounded(platform, image, kFirmwareSize + 1, bytes.Bytes) != ReadOutcome::Read ||
        StreamByteSum(bytes) != kFirmwareByteSum || bytes.Size() != kFirmwareSize || !ValidateSerial(serial)) {
      state.SkipWithError("the sample was refused");
      break;
    }
    lines.LoadFromBytes(bytes.Bytes.View(), codePage);
    UnicodeString record;
    lines.Get(kSerialRecordIndex, record);
    for (std::size_t i = 0; i < 4; ++i) record[77 + 2 * i] = serial[i];
    FixSRecordChecksum(record);
    lines.Put(kSerialRecordIndex, record);
    if (!ReplaceFileAtomically(platform, output, lines.SaveToBytes(codePage).View())) {
      state.SkipWithError("the save failed");
      break;
    }
  }
}

void PlainReadWrite(benchmark::State& state) {
  const std::string output = Folder() + "/copy.s";
  char buffer[30161];
  for (auto _ : state) {
    const int in = open(QVR_SAMPLE_IMAGE, O_RDONLY);
    const ssize_t got = read(in, buffer, sizeof buffer);
    close(in);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (got <= 0 || write(out, buffer, static_cast<std::size_t>(got)) != got || close(out) != 0) {
      state.SkipWithError("the copy failed");
      break;
    }
  }
}

BENCHMARK(Core);
BENCHMARK(PlainReadWrite);

}  // namespace

BENCHMARK_MAIN();
