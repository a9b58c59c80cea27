#include "link/network_port.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>

#include "link/host_lookup.h"
#include "link/line_timeouts.h"

namespace taloven {
namespace {

// A server that has not taken the connection by then is not there.
constexpr int kConnectTimeoutMs = 5000;
// How often a connection under way asks whether to give up.
constexpr int kCancelLookMs = 50;
// An RFC 2217 server answers the COM-port option at once.
constexpr int kNegotiationTimeoutMs = 3000;
// A purge takes in what already waits, not a line that never stops.
constexpr int kPurgeRounds = 64;

int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SleepMs(int64_t ms) {
  if (ms > 0) poll(nullptr, 0, static_cast<int>(ms));
}

// The addresses whose connection the peer dropped, so that the next
// connection to them says it is one made anew.
std::mutex lostLock;
std::set<std::string>& LostAddresses() {
  static std::set<std::string> lost;
  return lost;
}

std::string NumericAddress(const sockaddr* address, socklen_t length) {
  char host[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (getnameinfo(address, length, host, sizeof host, service, sizeof service,
                  NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return {};
  const bool six = address->sa_family == AF_INET6;
  return (six ? "[" + std::string(host) + "]" : std::string(host)) + ":" + service;
}

}  // namespace

NetworkPort::NetworkPort(std::string name)
    : ByteLinePort(std::move(name)), address_(ParseNetworkAddress(Name())) {}

NetworkPort::~NetworkPort() {
  if (fd_ >= 0) ::close(fd_);
}

int NetworkPort::Open(int baudRate) {
  LineSettings line;
  line.baudRate = baudRate;
  return OpenWith(line);
}

int NetworkPort::OpenWith(const LineSettings& line) {
  failure_.clear();
  openCancelled_ = false;
  if (opened_) return 0;
  if (!address_) {
    failure_ = "endere\xE7o de rede inv\xE1lido (tcp://HOST:PORTA ou rfc2217://HOST:PORTA)";
    return 0;
  }
  line_ = line;
  if (!Connect()) return 0;
  opened_ = true;
  return 1;
}

std::string NetworkPort::OpenNotice() const {
  if (!address_) return {};
  std::lock_guard<std::mutex> hold(lostLock);
  if (LostAddresses().count(address_->Shown()) == 0) return {};
  return "conex\xE3o com " + address_->Shown() + " perdida; reconectando";
}

bool NetworkPort::Connect() {
  const HostLookup lookup = LookUpHost(address_->host, address_->port, cancelled_);
  if (lookup.end == HostLookup::End::Cancelled) {
    openCancelled_ = true;
    failure_ = "conex\xE3o com " + address_->Shown() + " cancelada";
    return false;
  }
  if (lookup.end == HostLookup::End::Failed) {
    failure_ = "n\xE3o foi poss\xEDvel encontrar " + address_->host + ": " + lookup.failure;
    return false;
  }
  int error = 0;
  std::string tried;
  for (const addrinfo* a = lookup.addresses.get(); a != nullptr && fd_ < 0 && !openCancelled_;
       a = a->ai_next) {
    tried = NumericAddress(a->ai_addr, a->ai_addrlen);
    ConnectTo(a->ai_addr, a->ai_addrlen, &error);
  }
  if (openCancelled_) {
    failure_ = "conex\xE3o com " + address_->Shown() + " cancelada";
    return false;
  }
  if (fd_ < 0) {
    const std::string shown = address_->Shown();
    failure_ = "n\xE3o foi poss\xEDvel conectar a " + shown +
               (tried.empty() || tried == shown ? "" : " (" + tried + ")") + ": " +
               std::strerror(error != 0 ? error : EHOSTUNREACH);
    return false;
  }
  const int on = 1;
  // A frame is written whole; Nagle's wait would only delay it.
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (address_->telnet && !Negotiate()) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  {
    std::lock_guard<std::mutex> hold(lostLock);
    LostAddresses().erase(address_->Shown());
  }
  return true;
}

bool NetworkPort::ConnectTo(const void* address, unsigned length, int* error) {
  const int fd = ::socket(static_cast<const sockaddr*>(address)->sa_family,
                          SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = errno;
    return false;
  }
  if (::connect(fd, static_cast<const sockaddr*>(address), length) != 0 && errno != EINPROGRESS) {
    *error = errno;
    ::close(fd);
    return false;
  }
  const int64_t deadline = NowMs() + kConnectTimeoutMs;
  while (true) {
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0) {
      *error = ETIMEDOUT;
      ::close(fd);
      return false;
    }
    pollfd watch{fd, POLLOUT, 0};
    const int ready =
        poll(&watch, 1, static_cast<int>(std::min<int64_t>(remaining, kCancelLookMs)));
    if (ready > 0) break;
    if (ready < 0 && errno != EINTR) {
      *error = errno;
      ::close(fd);
      return false;
    }
    if (cancelled_ && cancelled_()) {
      openCancelled_ = true;
      ::close(fd);
      return false;
    }
  }
  int result = 0;
  socklen_t size = sizeof result;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &size) != 0) result = errno;
  if (result != 0) {
    *error = result;
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool NetworkPort::Negotiate() {
  codec_ = TelnetCodec();
  pending_.clear();
  pendingAt_ = 0;
  const int64_t deadline = NowMs() + kNegotiationTimeoutMs;
  if (!SendRaw(TelnetCodec::Greeting(), deadline)) {
    failure_ = address_->Shown() + ": " + std::strerror(errno);
    return false;
  }
  while (codec_.ComPortState() == TelnetCodec::ComPort::Unknown) {
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0 || Fill(static_cast<int>(std::min<int64_t>(remaining, kCancelLookMs))) < 0)
      break;
    if (cancelled_ && cancelled_()) {
      openCancelled_ = true;
      failure_ = "conex\xE3o com " + address_->Shown() + " cancelada";
      return false;
    }
  }
  if (fd_ < 0) {
    failure_ = "a conex\xE3o com " + address_->Shown() + " caiu durante a negocia\xE7\xE3o Telnet";
    return false;
  }
  if (codec_.ComPortState() != TelnetCodec::ComPort::Agreed) {
    failure_ = address_->Shown() +
               " n\xE3o aceita o controle da porta serial (RFC 2217); use tcp:// para um "
               "servidor sem ele";
    return false;
  }
  // No purge here: the server opened its line for this connection, so what
  // it sent already is fresh (a scanner may have started on it); the
  // exchanges purge where they always do.
  if (!SendRaw(TelnetCodec::SetLine(line_), NowMs() + kNegotiationTimeoutMs)) {
    failure_ = address_->Shown() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool NetworkPort::SendRaw(const std::vector<uint8_t>& bytes, int64_t deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (fd_ < 0) return false;
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0) {
      errno = ETIMEDOUT;
      return false;
    }
    pollfd watch{fd_, POLLOUT, 0};
    const int ready = poll(&watch, 1, static_cast<int>(remaining));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      const int error = errno;
      Lose();
      errno = error;
      return false;
    }
  }
  return true;
}

int NetworkPort::Fill(int waitMs) {
  if (fd_ < 0) return -1;
  pollfd watch{fd_, POLLIN, 0};
  const int ready = poll(&watch, 1, waitMs);
  if (ready <= 0) return 0;
  uint8_t raw[512];
  const ssize_t n = ::recv(fd_, raw, sizeof raw, MSG_DONTWAIT);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
  if (n <= 0) {
    Lose();
    return -1;
  }
  // A server that holds its next small write until the last one is
  // acknowledged (a Telnet answer, then the reply) would otherwise wait for
  // the delayed acknowledgement; the system drops quick mode after a while,
  // so it is asked for again each time.
  const int quick = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &quick, sizeof quick);
  if (pendingAt_ == pending_.size()) {
    pending_.clear();
    pendingAt_ = 0;
  }
  if (!address_->telnet) {
    pending_.insert(pending_.end(), raw, raw + n);
    return 1;
  }
  std::vector<uint8_t> answers;
  codec_.Take(raw, static_cast<size_t>(n), pending_, answers);
  if (!answers.empty() && !SendRaw(answers, NowMs() + kNegotiationTimeoutMs)) return -1;
  return 1;
}

