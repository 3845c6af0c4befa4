// Temporary installation folders and runs of the built tool for the end-to-end tests.
#include "Harness.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

const char kPinnedTime[] = "2013-08-26 19:54:31";
const char kPinnedDateLineC[] = "Data: 08/26/13   Hora:19:54:31";

namespace {

// The tool under test and the command that runs it: the native build by default;
// --qvr-tool=PATH and --qvr-runner=COMMAND select another (the .exe under Wine).
std::string g_tool = QVR_DEFAULT_TOOL;
std::string g_runner;

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  chmod(path, 0700);
  remove(path);
  return 0;  // keep going: clean up as much as can be removed
}

void ReadPipes(int out, int err, RunResult& result) {
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  std::string* sinks[2] = {&result.Out, &result.Err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string SamplePath() { return QVR_SAMPLE; }

std::string SampleImage() {
  static const std::string sample = ReadFile(SamplePath());
  return sample;
}

bool UnderEmulator() { return !g_runner.empty(); }

std::string ToolPath(const std::string& path) {
  if (!UnderEmulator()) return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

Installation::Installation(const std::string& subfolders) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/qvr-e2e-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
  if (!subfolders.empty()) {
    std::size_t start = 0;
    while (start < subfolders.size()) {
      std::size_t end = subfolders.find('/', start);
      if (end == std::string::npos) end = subfolders.size();
      folder_ += "/" + subfolders.substr(start, end - start);
      mkdir(folder_.c_str(), 0755);
      start = end + 1;
    }
  }
  chmod(pattern.c_str(), 0755);
  executable_ = Path(BaseName(g_tool));
  WriteFile(executable_, ReadFile(g_tool));
  chmod(executable_.c_str(), 0755);
}

Installation::~Installation() {
  const std::string top = folder_.substr(0, folder_.find('/', folder_.find("qvr-e2e-")));
  nftw(top.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> Installation::Listing() const {
  std::vector<std::string> names;
  DIR* dir = opendir(folder_.c_str());
  if (dir == nullptr) return names;
  const std::string exe = BaseName(executable_);
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && name != exe) names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

RunResult Installation::Run(const std::vector<std::string>& arguments,
                            const RunOptions& options) const {
  std::vector<std::string> argv;
  std::istringstream runner(g_runner);
  for (std::string word; runner >> word;) argv.push_back(word);
  argv.push_back(options.Executable.empty() ? executable_ : options.Executable);
  argv.insert(argv.end(), arguments.begin(), arguments.end());

  std::vector<std::string> env = {"PATH=/usr/local/bin:/usr/bin:/bin", "TZ=UTC"};
  if (!options.Locale.empty()) env.push_back("LC_ALL=" + options.Locale);
  if (!UnderEmulator()) {
    env.push_back(std::string("LD_PRELOAD=") + QVR_FAKETIME);
    env.push_back(std::string("FAKETIME=") + kPinnedTime);
    env.push_back("FAKETIME_DISABLE_SHM=1");  // runs under another uid cannot share it
  }
  for (const char* name : {"HOME", "WINEPREFIX", "WINESERVER", "WINEDEBUG", "WINEDLLOVERRIDES",
                           "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
  }
  env.insert(env.end(), options.ExtraEnvironment.begin(), options.ExtraEnvironment.end());

  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(&a[0]);
  argp.push_back(nullptr);
  for (auto& e : env) envp.push_back(&e[0]);
  envp.push_back(nullptr);

  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  const std::string cwd = options.WorkingDirectory.empty() ? folder_ : options.WorkingDirectory;
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(err[1], 2);
    if (options.CloseStandardOutput) close(1); else dup2(out[1], 1);
    close(out[0]), close(out[1]), close(err[0]), close(err[1]);
    const int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    if (options.InChild) options.InChild();
    execve(argp[0], argp.data(), envp.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  RunResult result;
  ReadPipes(out[0], err[0], result);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind("--qvr-tool=", 0) == 0) g_tool = argument.substr(11);
    if (argument.rfind("--qvr-runner=", 0) == 0) g_runner = argument.substr(13);
  }
  return RUN_ALL_TESTS();
}
