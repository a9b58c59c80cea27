#include <fcntl.h>
#include <unistd.h>

#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "formats/mfd_file.h"
#include "formats/symbol_record.h"
#include "scanner/qt/scanner_settings_dialog.h"
#include "scanner/qt/scanner_window.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {

class ScannerWindowTest : public QObject {
  Q_OBJECT

  template <typename T>
  static T* Find(QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("control %s missing", name);
    return control;
  }

 private slots:
  // The window against a scanner on a pseudo-terminal: three symbols come
  // in, the fields follow, and the last one ends the capture into a file.
  void capturesASetIntoAFile() {
    testing::TempDirectory dir;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const std::string slave = ptsname(master);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path().string()));
    std::filesystem::create_directories(dir.Path() / "taloven");
    std::ofstream(dir.Path() / "taloven" / "taloven.ini")
        << "[Scanner Port]\nPort name=" << slave << "\n";

    testing::ScriptedUi ui;
    const std::string path = (dir.Path() / "capture.mfd").string();
    ui.Push(path);
    ScannerWindow window(ui);
    window.SetTiming({20, 30});
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("pdf 417"));
    auto* start = Find<QPushButton>(window, "start");
    auto* stop = Find<QPushButton>(window, "stop");
    QCOMPARE(start->text(), QStringLiteral("&Iniciar"));
    QCOMPARE(stop->text(), QStringLiteral("&Parar"));
    QCOMPARE(Find<QPushButton>(window, "configure")->text(), QStringLiteral("Configurar"));
    // The dump's columns line up: every glyph as wide as the next.
    const QFontMetricsF metrics(Find<QTextEdit>(window, "dump")->font());
    for (QChar glyph : QStringLiteral("iW.0 F"))
      QCOMPARE(metrics.horizontalAdvance(glyph), metrics.horizontalAdvance(QLatin1Char('M')));
    QVERIFY(start->isEnabled() && !stop->isEnabled());

    start->click();
    QVERIFY(!start->isEnabled() && stop->isEnabled());
    std::string journal(1500, '\0');
    for (size_t i = 0; i < journal.size(); ++i) journal[i] = static_cast<char>(i % 200);
    for (uint32_t offset : {668u, 0u}) {
      const std::string record =
          MakeSymbolRecord(1500, offset, std::string_view(journal).substr(offset, 668));
      QCOMPARE(write(master, record.data(), record.size()), ssize_t(record.size()));
      QTRY_COMPARE(Find<QLineEdit>(window, "readCount")->text(),
                   QString::number(offset == 0 ? 2 : 1));
    }
    QCOMPARE(Find<QLineEdit>(window, "setSize")->text(), QStringLiteral("3"));
    QCOMPARE(Find<QLabel>(window, "status")->text(), QString::fromUtf8("Símbolo lido: 1/3"));
    QVERIFY(Find<QTextEdit>(window, "dump")
                ->toPlainText()
                .startsWith("000000  DC 05 00 00 00 00 00 00 \n000008  00 01 02"));

    const std::string last = MakeSymbolRecord(1500, 1336, std::string_view(journal).substr(1336));
    QCOMPARE(write(master, last.data(), last.size()), ssize_t(last.size()));
    QTRY_VERIFY(start->isEnabled());
    QVERIFY(!stop->isEnabled());
    QCOMPARE(ui.PromptKinds(), (std::vector<std::string>{"message", "save", "message"}));
    QCOMPARE(ui.Prompts()[0].details[0], std::string("Fim da Captura"));
    QCOMPARE(testing::ReadFileBytes(path), MfdFileBytes(kMfdCaptureSource, journal));
    close(master);
  }

  // Closing the window mid-capture asks about the symbols read so far.
  void opensWithTheFocusOnStart() {
    testing::ScriptedUi ui;
    ScannerWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), Find<QPushButton>(window, "start"));
  }

  void closingMidCaptureRunsTheStop() {
    testing::TempDirectory dir;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path().string()));
    std::filesystem::create_directories(dir.Path() / "taloven");
    std::ofstream(dir.Path() / "taloven" / "taloven.ini")
        << "[Scanner Port]\nPort name=" << ptsname(master) << "\n";
    testing::ScriptedUi ui;
    ui.PushAll(MessageAnswer::Cancel, MessageAnswer::No);
    ScannerWindow window(ui);
    window.SetTiming({20, 30});
    window.show();
    Find<QPushButton>(window, "start")->click();
    const std::string record = MakeSymbolRecord(1500, 0, std::string(668, 'x'));
    QCOMPARE(write(master, record.data(), record.size()), ssize_t(record.size()));
    QTRY_COMPARE(Find<QLineEdit>(window, "readCount")->text(), QStringLiteral("1"));
    window.reject();  // "Cancelar": back to the capture
    QVERIFY(window.isVisible());
    QVERIFY(Find<QPushButton>(window, "stop")->isEnabled());
    window.reject();  // "Não": closes without saving
    QVERIFY(!window.isVisible());
    QVERIFY(ui.AllAnswered());
    close(master);
  }

  void settingsDialogShowsTheProfileAndKeepsTheNameRule() {
    // Nothing stored: the dialog's own defaults, no data bits selected.
    ScannerSettingsDialog fresh({"COM1:", 7, 8, 0, 0, 1}, {{"/dev/ttyACM0", "/dev/ttyACM0"}});
    QCOMPARE(fresh.windowTitle(), QStringLiteral("Configurar"));
    auto* port = Find<QComboBox>(fresh, "port");
    QCOMPARE(port->count(), 5);
    QCOMPARE(port->currentText(), QStringLiteral("COM1:"));
    QCOMPARE(Find<QComboBox>(fresh, "baud")->currentText(), QStringLiteral("115200"));
    QCOMPARE(Find<QComboBox>(fresh, "bits")->currentIndex(), -1);
    QCOMPARE(Find<QComboBox>(fresh, "parity")->currentText(), QStringLiteral("Nenhuma"));
    QCOMPARE(Find<QComboBox>(fresh, "handshake")->currentText(), QStringLiteral("Hardware"));
    QCOMPARE(Find<QComboBox>(fresh, "stop")->itemText(1), QStringLiteral("1,5"));
    QCOMPARE(Find<QComboBox>(fresh, "parity")->itemText(2), QString::fromUtf8("Ímpar"));
    port->setCurrentIndex(2);
    ScannerSettings chosen = fresh.Chosen();
    QCOMPARE(chosen.portName, std::string("COM3:"));
    QCOMPARE(chosen.byteLength, -1);
    QCOMPARE(chosen.handshake, 1);
    port->setCurrentIndex(4);
    QCOMPARE(fresh.Chosen().portName, std::string("/dev/ttyACM0"));

    // A stored device path is an entry of its own, selected.
    ScannerSettingsDialog usb({"/dev/ttyUSB0", 3, 3, 1, 2, 0}, {{"/dev/ttyUSB0", "/dev/ttyUSB0"}});
    auto* usbPort = Find<QComboBox>(usb, "port");
    QCOMPARE(usbPort->count(), 5);
    QCOMPARE(usbPort->currentText(), QStringLiteral("/dev/ttyUSB0"));
    chosen = usb.Chosen();
    QCOMPARE(chosen.portName, std::string("/dev/ttyUSB0"));
    QCOMPARE(chosen.baud, 3);
    QCOMPARE(chosen.stopBits, 2);
    usbPort->setCurrentIndex(1);
    QCOMPARE(usb.Chosen().portName, std::string("COM2:"));
  }

  // Any stored name that is no COMn: goes back on OK as it was stored, with
  // the devices present offered beside it, each stable name beside its
  // device; a name typed (a network address) is taken as typed.
  void settingsDialogKeepsAnyOtherStoredName() {
    const std::vector<PortLine> adapters =
        SerialDeviceLines({{"/dev/ttyACM0", ""}, {"/dev/ttyUSB0", "/dev/serial/by-id/usb-Leitor"}});
    const struct {
      const char* stored;
      std::vector<PortLine> devices;
      int entries;
      int marked;
    } cases[] = {
        {"/dev/ttyUSB0", adapters, 7, 5},
        {"/dev/serial/by-id/usb-Leitor", adapters, 7, 6},
        {"COM12:", adapters, 8, 4},
        {"/dev/serial/by-id/usb-Leitor_Código-if00", {}, 5, 4},
        {"rfc2217://lane7.example:2000", {}, 5, 4},
    };
    for (const auto& c : cases) {
      const std::string stored = W(c.stored);
      ScannerSettingsDialog dialog({stored, 7, 3, 0, 0, 0}, c.devices);
      auto* port = Find<QComboBox>(dialog, "port");
      QCOMPARE(port->count(), c.entries);
      QCOMPARE(port->currentIndex(), c.marked);
      QCOMPARE(port->currentText(), QString::fromUtf8(c.stored));
      QCOMPARE(dialog.Chosen().portName, stored);
      port->lineEdit()->setText(QStringLiteral(" tcp://192.0.2.7:4001 "));
      QCOMPARE(dialog.Chosen().portName, std::string("tcp://192.0.2.7:4001"));
      port->setCurrentIndex(2);
      QCOMPARE(dialog.Chosen().portName, std::string("COM3:"));
    }
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::ScannerWindowTest)
#include "scanner_window_test.moc"
