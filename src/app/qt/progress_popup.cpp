#include "app/qt/progress_popup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt/busy_windows.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

constexpr int kMessageLines = 4;
constexpr int kMargin = 10;

}  // namespace

ProgressPopup::ProgressPopup(QWidget* owner, const QString& title)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      message_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral(" Cancelar "), this)) {
  // Not a child of the owner: the owner is disabled while this is modal, and
  // a disabled parent would disable this window and its Cancel button too.
  // Modal for the whole application: the waits run under modal dialogs (the
  // command dialog, the sequences window), and a window shown beside a modal
  // dialog gets none of the user's clicks and keys.
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(title);
  setCursor(Qt::BusyCursor);
  setFont(QApplication::font("QMessageBox"));
  setFixedSize(kWidth, kHeight);

  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(false);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setMinimumHeight(message_->fontMetrics().lineSpacing() * kMessageLines);
  bar_->setTextVisible(false);
  cancel_->setAutoDefault(false);
  cancel_->setCursor(Qt::ArrowCursor);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(message_, 1);
  auto* row = new QHBoxLayout;
  row->addWidget(bar_, 1);
  row->addWidget(cancel_);
  layout->addLayout(row);

  const QRect area = owner && owner->isVisible() ? owner->window()->frameGeometry()
                     : screen()                  ? screen()->availableGeometry()
                                                 : QRect();
  if (area.isValid()) move(area.center() - rect().center());
  BusyWindows::Add(this);
}

ProgressPopup::~ProgressPopup() {
  BusyWindows::Remove(this);
}

void ProgressPopup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit escapePressed();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ProgressPopup::closeEvent(QCloseEvent* event) {
  if (event->spontaneous()) emit closedByUser();
  QWidget::closeEvent(event);
}

ProgressPopupView::ProgressPopupView(QWidget* owner, const QString& title)
    : owner_(owner), ownerShown_(OwnerShown()), popup_(new ProgressPopup(owner, title)) {
  connect(popup_, &ProgressPopup::escapePressed, this, [this] { pending_.escapePressed = true; });
  connect(popup_, &ProgressPopup::closedByUser, this, [this] { pending_.cancelClicked = true; });
  connect(popup_->CancelButton(), &QPushButton::clicked, this,
          [this] { pending_.cancelClicked = true; });
  qApp->installEventFilter(this);
  popup_->show();
  popup_->raise();
  // Escape reaches the window that has the keyboard.
  popup_->activateWindow();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ProgressPopupView::~ProgressPopupView() {
  qApp->removeEventFilter(this);
  SetModal(false);
  delete popup_.data();
}

QWidget* ProgressPopupView::OwnerWindow() const {
  return owner_ ? owner_->window() : nullptr;
}

bool ProgressPopupView::OwnerShown() const {
  QWidget* owner = OwnerWindow();
  return owner && owner->isVisible();
}

void ProgressPopupView::SetCaption(const std::string& caption) {
  if (popup_) popup_->setWindowTitle(ToQt(caption));
}

void ProgressPopupView::SetMessage(const std::string& message) {
  if (popup_) popup_->MessageLabel()->setText(ToQt(message));
}

void ProgressPopupView::SetRange(int lower, int upper) {
  if (popup_) popup_->Bar()->setRange(lower, upper);
}

void ProgressPopupView::SetPosition(int position) {
  if (popup_) popup_->Bar()->setValue(position);
}

void ProgressPopupView::SetModal(bool modal) {
  if (modal) {
    QWidget* owner = OwnerWindow();
    if (owner && owner->isEnabled() && !disabledOwner_) {
      owner->setEnabled(false);
      disabledOwner_ = owner;
    }
    if (popup_) {
      popup_->setEnabled(true);
      popup_->activateWindow();
    }
  } else if (disabledOwner_) {
    disabledOwner_->setEnabled(true);
    disabledOwner_ = nullptr;
  }
}

void ProgressPopupView::Hide() {
  if (popup_) popup_->hide();
  if (QWidget* owner = OwnerWindow()) {
    owner->raise();
    owner->activateWindow();
  }
}

ProgressEvents ProgressPopupView::Pump() {
  if (popup_ && disabledOwner_ && popup_->isVisible()) {
    popup_->activateWindow();
    popup_->setFocus();
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // The main window closed under the wait (by its close box): the program is
  // ending, the waiting code must let go.
  if (ownerShown_ && !OwnerShown()) pending_.quitRequested = true;
  const ProgressEvents events = pending_;
  pending_.escapePressed = pending_.cancelClicked = false;
  return events;
}

bool ProgressPopupView::eventFilter(QObject* watched, QEvent* event) {
  // Only noted: the quit goes on to the application, which ends the main
  // loop once the waiting code has returned to it.
  if (event->type() == QEvent::Quit && watched == qApp) pending_.quitRequested = true;
  return QObject::eventFilter(watched, event);
}

}  // namespace taloven
