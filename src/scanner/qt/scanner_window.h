#pragma once

#include <QDialog>
#include <memory>

#include "scanner/scanner_capture.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace taloven {

class Ui;

// Hands the reader thread's calls over to the window's thread: each
// becomes a queued signal, so no widget is ever touched from the reader.
class CaptureSignals : public QObject, public CaptureListener {
  Q_OBJECT
 public:
  void Refresh() override { emit refreshRequested(); }
  void Beep() override { emit beepRequested(); }
  void AllRead() override { emit allReadRequested(); }
  void LineLost() override { emit lineLostRequested(); }

 signals:
  void refreshRequested();
  void beepRequested();
  void allReadRequested();
  void lineLostRequested();
};

// The "pdf 417" window: captures the symbols a serial scanner reads and
// saves them as an MFD file. Closing it while capturing runs the stop flow.
class ScannerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ScannerWindow(Ui& ui, QWidget* parent = nullptr);
  ~ScannerWindow() override;

  // The pauses of the reader (shortened by tests).
  void SetTiming(const ReaderTiming& timing) { capture_.SetTiming(timing); }

  void done(int result) override;

 private:
  void Configure();
  void StartCapture();
  void StopCapture();
  void AllRead();
  void LineLost();
  void ShowState();

  Ui& ui_;
  CaptureSignals signals_;
  ScannerCapture capture_;
  QLineEdit* setSize_;
  QLineEdit* readCount_;
  QLabel* status_;
  QTextEdit* dump_;
  QPushButton* configure_;
  QPushButton* start_;
  QPushButton* stop_;
  bool stopping_ = false;
  bool allReadPending_ = false;
  bool lineLostPending_ = false;
};

// Opens the one "pdf 417" window of the run over parent, modal like the
// windows it is opened from; it keeps its texts between openings.
void OpenScannerWindow(Ui& ui, QWidget* parent);

}  // namespace taloven
