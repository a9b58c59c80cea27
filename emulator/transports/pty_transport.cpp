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

Result<std::unique_ptr<PtyTransport>> PtyTransport::Open(const std::string& linkPath) {
  std::unique_ptr<PtyTransport> transport(new PtyTransport(linkPath));
  if (Status opened = transport->OpenPair(); !opened.ok()) return opened;
  return transport;
}

PtyTransport::~PtyTransport() {
  ClosePair();
  if (!linkPath_.empty()) unlink(linkPath_.c_str());
}

Status PtyTransport::OpenPair() {
  // Says why the pair cannot be used, and lets go of what was opened.
  auto fail = [this](const std::string& what, int code) {
    ClosePair();
    return Status::Failure(what + std::strerror(code), code);
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
    return fail("cannot open a pseudo-terminal: ", errno);
  const char* name = ptsname(master_);
  if (!name) return fail("cannot name the pseudo-terminal: ", errno);
  slavePath_ = name;
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  termios raw{};
  if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) return fail(slavePath_ + ": ", errno);
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
        ClosePair();
        return Status::Failure(linkPath_ + " exists and is not a symbolic link; not replacing it");
      }
      unlink(linkPath_.c_str());
    }
    // Made under a temporary name and moved, so the link never dangles
    // half-way for an application looking at it.
    const std::string temporary = linkPath_ + ".new";
    unlink(temporary.c_str());
    if (symlink(slavePath_.c_str(), temporary.c_str()) != 0 ||
        rename(temporary.c_str(), linkPath_.c_str()) != 0) {
      const int code = errno;
      unlink(temporary.c_str());
      return fail(linkPath_ + ": ", code);
    }
  }
  return {};
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

Status PtyTransport::Reconnect() {
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
  return OpenPair();
}

}  // namespace taloven::emulator
