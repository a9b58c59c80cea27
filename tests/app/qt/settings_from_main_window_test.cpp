#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "app/qt/main_window.h"
#include "app/qt/settings_dialog.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

// One command for every model, one for the first model only, one for the
// third (mask 0x0002).
const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<comandos>
  <cmd><tipo>Informações</tipo><titulo>Marca, Modelo e Tipo</titulo><escape>35 60</escape>
       <equipamentos_hab>65535</equipamentos_hab></cmd>
  <cmd><tipo>Cupom Fiscal</tipo><titulo>Abre Cupom</titulo><escape>0</escape>
       <equipamentos_hab>1</equipamentos_hab></cmd>
  <cmd><tipo>Relatórios</tipo><titulo>Leitura X</titulo><escape>6</escape>
       <equipamentos_hab>2</equipamentos_hab></cmd>
</comandos>
)";

}  // namespace

class SettingsFromMainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  QString previousDir_;
  testing::TestClock clock_;
  std::unique_ptr<testing::ScriptedUi> ui_;
  testing::ScriptedLine line_;
  testing::ScriptedPortFactory ports_{line_};
  std::unique_ptr<MainWindow> window_;

  QAction* Action(const char* id) const { return window_->findChild<QAction*>(id); }

  // Opens the settings from the menu, lets change() work on the dialog and
  // ends it with the button given ("1" OK, "2" Cancel).
  void UseSettings(const std::function<void(SettingsDialog&)>& change, const char* button) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      seen = true;
      change(*dialog);
      dialog->findChild<QPushButton*>(button)->click();
    });
    Action("119")->trigger();
    QVERIFY(seen);
  }

  static void Choose(SettingsDialog& dialog, const QString& port, const QString& model,
                     bool filter) {
    dialog.findChild<QComboBox*>("1279")->lineEdit()->setText(port);
    dialog.findChild<QComboBox*>("1280")->lineEdit()->setText(model);
    dialog.findChild<QCheckBox*>("1285")->setChecked(filter);
    dialog.findChild<QCheckBox*>("1281")->setChecked(false);
    dialog.findChild<QCheckBox*>("1284")->setChecked(true);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    std::ofstream(QDir(dir_->path()).filePath("comandos.xml").toStdString()) << kCatalogue;
    ui_ = std::make_unique<testing::ScriptedUi>(&clock_);
    line_.openResult = 0;  // no printer anywhere
    window_ = std::make_unique<MainWindow>(AppSettings{}, *ui_, ports_, clock_);
    window_->Start();
  }

  void cleanup() {
    window_.reset();
    QDir::setCurrent(previousDir_);
  }

  void okTakesOverTheFiveValuesAndGreysByTheNewModel() {
    QVERIFY(Action("119")->isEnabled());
    UseSettings([](SettingsDialog& d) { Choose(d, "USB", "ECF-T01", true); }, "1");
    const AppSettings& s = window_->Settings();
    QCOMPARE(s.portName, std::string("USB"));
    QCOMPARE(s.modelName, std::string("ECF-T01             "));
    QCOMPARE(s.modelMask, 0x0001u);
    QCOMPARE(s.filterByModel, 1);
    QCOMPARE(s.showResults, 0);
    QCOMPARE(s.extendedReturn, 1);
    QVERIFY(Action("1083")->isEnabled());
    QVERIFY(Action("1084")->isEnabled());
    QVERIFY(!Action("1085")->isEnabled());

    UseSettings([](SettingsDialog& d) { Choose(d, "COM2:", "ECF-T03             ", true); }, "1");
    QCOMPARE(window_->Settings().modelMask, 0x0002u);
    QVERIFY(!Action("1084")->isEnabled());
    QVERIFY(Action("1085")->isEnabled());
  }

  void anUnlistedModelIsUnknownAndGreysNothing() {
    UseSettings([](SettingsDialog& d) { Choose(d, "/dev/ttyS3", "ECF-T99", true); }, "1");
    QCOMPARE(window_->Settings().modelMask, 0xFFFFu);
    QCOMPARE(window_->Settings().portName, std::string("/dev/ttyS3"));
    for (const char* id : {"1083", "1084", "1085"}) QVERIFY2(Action(id)->isEnabled(), id);
  }

  void aGivenPortNobodyAnswersOnStaysThePort() {
    AppSettings given;
    given.portName = "/home/x/build/demo/ttyECF";
    window_ = std::make_unique<MainWindow>(given, *ui_, ports_, clock_);
    window_->Start();
    QCOMPARE(window_->Settings().portName, std::string("/home/x/build/demo/ttyECF"));
    UseSettings(
        [](SettingsDialog& d) {
          auto* ports = d.findChild<QComboBox*>("1279");
          QCOMPARE(ports->currentText(), QStringLiteral("/home/x/build/demo/ttyECF"));
          QVERIFY(ports->findText("/home/x/build/demo/ttyECF") >= 0);
        },
        "2");
  }

  void cancelChangesNothing() {
    const AppSettings before = window_->Settings();
    UseSettings([](SettingsDialog& d) { Choose(d, "USB", "ECF-T01", true); }, "2");
    const AppSettings& after = window_->Settings();
    QCOMPARE(after.portName, before.portName);
    QCOMPARE(after.modelName, before.modelName);
    QCOMPARE(after.modelMask, before.modelMask);
    QCOMPARE(after.filterByModel, before.filterByModel);
    QCOMPARE(after.showResults, before.showResults);
    QCOMPARE(after.extendedReturn, before.extendedReturn);
    QVERIFY(Action("1085")->isEnabled());
  }

  void theDialogOpensWithTheCurrentSettings() {
    window_->Settings().portName = "FILE";
    window_->Settings().filterByModel = 1;
    UseSettings(
        [](SettingsDialog& d) {
          QCOMPARE(d.findChild<QComboBox*>("1279")->currentText(), QStringLiteral("FILE"));
          QVERIFY(d.findChild<QCheckBox*>("1285")->isChecked());
          QVERIFY(d.findChild<QCheckBox*>("1285")->isEnabled());
          QVERIFY(d.findChild<QComboBox*>("1280")->isEnabled());
          QVERIFY(d.findChild<QPushButton*>("1304")->isEnabled());
        },
        "2");
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::SettingsFromMainWindowTest)
#include "settings_from_main_window_test.moc"
