#pragma once

#include <memory>
#include <string>

namespace taloven {

class Ui;
class ProgressView;

// The logic of the progress popup polled during long waits: range, position,
// percentage caption and the cancelled flag. Its window comes from the Ui.
class ProgressWindow {
 public:
  explicit ProgressWindow(Ui& ui);
  ~ProgressWindow();

  bool Create(const std::string& title, bool smooth);
  bool GoModal(const std::string& title, bool smooth);
  void SetRange(int lower, int upper, int step);
  void SetText(const std::string& message);
  int StepIt();
  int StepWrap();
  int SetPos(int position);
  // Lets pending events through; Escape cancels when cancelOnEscape. Returns
  // false when the application asked to quit.
  bool PeekAndPump(bool cancelOnEscape);
  void Cancel();
  void Destroy();

  bool Cancelled() const { return cancelled_; }
  int Position() const { return position_; }
  const std::string& Caption() const { return caption_; }

 private:
  void Show();

  Ui& ui_;
  std::unique_ptr<ProgressView> view_;
  std::string title_ = "Progresso";
  std::string caption_;
  int lower_ = 0, upper_ = 100, step_ = 1, position_ = 0;
  int lastPercent_ = -1;
  bool cancelled_ = false;
  bool modal_ = false;
};

}  // namespace taloven
