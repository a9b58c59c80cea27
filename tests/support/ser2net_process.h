#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace taloven::testing {

// Where the serial-to-network server is installed; empty when it is not.
inline std::string Ser2netPath() {
  for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"})
    if (access(path, X_OK) == 0) return path;
  return {};
}

// A port on 127.0.0.1 that nothing listens on at the moment.
inline int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(fd);
  return port;
}

// A real serial-to-network server, its own instance on 127.0.0.1 serving one
// device (the virtual printer's pseudo-terminal) raw or with RFC 2217, with
// the configuration the test writes. Stopped when destroyed.
class Ser2netProcess {
 public:
  Ser2netProcess(const std::string& device, bool telnet, const std::string& folder,
                 const std::string& lineSettings = "9600n82", int port = 0)
      : port_(port != 0 ? port : FreeLoopbackPort()), device_(device) {
    config_ = folder + "/ser2net-" + std::to_string(port_) + ".yaml";
    std::ofstream(config_) << "%YAML 1.1\n---\nconnection: &line\n  accepter: "
                           << (telnet ? "telnet(rfc2217),tcp,127.0.0.1," : "tcp,127.0.0.1,")
                           << port_ << "\n  connector: serialdev," << device << "," << lineSettings
                           << ",local\n  options:\n    kickolduser: true\n"
                           // Otherwise the server holds each reply back up to 20 ms for
                           // more bytes to come, which would be counted as the tool's.
                           << "    chardelay: false\n";
    Start();
  }
  ~Ser2netProcess() { Stop(); }

  int Port() const { return port_; }
  std::string Url(const std::string& scheme) const {
    return scheme + "://127.0.0.1:" + std::to_string(port_);
  }
  bool Running() const { return pid_ > 0; }

  void Start() {
    if (pid_ > 0) return;
    const std::string program = Ser2netPath();
    pid_ = fork();
    if (pid_ == 0) {
      const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
      dup2(quiet, STDOUT_FILENO);
      dup2(quiet, STDERR_FILENO);
      // -n: stays in the foreground so that the test can stop it; -u: no
      // UUCP lock files in the system's folder.
      execl(program.c_str(), program.c_str(), "-n", "-u", "-P", (config_ + ".pid").c_str(), "-c",
            config_.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Ready once it takes connections, and has let go of the device that
    // the connection asking opened.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end && !Listening())
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    AwaitDeviceReleased();
  }

  // The server opens the device for each connection and closes it only
  // once it has seen the connection end, which on a loaded machine can be
  // well after the client has gone. Anything else that opens the device
  // meanwhile shares its bytes with the server, which reads them for
  // nobody: waits until the server holds it no more (5 s at most).
  void AwaitDeviceReleased() const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end && HoldsDevice())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  // Ends the server at once, as a crash or a pulled plug would.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  bool Listening() const {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
  }

  bool HoldsDevice() const {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path device = fs::canonical(device_, error);
    if (pid_ <= 0 || error) return false;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error)) {
      std::error_code unreadable;
      if (fs::read_symlink(fd.path(), unreadable) == device) return true;
    }
    return false;
  }

  int port_;
  std::string device_;
  std::string config_;
  pid_t pid_ = -1;
};

}  // namespace taloven::testing
