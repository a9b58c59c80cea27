#include "usb/kovousbprinter.h"

#include <algorithm>
#include <cstring>

#include "link/clock.h"

namespace taloven {

namespace {

constexpr size_t kQueueReserve = 10240;
constexpr int kOpenAttempts = 2;
constexpr int kReadRecoveries = 3;  // counted down; two retries in all
constexpr int kReaderRecoveries = 99;
constexpr int kMinimumWriteWaitMs = 100;

}  // namespace

UsbPrinter::UsbPrinter(std::unique_ptr<UsbDevice> device, Clock& clock)
    : device(std::move(device)), clock(clock) {
  m_pilha.reserve(kQueueReserve);
}

UsbPrinter::~UsbPrinter() {
  stopFlag = true;
  SetRunEvent(true);
  if (reader.joinable()) reader.join();
  CloseDevice();
}

bool UsbPrinter::IsOpen() const {
  std::lock_guard lock(deviceLock);
  return open;
}

bool UsbPrinter::EnsureOpen() {
  std::lock_guard lock(deviceLock);
  if (open) return true;
  for (int attemptsLeft = kOpenAttempts;;) {
    UsbStatus status = kUsbOk;
    CloseDevice();
    if (!device->AcquireDeviceList()) {
      lastError = kUsbNoDeviceList;
      return false;
    }
    deviceListHeld = true;
    if (OpenOnce(&status)) return true;
    if (--attemptsLeft > 0) {
      Recover();
      clock.Sleep(kRecoveryPauseMs);
      continue;
    }
    lastError = status;
    return false;
  }
}

bool UsbPrinter::OpenOnce(UsbStatus* status) {
  *status = device->OpenFirstDevice();
  if (*status != kUsbOk) return false;
  *status = device->SetConfiguration(UsbConfiguration{});
  if (*status != kUsbOk) return false;
  *status = device->BindPipe(kWriteEndpoint);
  if (*status != kUsbOk) return false;
  pipeBound = true;
  open = true;
  return true;
}

void UsbPrinter::CloseDevice() {
  std::lock_guard lock(deviceLock);
  if (pipeBound) device->UnbindPipe();
  pipeBound = false;
  device->CloseDevice();
  if (deviceListHeld) device->ReleaseDeviceList();
  deviceListHeld = false;
  open = false;
}

bool UsbPrinter::Reopen() {
  // The device's word counts over the open flag: a device that says it is
  // not open is opened afresh, not taken as open.
  CloseDevice();
  return EnsureOpen();
}

void UsbPrinter::Recover() {
  std::lock_guard lock(deviceLock);
  device->ResetDevice();
  device->ResetPipe();
}

UsbStatus UsbPrinter::Request(uint8_t requestCode, uint8_t* answer, int* received) {
  std::lock_guard lock(deviceLock);
  *received = 0;
  UsbStatus status = device->ControlRead(requestCode, answer, received);
  // No answer is taken as longer than one request can carry.
  *received = std::clamp(*received, 0, MAX_READ_SIZE);
  return status;
}

bool UsbPrinter::IsSignature(const uint8_t* answer, int length) const {
  return length == static_cast<int>(kSignature.size()) &&
         std::memcmp(answer, kSignature.data(), kSignature.size()) == 0;
}

void UsbPrinter::Enqueue(const uint8_t* bytes, int count) {
  std::lock_guard lock(queueLock);
  m_pilha.insert(m_pilha.end(), bytes, bytes + count);
}

bool UsbPrinter::SendChunk(const uint8_t* bytes, int count, int* sent) {
  *sent = 0;
  std::vector<uint8_t> transfer(bytes, bytes + count);
  if (!EnsureOpen()) return false;

  const int64_t deadline = clock.MonotonicMs() + kChunkDeadlineMs;
  bool retriedNotResponding = false;
  int total = 0;
  while (true) {
    int64_t now = clock.MonotonicMs();
    if (now > deadline) break;
    // The wait for one transfer is bounded too: a device that never takes
    // the bytes must not hold the program for ever.
    int waitMs = std::max<int>(kMinimumWriteWaitMs, static_cast<int>(deadline - now));
    int written = 0;
    UsbStatus status;
    {
      std::lock_guard lock(deviceLock);
      status = device->Write(transfer.data() + total, count - total, &written, waitMs);
    }
    total += std::clamp(written, 0, count - total);
    if (status == kUsbOk) {
      if (total == count) break;
      continue;
    }
    lastError = status;
    if (status == kUsbDeviceRemoved || status == kUsbDeviceNotOpen) {
      if (!Reopen()) break;
    } else if (status == kUsbDeviceNotResponding && !retriedNotResponding) {
      retriedNotResponding = true;
      Recover();
      clock.Sleep(kRecoveryPauseMs);
    } else {
      break;
    }
  }
  *sent = total;
  return total == count;
}

int UsbPrinter::ReadQueued(uint8_t* buffer, int count, int* received, int timeoutMs,
                           bool alternative) {
  *received = 0;
  const bool limited = timeoutMs >= 0;
  const int64_t deadline = clock.MonotonicMs() + (limited ? timeoutMs : 0);
  const uint8_t requestCode = alternative ? kAlternativeReadRequest : kReadRequest;
  int have = static_cast<int>(QueuedCount());
  int noData = 0;
  int recoveriesLeft = kReadRecoveries;
  int complete = 1;

  while (have < count) {
    if (limited && (clock.MonotonicMs() > deadline || noData > signatureLimit)) {
      complete = 0;
      break;
    }
    uint8_t answer[MAX_READ_SIZE];
    int length = 0;
    UsbStatus status = Request(requestCode, answer, &length);
    if (status == kUsbOk) {
      if (length == 0 || IsSignature(answer, length)) {
        ++noData;
        clock.Sleep(1);
      } else {
        noData = 0;
        Enqueue(answer, length);
        have += length;
      }
      continue;
    }
    if (status == kUsbRequestTimeout || status == kUsbDataOverrun) continue;
    if (status == kUsbDeviceRemoved || status == kUsbDeviceNotOpen) {
      if (Reopen()) continue;
      return 0;
    }
    if (status == kUsbDeviceNotResponding && --recoveriesLeft > 0) {
      Recover();
      clock.Sleep(kRecoveryPauseMs);
      continue;
    }
    lastError = status;
    return 0;
  }

  std::lock_guard lock(queueLock);
  int n = std::min<int>(count, static_cast<int>(m_pilha.size()));
  std::copy_n(m_pilha.begin(), n, buffer);
  m_pilha.erase(m_pilha.begin(), m_pilha.begin() + n);
  *received = n;
  return complete;
}

size_t UsbPrinter::QueuedCount() const {
  std::lock_guard lock(queueLock);
  return m_pilha.size();
}

int UsbPrinter::TakeQueued(uint8_t* buffer, size_t limit) {
  std::lock_guard lock(queueLock);
  size_t n = m_pilha.size();
  if (n <= limit)
    std::copy_n(m_pilha.begin(), n, buffer);
  else
    n = 0;
  m_pilha.clear();
  return static_cast<int>(n);
}

void UsbPrinter::ClearQueue() {
  if (QueuedCount() > 0 && !ReaderEnded()) {
    // Let the reader bring in what the device still holds, so that nothing
    // of the discarded reply arrives after the queue was emptied.
    SetRunEvent(true);
    clock.Sleep(5);
    for (size_t before = QueuedCount();;) {
      std::this_thread::yield();
      size_t after = QueuedCount();
      if (after == before) break;
      before = after;
    }
    // The command thread reads on its own from here on.
    PauseReader();
  }
  std::lock_guard lock(queueLock);
  m_pilha.clear();
}

void UsbPrinter::SetRunEvent(bool signalled) {
  {
    std::lock_guard lock(runLock);
    runEvent = signalled;
  }
  runChanged.notify_all();
}

void UsbPrinter::StartReader() {
  if (ReaderEnded()) {
    if (reader.joinable()) reader.join();
    readerEnded = false;
    reader = std::thread([this] { ReaderLoop(); });
  }
  SetRunEvent(true);
}

void UsbPrinter::PauseReader() {
  SetRunEvent(false);
}

bool UsbPrinter::ReaderEnded() const {
  return readerEnded;
}

void UsbPrinter::ReaderLoop() {
  int recoveriesLeft = kReaderRecoveries;
  while (true) {
    {
      std::unique_lock lock(runLock);
      runChanged.wait(lock, [this] { return runEvent; });
    }
    if (stopFlag) break;
    uint8_t answer[MAX_READ_SIZE];
    int length = 0;
    UsbStatus status = Request(kReadRequest, answer, &length);
    if (status == kUsbOk) {
      recoveriesLeft = kReaderRecoveries;
      if (length == 0 || IsSignature(answer, length))
        clock.Sleep(1);
      else
        Enqueue(answer, length);
      continue;
    }
    if (status == kUsbRequestTimeout || status == kUsbDataOverrun) continue;
    if (status == kUsbDeviceRemoved || status == kUsbDeviceNotOpen) {
      if (Reopen()) continue;
      break;
    }
    if (status == kUsbDeviceNotResponding && recoveriesLeft-- > 0) {
      Recover();
      clock.Sleep(kRecoveryPauseMs);
      continue;
    }
    lastError = status;
    break;
  }
  readerEnded = true;
}

}  // namespace taloven
