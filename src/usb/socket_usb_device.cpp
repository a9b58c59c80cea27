#include "usb/socket_usb_device.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/clock.h"

namespace taloven {

namespace {

constexpr uint8_t kAccepted = 0;
constexpr size_t kMaxPayload = 0xFFFF;

// Sends every byte or reports failure; never raises SIGPIPE.
bool SendAll(int fd, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    ssize_t n = send(fd, bytes, count, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

enum class Received { Complete, TimedOut, Failed };

Received ReceiveAll(int fd, uint8_t* bytes, size_t count, int64_t deadline) {
  while (count > 0) {
    int64_t left = deadline - RealClock().MonotonicMs();
    if (left <= 0) return Received::TimedOut;
    pollfd p{fd, POLLIN, 0};
    int ready = poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Received::Failed;
    if (ready == 0) return Received::TimedOut;
    ssize_t n = recv(fd, bytes, count, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Received::Failed;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return Received::Complete;
}

}  // namespace

SocketUsbDevice::~SocketUsbDevice() {
  CloseDevice();
}

bool SocketUsbDevice::AcquireDeviceList() {
  // The one device is the socket; a path too long for an address names none.
  return !path.empty() && path.size() < sizeof(sockaddr_un::sun_path);
}

UsbStatus SocketUsbDevice::OpenFirstDevice() {
  CloseDevice();
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return errno == ENOMEM || errno == ENOBUFS ? kUsbNoSystemMemory : kUsbDeviceNotFound;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    int error = errno;
    close(fd);
    // Nobody listening is the same as no printer plugged in.
    return error == ENOENT || error == ECONNREFUSED ? kUsbNoSuchDeviceInstance : kUsbDeviceNotFound;
  }
  socketFd = fd;
  return kUsbOk;
}

void SocketUsbDevice::CloseDevice() {
  if (socketFd >= 0) close(socketFd);
  socketFd = -1;
  configured = false;
  pipeBound = false;
}

UsbStatus SocketUsbDevice::SetConfiguration(const UsbConfiguration& configuration) {
  if (socketFd < 0) return kUsbDeviceNotOpen;
  // The virtual printer has one configuration with one interface.
  if (configuration.configurationIndex != 0 || configuration.interfaceNumber != 0 ||
      configuration.alternateSetting != 0)
    return kUsbInvalidParameter;
  configured = true;
  return kUsbOk;
}

UsbStatus SocketUsbDevice::BindPipe(uint8_t endpointAddress) {
  if (socketFd < 0 || !configured) return kUsbDeviceNotOpen;
  if (endpointAddress != 0x02) return kUsbInvalidParameter;
  pipeBound = true;
  return kUsbOk;
}

UsbStatus SocketUsbDevice::Drop(UsbStatus status) {
  CloseDevice();
  return status;
}

UsbStatus SocketUsbDevice::Exchange(char operation, const uint8_t* payload, size_t length,
                                    std::vector<uint8_t>* answer, int timeoutMs) {
  if (socketFd < 0) return kUsbDeviceNotOpen;
  std::vector<uint8_t> message{static_cast<uint8_t>(operation), static_cast<uint8_t>(length & 0xFF),
                               static_cast<uint8_t>(length >> 8)};
  message.insert(message.end(), payload, payload + length);
  if (!SendAll(socketFd, message.data(), message.size())) return Drop(kUsbDeviceRemoved);

  const int64_t deadline = RealClock().MonotonicMs() + timeoutMs;
  uint8_t header[3];
  Received got = ReceiveAll(socketFd, header, sizeof header, deadline);
  std::vector<uint8_t> body;
  if (got == Received::Complete) {
    body.resize(header[1] | (header[2] << 8));
    got = ReceiveAll(socketFd, body.data(), body.size(), deadline);
  }
  // A late answer would be taken for the next one: the connection goes.
  if (got == Received::TimedOut) return Drop(kUsbRequestTimeout);
  if (got == Received::Failed) return Drop(kUsbDeviceRemoved);
  if (answer) *answer = std::move(body);
  return header[0] == kAccepted ? kUsbOk : kUsbDeviceNotResponding;
}

UsbStatus SocketUsbDevice::Write(const uint8_t* bytes, int count, int* written, int timeoutMs) {
  *written = 0;
  if (!pipeBound) return kUsbDeviceNotOpen;
  size_t length = std::min<size_t>(static_cast<size_t>(count), kMaxPayload);
  std::vector<uint8_t> answer;
  UsbStatus status = Exchange('W', bytes, length, &answer, std::max(timeoutMs, kAnswerTimeoutMs));
  if (status != kUsbOk) return status;
  if (answer.size() != 2) return Drop(kUsbDeviceRemoved);
  *written = std::min(count, answer[0] | (answer[1] << 8));
  return kUsbOk;
}

UsbStatus SocketUsbDevice::ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) {
  *received = 0;
  std::vector<uint8_t> answer;
  UsbStatus status = Exchange('R', &requestCode, 1, &answer, kAnswerTimeoutMs);
  if (status != kUsbOk) return status;
  // More than one request can carry means the peer does not speak our part.
  if (answer.size() > static_cast<size_t>(kControlReadSize)) return Drop(kUsbDeviceRemoved);
  std::memcpy(buffer, answer.data(), answer.size());
  *received = static_cast<int>(answer.size());
  return kUsbOk;
}

UsbStatus SocketUsbDevice::ResetDevice() {
  return Exchange('Z', nullptr, 0, nullptr, kAnswerTimeoutMs);
}

UsbStatus SocketUsbDevice::ResetPipe() {
  return socketFd < 0 ? kUsbDeviceNotOpen : kUsbOk;
}

}  // namespace taloven
