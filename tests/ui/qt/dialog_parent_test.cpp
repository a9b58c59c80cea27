#include "ui/qt/dialog_parent.h"

#include <QtTest>
#include <memory>

#include "support/qt/placing_ui.h"
#include "support/scripted_ui.h"

namespace taloven {

class DialogParentTest : public QObject {
  Q_OBJECT

 private slots:
  // Windows opened one over the other claim the dialogs in turn, and each
  // hands them back to the one below as it closes.
  void nestedWindowsHandTheDialogsBack() {
    QWidget main, inner;
    testing::PlacingUi ui;
    ui.SetParent(&main);
    {
      const DialogParentScope outer(ui, &inner);
      QCOMPARE(ui.Parent(), &inner);
      {
        QWidget top;
        const DialogParentScope over(ui, &top);
        QCOMPARE(ui.Parent(), &top);
      }
      QCOMPARE(ui.Parent(), &inner);
    }
    QCOMPARE(ui.Parent(), &main);
  }

  // A window below that is gone by then takes no dialogs: they go without
  // a parent rather than to a destroyed window.
  void aClosedWindowBelowIsNotRestored() {
    testing::PlacingUi ui;
    auto below = std::make_unique<QWidget>();
    ui.SetParent(below.get());
    QWidget window;
    {
      const DialogParentScope scope(ui, &window);
      below.reset();
    }
    QCOMPARE(ui.Parent(), static_cast<QWidget*>(nullptr));
  }

  void aUiWithoutPlacementIsLeftAlone() {
    testing::ScriptedUi ui;
    QWidget window;
    QCOMPARE(ui.Placement(), static_cast<DialogParent*>(nullptr));
    const DialogParentScope scope(ui, &window);
    QVERIFY(ui.Prompts().empty());
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::DialogParentTest)
#include "dialog_parent_test.moc"
