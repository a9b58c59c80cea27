#include "link/progress_window.h"

#include <cstdio>

#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {

namespace {}

ProgressWindow::ProgressWindow(Ui& ui) : ui_(ui), title_(Str(StrId::kProgress)) {}

ProgressWindow::~ProgressWindow() {
  Destroy();
}

bool ProgressWindow::Exists() const {
  return view_ && view_->Exists();
}

bool ProgressWindow::Create(const std::string& title, bool smooth) {
  if (view_) return true;
  if (!title.empty()) title_ = title;
  view_ = ui_.CreateProgress(title_, smooth);
  if (!view_) return false;
  caption_ = title_;
  view_->SetCaption(caption_);
  view_->SetRange(lower_, upper_);
  view_->SetPosition(position_);
  return true;
}

bool ProgressWindow::GoModal(const std::string& title, bool smooth) {
  if (!view_ && !Create(title, smooth)) return false;
  if (!Exists()) return false;
  view_->SetModal(true);
  modal_ = true;
  return true;
}

void ProgressWindow::SetRange(int lower, int upper, int step) {
  if (!Exists()) return;
  lower_ = lower;
  upper_ = upper;
  step_ = step;
  view_->SetRange(lower, upper);
}

void ProgressWindow::SetText(const std::string& message) {
  if (Exists()) view_->SetMessage(message);
}

int ProgressWindow::StepIt() {
  if (!Exists()) return position_;
  return SetPos(position_ + step_);
}

int ProgressWindow::StepWrap() {
  if (!Exists()) return position_;
  position_ = upper_ != 0 ? (position_ + step_) % upper_ : 0;
  view_->SetPosition(position_);
  return position_;
}

int ProgressWindow::SetPos(int position) {
  if (!Exists()) return position_;
  position_ = position;
  int percent = 0;
  if (lower_ < upper_) {
    percent =
        static_cast<int>(static_cast<double>(position - lower_) * 100.0 / (upper_ - lower_) + 0.5);
  }
  if (percent != lastPercent_) {
    lastPercent_ = percent;
    char caption[512];
    std::snprintf(caption, sizeof caption, "%s [%d%%]", title_.c_str(), percent);
    caption_ = caption;
    view_->SetCaption(caption_);
  }
  view_->SetPosition(position_);
  return position_;
}

bool ProgressWindow::PeekAndPump(bool cancelOnEscape) {
  if (!Exists() || cancelled_) return true;
  const ProgressEvents events = view_->Pump();
  if ((cancelOnEscape && events.escapePressed) || events.cancelClicked) Cancel();
  return !events.quitRequested;
}

void ProgressWindow::Cancel() {
  cancelled_ = true;
  if (Exists()) view_->Hide();
}

void ProgressWindow::Destroy() {
  if (!view_) return;
  if (modal_ && view_->Exists()) view_->SetModal(false);
  modal_ = false;
  view_.reset();
}

}  // namespace taloven
