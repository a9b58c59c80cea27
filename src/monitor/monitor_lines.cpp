#include "monitor/monitor_lines.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/encoding.h"
#include "link/serial_port.h"

namespace taloven {
namespace {

constexpr tcflag_t kFollowedFlags = CSIZE | PARENB | PARODD | CSTOPB;

// The printer's line as command execution sets it: raw, 9600 bit/s, eight
// bits, two stop bits.
void MakePrinterLine(termios& line) {
  cfmakeraw(&line);
  line.c_cflag &= ~(CSIZE | PARENB | CRTSCTS);
  line.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL;
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  cfsetispeed(&line, B9600);
  cfsetospeed(&line, B9600);
}

Status Failure(const std::string& what, int code) {
  return Status::Failure(what + ": " + std::strerror(code), code);
}

}  // namespace

bool LineSettingsDiffer(const termios& a, const termios& b) {
  return (a.c_cflag & kFollowedFlags) != (b.c_cflag & kFollowedFlags) ||
         cfgetospeed(&a) != cfgetospeed(&b) || cfgetispeed(&a) != cfgetispeed(&b);
}

ProgramLine::~ProgramLine() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
}

Status ProgramLine::Open(const std::string& linkPath) {
  struct stat existing {};
  if (::lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode))
    return Status::Failure(linkPath + W(" existe e não é um link simbólico; não foi substituído"));
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
    return Failure("pseudo-terminal", errno);
  const char* name = ::ptsname(master_);
  if (!name) return Failure("pseudo-terminal", errno);
  slavePath_ = name;
  slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios line{};
  if (slave_ < 0 || ::tcgetattr(slave_, &line) != 0) return Failure(slavePath_, errno);
  MakePrinterLine(line);
  ::tcsetattr(slave_, TCSANOW, &line);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  // Made under a name of its own and moved, so that the program never finds
  // the path half-made; the name is not guessable, as the path may be in a
  // shared folder.
  const std::string temporary = linkPath + ".new-" + std::to_string(::getpid()) + "-" +
                                std::to_string(std::random_device{}());
  if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0 ||
      ::rename(temporary.c_str(), linkPath.c_str()) != 0) {
    const int code = errno;
    ::unlink(temporary.c_str());
    return Failure(linkPath, code);
  }
  linkPath_ = linkPath;
  return {};
}

bool ProgramLine::Settings(termios* settings) const {
  return slave_ >= 0 && ::tcgetattr(slave_, settings) == 0;
}

Status PrinterLine::Open(const std::string& name) {
  Close();
  if (name == "USB" || name == "FILE")
    return Status::Failure(name + W(": o monitor atende só portas seriais"));
  const std::string path = SerialDevicePath(name);
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return Failure(path, errno);
  termios line{};
  int code = 0;
  if (!::isatty(fd_)) {
    code = ENOTTY;
  } else if (::ioctl(fd_, TIOCEXCL) != 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0 ||
             ::tcgetattr(fd_, &line) != 0) {
    code = errno;
  } else {
    MakePrinterLine(line);
    if (::tcsetattr(fd_, TCSANOW, &line) != 0) code = errno;
  }
  if (code == 0) return {};
  Close();
  return Failure(path, code);
}

void PrinterLine::Close() {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

void PrinterLine::Follow(const termios& program) {
  termios line{};
  if (fd_ < 0 || ::tcgetattr(fd_, &line) != 0) return;
  line.c_cflag = (line.c_cflag & ~kFollowedFlags) | (program.c_cflag & kFollowedFlags);
  cfsetispeed(&line, cfgetispeed(&program));
  cfsetospeed(&line, cfgetospeed(&program));
  // Bytes already on their way leave at the speed they were sent for.
  ::tcsetattr(fd_, TCSADRAIN, &line);
}

}  // namespace taloven
