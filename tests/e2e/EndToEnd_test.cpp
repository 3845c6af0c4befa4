// End-to-end behaviour of the built tool: exit code, echo, log and image, byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <ctime>
#include <cctype>
#include <cstdio>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "Harness.h"

namespace {

const std::string kVersionLine = "Dravel_QVR_USB Vers\xe3o: 2   Firmware QVR USB Vers\xe3o: 2.2";
const std::string kDeletionFailed =
    "Imposs\xedvel executar opera\xe7\xe3o de exclus\xe3o de arquivo na pasta de instala\xe7\xe3o.";
const std::string kWrongArgumentCount = "N\xfamero de par\xe2metros incorreto";
const std::string kUnreadable = "Arquivo de firmware n\xe3o acess\xedvel.";
const std::string kCorrupt = "Arquivo de firmware est\xe1 corrompido ou foi alterado.";
const std::string kInvalidSerial = "N\xfamero de s\xe9rie inv\xe1lido";
const std::string kSaveFailed = "Imposs\xedvel gravar arquivo de firmware, diret\xf3rio n\xe3o acess\xedvel.";

const char kLog[] = "Process_Log_File.txt";
const char kImage[] = "Firmware_Gerado.s";

// Line 335 of the sample stamped with 4711: digits at 78, 80, 82, 84 and checksum 75.
const std::string kStamped4711 =
    "S129B16E36291D20131D191B000A23230904363808FF2F2E3332332E2B2720300422343915363437313175";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& terminator) {
  std::string text;
  for (const auto& line : lines) text += line + terminator;
  return text;
}

std::vector<std::string> OkReport(const std::string& dateLine = kPinnedDateLineC) {
  return {"OK", dateLine, kVersionLine};
}

std::vector<std::string> ErrorReport(const std::string& message,
                                     const std::string& dateLine = kPinnedDateLineC) {
  return {"ERRO", message, dateLine, kVersionLine};
}

// Under an emulator the clock is not pinned: check the date line's shape, then pin it.
std::string Pinned(const std::string& text) {
  if (!UnderEmulator()) return text;
  static const std::regex dateLine("Data: [0-9/]+   Hora:[0-9:]+( [AaPp][Mm])?");
  return std::regex_replace(text, dateLine, kPinnedDateLineC);
}

std::string WithLine(const std::string& image, std::size_t index, const std::string& line) {
  std::vector<std::string> lines = SplitLines(image);
  lines.at(index) = line;
  return JoinLines(lines, "\r\n");
}

std::string Stamped4711() { return WithLine(SampleImage(), 334, kStamped4711); }

// Images are compared whole; a difference is shown as its first differing line.
testing::AssertionResult SameImage(const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  const std::vector<std::string> a = SplitLines(actual), e = SplitLines(expected);
  for (std::size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
    const std::string left = i < a.size() ? a[i] : "(none)", right = i < e.size() ? e[i] : "(none)";
    if (left != right) {
      return testing::AssertionFailure() << "line " << i + 1 << ": got " << left << ", expected " << right;
    }
  }
  return testing::AssertionFailure() << "line ends differ";
}

// Checks a whole run's outcome: exit code, echo, log, and nothing else on standard error.
void ExpectReport(const Installation& installation, const RunResult& result, int exitCode,
                  const std::vector<std::string>& report) {
  EXPECT_EQ(result.ExitCode, exitCode);
  EXPECT_EQ(Pinned(result.Out), JoinLines(report, "<br>"));
  EXPECT_EQ(result.Err, "");
  ASSERT_TRUE(Exists(installation.Path(kLog)));
  EXPECT_EQ(Pinned(ReadFile(installation.Path(kLog))), JoinLines(report, "\r\n"));
}

void ExpectFailure(const Installation& installation, const RunResult& result,
                   const std::string& message) {
  ExpectReport(installation, result, 1, ErrorReport(message));
  EXPECT_FALSE(Exists(installation.Path(kImage)));
}

