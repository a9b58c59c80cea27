#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace taloven::testing {

// In a child just forked: becomes taloven-cli with these arguments, or ends
// with 127 as a shell does when a program cannot be run.
[[noreturn]] inline void ExecCli(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::string program = TALOVEN_CLI_PATH;
  argv.push_back(program.data());
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// taloven-cli as its own process, so that a signal reaches it as from a
// terminal or a service manager, and a memory limit holds for it alone; its
// standard output and error go to files.
class CliProcess {
 public:
  struct Setup {
    std::vector<std::string> environment;  // NAME=VALUE
    size_t memoryLimit = 0;                // bytes of address space; 0: none
    std::string out = "/dev/null", err = "/dev/null";
  };

  CliProcess(const std::vector<std::string>& arguments, const Setup& setup) {
    pid_ = fork();
    if (pid_ != 0) return;
    if (!freopen(setup.out.c_str(), "w", stdout) || !freopen(setup.err.c_str(), "w", stderr))
      _exit(126);
    for (const std::string& setting : setup.environment) putenv(const_cast<char*>(setting.c_str()));
    if (setup.memoryLimit > 0) {
      const rlimit limit{setup.memoryLimit, setup.memoryLimit};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(126);
    }
    ExecCli(arguments);
  }
  ~CliProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void Signal(int number) { kill(pid_, number); }
  // The exit status, minus the signal's number when one ended it, or
  // nothing when it was still running at the limit (it is then killed).
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (wait4(pid_, &status, WNOHANG, &usage_) == pid_) {
        pid_ = -1;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return -WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
  }
  // The most memory the process held resident, once it has ended.
  long PeakResidentKilobytes() const { return usage_.ru_maxrss; }

 private:
  pid_t pid_ = -1;
  rusage usage_{};
};

}  // namespace taloven::testing
