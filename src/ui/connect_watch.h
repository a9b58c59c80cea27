#pragma once

#include <memory>

#include "ui/wait_ui.h"

namespace taloven {

class Ui;

// The progress window of a connection that takes long enough to ask whether
// to go on ("Conectando..."), shown from the first question on, whose Cancel
// stops it; a local line never asks, and shows none.
class ConnectWatch {
 public:
  explicit ConnectWatch(Ui& ui) : ui_(ui) {}

  bool Cancelled();
  // Takes the window away, until the next question.
  void Close() { view_.reset(); }

 private:
  Ui& ui_;
  std::unique_ptr<ProgressView> view_;
};

}  // namespace taloven
