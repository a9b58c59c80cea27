#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "app/qt/qt_ui.h"
#include "base/encoding.h"

namespace taloven {

using Open = std::function<void(QtUi&, AppSettings&)>;

// The tool windows other windows open through the Ui: each opens modal over
// the window that owns the Ui's dialogs at that moment.
class QtUiToolsTest : public QObject {
  Q_OBJECT

  // Runs open; the window it shows is handed to look at, then closed with
  // accept or reject.
  static void WithOpened(const std::function<void()>& open,
                         const std::function<void(QDialog*)>& look, bool accept) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      seen = true;
      look(dialog);
      accept ? dialog->accept() : dialog->reject();
    });
    open();
    QVERIFY2(seen, "no modal window opened");
  }

 private slots:
  void eachToolOpensOverTheOwner_data() {
    QTest::addColumn<Open>("open");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("ownedByTheWindow");
    QTest::newRow("link settings")
        << Open([](QtUi& ui, AppSettings& settings) { ui.OpenLinkSettings(settings); })
        << QString::fromUtf8("Configurações") << true;
    QTest::newRow("graphic cliche")
        << Open([](QtUi& ui, AppSettings& settings) { ui.OpenGraphicCliche(settings.portName); })
        << QString::fromUtf8("Clichê Gráfico") << true;
    // The scanner window lives for the run: it is placed over the owner,
    // never made its child.
    QTest::newRow("scanner") << Open([](QtUi& ui, AppSettings&) { ui.OpenScanner(); })
                             << QStringLiteral("pdf 417") << false;
  }

  void eachToolOpensOverTheOwner() {
    QFETCH(Open, open);
    QFETCH(QString, title);
    QFETCH(bool, ownedByTheWindow);
    QWidget owner;
    owner.show();
    QtUi ui(&owner);
    AppSettings settings;
    settings.portName = "COM2:";
    QString shown;
    QWidget* parent = &owner;
    WithOpened([&] { open(ui, settings); },
               [&](QDialog* dialog) {
                 shown = dialog->windowTitle();
                 parent = dialog->parentWidget();
               },
               false);
    QCOMPARE(shown, title);
    QCOMPARE(parent, ownedByTheWindow ? &owner : nullptr);
  }

  // From another window only the link may change: the model, and the menu
  // filter that goes with it, stay as the main window set them.
  void linkSettingsTakeThePortAndKeepTheModel_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }

  void linkSettingsTakeThePortAndKeepTheModel() {
    QFETCH(bool, accept);
    QtUi ui;
    AppSettings settings;
    settings.portName = "COM2:";
    settings.modelName = "ECF-T08             ";
    settings.modelMask = 0x80;
    settings.filterByModel = 1;
    settings.showResults = 1;
    bool modelLocked = false, filterLocked = false, usbOffered = false;
    WithOpened([&] { ui.OpenLinkSettings(settings); },
               [&](QDialog* dialog) {
                 modelLocked = !dialog->findChild<QComboBox*>("1280")->isEnabled();
                 filterLocked = !dialog->findChild<QCheckBox*>("1285")->isEnabled();
                 // As from the main window: one rule for the USB set-up.
                 usbOffered = dialog->findChild<QPushButton*>("1304")->isEnabled();
                 dialog->findChild<QComboBox*>("1279")->setEditText("FILE");
                 dialog->findChild<QCheckBox*>("1281")->setChecked(false);
                 dialog->findChild<QComboBox*>("1280")->setEditText("ECF-T01");
               },
               accept);
    QVERIFY(modelLocked && filterLocked && usbOffered);
    QCOMPARE(settings.portName, std::string(accept ? "FILE" : "COM2:"));
    QCOMPARE(settings.showResults, accept ? 0 : 1);
    QCOMPARE(settings.modelName, std::string("ECF-T08             "));
    QCOMPARE(settings.modelMask, 0x80u);
    QCOMPARE(settings.filterByModel, 1);
  }
};

}  // namespace taloven

Q_DECLARE_METATYPE(taloven::Open)

QTEST_MAIN(taloven::QtUiToolsTest)
#include "qt_ui_tools_test.moc"
