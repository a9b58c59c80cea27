#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "support/test_clock.h"
#include "usb/kovousbprinter.h"
#include "usb/usb_device.h"

namespace taloven::testing {

// A USB device that answers from a script and records each request. Read
// requests without a scripted answer get the no-data signature.
class ScriptedUsbDevice : public UsbDevice {
 public:
  struct Answer {
    UsbStatus status = kUsbOk;
    std::vector<uint8_t> bytes;
  };
  struct WriteResult {
    UsbStatus status = kUsbOk;
    int accepted = -1;  // bytes taken; -1 takes all
  };

  explicit ScriptedUsbDevice(TestClock& clock) : clock(clock) {}

  // Scripts, read by the device under test.
  bool listAvailable = true;
  std::deque<UsbStatus> openResults;  // empty: kUsbOk
  std::deque<Answer> answers;
  std::deque<WriteResult> writeResults;  // empty: all bytes taken
  int msPerRead = 0;                     // how long each read request takes
  int msPerWrite = 0;

  // Records.
  std::vector<std::string> calls;
  std::vector<int> writeSizes;
  std::vector<int64_t> openTimes;
  int reads = 0;

  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

  bool AcquireDeviceList() override {
    Log("list");
    return listAvailable;
  }
  void ReleaseDeviceList() override { Log("release"); }
  UsbStatus OpenFirstDevice() override {
    Log("open");
    openTimes.push_back(clock.MonotonicMs());
    return Pop(openResults, kUsbOk);
  }
  void CloseDevice() override { Log("close"); }
  UsbStatus SetConfiguration(const UsbConfiguration& configuration) override {
    Log("configure " + std::to_string(configuration.interfaceNumber) + " " +
        std::to_string(configuration.maximumTransferSize));
    return kUsbOk;
  }
  UsbStatus BindPipe(uint8_t endpointAddress) override {
    Log("bind " + std::to_string(endpointAddress));
    return kUsbOk;
  }
  void UnbindPipe() override { Log("unbind"); }
  UsbStatus Write(const uint8_t*, int count, int* written, int) override {
    Log("write");
    if (msPerWrite > 0) clock.Advance(msPerWrite);
    WriteResult result = Pop(writeResults, WriteResult{});
    *written = result.accepted < 0 ? count : std::min(result.accepted, count);
    writeSizes.push_back(*written);
    return result.status;
  }
  UsbStatus ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) override {
    std::lock_guard lock(mutex);
    calls.push_back("read " + std::to_string(requestCode));
    ++reads;
    if (msPerRead > 0) clock.Advance(msPerRead);
    Answer answer = answers.empty() ? Answer{kUsbOk, Signature()} : answers.front();
    if (!answers.empty()) answers.pop_front();
    std::copy(answer.bytes.begin(), answer.bytes.end(), buffer);
    *received = static_cast<int>(answer.bytes.size());
    return answer.status;
  }
  UsbStatus ResetDevice() override {
    Log("reset");
    return kUsbOk;
  }
  UsbStatus ResetPipe() override {
    Log("reset pipe");
    return kUsbOk;
  }

  static std::vector<uint8_t> Signature() {
    return {UsbPrinter::kSignature.begin(), UsbPrinter::kSignature.end()};
  }

 private:
  template <typename T>
  static T Pop(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
  void Log(std::string call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
  }

  TestClock& clock;
  std::mutex mutex;
};

}  // namespace taloven::testing
