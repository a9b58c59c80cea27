#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "link/line_timeouts.h"
#include "link/port_trouble.h"

namespace taloven {
namespace {

int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Waits without a descriptor: the rest of a time-out on a line that hung up.
void SleepMs(int64_t ms) {
  if (ms > 0) poll(nullptr, 0, static_cast<int>(ms));
}

bool SpeedFor(int baudRate, speed_t* speed) {
  static constexpr struct {
    int rate;
    speed_t speed;
  } kSpeeds[] = {{300, B300},      {600, B600},       {1200, B1200},     {2400, B2400},
                 {4800, B4800},    {9600, B9600},     {19200, B19200},   {38400, B38400},
                 {57600, B57600},  {115200, B115200}, {230400, B230400}, {460800, B460800},
                 {921600, B921600}};
  for (const auto& entry : kSpeeds) {
    if (entry.rate == baudRate) {
      *speed = entry.speed;
      return true;
    }
  }
  return false;
}

// A pseudo-terminal has no modem lines and says so with ENOTTY (some drivers
// with EINVAL); that is no reason to refuse the line.
bool SetModemLine(int fd, unsigned long request, int line) {
  return ioctl(fd, request, &line) == 0 || errno == ENOTTY || errno == EINVAL;
}

}  // namespace

std::string SerialDevicePath(const std::string& name) {
  if (name.size() == 5 && name.compare(0, 3, "COM") == 0 && name[3] >= '1' && name[3] <= '8' &&
      name[4] == ':') {
    return std::string("/dev/ttyS") + static_cast<char>('0' + (name[3] - '1'));
  }
  return name;
}

SerialPort::~SerialPort() {
  // The owner closes first; this only keeps a forgotten descriptor from
  // holding the line for the rest of the run.
  if (fd_ >= 0) ::close(fd_);
}

int SerialPort::Open(int baudRate) {
  openError_ = 0;
  errno = 0;
  const int opened = OpenLine(baudRate);
  if (!opened && openError_ == 0) openError_ = errno != 0 ? errno : EIO;
  return opened;
}

std::string SerialPort::OpenFailure() const {
  return openError_ != 0 ? ExplainOpenFailure(SerialDevicePath(Name()), openError_) : std::string();
}

int SerialPort::OpenLine(int baudRate) {
  if (fd_ >= 0) return 0;
  // These names belong to the other kinds of port and never reach a device.
  if (Name() == "USB" || Name() == "FILE") {
    openError_ = ENODEV;
    return 0;
  }
  fd_ = ::open(SerialDevicePath(Name()).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return 0;
  // Anything else (a plain file, /dev/null) would take the frame and never
  // answer.
  if (!isatty(fd_)) return 0;
  // TIOCEXCL keeps other openers out, except root; the lock covers root too.
  if (ioctl(fd_, TIOCEXCL) != 0) return 0;
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) return 0;

  if (tcgetattr(fd_, &savedSettings_) != 0) return 0;
  settingsSaved_ = true;
  speed_t speed{};
  if (!SpeedFor(baudRate, &speed)) {
    openError_ = EINVAL;
    return 0;
  }
  termios line = savedSettings_;
  line.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
  line.c_oflag &= ~OPOST;
  line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  line.c_cflag &= ~(CSIZE | PARENB | CRTSCTS);
  line.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL;
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  cfsetispeed(&line, speed);
  cfsetospeed(&line, speed);
  if (tcsetattr(fd_, TCSANOW, &line) != 0) return 0;
  if (!SetModemLine(fd_, TIOCMBIC, TIOCM_DTR)) return 0;
  if (!SetModemLine(fd_, TIOCMBIS, TIOCM_RTS)) return 0;
  if (tcflush(fd_, TCIOFLUSH) != 0) return 0;
  openName_ = Name();
  return 1;
}

void SerialPort::WaitForOutput(int count) {
  const int64_t deadline = NowMs() + static_cast<int64_t>(kPerByteMs) * count + kWriteConstantMs;
  int queued = count;
  while (queued > 0 && NowMs() < deadline) {
    SleepMs(kReadIntervalMs);
    if (ioctl(fd_, TIOCOUTQ, &queued) != 0) return;
  }
}

void SerialPort::Close() {
  if (fd_ < 0) return;
  // What was written still leaves the line before its settings change back;
  // a line that does not drain within the write time-out is closed anyway.
  int queued = 0;
  if (ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0) WaitForOutput(queued);
  if (settingsSaved_) tcsetattr(fd_, TCSANOW, &savedSettings_);
  settingsSaved_ = false;
  ioctl(fd_, TIOCNXCL);
  ::close(fd_);  // also releases the lock
  fd_ = -1;
  pendingAt_ = pendingEnd_ = 0;
  openName_.clear();
}

int SerialPort::Write(const uint8_t* bytes, int count, int /*timeoutMs*/) {
  if (fd_ < 0 || count < 0) return 0;
  const int64_t deadline = NowMs() + static_cast<int64_t>(kPerByteMs) * count + kWriteConstantMs;
  int written = 0;
  while (written < count) {
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0) return 0;
    pollfd watch{fd_, POLLOUT, 0};
    const int ready = poll(&watch, 1, static_cast<int>(remaining));
    if (ready < 0 && errno != EINTR) return 0;
    if (ready <= 0) continue;
    if (!(watch.revents & POLLOUT)) return 0;  // hung up or in error
    const ssize_t n = ::write(fd_, bytes + written, static_cast<size_t>(count - written));
    if (n > 0) {
      written += static_cast<int>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return 0;
    }
  }
  return 1;
}

