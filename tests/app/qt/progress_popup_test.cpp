#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <QtTest>
#include <memory>

#include "app/qt/progress_popup.h"
#include "app/qt/qt_ui.h"
#include "link/progress_window.h"

namespace taloven {

class ProgressPopupTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> owner_;
  std::unique_ptr<ProgressView> view_;

  ProgressPopup* Popup() const { return static_cast<ProgressPopupView*>(view_.get())->Popup(); }

 private slots:
  void init() {
    owner_ = std::make_unique<QWidget>();
    owner_->resize(800, 600);
    owner_->show();
    QtUi ui(owner_.get());
    view_ = ui.CreateProgress("Progresso", false);
    QVERIFY(view_->Exists());
  }

  void cleanup() {
    view_.reset();
    owner_.reset();
  }

  void isASmallTopmostPopupWithMessageBarAndCancel() {
    ProgressPopup* popup = Popup();
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->size(), QSize(390, 130));
    QCOMPARE(popup->windowTitle(), QStringLiteral("Progresso"));
    QVERIFY(popup->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(popup->CancelButton()->text(), QStringLiteral(" Cancelar "));

    view_->SetCaption("Progresso [50%]");
    view_->SetMessage("Aguardando resposta\r\nlinha 2");
    view_->SetRange(0, 200);
    view_->SetPosition(100);
    QCOMPARE(popup->windowTitle(), QStringLiteral("Progresso [50%]"));
    QCOMPARE(popup->MessageLabel()->textFormat(), Qt::PlainText);
    QVERIFY(popup->MessageLabel()->text().startsWith("Aguardando resposta"));
    QCOMPARE(popup->Bar()->maximum(), 200);
    QCOMPARE(popup->Bar()->value(), 100);
    // The message area fits four lines above the bar.
    QVERIFY(popup->MessageLabel()->height() >= 4 * popup->MessageLabel()->fontMetrics().height());
    QVERIFY(popup->CancelButton()->geometry().right() > popup->Bar()->geometry().right());
  }

  void reportsEscapeAndCancelOncePerPress() {
    QCOMPARE(view_->Pump().escapePressed, false);
    QTest::keyClick(Popup(), Qt::Key_Escape);
    ProgressEvents events = view_->Pump();
    QVERIFY(events.escapePressed);
    QVERIFY(!events.cancelClicked);
    QVERIFY(!view_->Pump().escapePressed);

    QTest::mouseClick(Popup()->CancelButton(), Qt::LeftButton);
    events = view_->Pump();
    QVERIFY(events.cancelClicked);
    QVERIFY(!events.quitRequested);
    QVERIFY(!view_->Pump().cancelClicked);
  }

  void modalDisablesTheOwnerButNotItself() {
    view_->SetModal(true);
    QVERIFY(!owner_->isEnabled());
    QVERIFY(Popup()->isEnabled());
    QVERIFY(Popup()->CancelButton()->isEnabled());
    QTest::mouseClick(Popup()->CancelButton(), Qt::LeftButton);
    QVERIFY(view_->Pump().cancelClicked);
    view_->SetModal(false);
    QVERIFY(owner_->isEnabled());

    view_->SetModal(true);
    view_.reset();  // destroying the view gives the owner back
    QVERIFY(owner_->isEnabled());
  }

  void hideKeepsTheViewAlive() {
    view_->Hide();
    QVERIFY(!Popup()->isVisible());
    QVERIFY(view_->Exists());
    view_->SetMessage("x");
    QVERIFY(!view_->Pump().quitRequested);
  }

  // The progress logic over this window, as a long wait uses it.
  void aModalWaitCancelledByEscapeGivesTheOwnerBack_data() {
    QTest::addColumn<bool>("cancelOnEscape");
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("escape, escape enabled") << true << false << true;
    QTest::newRow("escape, escape disabled") << false << false << false;
    QTest::newRow("button, escape disabled") << false << true << true;
  }

  void aModalWaitCancelledByEscapeGivesTheOwnerBack() {
    QFETCH(bool, cancelOnEscape);
    QFETCH(bool, byButton);
    QFETCH(bool, cancelled);
    view_.reset();
    QtUi ui(owner_.get());
    ProgressWindow progress(ui);
    QVERIFY(progress.GoModal("", false));
    QVERIFY(!owner_->isEnabled());
    ProgressPopup* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* p = qobject_cast<ProgressPopup*>(w)) shown = p;
    }
    QVERIFY(shown);
    progress.SetRange(0, 200, 1);
    for (int i = 0; i < 100; ++i) progress.StepIt();
    QCOMPARE(shown->windowTitle(), QStringLiteral("Progresso [50%]"));
    QCOMPARE(shown->Bar()->value(), 100);

    if (byButton) {
      QTest::mouseClick(shown->CancelButton(), Qt::LeftButton);
    } else {
      QTest::keyClick(shown, Qt::Key_Escape);
    }
    QVERIFY(progress.PeekAndPump(cancelOnEscape));
    QCOMPARE(progress.Cancelled(), cancelled);
    QCOMPARE(shown->isVisible(), !cancelled);
    progress.Destroy();
    QVERIFY(owner_->isEnabled());
  }

  void closingTheOwnerHandsAQuitBack() {
    owner_->close();
    QVERIFY(view_->Pump().quitRequested);
  }

  // Last: the quit request stays in force for the rest of the program.
  void aQuitRequestIsReportedAndStaysInForce() {
    QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
    QVERIFY(view_->Pump().quitRequested);
    QVERIFY(view_->Pump().quitRequested);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::ProgressPopupTest)
#include "progress_popup_test.moc"
