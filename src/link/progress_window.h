#pragma once

#include <memory>
#include <string>

namespace taloven {

class Ui;
class ProgressView;

// The logic of the progress popup polled during long waits: range, position,
// percentage caption and the cancelled flag. Its window comes from the Ui.
// Once the window is gone (destroyed, or closed by the desktop) every
// operation does nothing; StepIt, StepWrap and SetPos return the stored
// position.
class ProgressWindow {
 public:
  explicit ProgressWindow(Ui& ui);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows the window with its caption; false when the Ui gave no window.
  bool Create(const std::string& title, bool smooth);
  // Creates the window if needed and disables its owner while it is up.
  bool GoModal(const std::string& title, bool smooth);
  void SetRange(int lower, int upper, int step);
  void SetText(const std::string& message);
  // Advances by the step; the caption shows the percentage when it changes.
  int StepIt();
  // Advances by the step and wraps at the upper end, without a percentage:
  // for waits whose length nobody knows.
  int StepWrap();
  int SetPos(int position);
  // Lets pending events through; Escape cancels when cancelOnEscape, the
  // Cancel button always. Returns false when the application asked to quit,
  // so the caller can stop and let the main loop close.
  bool PeekAndPump(bool cancelOnEscape);
  void Cancel();
  void Destroy();

  bool Cancelled() const { return cancelled_; }
  bool Exists() const;
  int Position() const { return position_; }
  const std::string& Caption() const { return caption_; }

 private:
  Ui& ui_;
  std::unique_ptr<ProgressView> view_;
  std::string title_;
  std::string caption_;
  int lower_ = 0, upper_ = 100, step_ = 1, position_ = 0;
  int lastPercent_ = 0;
  bool cancelled_ = false;
  bool modal_ = false;
};

}  // namespace taloven