size_t SerialPort::TakePending(uint8_t* buffer, size_t count) {
  const size_t taken = std::min(count, pendingEnd_ - pendingAt_);
  std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingAt_), taken, buffer);
  pendingAt_ += taken;
  return taken;
}

int SerialPort::Read(uint8_t* buffer, int count, int timeoutMs) {
  if (fd_ < 0 || count < 0) return 0;
  int got = static_cast<int>(TakePending(buffer, static_cast<size_t>(count)));
  if (got == count) return 1;
  // The line's own time per byte governs, unless the caller asks for less:
  // draining after a cancel must not wait a second on a silent line, nor
  // follow a slow one to the end of its reply.
  int64_t allowed = static_cast<int64_t>(kPerByteMs) * count + kReadConstantMs;
  if (timeoutMs > 0) allowed = std::min<int64_t>(allowed, timeoutMs);
  const int64_t deadline = NowMs() + allowed;
  while (got < count) {
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0) return 0;
    const bool betweenBytes = got > 0;
    const int64_t wait = betweenBytes ? std::min<int64_t>(remaining, kReadIntervalMs) : remaining;
    pollfd watch{fd_, POLLIN, 0};
    const int ready = poll(&watch, 1, static_cast<int>(wait));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return 0;
    }
    if (ready == 0) {
      if (betweenBytes && wait < remaining) return 0;  // the next byte did not follow
      continue;
    }
    ssize_t n = -1;
    if (watch.revents & POLLIN) n = ::read(fd_, pending_.data(), pending_.size());
    if (n > 0) {
      pendingAt_ = 0;
      pendingEnd_ = static_cast<size_t>(n);
      got += static_cast<int>(TakePending(buffer + got, static_cast<size_t>(count - got)));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    // The other end is gone: the read still takes its time, so that callers
    // retrying a silent line do not spin.
    SleepMs(deadline - NowMs());
    return 0;
  }
  return 1;
}

int SerialPort::Purge() {
  if (fd_ < 0) return 0;
  pendingAt_ = pendingEnd_ = 0;
  return tcflush(fd_, TCIOFLUSH) == 0 ? 1 : 0;
}

}  // namespace taloven
