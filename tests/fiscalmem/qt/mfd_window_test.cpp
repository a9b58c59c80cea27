#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "base/encoding.h"
#include "fiscalmem/qt/mfd_dialogs.h"
#include "fiscalmem/qt/mfd_window.h"
#include "support/qt/placing_ui.h"
#include "support/scripted_ui.h"

namespace taloven {

class MfdWindowTest : public QObject {
  Q_OBJECT

  static QStringList Texts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
      texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
  }

 private slots:
  void offersTheToolsInItsMenu() {
    testing::ScriptedUi ui;
    AppSettings settings;
    MfdWindow window(ui, settings);
    QCOMPARE(window.windowTitle(), QStringLiteral("MFD"));
    auto* bar = window.findChild<QMenuBar*>();
    QVERIFY(bar);
    QCOMPARE(bar->actions().size(), 2);
    QCOMPARE(bar->actions()[0]->text(), QStringLiteral("Arquivo"));
    QCOMPARE(Texts(bar->actions()[0]->menu()),
             QStringList({QString::fromUtf8("Emissão de documento(s)"),
                          QString::fromUtf8("Geração de banco de dados"),
                          QString::fromUtf8("Relatório da Memória Fiscal"), "-",
                          QString::fromUtf8("Diagnostico do relatório da MFD"),
                          "Decodificar Bitmaps PDF-417 Distintos", "-", "Sair"}));
    QMenu* link = bar->actions()[1]->menu();
    QCOMPARE(bar->actions()[1]->text(), QString::fromUtf8("Comunicação"));
    QCOMPARE(Texts(link), QStringList({"Download", "Leitura via scanner (PDF - 417)"}));
    QCOMPARE(Texts(link->actions()[0]->menu()),
             QStringList({QString::fromUtf8("Memória de fita-detalhe (MFD)"),
                          QString::fromUtf8("Memória Fiscal (MF)"),
                          QString::fromUtf8("Software Básico(SB)")}));
    QVERIFY(window.findChild<QAction*>("scanner")->isEnabled());
  }

  void itemsRunTheirOperations() {
    const struct {
      const char* item;
      const char* prompt;
    } items[] = {{"textReport", "openfiles"}, {"database", "openfiles"},
                 {"mfReading", "openfiles"},  {"diagnosis", "openfiles"},
                 {"bitmaps", "openfiles"},    {"downloadMfd", "interval"}};
    for (const auto& item : items) {
      testing::ScriptedUi ui;
      ui.Push(testing::ScriptedUi::Cancel{});
      AppSettings settings;
      MfdWindow window(ui, settings);
      window.findChild<QAction*>(item.item)->trigger();
      QCOMPARE(ui.PromptKinds(), std::vector<std::string>{item.prompt});
    }
    testing::ScriptedUi ui;
    AppSettings settings;
    MfdWindow window(ui, settings);
    window.show();
    window.findChild<QAction*>("exit")->trigger();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
  }

  // The capture window opens over this one; the operations' dialogs keep
  // the owner they had.
  void scannerItemOpensTheCaptureWindowOverThisOne() {
    testing::PlacingUi ui;
    QWidget main;
    ui.SetParent(&main);
    AppSettings settings;
    MfdWindow window(ui, settings);
    window.findChild<QAction*>("scanner")->trigger();
    QCOMPARE(ui.opened.size(), size_t{1});
    QCOMPARE(ui.opened[0].tool, std::string("scanner"));
    QCOMPARE(ui.opened[0].owner, static_cast<QWidget*>(&window));
    QCOMPARE(ui.Parent(), &main);
  }

