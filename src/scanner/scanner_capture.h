#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "scanner/capture_state.h"
#include "scanner/scanner_port.h"
#include "scanner/scanner_settings.h"
#include "ui/ui.h"

namespace taloven {

// What a capture tells the window it runs in. Every call comes from the
// reader thread: a window hands it over to its own thread before touching
// anything of its own.
class CaptureListener {
 public:
  virtual ~CaptureListener() = default;
  // The display texts changed; read them with ScannerCapture::Display().
  virtual void Refresh() = 0;
  // A symbol was taken. There may be no sound to make; that is no error.
  virtual void Beep() = 0;
  // Every symbol of the set is in and the reader has ended: the window
  // tells the user and stops the capture.
  virtual void AllRead() = 0;
  // The line hung up or kept failing and the reader has ended; the status
  // says so once. The window stops the capture, keeping what was read.
  virtual void LineLost() = 0;
};

// How long the reader waits: for the rest of a symbol once its first bytes
// came, and after each symbol before it watches the line again.
struct ReaderTiming {
  int settleMs = 100;
  int rearmMs = 1500;
};

// Failures of the line in a row, each followed by a re-arm, after which the
// capture gives the line up.
constexpr int kScannerLineFailuresToEnd = 3;

// The answers a caller gives the stop flow in place of asking the user.
struct StopAnswers {
  bool savePartial = false;
  std::string path;
};

struct StopResult {
  bool backToCapture = false;  // the user chose to go on reading
  bool saved = false;
  std::string path;
  std::string why;  // Windows-1252: why nothing was saved
};

// One capture of PDF-417 symbols from a serial scanner into an MFD file:
// opening the line, a reader thread that judges each symbol, and the stop
// flow that saves what was read. Start, Stop and Close run on the window's
// thread; the state they share with the reader is locked.
class ScannerCapture {
 public:
  ScannerCapture(Ui& ui, CaptureListener& listener) : ui_(ui), listener_(listener) {}
  ~ScannerCapture();
  ScannerCapture(const ScannerCapture&) = delete;
  ScannerCapture& operator=(const ScannerCapture&) = delete;

  void SetTiming(const ReaderTiming& timing) { timing_ = timing; }

  // Opens the line (the user may retry a failure), clears the symbols and
  // starts the reader. false when the line stayed closed. A connection under
  // way asks cancelled between its steps (else the progress window of the
  // Ui, shown once it takes a while); a cancelled one is not retried.
  bool Start(const ScannerSettings& settings, const std::function<bool()>& cancelled = nullptr);
  // The stop flow: asks about an incomplete set (unless answers are given),
  // saves, closes the line.
  StopResult Stop(const std::optional<StopAnswers>& answers = std::nullopt);
  // Stops the reader and closes the line, asking to retry a failure.
  void ClosePort();

  bool IsCapturing() const { return port_.IsOpen(); }
  CaptureDisplay Display() const;
  uint32_t ReadCount() const;

 private:
  void Read();
  bool WaitQuiet(int ms);
  int Queued() const;
  void TakeQueued();
  void JudgeBuffer();
  void StopReader();
  void PortError(const std::string& text);

  Ui& ui_;
  CaptureListener& listener_;
  ReaderTiming timing_;
  std::string portName_;
  ScannerPort port_;

  mutable std::mutex lock_;
  CaptureState state_;

  // The reader's own: the receive buffer and whether a symbol overflowed it.
  std::string buffer_;
  bool overflowed_ = false;
  std::thread reader_;
  int wake_[2] = {-1, -1};  // written to stop the reader's wait
  std::atomic<bool> stopping_{false};
};

}  // namespace taloven
