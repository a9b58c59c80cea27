#include "transports/pty_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace taloven::emulator {
namespace {

constexpr int kSendTimeoutMs = 5000;
constexpr int kDrainWaitMs = 2000;
constexpr int kDrainStepMs = 2;
constexpr int kSettleMs = 20;

}  // namespace

std::unique_ptr<PtyTransport> PtyTransport::Open(const std::string& linkPath, std::string& error) {
  std::unique_ptr<PtyTransport> transport(new PtyTransport(linkPath));
  if (!transport->OpenPair(error)) return nullptr;
  return transport;
}

PtyTransport::~PtyTransport() {
  ClosePair();
  if (!linkPath_.empty()) unlink(linkPath_.c_str());
}

bool PtyTransport::OpenPair(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    ClosePair();
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    ClosePair();
    return false;
  }
  slavePath_ = name;
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  termios raw{};
  if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) {
    error = slavePath_ + ": " + std::strerror(errno);
    ClosePair();
    return false;
  }
  // Raw bytes both ways: no echo of the replies, no line-end translation.
  cfmakeraw(&raw);
  raw.c_cflag |= CSTOPB | CLOCAL;
  cfsetispeed(&raw, B9600);
  cfsetospeed(&raw, B9600);
  tcsetattr(slave_, TCSANOW, &raw);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

  if (!linkPath_.empty()) {
    struct stat existing {};
    if (lstat(linkPath_.c_str(), &existing) == 0) {
      if (!S_ISLNK(existing.st_mode)) {
        error = linkPath_ + " exists and is not a symbolic link; not replacing it";
        ClosePair();
        return false;
      }
      unlink(linkPath_.c_str());
    }
    // Made under a temporary name and moved, so the link never dangles
    // half-way for an application looking at it.
    const std::string temporary = linkPath_ + ".new";
    unlink(temporary.c_str());
    if (symlink(slavePath_.c_str(), temporary.c_str()) != 0 ||
        rename(temporary.c_str(), linkPath_.c_str()) != 0) {
      error = linkPath_ + ": " + std::strerror(errno);
      unlink(temporary.c_str());
      ClosePair();
      return false;
    }
  }
  return true;
}

void PtyTransport::ClosePair() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

int PtyTransport::Receive(uint8_t* buffer, size_t capacity, int timeoutMs) {
  pollfd wait{master_, POLLIN, 0};
  const int ready = poll(&wait, 1, timeoutMs);
  if (ready < 0) return errno == EINTR ? 0 : -1;
  if (ready == 0) return 0;
  const ssize_t got = read(master_, buffer, capacity);
  if (got < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1;
  return static_cast<int>(got);
}

bool PtyTransport::Send(const uint8_t* bytes, size_t count) {
  size_t sent = 0;
  while (sent < count) {
    const ssize_t wrote = write(master_, bytes + sent, count - sent);
    if (wrote > 0) {
      sent += static_cast<size_t>(wrote);
      continue;
    }
    if (wrote < 0 && errno != EAGAIN && errno != EINTR) return false;
    // The application is not reading: wait a while for room, then give up.
    pollfd wait{master_, POLLOUT, 0};
    if (poll(&wait, 1, kSendTimeoutMs) <= 0) return false;
  }
  return true;
}

bool PtyTransport::Reconnect(std::string& error) {
  // Closing the master throws away what the application has not read yet;
  // a pulled cable loses only what is still to come, so let it read first.
  // Bytes reach the slave side a little after the write, hence the
  // short wait before an empty queue counts.
  for (int waited = 0; waited < kDrainWaitMs; waited += kDrainStepMs) {
    int unread = 0;
    if (ioctl(slave_, FIONREAD, &unread) != 0) break;
    if (unread == 0 && waited >= kSettleMs) break;
    usleep(kDrainStepMs * 1000);
  }
  ClosePair();
  return OpenPair(error);
}

}  // namespace taloven::emulator
