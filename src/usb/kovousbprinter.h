#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "usb/usb_device.h"

namespace taloven {

class Clock;

// The USB printer as one object for the whole process. The device stays open
// between commands; reply bytes arrive through control requests of at most
// eight bytes and wait in a queue until a read takes them.
class UsbPrinter {
 public:
  static constexpr int MAX_READ_SIZE = UsbDevice::kControlReadSize;
  static constexpr int kChunkSize = 512;
  static constexpr int kChunkDeadlineMs = 400;
  static constexpr int kDefaultSignatureLimit = 700;
  static constexpr int kRecoveryPauseMs = 200;
  static constexpr uint8_t kReadRequest = 0x81;
  static constexpr uint8_t kAlternativeReadRequest = 0x80;
  static constexpr uint8_t kWriteEndpoint = 0x02;
  // The answer that means "nothing to send"; it is never queued.
  static constexpr std::array<uint8_t, 8> kSignature = {'K', 'O', 'V', 'O', 'O', 'V', 'O', 'K'};

  UsbPrinter(std::unique_ptr<UsbDevice> device, Clock& clock);
  ~UsbPrinter();
  UsbPrinter(const UsbPrinter&) = delete;
  UsbPrinter& operator=(const UsbPrinter&) = delete;

  bool EnsureOpen();
  void CloseDevice();

  // Sends one chunk (at most kChunkSize bytes are meant) within the chunk
  // deadline; *sent tells how many bytes went out.
  bool SendChunk(const uint8_t* bytes, int count, int* sent);

  // Takes up to count bytes from the queue, asking the device for more while
  // too few are queued. timeoutMs < 0 waits without limit. Returns 1 when
  // count bytes were delivered, 0 when the read ended early; *received holds
  // the number delivered either way.
  int ReadQueued(uint8_t* buffer, int count, int* received, int timeoutMs, bool alternative);

  // Empties the queue, letting a running background reader settle first.
  void ClearQueue();

  // The background reader fills the queue while it runs.
  void StartReader();
  void PauseReader();
  bool ReaderEnded() const;

  size_t QueuedCount() const;
  // Hands out the whole queue when it holds at most limit bytes, otherwise
  // discards it; returns the number handed out.
  int TakeQueued(uint8_t* buffer, size_t limit);

  int SignatureLimit() const { return signatureLimit; }
  void SetSignatureLimit(int limit) { signatureLimit = limit; }
  UsbStatus LastError() const { return lastError; }
  bool IsOpen() const;

 private:
  bool OpenOnce(UsbStatus* status);
  UsbStatus Request(uint8_t requestCode, uint8_t* answer, int* received);
  bool Reopen();
  void Recover();
  bool IsSignature(const uint8_t* answer, int length) const;
  void Enqueue(const uint8_t* bytes, int count);
  void ReaderLoop();
  void SetRunEvent(bool signalled);

  std::unique_ptr<UsbDevice> device;
  Clock& clock;

  mutable std::recursive_mutex deviceLock;  // one device request at a time
  bool open = false;
  bool deviceListHeld = false;
  bool pipeBound = false;
  std::atomic<UsbStatus> lastError{kUsbOk};
  std::atomic<int> signatureLimit{kDefaultSignatureLimit};

  mutable std::mutex queueLock;
  std::vector<uint8_t> m_pilha;

  std::mutex runLock;
  std::condition_variable runChanged;
  bool runEvent = false;
  std::atomic<bool> stopFlag{false};
  std::atomic<bool> readerEnded{true};
  std::thread reader;
};

}  // namespace taloven
