#include "transports/usb_socket_transport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "usb/kovousbprinter.h"
#include "usb/socket_usb_device.h"

namespace taloven {
namespace {

using emulator::UsbSocketTransport;

class UsbSocketTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "/transport-" + std::to_string(getpid()) + ".usb";
    auto opened = UsbSocketTransport::Open(path);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    transport = std::move(opened.value());
    owned = std::make_unique<SocketUsbDevice>(path);
    SocketUsbDevice& device = *owned;
    ASSERT_TRUE(device.AcquireDeviceList());
    ASSERT_EQ(device.OpenFirstDevice(), kUsbOk);
    ASSERT_EQ(device.SetConfiguration(UsbConfiguration{}), kUsbOk);
    ASSERT_EQ(device.BindPipe(0x02), kUsbOk);
  }

  // Lets the printer side serve requests while the application side works.
  template <typename F>
  void WhileServing(F application) {
    std::atomic<bool> done{false};
    std::thread printer([&] {
      uint8_t buffer[64];
      while (!done) {
        int n = transport->Receive(buffer, sizeof buffer, 20);
        if (n > 0) fromApplication.insert(fromApplication.end(), buffer, buffer + n);
      }
    });
    application();
    done = true;
    printer.join();
  }

  std::vector<uint8_t> Read(uint8_t code = 0x81) {
    uint8_t buffer[8];
    int received = 0;
    status = owned->ControlRead(code, buffer, &received);
    return {buffer, buffer + received};
  }

  std::string path;
  std::unique_ptr<UsbSocketTransport> transport;
  std::unique_ptr<SocketUsbDevice> owned;
  UsbStatus status = kUsbOk;
  std::vector<uint8_t> fromApplication;
};

TEST_F(UsbSocketTransportTest, RepliesLeaveInAnswersOfAtMostEightBytes) {
  const std::string reply = "KOVOOVOK!0123456789";
  transport->Send(reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
  const std::vector<uint8_t> signature(UsbPrinter::kSignature.begin(),
                                       UsbPrinter::kSignature.end());
  WhileServing([&] {
    // Reply bytes that spell the no-data answer are never sent as one.
    EXPECT_EQ(Read(), std::vector<uint8_t>(reply.begin(), reply.begin() + 7));
    EXPECT_EQ(Read(), std::vector<uint8_t>(reply.begin() + 7, reply.begin() + 15));
    EXPECT_EQ(Read(0x80), std::vector<uint8_t>(reply.begin() + 15, reply.end()));
    EXPECT_EQ(Read(), signature);
    Read(0x42);
    EXPECT_EQ(status, kUsbDeviceNotResponding);
    const uint8_t frame[] = {0x02, 0x04, 0x00};
    int written = 0;
    EXPECT_EQ(owned->Write(frame, 3, &written, 1000), kUsbOk);
    EXPECT_EQ(written, 3);
  });
  EXPECT_EQ(fromApplication, (std::vector<uint8_t>{0x02, 0x04, 0x00}));
}

TEST_F(UsbSocketTransportTest, AResetDropsThePendingReply) {
  const uint8_t reply[] = {0x06, 0x00, 0x00};
  transport->Send(reply, sizeof reply);
  WhileServing([&] {
    EXPECT_EQ(owned->ResetDevice(), kUsbOk);
    EXPECT_EQ(Read().size(), 8u);  // the signature
  });
}

}  // namespace
}  // namespace taloven
