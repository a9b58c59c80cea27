#include "usb/socket_usb_device.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

namespace taloven {
namespace {

// A listener on a fresh socket path that serves one connection with the
// given handler.
class OnePeer {
 public:
  explicit OnePeer(std::function<void(int)> serve) {
    path = (std::filesystem::temp_directory_path() /
            ("taloven-usb-test-" + std::to_string(getpid()) + "-" + std::to_string(++serial)))
               .string();
    listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(listener, 1), 0);
    server = std::thread([this, serve] {
      int peer = accept(listener, nullptr, nullptr);
      if (peer >= 0) {
        serve(peer);
        close(peer);
      }
    });
  }
  ~OnePeer() {
    server.join();
    close(listener);
    std::filesystem::remove(path);
  }

  std::string path;

 private:
  static inline int serial = 0;
  int listener = -1;
  std::thread server;
};

void ReadRequest(int peer) {
  uint8_t header[3];
  ASSERT_EQ(recv(peer, header, 3, MSG_WAITALL), 3);
  std::vector<uint8_t> payload(header[1] | (header[2] << 8));
  if (!payload.empty()) recv(peer, payload.data(), payload.size(), MSG_WAITALL);
}

void Answer(int peer, uint8_t result, std::vector<uint8_t> bytes) {
  std::vector<uint8_t> message{result, static_cast<uint8_t>(bytes.size()), 0};
  message.insert(message.end(), bytes.begin(), bytes.end());
  send(peer, message.data(), message.size(), MSG_NOSIGNAL);
}

UsbStatus OpenAndRead(SocketUsbDevice& device, std::vector<uint8_t>* bytes) {
  EXPECT_TRUE(device.AcquireDeviceList());
  UsbStatus status = device.OpenFirstDevice();
  if (status != kUsbOk) return status;
  EXPECT_EQ(device.SetConfiguration(UsbConfiguration{}), kUsbOk);
  EXPECT_EQ(device.BindPipe(0x02), kUsbOk);
  uint8_t buffer[8];
  int received = -1;
  status = device.ControlRead(0x81, buffer, &received);
  if (bytes) bytes->assign(buffer, buffer + std::max(received, 0));
  return status;
}

TEST(SocketUsbDevice, NobodyListeningIsNoDevice) {
  SocketUsbDevice device("/nonexistent/taloven-usb");
  EXPECT_EQ(OpenAndRead(device, nullptr), kUsbNoSuchDeviceInstance);
}

TEST(SocketUsbDevice, AnswersMapOntoStatusCodes) {
  const struct {
    const char* name;
    std::function<void(int)> serve;
    UsbStatus expected;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"data",
       [](int p) {
         ReadRequest(p);
         Answer(p, 0, {0x06, 0x55, 0x00});
       },
       kUsbOk,
       {0x06, 0x55, 0x00}},
      {"stall",
       [](int p) {
         ReadRequest(p);
         Answer(p, 1, {});
       },
       kUsbDeviceNotResponding,
       {}},
      {"too long",
       [](int p) {
         ReadRequest(p);
         Answer(p, 0, std::vector<uint8_t>(9, 1));
       },
       kUsbDeviceRemoved,
       {}},
      {"hung up", [](int p) { ReadRequest(p); }, kUsbDeviceRemoved, {}},
  };
  for (const auto& c : cases) {
    OnePeer peer(c.serve);
    SocketUsbDevice device(peer.path);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(OpenAndRead(device, &bytes), c.expected) << c.name;
    EXPECT_EQ(bytes, c.bytes) << c.name;
  }
}

TEST(SocketUsbDevice, ADroppedConnectionReportsNotOpenUntilReopened) {
  OnePeer peer([](int p) { ReadRequest(p); });
  SocketUsbDevice device(peer.path);
  EXPECT_EQ(OpenAndRead(device, nullptr), kUsbDeviceRemoved);
  uint8_t buffer[8];
  int received = 0;
  EXPECT_EQ(device.ControlRead(0x81, buffer, &received), kUsbDeviceNotOpen);
  int written = 0;
  EXPECT_EQ(device.Write(buffer, 1, &written, 100), kUsbDeviceNotOpen);
}

}  // namespace
}  // namespace taloven
