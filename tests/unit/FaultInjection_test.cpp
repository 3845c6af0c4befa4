// Every operation of a run made to fail, one call at a time: the run reports the fixed
// message or the documented outcome, never leaves a partial image or a stray temporary
// file, and writes the log whole or not at all.
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "Dravel_QVR_USB_Console.h"

namespace {

// The real backend with a pinned clock and settings, captured standard streams, and the
// calls named in Faults made to fail.
class FaultyPlatform final : public Platform {
 public:
  explicit FaultyPlatform(std::string folder) : real_(SystemPlatform()), folder_(std::move(folder)) {}

  std::map<std::string, int> Faults;  // operation -> the call (from 1) that fails
  std::map<std::string, int> Calls;
  std::string Out, Err;

  UnicodeString ExecutablePath() override {
    return Windows1252().ToUnicode(folder_ + "/Dravel_QVR_USB_Console");
  }
  char16_t PathSeparator() const override { return real_.PathSeparator(); }
  std::vector<AnsiString> Arguments(int argc, char** argv) override { return real_.Arguments(argc, argv); }
  const TextCodec& SystemCodePage() const override { return real_.SystemCodePage(); }

  bool ReadLocalTime(LocalTime& now) override {
    if (Hit("clock")) return false;
    now.Year = 2013, now.Month = 8, now.Day = 26, now.Hour = 19, now.Minute = 54, now.Second = 31;
    now.DayOfWeek = 1;
    return true;
  }
  RegionalSettings ReadRegionalSettings() override {
    RegionalSettings s;
    s.ShortDatePattern = u"MM/dd/yy";
    s.TwentyFourHour = s.HourLeadingZero = true;
    return s;
  }

  bool FileExists(const UnicodeString& path) override { return !Hit("exists") && real_.FileExists(path); }
  bool DeleteExistingFile(const UnicodeString& path) override {
    return !Hit("delete") && real_.DeleteExistingFile(path);
  }
  bool OpenForReading(const UnicodeString& path, NativeFile& file) override {
    return !Hit("open") && real_.OpenForReading(path, file);
  }
  bool ReadSome(NativeFile file, void* buffer, std::size_t size, std::size_t& got) override {
    return !Hit("read") && real_.ReadSome(file, buffer, size, got);
  }
  bool CreateTemporaryBeside(const UnicodeString& target, NativeFile& file, UnicodeString& path) override {
    return !Hit("create") && real_.CreateTemporaryBeside(target, file, path);
  }
  bool WriteAll(NativeFile file, const void* data, std::size_t size) override {
    if (Hit("write")) {
      real_.WriteAll(file, data, size / 2);  // the disk filled up half-way
      return false;
    }
    return real_.WriteAll(file, data, size);
  }
  bool CloseFile(NativeFile file) override {
    const bool closed = real_.CloseFile(file);
    return !Hit("close") && closed;
  }
  bool RenameOver(const UnicodeString& from, const UnicodeString& to) override {
    return !Hit("rename") && real_.RenameOver(from, to);
  }
  bool RemoveTemporary(const UnicodeString& path) override {
    return !Hit("remove") && real_.RemoveTemporary(path);
  }
  bool WriteStandardOutput(std::string_view bytes) override {
    if (Hit("stdout")) return false;
    Out.append(bytes);
    return true;
  }
  void WriteStandardError(std::string_view bytes) override { Err.append(bytes); }

 private:
  bool Hit(const std::string& operation) {
    const int call = ++Calls[operation];
    const auto fault = Faults.find(operation);
    return fault != Faults.end() && fault->second == call;
  }

