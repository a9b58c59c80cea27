#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/qt/settings_dialog.h"
#include "app/settings_apply.h"
#include "base/encoding.h"
#include "resources/qt/qt_text.h"

namespace taloven {

class SettingsDialogTest : public QObject {
  Q_OBJECT

  static SettingsChoice Start() { return {"COM2:", "ECF-T08             ", false, true, false}; }

  template <typename T>
  static T* Find(QDialog& dialog, const char* name) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("control %s missing", name);
    return control;
  }

 private slots:
  void laysOutTheControls() {
    SettingsDialog dialog(nullptr, Start(), OfferedPortNames({{"/dev/ttyUSB0", "/dev/ttyUSB0"}}));
    QCOMPARE(dialog.objectName(), QStringLiteral("187"));
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Configurações"));
    auto* ports = Find<QComboBox>(dialog, "1279");
    QCOMPARE(ports->count(), 11);
    QCOMPARE(ports->itemText(0), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(ports->itemText(10), QStringLiteral("USB"));
    QCOMPARE(ports->currentText(), QStringLiteral("COM2:"));
    auto* models = Find<QComboBox>(dialog, "1280");
    QCOMPARE(models->count(), 12);
    QCOMPARE(models->itemText(0), QStringLiteral("ECF-T01             "));
    QCOMPARE(models->itemText(1), QStringLiteral("ECF-T02             "));
    QCOMPARE(models->itemText(11), QStringLiteral("ECF-T12             "));
    QCOMPARE(Find<QLabel>(dialog, "1283")->text(), QString::fromUtf8("Porta de Comunicação"));
    QCOMPARE(Find<QLabel>(dialog, "1282")->text(), QStringLiteral("Equipamento:"));
    QVERIFY(!Find<QCheckBox>(dialog, "1285")->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, "1281")->isChecked());
    QCOMPARE(Find<QCheckBox>(dialog, "1284")->text(), QStringLiteral("Retorno Estendido"));
    QCOMPARE(Find<QPushButton>(dialog, "1304")->text(), QStringLiteral("Instalar Driver USB"));
  }

  void theListsMarkTheShownNames_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("portIndex");
    QTest::addColumn<int>("modelIndex");
    QTest::newRow("listed") << "COM3:"
                            << "ECF-T08             " << 2 << 7;
    QTest::newRow("last of the lists") << "USB"
                                       << "ECF-T12             " << 9 << 11;
    QTest::newRow("not listed") << "/home/x/build/demo/ttyECF"
                                << "ECF-T13             " << -1 << -1;
  }

  void theListsMarkTheShownNames() {
    QFETCH(QString, port);
    QFETCH(QString, model);
    QFETCH(int, portIndex);
    QFETCH(int, modelIndex);
    SettingsDialog dialog(nullptr, {FromQt(port), FromQt(model), false, true, false},
                          OfferedPortNames({}));
    auto* ports = Find<QComboBox>(dialog, "1279");
    auto* models = Find<QComboBox>(dialog, "1280");
    QCOMPARE(ports->currentIndex(), portIndex);
    QCOMPARE(ports->currentText(), port);
    QCOMPARE(models->currentIndex(), modelIndex);
    QCOMPARE(models->currentText(), model);
    QCOMPARE(dialog.Choice().portName, FromQt(port));
    QCOMPARE(dialog.Choice().modelName, FromQt(model));
    // A device path is shown whole.
    dialog.show();
    QVERIFY(ports->lineEdit()->width() >
            ports->fontMetrics().horizontalAdvance("/home/x/build/demo/ttyECF"));
  }

  void okHandsBackWhatWasChosenOrTyped() {
    SettingsDialog dialog(nullptr, Start(), OfferedPortNames({}));
    auto* ports = Find<QComboBox>(dialog, "1279");
    ports->lineEdit()->setText(QStringLiteral(" /dev/ttyS9 "));
    Find<QComboBox>(dialog, "1280")->setCurrentIndex(4);
    Find<QCheckBox>(dialog, "1285")->setChecked(true);
    Find<QCheckBox>(dialog, "1281")->setChecked(false);
    Find<QCheckBox>(dialog, "1284")->setChecked(true);
    QTimer::singleShot(0, [&] { Find<QPushButton>(dialog, "1")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    SettingsChoice choice = dialog.Choice();
    QCOMPARE(QString::fromStdString(choice.portName), QStringLiteral("/dev/ttyS9"));
    QCOMPARE(QString::fromStdString(choice.modelName), QStringLiteral("ECF-T05             "));
    QVERIFY(choice.filterByModel);
    QVERIFY(!choice.showResults);
    QVERIFY(choice.extendedReturn);
  }

  // A device's line and its stable name's line each put their own name in
  // the field, and a stored stable name marks its line; a network address
  // is typed.
  void aDeviceAndItsStableNameAreEachChosen() {
    const std::string device = "/dev/ttyUSB0", stable = "/dev/serial/by-id/usb-Lane-if00";
    const std::vector<PortLine> lines = SerialDeviceLines({{device, stable}});
    SettingsDialog dialog(nullptr, {stable, "ECF-T08             ", false, true, false},
                          OfferedPortNames(lines));
    auto* ports = Find<QComboBox>(dialog, "1279");
    QCOMPARE(ports->itemText(0),
             QString::fromUtf8("/dev/ttyUSB0 — /dev/serial/by-id/usb-Lane-if00"));
    QCOMPARE(ports->currentIndex(), 1);
    QCOMPARE(ports->currentText(), QString::fromStdString(stable));
    ports->setCurrentIndex(0);
    QCOMPARE(dialog.Choice().portName, device);
    ports->setCurrentIndex(1);
    QCOMPARE(dialog.Choice().portName, stable);
    ports->lineEdit()->setText(QStringLiteral("tcp://[::1]:4001 "));
    QCOMPARE(dialog.Choice().portName, std::string("tcp://[::1]:4001"));
  }

  void cancelEndsRejected() {
    SettingsDialog dialog(nullptr, Start(), OfferedPortNames({}));
    Find<QComboBox>(dialog, "1279")->lineEdit()->setText(QStringLiteral("USB"));
    QTimer::singleShot(0, [&] { Find<QPushButton>(dialog, "2")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  }

  void anEmptyPortCannotBeTakenOver() {
    SettingsDialog dialog(nullptr, Start(), OfferedPortNames({}));
    Find<QComboBox>(dialog, "1279")->lineEdit()->setText(QStringLiteral("  "));
    QVERIFY(!Find<QPushButton>(dialog, "1")->isEnabled());
    Find<QComboBox>(dialog, "1279")->lineEdit()->setText(QStringLiteral("FILE"));
    QVERIFY(Find<QPushButton>(dialog, "1")->isEnabled());
  }

  void locksDisableTheirControls() {
    SettingsDialog dialog(nullptr, Start(), OfferedPortNames({}));
    QVERIFY(!Find<QPushButton>(dialog, "1304")->isEnabled());
    dialog.SetFilterLocked(true);
    dialog.SetModelLocked(true);
    int setups = 0;
    dialog.SetUsbSetup([&] { ++setups; });
    QVERIFY(!Find<QCheckBox>(dialog, "1285")->isEnabled());
    QVERIFY(!Find<QComboBox>(dialog, "1280")->isEnabled());
    QVERIFY(Find<QCheckBox>(dialog, "1284")->isEnabled());
    Find<QPushButton>(dialog, "1304")->click();
    QCOMPARE(setups, 1);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::SettingsDialogTest)
#include "settings_dialog_test.moc"