std::string WriteFirmware(const Installation& installation, const std::string& name,
                          const std::string& bytes) {
  const std::string path = installation.Path(name);
  WriteFile(path, bytes);
  return path;
}

// S-record checksum of a record's text without its last two characters.
std::string RecordWithChecksum(const std::string& body) {
  unsigned sum = 0;
  for (std::size_t i = 2; i + 1 < body.size(); i += 2) sum += std::stoul(body.substr(i, 2), nullptr, 16);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", ~sum & 0xFFu);
  return body + hex;
}

unsigned ByteSum(const std::string& bytes) {
  unsigned sum = 0;
  for (unsigned char c : bytes) sum += c;
  return sum;
}

// The sample with one letter of its serial record in lower case, at the low digit of a
// pair, where the old decoding went wrong. The size and byte sum are kept by lowering two
// other digits of the same record: the tool recomputes that record's checksum anyway.
std::string SampleWithLowerCaseInSerialRecord() {
  std::vector<std::string> lines = SplitLines(SampleImage());
  std::string& record = lines[334];
  std::size_t letter = 3;
  while (!(record[letter] >= 'A' && record[letter] <= 'F')) letter += 2;
  record[letter] = static_cast<char>(record[letter] + 32);
  const std::string digits = "0123456789ABCDEF";
  for (std::size_t i = 8; i < 76; ++i) {
    for (std::size_t j = i + 1; j < 76; ++j) {
      if (i == letter || j == letter) continue;
      for (char a : digits) {
        for (char b : digits) {
          if ((a - record[i]) + (b - record[j]) == -32) {
            record[i] = a;
            record[j] = b;
            return JoinLines(lines, "\r\n");
          }
        }
      }
    }
  }
  throw std::runtime_error("no two digits restore the byte sum");
}

// ---------------------------------------------------------------------------------------

TEST(Personalisation, StampsTheSerialIntoTheSerialRecordAndReportsSuccess) {
  Installation installation;
  const RunResult result = installation.Run({SamplePath(), "4711"});
  ExpectReport(installation, result, 0, OkReport());
  const std::string image = ReadFile(installation.Path(kImage));
  EXPECT_TRUE(SameImage(image, Stamped4711()));
  EXPECT_EQ(installation.Listing(), (std::vector<std::string>{kImage, kLog}));
}

TEST(Personalisation, OutputImageIsAcceptedByObjcopy) {
  Installation installation;
  ASSERT_EQ(installation.Run({SamplePath(), "4711"}).ExitCode, 0);
  const std::string binary = installation.Path("image.bin");
  const std::string command = "objcopy -I srec -O binary '" + installation.Path(kImage) + "' '" +
                              binary + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  const std::string data = ReadFile(binary);
  // The serial's ASCII digits are the last four bytes of the serial record's data.
  EXPECT_NE(data.find("4711"), std::string::npos);
}

TEST(Personalisation, AcceptedSerialsAreStampedCharacterForCharacter) {
  for (const std::string serial : {"1001", "9999", "4711", "5000"}) {
    SCOPED_TRACE(serial);
    Installation installation;
    const RunResult result = installation.Run({SamplePath(), serial});
    ExpectReport(installation, result, 0, OkReport());
    const std::vector<std::string> lines = SplitLines(ReadFile(installation.Path(kImage)));
    const std::vector<std::string> sample = SplitLines(SampleImage());
    ASSERT_EQ(lines.size(), sample.size());
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(lines[334][77 + 2 * i], serial[i]);
    EXPECT_EQ(lines[334], RecordWithChecksum(lines[334].substr(0, lines[334].size() - 2)));
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i != 334) EXPECT_EQ(lines[i], sample[i]) << "line " << i + 1;
    }
  }
}

TEST(Personalisation, RefusedSerialsLeaveNoImage) {
  // Too small, too long, not a number, and the hexadecimal forms the conversion would take.
  for (const std::string serial : {"1000", "0999", "+999", " 999", "10000", "12G4", "1.5e3", "",
                                   "$3E9", "x3e9", "XFFF", "$3E8", "0x3E9", "-1001", "1001 ",
                                   "\xb9\xb2\xb3\xb4"}) {
    SCOPED_TRACE("serial '" + serial + "'");
    Installation installation;
    ExpectFailure(installation, installation.Run({SamplePath(), serial}), kInvalidSerial);
  }
}

