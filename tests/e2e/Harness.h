// Runs the built tool from a temporary installation folder, with a pinned clock and
// locale, and captures its exit code, standard output and standard error byte for byte.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct RunResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

struct RunOptions {
  std::string Locale = "C";                 // LC_ALL; empty leaves it unset
  std::vector<std::string> ExtraEnvironment;  // NAME=value
  std::string WorkingDirectory;             // empty: the installation folder
  std::string Executable;                   // started instead of the installed copy
  bool CloseStandardOutput = false;
  std::function<void()> InChild;            // runs in the child before exec
};

// The clock every run sees, and the date line it gives under LC_ALL=C.
extern const char kPinnedTime[];
extern const char kPinnedDateLineC[];

class Installation {
 public:
  // A new folder holding a copy of the tool; subfolders are created as given.
  explicit Installation(const std::string& subfolders = "");
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const std::string& Folder() const { return folder_; }
  const std::string& Executable() const { return executable_; }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  RunResult Run(const std::vector<std::string>& arguments, const RunOptions& options = {}) const;

  // File names in the folder, sorted, without the executable.
  std::vector<std::string> Listing() const;

 private:
  std::string folder_;
  std::string executable_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
std::string SampleImage();           // the bundled sample's bytes
std::string SamplePath();
bool UnderEmulator();                // the tool runs through a runner such as Wine
// A path as the tool sees it: under Wine, /tmp/x is Z:\tmp\x.
std::string ToolPath(const std::string& path);
