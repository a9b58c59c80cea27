#pragma once

#include <memory>
#include <string>

namespace taloven {

// A window that stays up while its owner works; closed when destroyed.
// Where a wait shows no text or no bar, the text and progress go nowhere.
class WaitHandle {
 public:
  virtual ~WaitHandle() = default;
  virtual void SetText(const std::string&) {}
  virtual void Hide() {}
  // How far a long transfer has come, below the text; total 0 when unknown.
  virtual void SetProgress(long long /*done*/, long long /*total*/) {}
  // Lets the user reach the window's "Cancelar", where it has one, and tells
  // whether it was pressed since the window opened.
  virtual bool CancelRequested() { return false; }
};

// What the user did to a progress window since the last poll.
struct ProgressEvents {
  bool escapePressed = false;
  bool cancelClicked = false;
  bool quitRequested = false;  // the application is closing: stop polling
};

// The visible part of a progress window; its logic is ProgressWindow. Only
// the poll is required: a view that draws nothing keeps the rest as it is.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetCaption(const std::string&) {}
  virtual void SetMessage(const std::string&) {}
  virtual void SetRange(int /*lower*/, int /*upper*/) {}
  virtual void SetPosition(int) {}
  virtual void SetModal(bool) {}  // disables or re-enables the owner
  virtual void Hide() {}
  // Lets pending window events through and reports what the user did.
  virtual ProgressEvents Pump() = 0;
  // False once the window is gone (closed by the desktop).
  virtual bool Exists() const { return true; }
};

// Waits and progress: what keeps the user informed, and the interface
// alive, while the logic works.
class WaitUi {
 public:
  virtual ~WaitUi() = default;

  // Modeless windows closed by destroying the handle. An empty text shows
  // "Aguarde......".
  virtual std::unique_ptr<WaitHandle> ShowWait(const std::string& text) = 0;
  virtual std::unique_ptr<WaitHandle> ShowConnection(const std::string& text) = 0;
  // A wait window with "Cancelar", for long work that looks at it where it
  // reports its progress; the other windows refuse input, rather than queue
  // it, while it is up. Where there is no such window, a plain wait.
  virtual std::unique_ptr<WaitHandle> ShowCancellableWait(const std::string& text) {
    return ShowWait(text);
  }
  virtual std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) = 0;

  // Keeps the interface alive for about ms milliseconds without using the CPU.
  virtual void Pause(int ms) = 0;
};

}  // namespace taloven
