#include "transports/usb_socket_transport.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace taloven::emulator {
namespace {

constexpr uint8_t kAccepted = 0;
constexpr uint8_t kStalled = 1;
constexpr uint8_t kReadRequest = 0x81;
constexpr uint8_t kAlternativeReadRequest = 0x80;
const std::vector<uint8_t> kNoData = {'K', 'O', 'V', 'O', 'O', 'V', 'O', 'K'};

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Reads exactly count bytes within the time given; false when the peer left,
// failed or stayed silent.
bool ReadExactly(int fd, uint8_t* bytes, size_t count, int timeoutMs) {
  const int64_t deadline = NowMs() + timeoutMs;
  while (count > 0) {
    const int64_t left = deadline - NowMs();
    if (left <= 0) return false;
    pollfd wait{fd, POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = recv(fd, bytes, count, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

Result<std::unique_ptr<UsbSocketTransport>> UsbSocketTransport::Open(const std::string& path) {
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path)
    return Status::Failure("the USB socket path must have 1 to " +
                           std::to_string(sizeof address.sun_path - 1) + " characters");
  // Only a socket left behind by an earlier run is replaced, never a file.
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) {
    if (!S_ISSOCK(info.st_mode)) return Status::Failure(path + " exists and is not a socket");
    unlink(path.c_str());
  }
  std::unique_ptr<UsbSocketTransport> transport(new UsbSocketTransport(path));
  transport->listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  if (transport->listener_ < 0 ||
      bind(transport->listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(transport->listener_, 1) != 0) {
    const int code = errno;
    if (transport->listener_ >= 0) close(transport->listener_);
    transport->listener_ = -1;  // nothing of ours to remove
    return Status::Failure(path + ": " + std::strerror(code), code);
  }
  return transport;
}

UsbSocketTransport::~UsbSocketTransport() {
  DropClient();
  if (listener_ >= 0) {
    close(listener_);
    unlink(path_.c_str());
  }
}

void UsbSocketTransport::DropClient() {
  if (client_ >= 0) close(client_);
  client_ = -1;
  pending_.clear();
}

int UsbSocketTransport::Receive(uint8_t* buffer, size_t capacity, int timeoutMs) {
  const int64_t deadline = NowMs() + timeoutMs;
  while (received_.empty()) {
    const int64_t left = deadline - NowMs();
    if (left <= 0) return 0;
    pollfd wait{client_ >= 0 ? client_ : listener_, POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) return 0;
    if (ready < 0) return -1;
    if (ready == 0) return 0;
    if (client_ < 0) {
      client_ = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client_ < 0 && errno != EINTR && errno != ECONNABORTED) return -1;
    } else if (!ServeMessage()) {
      // The application went away, as a cable pulled; the next one may come.
      DropClient();
    }
  }
  const size_t n = std::min(capacity, received_.size());
  std::copy_n(received_.begin(), n, buffer);
  received_.erase(received_.begin(), received_.begin() + static_cast<long>(n));
  return static_cast<int>(n);
}

bool UsbSocketTransport::ServeMessage() {
  uint8_t header[3];
  if (!ReadExactly(client_, header, sizeof header, kMessageTimeoutMs)) return false;
  std::vector<uint8_t> payload(header[1] | (header[2] << 8));
  if (!payload.empty() && !ReadExactly(client_, payload.data(), payload.size(), kMessageTimeoutMs))
    return false;
  switch (header[0]) {
    case 'W': {
      received_.insert(received_.end(), payload.begin(), payload.end());
      const size_t taken = payload.size();
      return Answer(kAccepted,
                    {static_cast<uint8_t>(taken & 0xFF), static_cast<uint8_t>(taken >> 8)});
    }
    case 'R':
      if (payload.size() != 1 ||
          (payload[0] != kReadRequest && payload[0] != kAlternativeReadRequest))
        return Answer(kStalled, {});
      return Answer(kAccepted, NextAnswer());
    case 'Z':
      pending_.clear();
      return Answer(kAccepted, {});
    default:
      return Answer(kStalled, {});
  }
}

std::vector<uint8_t> UsbSocketTransport::NextAnswer() {
  if (pending_.empty()) return kNoData;
  size_t n = std::min(kMaxAnswer, pending_.size());
  // Reply bytes that happen to spell the no-data answer go out one short, so
  // that the application does not throw them away.
  if (n == kNoData.size() && std::equal(kNoData.begin(), kNoData.end(), pending_.begin())) --n;
  std::vector<uint8_t> answer(pending_.begin(), pending_.begin() + static_cast<long>(n));
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
  return answer;
}

bool UsbSocketTransport::Answer(uint8_t result, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> message{result, static_cast<uint8_t>(payload.size() & 0xFF),
                               static_cast<uint8_t>(payload.size() >> 8)};
  message.insert(message.end(), payload.begin(), payload.end());
  const uint8_t* bytes = message.data();
  size_t count = message.size();
  while (count > 0) {
    const ssize_t n = send(client_, bytes, count, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

bool UsbSocketTransport::Send(const uint8_t* bytes, size_t count) {
  pending_.insert(pending_.end(), bytes, bytes + count);
  return true;
}

Status UsbSocketTransport::Reconnect() {
  DropClient();
  return {};
}

}  // namespace taloven::emulator