TEST(Personalisation, LowerCaseSerialRecordGetsTheRightChecksum) {
  Installation installation;
  const std::string image = SampleWithLowerCaseInSerialRecord();
  ASSERT_EQ(ByteSum(image), ByteSum(SampleImage()));
  ASSERT_EQ(image.size(), SampleImage().size());
  const RunResult result = installation.Run({WriteFirmware(installation, "lower.s", image), "4711"});
  ExpectReport(installation, result, 0, OkReport());
  std::string expected = SplitLines(image)[334];
  expected.replace(77, 7, "4373131");
  std::string upper = expected;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  expected.replace(84, 2, RecordWithChecksum(upper.substr(0, 84)).substr(84));
  EXPECT_EQ(SplitLines(ReadFile(installation.Path(kImage)))[334], expected);
}

TEST(Personalisation, ImageThatCannotTakeTheSerialIsCorrupt) {
  struct Case {
    const char* Name;
    std::size_t SwapWith;  // line exchanged with line 335 (0-based), size and sum kept
  };
  // Exchanging two lines keeps the size and byte sum: the serial record becomes the S9
  // end record (too short), the tail record (too short) or the S0 header (long enough).
  for (const Case c : {Case{"end record", 342}, Case{"short data record", 341}}) {
    SCOPED_TRACE(c.Name);
    Installation installation;
    std::vector<std::string> lines = SplitLines(SampleImage());
    std::swap(lines[334], lines[c.SwapWith]);
    const std::string path = WriteFirmware(installation, "swapped.s", JoinLines(lines, "\r\n"));
    ExpectFailure(installation, installation.Run({path, "4711"}), kCorrupt);
  }
  // A serial record with a non-hexadecimal character (the sum kept by the line before it).
  Installation installation;
  std::vector<std::string> lines = SplitLines(SampleImage());
  const int delta = 'G' - lines[334][20];
  lines[334][20] = 'G';
  lines[333][20] = static_cast<char>(lines[333][20] - delta);
  const std::string path = WriteFirmware(installation, "g.s", JoinLines(lines, "\r\n"));
  ASSERT_EQ(ByteSum(ReadFile(path)), ByteSum(SampleImage()));
  ExpectFailure(installation, installation.Run({path, "4711"}), kCorrupt);

  // No line 335 at all: 300 lines and one long unterminated line of the right size and sum.
  Installation few;
  const std::vector<std::string> all = SplitLines(SampleImage());
  const std::string text = JoinLines(std::vector<std::string>(all.begin(), all.begin() + 300), "\r\n");
  std::string filler;
  const std::size_t need = SampleImage().size() - text.size();
  unsigned sumNeeded = ByteSum(SampleImage()) - ByteSum(text);
  for (std::size_t i = 0; i < need; ++i) {
    const unsigned left = static_cast<unsigned>(need - i - 1);
    const unsigned c = std::min<unsigned>('z', sumNeeded - left * '0');
    filler += static_cast<char>(c);
    sumNeeded -= c;
  }
  const std::string shortPath = WriteFirmware(few, "short.s", text + filler);
  ASSERT_EQ(ReadFile(shortPath).size(), SampleImage().size());
  ASSERT_EQ(ByteSum(ReadFile(shortPath)), ByteSum(SampleImage()));
  ExpectFailure(few, few.Run({shortPath, "4711"}), kCorrupt);
}

