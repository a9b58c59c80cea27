#include "monitor/monitor_lines.h"

#include <fcntl.h>
#include <poll.h>
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
#include "link/network_address.h"
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

int BaudRateOf(speed_t speed) {
  switch (speed) {
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    default:
      return 9600;
  }
}

// A side that takes nothing for this long loses what it did not take: the
// other side must not wait for it.
constexpr int kWritePatienceMs = 1000;

Status Failure(const std::string& what, int code) {
  return Status::Failure(what + ": " + std::strerror(code), code);
}

}  // namespace

bool WriteAllTo(int fd, const uint8_t* bytes, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd room{fd, POLLOUT, 0};
    if (::poll(&room, 1, kWritePatienceMs) <= 0 || (room.revents & (POLLERR | POLLHUP)) != 0)
      return false;
  }
  return true;
}

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

Status PrinterLine::Open(const std::string& name, const std::function<bool()>& cancelled) {
  Close();
  if (name == "USB" || name == "FILE")
    return Status::Failure(name + W(": o monitor atende só portas seriais e de rede"));
  name_ = name;
  if (IsNetworkPortName(name)) {
    port_ = ports_.Create(name);
    if (!port_) return Status::Failure(name + W(": porta inválida"));
    port_->WatchCancel(cancelled);
    const bool opened = port_->Open(baudRate_) != 0;
    port_->WatchCancel(nullptr);
    if (opened) return {};
    const std::string failure = port_->OpenFailure();
    port_.reset();
    return Status::Failure(failure);
  }
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
  if (port_) {
    port_->Close();
    port_.reset();
  }
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

int PrinterLine::Fd() const {
  return port_ ? port_->Descriptor() : fd_;
}

int PrinterLine::ReadSome(uint8_t* buffer, size_t count, short revents) {
  if (port_) return port_->TakeAvailable(buffer, static_cast<int>(count));
  if (fd_ < 0) return -1;
  const ssize_t n = ::read(fd_, buffer, count);
  if (n > 0) return static_cast<int>(n);
  if (n == 0 || (errno != EAGAIN && errno != EINTR) ||
      (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
    return -1;
  return 0;
}

bool PrinterLine::WriteAll(const uint8_t* bytes, size_t count) {
  if (port_) {
    // A dropped connection is not made anew here: the relay does that, and
    // says so.
    return !port_->Gone() && port_->Write(bytes, static_cast<int>(count), kWritePatienceMs) != 0 &&
           !port_->Gone();
  }
  return fd_ >= 0 && WriteAllTo(fd_, bytes, count);
}

std::string PrinterLine::LostText() const {
  return port_ && port_->Gone() ? port_->OpenNotice() : std::string();
}

bool PrinterLine::Follow(const termios& program) {
  const int baudRate = BaudRateOf(cfgetospeed(&program));
  const bool newSpeed = baudRate != baudRate_;
  baudRate_ = baudRate;
  // A connection's speed is set as it is made.
  if (port_) return !newSpeed || Open(name_).ok();
  termios line{};
  if (fd_ < 0 || ::tcgetattr(fd_, &line) != 0) return true;
  line.c_cflag = (line.c_cflag & ~kFollowedFlags) | (program.c_cflag & kFollowedFlags);
  cfsetispeed(&line, cfgetispeed(&program));
  cfsetospeed(&line, cfgetospeed(&program));
  // Bytes already on their way leave at the speed they were sent for.
  ::tcsetattr(fd_, TCSADRAIN, &line);
  return true;
}

}  // namespace taloven
