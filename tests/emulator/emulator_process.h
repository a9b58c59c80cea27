#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace taloven::emulator::testing {

// The taloven-emulator program run by a test: started with arguments and
// extra environment (its standard error into errorLog when named), its first
// output line read, stopped with SIGTERM.
class EmulatorProcess {
 public:
  EmulatorProcess(const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {},
                  const std::string& errorLog = "") {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      if (!errorLog.empty()) {
        const int log = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (log >= 0) dup2(log, STDERR_FILENO);
      }
      close(out[0]);
      close(out[1]);
      for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
      std::vector<char*> argv;
      std::string program = TALOVEN_EMULATOR_PATH;
      argv.push_back(program.data());
      for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    output_ = out[0];
    // The first line is the printer's address.
    pollfd wait{output_, POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 5000) > 0 && read(output_, &c, 1) == 1 && c != '\n') address_ += c;
  }
  ~EmulatorProcess() { Stop(); }

  const std::string& Address() const { return address_; }

  // SIGTERM, then the exit status (-1 when it did not end by itself).
  int Stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    close(output_);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string address_;
  int status_ = -1;
};

// The application's end of a pseudo-terminal, raw, for tests that speak
// bytes without the application's code.
class RawLine {
 public:
  explicit RawLine(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) return;
    termios raw{};
    tcgetattr(fd_, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd_, TCSANOW, &raw);
  }
  ~RawLine() {
    if (fd_ >= 0) close(fd_);
  }
  bool Ok() const { return fd_ >= 0; }
  void Write(const std::vector<uint8_t>& bytes) {
    if (write(fd_, bytes.data(), bytes.size()) < 0) return;
  }
  // Reads until count bytes came (never more) or the line stayed quiet for
  // quietMs.
  std::vector<uint8_t> Read(size_t count, int quietMs = 1000) {
    std::vector<uint8_t> got;
    pollfd wait{fd_, POLLIN, 0};
    while (got.size() < count && poll(&wait, 1, quietMs) > 0) {
      uint8_t buffer[512];
      const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

 private:
  int fd_ = -1;
};

}  // namespace taloven::emulator::testing