TEST(Personalisation, IntegrityCheckFailures) {
  const std::string sample = SampleImage();
  std::string offByOne = sample;
  offByOne[100] = static_cast<char>(offByOne[100] + 1);
  std::string twoLinesExchanged = JoinLines([&] {
    std::vector<std::string> lines = SplitLines(sample);
    std::swap(lines[10], lines[20]);
    return lines;
  }(), "\r\n");
  struct Case {
    const char* Name;
    std::string Bytes;
    const std::string* Message;
  };
  const std::vector<Case> cases = {
      {"empty file", "", &kCorrupt},
      {"sum one too high", offByOne, &kCorrupt},
      {"one NUL byte more (same sum)", sample + std::string(1, '\0'), &kCorrupt},
      {"twice the image", sample + sample, &kCorrupt},
      {"one byte short", sample.substr(1), &kCorrupt},
      {"LF line ends", [&] { std::string t; for (char c : sample) if (c != '\r') t += c; return t; }(), &kCorrupt},
      {"two lines exchanged", twoLinesExchanged, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Installation installation;
    const RunResult result = installation.Run({WriteFirmware(installation, "in.s", c.Bytes), "4711"});
    if (c.Message != nullptr) {
      ExpectFailure(installation, result, *c.Message);
    } else {
      ExpectReport(installation, result, 0, OkReport());
    }
  }
}

TEST(Personalisation, UnreadableFirmware) {
  Installation installation;
  mkdir(installation.Path("folder.s").c_str(), 0755);
  for (const std::string path : {installation.Path("missing.s"), installation.Path("folder.s"),
                                 std::string("")}) {
    SCOPED_TRACE(path);
    ExpectFailure(installation, installation.Run({path, "4711"}), kUnreadable);
  }
}

TEST(Personalisation, EndlessAndHugeInputsAreRefusedAtOnce) {
  Installation installation;
  // A sparse 8 GB file and a device that never ends: refused after the first 30161 bytes.
  const std::string huge = installation.Path("huge.s");
  const int fd = open(huge.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 8LL << 30), 0);
  close(fd);
  ExpectFailure(installation, installation.Run({huge, "4711"}), kCorrupt);
  ExpectFailure(installation, installation.Run({"/dev/zero", "4711"}), kCorrupt);
}

TEST(Personalisation, FirmwareHeldByAWriterIsNotAccessible) {
  if (UnderEmulator()) GTEST_SKIP() << "advisory locks are this system's stand-in for share modes";
  Installation installation;
  const std::string path = WriteFirmware(installation, "held.s", SampleImage());
  const int fd = open(path.c_str(), O_RDWR);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  ExpectFailure(installation, installation.Run({path, "4711"}), kUnreadable);
  close(fd);
}

TEST(Personalisation, FirmwareFailureIsReportedBeforeAnInvalidSerial) {
  Installation installation;
  ExpectFailure(installation, installation.Run({installation.Path("missing.s"), "12G4"}), kUnreadable);
  ExpectFailure(installation, installation.Run({installation.Path(kLog), "12G4"}), kCorrupt);
}

TEST(Personalisation, WrongArgumentCount) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"only-one"}, {SamplePath(), "4711", "extra"}}) {
    SCOPED_TRACE(arguments.size());
    Installation installation;
    ExpectFailure(installation, installation.Run(arguments), kWrongArgumentCount);
  }
}

TEST(StaleImage, IsRemovedByEveryRun) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"missing.s", "4711"}, {SamplePath(), "12"}}) {
    Installation installation;
    WriteFile(installation.Path(kImage), "stale");
    installation.Run(arguments);
    EXPECT_FALSE(Exists(installation.Path(kImage)));
    EXPECT_EQ(installation.Listing(), std::vector<std::string>{kLog});
  }
}

TEST(StaleImage, FirmwareNamedAsTheOutputImageIsGoneBeforeItIsRead) {
  Installation installation;
  WriteFile(installation.Path(kImage), SampleImage());
  ExpectFailure(installation, installation.Run({installation.Path(kImage), "4711"}), kUnreadable);
}