  Platform& real_;
  std::string folder_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

class TemporaryFolder {
 public:
  TemporaryFolder() {
    char pattern[] = "/tmp/qvr-fault-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TemporaryFolder() {
    for (const auto& name : Listing(path_)) unlink((path_ + "/" + name).c_str());
    rmdir(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const char kLogName[] = "Process_Log_File.txt";
const char kImageName[] = "Firmware_Gerado.s";
const std::string kDateLine = "Data: 08/26/13   Hora:19:54:31";
const std::string kVersionLine = "Dravel_QVR_USB Vers\xe3o: 2   Firmware QVR USB Vers\xe3o: 2.2";

struct RunOutcome {
  int ExitCode;
  std::string Out, Err;
  std::vector<std::string> Files;
  std::string Image, Log;
  std::map<std::string, int> Calls;
};

// One in-process run in a fresh folder that holds a stale image from an earlier run.
RunOutcome RunWith(const std::map<std::string, int>& faults) {
  TemporaryFolder folder;
  WriteAll(folder.Path() + "/" + kImageName, "stale");
  FaultyPlatform platform(folder.Path());
  platform.Faults = faults;
  std::string firmware = QVR_SAMPLE_IMAGE;
  std::string serial = "4711";
  std::string program = "Dravel_QVR_USB_Console";
  char* argv[] = {&program[0], &firmware[0], &serial[0], nullptr};
  RunOutcome run;
  run.ExitCode = RunPersonalisation(platform, 3, argv);
  run.Out = platform.Out;
  run.Err = platform.Err;
  run.Files = Listing(folder.Path());
  run.Image = ReadAll(folder.Path() + "/" + kImageName);
  run.Log = ReadAll(folder.Path() + "/" + kLogName);
  run.Calls = platform.Calls;
  return run;
}

std::string Report(const std::vector<std::string>& lines, const std::string& terminator) {
  std::string text;
  for (const auto& line : lines) text += line + terminator;
  return text;
}

TEST(FaultInjection, EveryFailingCallHasItsDocumentedOutcome) {
  const RunOutcome clean = RunWith({});
  ASSERT_EQ(clean.ExitCode, 0) << clean.Err;
  const std::string stamped = clean.Image;
  ASSERT_EQ(stamped.size(), 30160u);

  enum Outcome { kOk, kMessage, kLogFails, kEchoFails, kZeroDate };
  struct Case {
    const char* Operation;
    int Call;
    Outcome Expect;
    const char* Message;  // for kMessage
  };
  const Case cases[] = {
      {"exists", 1, kOk, nullptr},  // the stale image is then replaced by the rename
      {"delete", 1, kMessage, Messages::DeletionFailed},
      {"open", 1, kMessage, Messages::FirmwareUnreadable},
      {"read", 1, kMessage, Messages::FirmwareUnreadable},
      {"read", 2, kMessage, Messages::FirmwareUnreadable},
      {"close", 1, kMessage, Messages::FirmwareUnreadable},
      {"create", 1, kMessage, Messages::SaveFailed},
      {"write", 1, kMessage, Messages::SaveFailed},
      {"close", 2, kMessage, Messages::SaveFailed},
      {"rename", 1, kMessage, Messages::SaveFailed},
      {"create", 2, kLogFails, nullptr},
      {"write", 2, kLogFails, nullptr},
      {"close", 3, kLogFails, nullptr},
      {"rename", 2, kLogFails, nullptr},
      {"stdout", 1, kEchoFails, nullptr},
      {"clock", 1, kZeroDate, nullptr},
  };
  // Every call the clean run made is in the table.
  std::map<std::string, int> covered;
  for (const Case& c : cases) covered[c.Operation] = std::max(covered[c.Operation], c.Call);
  for (const auto& [operation, count] : clean.Calls) EXPECT_EQ(covered[operation], count) << operation;

  const std::string logFailure =
      std::string("Imposs\xedvel gravar arquivo de log: ");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Operation) + " #" + std::to_string(c.Call));
    const RunOutcome run = RunWith({{c.Operation, c.Call}});
    std::vector<std::string> report = {"OK", kDateLine, kVersionLine};
    std::string image = stamped;
    std::vector<std::string> files = {kImageName, kLogName};
    std::string err;
    int exitCode = 0;
    switch (c.Expect) {
      case kOk: break;
      case kMessage:
        report = {"ERRO", c.Message, kDateLine, kVersionLine};
        exitCode = 1;
        image = c.Message == Messages::DeletionFailed ? "stale" : "";
        if (image.empty()) files = {kLogName};
        break;
      case kLogFails:
        exitCode = 1;
        files = {kImageName};
        break;
      case kEchoFails:
        exitCode = 1;
        err = "Imposs\xedvel escrever o relat\xf3rio na sa\xed" "da padr\xe3o.\n";
        break;
      case kZeroDate:
        report[1] = "Data: 12/30/99   Hora:00:00:00";
        break;
    }
    EXPECT_EQ(run.ExitCode, exitCode);
    EXPECT_EQ(run.Files, files);  // no temporary file left behind
    EXPECT_TRUE(run.Image == image) << "image of " << run.Image.size() << " bytes";
    if (c.Expect == kLogFails) {
      EXPECT_EQ(run.Log, "");
      EXPECT_EQ(run.Err.rfind(logFailure, 0), 0u) << run.Err;
      EXPECT_EQ(run.Out, Report(report, "<br>"));
    } else {
      EXPECT_EQ(run.Log, Report(report, "\r\n"));
      EXPECT_EQ(run.Err, err);
      EXPECT_EQ(run.Out, c.Expect == kEchoFails ? "" : Report(report, "<br>"));
    }
  }
}

TEST(FaultInjection, TemporaryFileThatCannotBeRemovedIsTheOnlyTrace) {
  // The write fails and so does the removal of the temporary file: the message stands, the
  // image is absent, and the temporary file is all that remains.
  const RunOutcome run = RunWith({{"write", 1}, {"remove", 1}});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Image, "");
  ASSERT_EQ(run.Files.size(), 2u);
  EXPECT_EQ(run.Files[0].rfind(std::string(kImageName) + ".tmp", 0), 0u) << run.Files[0];
  EXPECT_EQ(run.Files[1], kLogName);
  EXPECT_NE(run.Log.find(Messages::SaveFailed), std::string::npos);
}

}  // namespace
