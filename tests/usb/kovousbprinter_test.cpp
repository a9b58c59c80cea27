#include "usb/kovousbprinter.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/test_clock.h"
#include "usb/scripted_usb_device.h"
#include "usb/usb_port.h"

namespace taloven {
namespace {

using testing::ScriptedUsbDevice;
using testing::TestClock;
using Answer = ScriptedUsbDevice::Answer;
using WriteResult = ScriptedUsbDevice::WriteResult;

class UsbPrinterTest : public ::testing::Test {
 protected:
  UsbPrinterTest() {
    auto owned = std::make_unique<ScriptedUsbDevice>(clock);
    device = owned.get();
    printer = std::make_unique<UsbPrinter>(std::move(owned), clock);
    port = std::make_unique<UsbPort>("USB", *printer, clock);
  }

  void Data(std::vector<uint8_t> bytes) { device->answers.push_back({kUsbOk, std::move(bytes)}); }
  void Status(UsbStatus status) { device->answers.push_back({status, {}}); }

  TestClock clock;
  ScriptedUsbDevice* device;
  std::unique_ptr<UsbPrinter> printer;
  std::unique_ptr<UsbPort> port;
};

TEST_F(UsbPrinterTest, OpensWithTheConfigurationAndTheWritePipe) {
  ASSERT_EQ(port->Open(9600), 1);
  EXPECT_EQ(device->calls,
            (std::vector<std::string>{"close", "list", "open", "configure 0 5120", "bind 2"}));
  // Open again and Close change nothing: the device stays open between commands.
  port->Close();
  EXPECT_EQ(port->Open(9600), 1);
  EXPECT_EQ(device->Count("open"), 1);
}

TEST_F(UsbPrinterTest, SignatureOnlyReadGivesUpAtTheDeadline) {
  device->msPerRead = 10;  // slow enough that the 701st signature is never reached
  ASSERT_EQ(port->Open(0), 1);
  int64_t start = clock.MonotonicMs();
  uint8_t byte = 0;
  EXPECT_EQ(port->Read(&byte, 1, 2000), 0);
  int64_t elapsed = clock.MonotonicMs() - start;
  EXPECT_GE(elapsed, 2500);
  EXPECT_LE(elapsed, 2500 + 11);
  EXPECT_EQ(printer->QueuedCount(), 0u);
}

TEST_F(UsbPrinterTest, SignatureOnlyReadGivesUpAfter701Signatures) {
  ASSERT_EQ(port->Open(0), 1);
  uint8_t byte = 0;
  EXPECT_EQ(port->Read(&byte, 1, 2000), 0);
  EXPECT_EQ(device->reads, 701);
}

TEST_F(UsbPrinterTest, LeftoverBytesServeTheNextReadsWithoutRequests) {
  Data({1, 2, 3, 4, 5});
  Data({6});
  ASSERT_EQ(port->Open(0), 1);
  uint8_t byte = 0;
  ASSERT_EQ(port->Read(&byte, 1, 2000), 1);
  EXPECT_EQ(byte, 1);
  EXPECT_EQ(printer->QueuedCount(), 4u);
  for (uint8_t expected = 2; expected <= 5; ++expected) {
    ASSERT_EQ(port->Read(&byte, 1, 2000), 1);
    EXPECT_EQ(byte, expected);
  }
  EXPECT_EQ(device->reads, 1);
  ASSERT_EQ(port->Read(&byte, 1, 2000), 1);
  EXPECT_EQ(byte, 6);
  EXPECT_EQ(device->reads, 2);
}

TEST_F(UsbPrinterTest, AnAnswerDifferingFromTheSignatureInOneByteIsData) {
  for (size_t position = 0; position < UsbPrinter::kSignature.size(); ++position) {
    std::vector<uint8_t> answer = ScriptedUsbDevice::Signature();
    answer[position] ^= 0x20;
    Data(answer);
    ASSERT_EQ(port->Open(0), 1);
    uint8_t bytes[8] = {};
    ASSERT_EQ(port->Read(bytes, 8, 2000), 1) << position;
    EXPECT_TRUE(std::equal(answer.begin(), answer.end(), bytes)) << position;
  }
  EXPECT_EQ(device->reads, 8);
}

TEST_F(UsbPrinterTest, SignaturesBetweenDataAreSkipped) {
  device->answers.push_back({kUsbOk, ScriptedUsbDevice::Signature()});
  Data({0x06, 0x55});
  device->answers.push_back({kUsbOk, {}});
  Data({0x00});
  uint8_t bytes[3] = {};
  ASSERT_EQ(port->Read(bytes, 3, 2000), 1);
  EXPECT_EQ(bytes[0], 0x06);
  EXPECT_EQ(bytes[2], 0x00);
}

TEST_F(UsbPrinterTest, PurgeDiscardsLeftovers) {
  Data({1, 2, 3});
  uint8_t byte = 0;
  ASSERT_EQ(port->Read(&byte, 1, 2000), 1);
  EXPECT_EQ(port->Purge(), 1);
  EXPECT_EQ(printer->QueuedCount(), 0u);
}

TEST_F(UsbPrinterTest, WithoutADeviceListOpenFailsAtOnce) {
  device->listAvailable = false;
  EXPECT_EQ(port->Open(0), 0);
  EXPECT_EQ(device->Count("list"), 1);
  EXPECT_EQ(device->Count("open"), 0);
  EXPECT_EQ(clock.TotalSlept(), 0);
  EXPECT_EQ(printer->LastError(), kUsbNoDeviceList);
}

TEST_F(UsbPrinterTest, WithoutADeviceOpenTriesTwice200MsApart) {
  device->openResults = {kUsbNoSuchDeviceInstance, kUsbNoSuchDeviceInstance};
  EXPECT_EQ(port->Open(0), 0);
  ASSERT_EQ(device->openTimes.size(), 2u);
  EXPECT_EQ(device->openTimes[1] - device->openTimes[0], 200);
  EXPECT_EQ(device->Count("reset"), 1);
  EXPECT_EQ(device->Count("reset pipe"), 1);
  EXPECT_EQ(printer->LastError(), kUsbNoSuchDeviceInstance);
  EXPECT_FALSE(printer->IsOpen());
}

TEST_F(UsbPrinterTest, OpenSucceedsOnTheSecondAttempt) {
  device->openResults = {kUsbDeviceNotFound};
  EXPECT_EQ(port->Open(0), 1);
  EXPECT_EQ(device->Count("open"), 2);
}

TEST_F(UsbPrinterTest, WritesGoOutIn512ByteChunks) {
  std::vector<uint8_t> bytes(1300);
  std::iota(bytes.begin(), bytes.end(), 0);
  EXPECT_EQ(port->Write(bytes.data(), 1300, 20000), 1);
  EXPECT_EQ(device->writeSizes, (std::vector<int>{512, 512, 276}));
}

TEST_F(UsbPrinterTest, WriteStatusReactions) {
  const struct {
    const char* name;
    std::deque<WriteResult> results;
    int expected;
    std::vector<int> sizes;
    int opens;
  } cases[] = {
      {"partial writes go on", {{kUsbOk, 100}, {kUsbOk, 300}}, 1, {100, 300, 112}, 1},
      {"removed reopens", {{kUsbDeviceRemoved, 12}}, 1, {12, 500}, 2},
      {"not open reopens", {{kUsbDeviceNotOpen, 0}}, 1, {0, 512}, 2},
      {"not responding is retried once", {{kUsbDeviceNotResponding, 0}}, 1, {0, 512}, 1},
      {"not responding twice fails",
       {{kUsbDeviceNotResponding, 0}, {kUsbDeviceNotResponding, 0}},
       0,
       {0, 0},
       1},
      {"other codes fail", {{0xE0000123, 10}}, 0, {10}, 1},
  };
  for (const auto& c : cases) {
    TestClock caseClock;
    auto owned = std::make_unique<ScriptedUsbDevice>(caseClock);
    ScriptedUsbDevice& scripted = *owned;
    UsbPrinter usb(std::move(owned), caseClock);
    UsbPort usbPort("USB", usb, caseClock);
    scripted.writeResults = c.results;
    std::vector<uint8_t> bytes(512, 0x41);
    EXPECT_EQ(usbPort.Write(bytes.data(), 512, 20000), c.expected) << c.name;
    EXPECT_EQ(scripted.writeSizes, c.sizes) << c.name;
    EXPECT_EQ(scripted.Count("open"), c.opens) << c.name;
  }
}

TEST_F(UsbPrinterTest, AChunkGivesUpAfter400Ms) {
  device->msPerWrite = 50;
  for (int i = 0; i < 20; ++i) device->writeResults.push_back({kUsbOk, 0});
  std::vector<uint8_t> bytes(10);
  int64_t start = clock.MonotonicMs();
  EXPECT_EQ(port->Write(bytes.data(), 10, 20000), 0);
  EXPECT_EQ(device->Count("write"), 9);  // at 0, 50, ... 400 ms
  EXPECT_LE(clock.MonotonicMs() - start, 450);
}

TEST_F(UsbPrinterTest, ReadStatusReactions) {
  const struct {
    const char* name;
    std::vector<UsbStatus> statuses;  // before the data answer
    int expected;
    int resets;
    int opens;
    UsbStatus lastError;
  } cases[] = {
      {"time-out is asked again", {kUsbRequestTimeout, kUsbRequestTimeout}, 1, 0, 1, kUsbOk},
      {"overrun is asked again", {kUsbDataOverrun}, 1, 0, 1, kUsbOk},
      {"not responding twice recovers",
       {kUsbDeviceNotResponding, kUsbDeviceNotResponding},
       1,
       2,
       1,
       kUsbOk},
      {"not responding three times fails",
       {kUsbDeviceNotResponding, kUsbDeviceNotResponding, kUsbDeviceNotResponding},
       0,
       2,
       1,
       kUsbDeviceNotResponding},
      {"removed reopens", {kUsbDeviceRemoved}, 1, 0, 2, kUsbOk},
      {"not open reopens", {kUsbDeviceNotOpen}, 1, 0, 2, kUsbOk},
      {"other codes fail", {0xE0000042}, 0, 0, 1, 0xE0000042},
  };
  for (const auto& c : cases) {
    TestClock caseClock;
    auto owned = std::make_unique<ScriptedUsbDevice>(caseClock);
    ScriptedUsbDevice& scripted = *owned;
    UsbPrinter usb(std::move(owned), caseClock);
    UsbPort usbPort("USB", usb, caseClock);
    ASSERT_EQ(usbPort.Open(0), 1);
    for (UsbStatus status : c.statuses) scripted.answers.push_back({status, {}});
    scripted.answers.push_back({kUsbOk, {0x06}});
    uint8_t byte = 0;
    EXPECT_EQ(usbPort.Read(&byte, 1, 2000), c.expected) << c.name;
    EXPECT_EQ(scripted.Count("reset"), c.resets) << c.name;
    EXPECT_EQ(scripted.Count("open"), c.opens) << c.name;
    EXPECT_EQ(usb.LastError(), c.lastError) << c.name;
  }
}

TEST_F(UsbPrinterTest, AReadFailsWhenTheRemovedDeviceDoesNotComeBack) {
  ASSERT_EQ(port->Open(0), 1);
  Status(kUsbDeviceRemoved);
  device->openResults = {kUsbNoSuchDeviceInstance, kUsbNoSuchDeviceInstance};
  uint8_t byte = 0;
  EXPECT_EQ(port->Read(&byte, 1, 2000), 0);
  EXPECT_FALSE(printer->IsOpen());
  EXPECT_EQ(printer->LastError(), kUsbNoSuchDeviceInstance);
}

TEST_F(UsbPrinterTest, DrainReadsUntilNothingComesAndEmptiesTheQueue) {
  Data({1, 2, 3, 4, 5, 6, 7, 8});
  Data({9, 10, 11});
  port->Drain(100, 3);
  EXPECT_EQ(device->reads, 2 + 4);  // the data, then the fourth signature ends it
  EXPECT_EQ(printer->SignatureLimit(), UsbPrinter::kDefaultSignatureLimit);
  EXPECT_EQ(printer->QueuedCount(), 0u);
}

TEST(UsbPrinterReader, ReadPendingHandsOutWhatTheReaderCollected) {
  TestClock scriptClock;
  auto owned = std::make_unique<ScriptedUsbDevice>(scriptClock);
  ScriptedUsbDevice& scripted = *owned;
  scripted.answers = {{kUsbOk, {1, 2, 3}}, {kUsbOk, {4, 5}}};
  UsbPrinter usb(std::move(owned), RealClock());
  UsbPort usbPort("USB", usb, RealClock());
  ASSERT_EQ(usbPort.Open(0), 1);
  std::vector<uint8_t> buffer(UsbPort::kPendingLimit);
  int total = 0;
  // The reader may need more than one look to bring both answers in.
  for (int look = 0; look < 50 && total < 5; ++look)
    total += usbPort.ReadPending(buffer.data() + total);
  EXPECT_EQ(total, 5);
  EXPECT_EQ(buffer[4], 5);
  EXPECT_FALSE(usbPort.ReaderEnded());
}

TEST(UsbPrinterReader, TheReaderEndsOnAnUnknownStatus) {
  TestClock scriptClock;
  auto owned = std::make_unique<ScriptedUsbDevice>(scriptClock);
  owned->answers = {{0xE0000077, {}}};
  UsbPrinter usb(std::move(owned), RealClock());
  usb.StartReader();
  for (int look = 0; look < 2000 && !usb.ReaderEnded(); ++look) RealClock().Sleep(1);
  EXPECT_TRUE(usb.ReaderEnded());
  EXPECT_EQ(usb.LastError(), 0xE0000077u);
}

}  // namespace
}  // namespace taloven