TEST(StaleImage, ReadOnlyImageIsKeptAndReported) {
  Installation installation;
  WriteFile(installation.Path(kImage), "stale");
  chmod(installation.Path(kImage).c_str(), 0444);
  // The deletion message wins over every firmware failure: the image is never read.
  RunResult result = installation.Run({installation.Path("missing.s"), "4711"});
  ExpectReport(installation, result, 1, ErrorReport(kDeletionFailed));
  EXPECT_EQ(ReadFile(installation.Path(kImage)), "stale");
  // The argument-count message replaces it.
  result = installation.Run({});
  ExpectReport(installation, result, 1, ErrorReport(kWrongArgumentCount));
  EXPECT_EQ(ReadFile(installation.Path(kImage)), "stale");
}

TEST(StaleImage, ImageHeldByAnotherProgramIsKeptAndReported) {
  if (UnderEmulator()) GTEST_SKIP() << "advisory locks are this system's stand-in for share modes";
  Installation installation;
  WriteFile(installation.Path(kImage), "stale");
  const int fd = open(installation.Path(kImage).c_str(), O_RDONLY);
  ASSERT_EQ(flock(fd, LOCK_SH), 0);
  const RunResult result = installation.Run({SamplePath(), "4711"});
  close(fd);
  ExpectReport(installation, result, 1, ErrorReport(kDeletionFailed));
  EXPECT_EQ(ReadFile(installation.Path(kImage)), "stale");
}

TEST(StaleImage, FolderNamedAsTheImageIsNotDeletedAndTheSaveFails) {
  Installation installation;
  ASSERT_EQ(mkdir(installation.Path(kImage).c_str(), 0755), 0);
  WriteFile(installation.Path(kImage) + "/keep", "x");
  const RunResult result = installation.Run({SamplePath(), "4711"});
  ExpectReport(installation, result, 1, ErrorReport(kSaveFailed));
  EXPECT_EQ(ReadFile(installation.Path(kImage) + "/keep"), "x");
  EXPECT_EQ(installation.Listing(), (std::vector<std::string>{kImage, kLog}));  // no temporary file
}

TEST(Personalisation, FullDiskLeavesNoImage) {
  if (UnderEmulator()) GTEST_SKIP() << "the file-size limit is the host's";
  // A file-size limit below the image's size: the image's write fails, the log's does not.
  Installation installation;
  RunOptions options;
  options.InChild = [] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {20000, 20000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
  };
  ExpectFailure(installation, installation.Run({SamplePath(), "4711"}, options), kSaveFailed);
  EXPECT_EQ(installation.Listing(), std::vector<std::string>{kLog});
}

TEST(Personalisation, ConcurrentRunsLeaveAWholeImageAndLog) {
  // One folder serves one run at a time; runs started together still never tear a file.
  Installation installation;
  const std::vector<std::string> serials = {"1001", "2002", "3003", "4004", "5005", "6006", "7007", "8008"};
  std::vector<std::thread> runs;
  std::vector<RunResult> results(serials.size());
  for (std::size_t i = 0; i < serials.size(); ++i) {
    runs.emplace_back([&, i] { results[i] = installation.Run({SamplePath(), serials[i]}); });
  }
  for (auto& run : runs) run.join();
  for (const RunResult& result : results) {
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(Pinned(result.Out), JoinLines(OkReport(), "<br>"));
  }
  const std::string image = ReadFile(installation.Path(kImage));
  const std::string record = SplitLines(image).at(334);
  const std::string serial = {record[77], record[79], record[81], record[83]};
  ASSERT_NE(std::find(serials.begin(), serials.end(), serial), serials.end()) << serial;
  EXPECT_EQ(record, RecordWithChecksum(record.substr(0, 84)));
  EXPECT_TRUE(SameImage(image, WithLine(SampleImage(), 334, record)));
  EXPECT_EQ(Pinned(ReadFile(installation.Path(kLog))), JoinLines(OkReport(), "\r\n"));
  EXPECT_EQ(installation.Listing(), (std::vector<std::string>{kImage, kLog}));
}

TEST(Report, SecondRunReplacesTheLog) {
  Installation installation;
  installation.Run({});
  const RunResult result = installation.Run({SamplePath(), "4711"});
  ExpectReport(installation, result, 0, OkReport());
}

