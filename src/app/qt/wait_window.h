#pragma once

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <string>

#include "ui/ui.h"

namespace taloven {

// A modeless window with one line of text and nothing to click, shown until
// its creator lets it go. Serves both the wait window and the connection
// window; the text label carries the objectName the caller gives.
class WaitWindow : public QWidget {
  Q_OBJECT
 public:
  WaitWindow(QWidget* owner, const QString& text, const QString& labelName);
  void SetText(const QString& text);
  QString Text() const;
  // A bar below the text, shown from the first call on; total 0 when unknown.
  void SetProgress(long long done, long long total);
  const QProgressBar* Bar() const { return bar_; }

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

// The Ui's handle on a WaitWindow: destroying it closes the window.
class WaitWindowHandle : public WaitHandle {
 public:
  explicit WaitWindowHandle(WaitWindow* window) : window_(window) {}
  ~WaitWindowHandle() override;
  void SetText(const std::string& text) override;
  void Hide() override;
  void SetProgress(long long done, long long total) override;
  WaitWindow* Window() const { return window_; }

 private:
  QPointer<WaitWindow> window_;
};

}  // namespace taloven