  // Escape closes it as it closes every other window, also after a menu was
  // opened with the mouse and closed with Escape.
  void escapeClosesTheWindow() {
    for (const bool menuOpened : {false, true}) {
      testing::ScriptedUi ui;
      AppSettings settings;
      MfdWindow window(ui, settings);
      window.show();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      if (menuOpened) {
        auto* bar = window.findChild<QMenuBar*>();
        const QPoint file = bar->mapTo(&window, bar->actionGeometry(bar->actions()[0]).center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, file);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);  // leaves the menu bar
      }
      QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
      QTRY_VERIFY2(!window.isVisible(), menuOpened ? "after the menu" : "at once");
      QCOMPARE(window.result(), int(QDialog::Rejected));
    }
  }

  void intervalDialogStartsWithCoosAndEnablesTheChosenFields() {
    MfdIntervalDialog dialog;
    auto* coos = dialog.findChild<QRadioButton*>("coos");
    auto* dates = dialog.findChild<QRadioButton*>("dates");
    auto* total = dialog.findChild<QRadioButton*>("total");
    auto* first = dialog.findChild<QSpinBox*>("firstCoo");
    auto* user = dialog.findChild<QSpinBox*>("user");
    auto* start = dialog.findChild<QDateEdit*>("start");
    QVERIFY(coos->isChecked());
    QCOMPARE(coos->text(), QStringLiteral("C&OOs:"));
    QCOMPARE(total->text(), QString::fromUtf8("Total &Lógico"));
    QCOMPARE(first->maximum(), 999999);
    QCOMPARE(user->value(), 1);
    QCOMPARE(user->maximum(), 255);
    QCOMPARE(start->date(), QDate::currentDate());
    QVERIFY(first->isEnabled() && !start->isEnabled());
    QCOMPARE(dialog.findChild<QPushButton*>("ok")->text(), QStringLiteral("&Iniciar"));
    QCOMPARE(dialog.findChild<QPushButton*>("cancel")->text(), QStringLiteral("&Cancelar"));

    first->setValue(5);
    dialog.findChild<QSpinBox*>("lastCoo")->setValue(12);
    MfdInterval chosen = dialog.Chosen();
    QVERIFY(chosen.kind == MfdInterval::Kind::Coos);
    QCOMPARE(chosen.firstCoo, 5L);
    QCOMPARE(chosen.lastCoo, 12L);
    QCOMPARE(chosen.user, 1);

    dates->setChecked(true);
    QVERIFY(!first->isEnabled() && !user->isEnabled() && start->isEnabled());
    start->setDate(QDate(2026, 3, 5));
    chosen = dialog.Chosen();
    QVERIFY(chosen.kind == MfdInterval::Kind::Dates);
    QCOMPARE(chosen.start.day, 5);
    QCOMPARE(chosen.start.year, 2026);

    total->setChecked(true);
    QVERIFY(!first->isEnabled() && !start->isEnabled());
    QVERIFY(dialog.Chosen().kind == MfdInterval::Kind::Total);
  }

  void readingDialogSwitchesBetweenCountersAndDates() {
    MfReadingDialog dialog;
    auto* byDate = dialog.findChild<QRadioButton*>("byDate");
    auto* firstCrz = dialog.findChild<QSpinBox*>("firstCrz");
    auto* start = dialog.findChild<QDateEdit*>("start");
    QVERIFY(dialog.findChild<QRadioButton*>("byCrz")->isChecked());
    QVERIFY(firstCrz->isEnabled() && !start->isEnabled());
    QCOMPARE(firstCrz->maximum(), 999999);
    byDate->setChecked(true);
    QVERIFY(!firstCrz->isEnabled() && start->isEnabled());
    dialog.findChild<QCheckBox*>("simplified")->setChecked(true);
    const MfReadingChoice chosen = dialog.Chosen();
    QVERIFY(chosen.byDate && chosen.simplified);
    QCOMPARE(chosen.start.month, QDate::currentDate().month());
  }

  void waitWindowShowsTheProgressOfADownload() {
    QWidget owner;
    owner.show();
    QtUi ui(&owner);
    auto handle = ui.ShowWait(W("Por favor, aguarde....."));
    WaitWindow* window = static_cast<WaitWindowHandle*>(handle.get())->Window();
    QVERIFY(window->Bar()->isHidden());
    handle->SetProgress(256, 1024);
    QVERIFY(!window->Bar()->isHidden());
    QCOMPARE(window->Bar()->value(), 250);
    handle->SetProgress(5000, 1024);
    QCOMPARE(window->Bar()->value(), 1000);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::MfdWindowTest)
#include "mfd_window_test.moc"