TEST(Report, DateAndTimeFollowTheLocale) {
  if (UnderEmulator()) GTEST_SKIP() << "the emulated system has its own regional settings";
  struct Case {
    std::vector<std::string> Environment;
    std::string DateLine;
  };
  const std::vector<Case> cases = {
      {{"LC_ALL=C"}, "Data: 08/26/13   Hora:19:54:31"},
      {{"LC_ALL=pt_BR.UTF-8"}, "Data: 26/08/2013   Hora:19:54:31"},
      {{"LC_ALL=en_US.UTF-8"}, "Data: 08/26/2013   Hora:07:54:31 PM"},
      {{"LC_ALL=de_DE.UTF-8"}, "Data: 26.08.2013   Hora:19:54:31"},
      {{"LC_ALL=xx_NOWHERE.UTF-8"}, "Data: 8/26/13   Hora:7:54:31 pm"},
      {{"LANG=pt_BR.UTF-8"}, "Data: 26/08/2013   Hora:19:54:31"},
      {{"LANG=pt_BR.UTF-8", "LC_TIME=en_US.UTF-8"}, "Data: 08/26/2013   Hora:07:54:31 PM"},
      {{"LC_TIME=pt_BR.UTF-8", "LC_ALL=en_US.UTF-8"}, "Data: 08/26/2013   Hora:07:54:31 PM"},
      {{}, "Data: 08/26/13   Hora:19:54:31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.DateLine);
    Installation installation;
    RunOptions options;
    options.Locale.clear();
    options.ExtraEnvironment = c.Environment;
    const RunResult result = installation.Run({SamplePath(), "4711"}, options);
    ExpectReport(installation, result, 0, OkReport(c.DateLine));
  }
}

TEST(Report, BrazilianSettingsUnderWine) {
  if (!UnderEmulator()) GTEST_SKIP() << "reads the Windows regional settings";
  // Wine's pt-BR: short date dd/MM/yyyy, 24-hour clock, leading zero. Its clock is the host's.
  auto today = [] {
    char text[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(text, sizeof text, "%d/%m/%Y", std::gmtime(&now));
    return std::string(text);
  };
  Installation installation;
  RunOptions options;
  options.Locale = "pt_BR.UTF-8";
  const std::string before = today();
  const RunResult result = installation.Run({SamplePath(), "4711"}, options);
  const std::string after = today();
  ASSERT_EQ(result.ExitCode, 0);
  const std::vector<std::string> lines = SplitLines(ReadFile(installation.Path(kLog)));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("Data: [0-9]{2}/[0-9]{2}/[0-9]{4}   Hora:[0-9]{2}:[0-9]{2}:[0-9]{2}")))
      << lines[1];
  const std::string date = lines[1].substr(6, 10);
  EXPECT_TRUE(date == before || date == after) << date;
}

