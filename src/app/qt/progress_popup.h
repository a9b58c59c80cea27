#pragma once

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "ui/ui.h"

namespace taloven {

// The small topmost window polled during long waits: a message of up to four
// lines, a progress bar and " Cancelar ".
class ProgressPopup : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 390;
  static constexpr int kHeight = 130;

  ProgressPopup(QWidget* owner, const QString& title);
  ~ProgressPopup() override;

  QLabel* MessageLabel() const { return message_; }
  QProgressBar* Bar() const { return bar_; }
  QPushButton* CancelButton() const { return cancel_; }

 signals:
  void escapePressed();
  // The desktop's close box: taken as a cancel, never as a silent end.
  void closedByUser();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* message_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};

// The Ui's progress view on a ProgressPopup. While it is modal the owner's
// window is disabled. Pump lets pending Qt events through and reports what
// the user did meanwhile; a request to quit the application is reported and
// left in force, so the main loop still ends when control gets back to it.
class ProgressPopupView : public QObject, public ProgressView {
  Q_OBJECT
 public:
  ProgressPopupView(QWidget* owner, const QString& title);
  ~ProgressPopupView() override;

  void SetCaption(const std::string& caption) override;
  void SetMessage(const std::string& message) override;
  void SetRange(int lower, int upper) override;
  void SetPosition(int position) override;
  void SetModal(bool modal) override;
  void Hide() override;
  ProgressEvents Pump() override;
  bool Exists() const override { return !popup_.isNull(); }

  ProgressPopup* Popup() const { return popup_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* OwnerWindow() const;
  bool OwnerShown() const;

  QPointer<QWidget> owner_;
  bool ownerShown_;  // when the view came up; its closing means the program ends
  QPointer<ProgressPopup> popup_;
  QPointer<QWidget> disabledOwner_;
  ProgressEvents pending_;
};

}  // namespace taloven
