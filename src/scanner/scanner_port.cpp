#include "scanner/scanner_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/network_address.h"
#include "link/serial_port.h"

namespace taloven {
namespace {

speed_t SpeedFor(int baudRate) {
  switch (baudRate) {
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B1200;
  }
}

tcflag_t SizeFor(int dataBits) {
  switch (dataBits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

// A pseudo-terminal or a USB adapter without modem lines says so with
// ENOTTY or EINVAL; the line works without them.
bool SetModemLine(int fd, unsigned long request, int line) {
  return ioctl(fd, request, &line) == 0 || errno == ENOTTY || errno == EINVAL;
}

LineSettings NetworkLineFor(const ScannerLine& line) {
  LineSettings settings;
  settings.baudRate = line.baudRate;
  settings.dataBits = line.dataBits;
  settings.parity = line.parity == Parity::Even  ? LineSettings::Parity::Even
                    : line.parity == Parity::Odd ? LineSettings::Parity::Odd
                                                 : LineSettings::Parity::None;
  settings.stopBits = line.stopBits == StopBits::One          ? LineSettings::StopBits::One
                      : line.stopBits == StopBits::OneAndHalf ? LineSettings::StopBits::OneAndHalf
                                                              : LineSettings::StopBits::Two;
  settings.hardwareFlow = line.rtsHandshake;
  settings.dtr = false;
  settings.rts = false;
  return settings;
}

}  // namespace

ScannerPort::~ScannerPort() {
  static_cast<void>(Close());
}

Status ScannerPort::Open(const std::string& name, const ScannerLine& line,
                         const std::function<bool()>& cancelled) {
  static_cast<void>(Close());
  cancelled_ = false;
  if (IsNetworkPortName(name)) {
    network_ = std::make_unique<NetworkPort>(name);
    networkLine_ = NetworkLineFor(line);
    network_->WatchCancel(cancelled);
    const bool opened = network_->OpenWith(networkLine_) != 0;
    network_->WatchCancel(nullptr);
    if (opened) return {};
    cancelled_ = network_->OpenCancelled();
    const std::string failure = network_->OpenFailure();
    network_.reset();
    return Status::Failure(failure);
  }
  auto fail = [&](int code) {
    static_cast<void>(Close());
    return Status::Failure(std::strerror(code), code);
  };
  fd_ = ::open(SerialDevicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return fail(errno);
  // TIOCEXCL keeps other openers out, except root; the lock covers root too.
  if (ioctl(fd_, TIOCEXCL) != 0 || flock(fd_, LOCK_EX | LOCK_NB) != 0) return fail(errno);
  if (tcgetattr(fd_, &savedSettings_) != 0) return fail(errno);
  settingsSaved_ = true;

  termios settings = savedSettings_;
  cfmakeraw(&settings);
  settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  settings.c_cflag |= SizeFor(line.dataBits) | CREAD | CLOCAL;
  if (line.parity != Parity::None) {
    settings.c_cflag |= PARENB;
    settings.c_iflag |= INPCK;
  }
  if (line.parity == Parity::Odd) settings.c_cflag |= PARODD;
  // The line has no one and a half stop bits of its own: with five data
  // bits the second stop bit is sent as a half one.
  if (line.stopBits != StopBits::One) settings.c_cflag |= CSTOPB;
  if (line.rtsHandshake) settings.c_cflag |= CRTSCTS;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  const speed_t speed = SpeedFor(line.baudRate);
  if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0 ||
      tcsetattr(fd_, TCSANOW, &settings) != 0)
    return fail(errno);
  if (!SetModemLine(fd_, TIOCMBIC, TIOCM_DTR)) return fail(errno);
  if (!line.rtsHandshake && !SetModemLine(fd_, TIOCMBIC, TIOCM_RTS)) return fail(errno);
  if (tcflush(fd_, TCIOFLUSH) != 0) return fail(errno);
  return {};
}

Status ScannerPort::Reconnect(const std::function<bool()>& cancelled) {
  if (!network_) return Status::Failure(std::strerror(ENOTCONN));
  network_->Close();
  network_->WatchCancel(cancelled);
  const bool opened = network_->OpenWith(networkLine_) != 0;
  network_->WatchCancel(nullptr);
  cancelled_ = network_->OpenCancelled();
  if (opened) return {};
  return Status::Failure(network_->OpenFailure());
}

std::string ScannerPort::LostText() const {
  return network_ ? network_->OpenNotice() : std::string();
}

int ScannerPort::Queued() const {
  int queued = 0;
  const int fd = Descriptor();
  if (fd < 0 || ::ioctl(fd, FIONREAD, &queued) != 0) queued = 0;
  return queued + (network_ ? network_->Buffered() : 0);
}

int ScannerPort::ReadSome(char* buffer, size_t count) {
  if (network_)
    return network_->TakeAvailable(reinterpret_cast<uint8_t*>(buffer), static_cast<int>(count));
  const ssize_t got = ::read(fd_, buffer, count);
  if (got >= 0) return static_cast<int>(got);
  return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

Status ScannerPort::Close() {
  if (network_) {
    network_->Close();
    network_.reset();
    return {};
  }
  if (fd_ < 0) return {};
  if (settingsSaved_) tcsetattr(fd_, TCSANOW, &savedSettings_);
  settingsSaved_ = false;
  ioctl(fd_, TIOCNXCL);
  const int result = ::close(fd_);  // also releases the lock
  const int code = errno;
  fd_ = -1;
  if (result != 0 && code != EINTR) return Status::Failure(std::strerror(code), code);
  return {};
}

}  // namespace taloven
