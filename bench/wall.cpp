// Wall-clock timing of whole commands, process start-up included. Runs the commands
// interleaved, each RUNS times, and prints each one's median in microseconds; with
// --in-a-row, runs the first command RUNS times back to back and prints runs per second.
//   bench_wall [--in-a-row] RUNS cmd1 args... ';;' cmd2 args... ';;' ...
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// One run of the command with standard output and error on /dev/null; false if it could not
// be started.
bool RunOnce(const std::vector<char*>& argv, double& microseconds) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  microseconds = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool inARow = argc > 1 && std::strcmp(argv[1], "--in-a-row") == 0;
  if (inARow) ++first;
  if (argc < first + 2) {
    std::fprintf(stderr, "usage: bench_wall [--in-a-row] RUNS cmd args... ';;' cmd args...\n");
    return 2;
  }
  const int runs = std::atoi(argv[first]);
  std::vector<std::vector<char*>> commands(1);
  for (int i = first + 1; i < argc; ++i) {
    if (std::strcmp(argv[i], ";;") == 0) {
      commands.emplace_back();
    } else {
      commands.back().push_back(argv[i]);
    }
  }
  for (auto& command : commands) command.push_back(nullptr);

  if (inARow) {
    double ignored;
    const auto start = Clock::now();
    for (int r = 0; r < runs; ++r) {
      if (!RunOnce(commands[0], ignored)) return 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%.0f\n", runs / seconds);
    return 0;
  }

  std::vector<std::vector<double>> times(commands.size());
  for (int r = 0; r < runs; ++r) {
    for (std::size_t c = 0; c < commands.size(); ++c) {
      double microseconds;
      if (!RunOnce(commands[c], microseconds)) return 1;
      times[c].push_back(microseconds);
    }
  }
  for (auto& t : times) {
    std::sort(t.begin(), t.end());
    std::printf("%.1f\n", t[t.size() / 2]);
  }
  return 0;
}