void NetworkPort::Lose() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  std::lock_guard<std::mutex> hold(lostLock);
  LostAddresses().insert(address_->Shown());
}

void NetworkPort::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  opened_ = false;
  pending_.clear();
  pendingAt_ = 0;
}

int NetworkPort::Write(const uint8_t* bytes, int count, int /*timeoutMs*/) {
  if (!opened_ || count < 0) return 0;
  // The connection the peer dropped is made anew for the next exchange.
  if (fd_ < 0 && !Connect()) return 0;
  std::vector<uint8_t> out;
  if (address_->telnet)
    TelnetCodec::AppendData(bytes, static_cast<size_t>(count), out);
  else
    out.assign(bytes, bytes + count);
  return SendRaw(out, NowMs() + static_cast<int64_t>(kPerByteMs) * count + kWriteConstantMs) ? 1
                                                                                             : 0;
}

size_t NetworkPort::TakePending(uint8_t* buffer, size_t count) {
  const size_t taken = std::min(count, pending_.size() - pendingAt_);
  std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingAt_), taken, buffer);
  pendingAt_ += taken;
  return taken;
}

int NetworkPort::Read(uint8_t* buffer, int count, int timeoutMs) {
  if (!opened_ || count < 0) return 0;
  int got = static_cast<int>(TakePending(buffer, static_cast<size_t>(count)));
  if (got == count) return 1;
  int64_t allowed = static_cast<int64_t>(kPerByteMs) * count + kReadConstantMs;
  if (timeoutMs > 0) allowed = std::min<int64_t>(allowed, timeoutMs);
  const int64_t deadline = NowMs() + allowed;
  while (got < count) {
    const int64_t remaining = deadline - NowMs();
    if (remaining <= 0) return 0;
    const bool betweenBytes = got > 0;
    const int64_t wait = betweenBytes ? std::min<int64_t>(remaining, kReadIntervalMs) : remaining;
    const int filled = Fill(static_cast<int>(wait));
    if (filled < 0) {
      // Like a line that hung up, the read still takes its time, so that
      // callers retrying it do not spin.
      SleepMs(deadline - NowMs());
      return 0;
    }
    if (filled == 0) {
      if (betweenBytes && wait < remaining) return 0;  // the next byte did not follow
      continue;
    }
    got += static_cast<int>(TakePending(buffer + got, static_cast<size_t>(count - got)));
  }
  return 1;
}

int NetworkPort::TakeAvailable(uint8_t* buffer, int capacity) {
  int got = static_cast<int>(TakePending(buffer, static_cast<size_t>(capacity)));
  while (got < capacity) {
    const int filled = Fill(0);
    if (filled < 0) return got > 0 ? got : -1;
    if (filled == 0) break;
    got += static_cast<int>(TakePending(buffer + got, static_cast<size_t>(capacity - got)));
  }
  return got;
}

int NetworkPort::Purge() {
  if (!opened_) return 0;
  if (fd_ < 0) return 1;  // nothing waits on a connection that is gone
  if (address_->telnet && !SendRaw(TelnetCodec::PurgeBoth(), NowMs() + kNegotiationTimeoutMs))
    return 0;
  for (int round = 0; round < kPurgeRounds && Fill(0) > 0; ++round) {
  }
  pending_.clear();
  pendingAt_ = 0;
  return 1;
}

}  // namespace taloven