TEST(Report, LogThatCannotBeWrittenStillEchoesAndFails) {
  Installation installation;
  ASSERT_EQ(mkdir(installation.Path(kLog).c_str(), 0755), 0);
  WriteFile(installation.Path(kLog) + "/keep", "x");
  const RunResult result = installation.Run({SamplePath(), "4711"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(Pinned(result.Out), JoinLines(OkReport(), "<br>"));
  EXPECT_EQ(result.Err, "Imposs\xedvel gravar arquivo de log: " + ToolPath(installation.Path(kLog)) + "\n");
  EXPECT_TRUE(SameImage(ReadFile(installation.Path(kImage)), Stamped4711()));
  EXPECT_EQ(installation.Listing(), (std::vector<std::string>{kImage, kLog}));
}

TEST(Report, EchoThatCannotBeWrittenFailsTheRun) {
  struct Case {
    const char* Name;
    bool Close;
  };
  for (const Case c : {Case{"standard output closed", true}, Case{"standard output full", false}}) {
    SCOPED_TRACE(c.Name);
    Installation installation;
    RunOptions options;
    options.CloseStandardOutput = c.Close;
    if (!c.Close) {
      options.InChild = [] {
        const int full = open("/dev/full", O_WRONLY);
        if (full < 0 || dup2(full, 1) < 0) _exit(125);
      };
    }
    const RunResult result = installation.Run({SamplePath(), "4711"}, options);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "Imposs\xedvel escrever o relat\xf3rio na sa\xed" "da padr\xe3o.\n");
    EXPECT_EQ(Pinned(ReadFile(installation.Path(kLog))), JoinLines(OkReport(), "\r\n"));
  }
}

TEST(Report, ReadOnlyInstallationFolderFailsBothFilesCleanly) {
  if (UnderEmulator()) GTEST_SKIP() << "permissions are the host's";
  Installation installation;
  RunOptions options;
  options.InChild = [] {
    // Root would write anyway: the tool runs as nobody in a folder owned by root.
    const gid_t nogroup = 65534;
    if (setgroups(1, &nogroup) != 0 || setresgid(65534, 65534, 65534) != 0 ||
        setresuid(65534, 65534, 65534) != 0) {
      _exit(125);
    }
  };
  ASSERT_EQ(getuid(), 0u) << "the test needs to start as root to drop to nobody";
  const RunResult result = installation.Run({SamplePath(), "4711"}, options);
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(Pinned(result.Out), JoinLines(ErrorReport(kSaveFailed), "<br>"));
  EXPECT_EQ(result.Err, "Imposs\xedvel gravar arquivo de log: " + ToolPath(installation.Path(kLog)) + "\n");
  EXPECT_TRUE(installation.Listing().empty());
}

TEST(Installation, FilesGoBesideTheRealExecutableWhateverTheCurrentFolder) {
  if (UnderEmulator()) GTEST_SKIP() << "Windows takes the module path as started";
  Installation installation("a/b");
  Installation elsewhere;
  // Started through a symbolic link from another folder, with a relative firmware path.
  const std::string link = elsewhere.Path("link-to-tool");
  ASSERT_EQ(symlink(installation.Executable().c_str(), link.c_str()), 0);
  WriteFile(elsewhere.Path("relative.s"), SampleImage());
  RunOptions options;
  options.WorkingDirectory = elsewhere.Folder();
  options.Executable = link;
  const RunResult result = installation.Run({"relative.s", "4711"}, options);
  ExpectReport(installation, result, 0, OkReport());
  EXPECT_TRUE(SameImage(ReadFile(installation.Path(kImage)), Stamped4711()));
  EXPECT_FALSE(Exists(elsewhere.Path(kImage)));
}

TEST(Installation, LongInstallationPathIsNotCut) {
  std::string deep;
  for (int i = 0; i < 12; ++i) deep += (i ? "/" : "") + std::string(30, static_cast<char>('a' + i));
  Installation installation(deep);
  ASSERT_GT(installation.Executable().size(), 300u);
  RunOptions options;
  options.WorkingDirectory = "/tmp";  // Windows keeps the current folder under 260 characters
  const RunResult result = installation.Run({SamplePath(), "4711"}, options);
  ExpectReport(installation, result, 0, OkReport());
  EXPECT_TRUE(SameImage(ReadFile(installation.Path(kImage)), Stamped4711()));
}

TEST(Installation, FirmwareNamesAreOpenedAsTyped) {
  // A UTF-8 name and a Windows-1252 name (byte E9) both reach the file system unchanged.
  for (const std::string name : {"firmware-\xc3\xa7\xc3\xa3o.s", "firmware-\xe9.s", "espa\xe7o com blanks.s"}) {
    SCOPED_TRACE(name);
    // Wine reads arguments and file names as UTF-8: only the UTF-8 name reaches it whole.
    if (UnderEmulator() && name != "firmware-\xc3\xa7\xc3\xa3o.s") continue;
    Installation installation;
    const RunResult result = installation.Run({WriteFirmware(installation, name, SampleImage()), "4711"});
    ExpectReport(installation, result, 0, OkReport());
  }
}

}  // namespace
