#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "ui/ui.h"

namespace taloven {

// A window with one line of text, shown until its creator lets it go.
// Serves the wait window and the connection window; the text label carries
// the objectName the caller gives. A plain one is modeless with nothing to
// click. A cancellable one has "Cancelar" (objectName "cancel") and is
// modal: the other windows refuse the user's input while it is up.
class WaitWindow : public QWidget {
  Q_OBJECT
 public:
  WaitWindow(QWidget* owner, const QString& text, const QString& labelName,
             bool cancellable = false);
  ~WaitWindow() override;
  void SetText(const QString& text);
  QString Text() const;
  // A bar below the text, shown from the first call on; total 0 when unknown.
  void SetProgress(long long done, long long total);
  const QProgressBar* Bar() const { return bar_; }
  QPushButton* CancelButton() const { return cancel_; }
  // Whether "Cancelar", Escape or the close box asked the work to stop.
  bool Cancelled() const { return cancelled_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Cancel();

  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* cancel_ = nullptr;
  bool cancelled_ = false;
};

// The Ui's handle on a WaitWindow: destroying it closes the window.
class WaitWindowHandle : public WaitHandle {
 public:
  explicit WaitWindowHandle(WaitWindow* window) : window_(window) {}
  ~WaitWindowHandle() override;
  void SetText(const std::string& text) override;
  void Hide() override;
  void SetProgress(long long done, long long total) override;
  bool CancelRequested() override;
  WaitWindow* Window() const { return window_; }

 private:
  QPointer<WaitWindow> window_;
  QElapsedTimer sinceLook_;
};

}  // namespace taloven
