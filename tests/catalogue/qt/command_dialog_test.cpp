#include "catalogue/qt/command_dialog.h"

#include <QGroupBox>
#include <QtTest>
#include <filesystem>

#include "resources/strings.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {

class CommandDialogTest : public QObject {
  Q_OBJECT

  std::filesystem::path directory_ =
      std::filesystem::temp_directory_path() /
      ("taloven-command-dialog-qt-" + std::to_string(QCoreApplication::applicationPid()));
  AppSettings settings_;
  testing::TestClock clock_;
  testing::ScriptedUi ui_{&clock_};
  testing::ScriptedLine line_;
  testing::ScriptedPortFactory ports_{line_};
  ExecutionContext context_{settings_, ui_, ports_, clock_};

  static CommandRecord Record() {
    CommandRecord record;
    record.SetTitle("Abre Cupom");
    record.SetEscapeText("35");
    const char* types[] = {"BINARIO", "NOT_EDITABLE", "DIG_HEX"};
    for (const char* type : types) {
      CommandParameter p;
      p.type = type;
      p.title = type;
      p.size = 4;
      p.mandatory = p.type == "BINARIO";
      record.AppendParameter(p);
    }
    return record;
  }

 private slots:
  void initTestCase() {
    std::filesystem::create_directories(directory_);
    settings_.workingDirectory = directory_.string();
    settings_.portName = "COM1:";
    settings_.showResults = 1;
    line_.clock = &clock_;
    line_.onWrite = [](testing::ScriptedLine& line, const std::vector<uint8_t>&) {
      line.Answer({0x06, 0x00, 0x00});
    };
  }
  void cleanupTestCase() { std::filesystem::remove_all(directory_); }

  void rowsIdsAndLimits() {
    CommandDialog dialog(Record(), context_);
    QCOMPARE(dialog.windowTitle(), QString("Abre Cupom"));
    QCOMPARE(dialog.findChild<QGroupBox*>("1174")->title(), QString::fromUtf8("Parâmetros"));
    QCOMPARE(dialog.findChild<QLabel*>("1028")->text(), QString("BINARIO *"));
    QCOMPARE(dialog.findChild<QLineEdit*>("1003")->maxLength(), 3);
    QVERIFY(dialog.findChild<QLineEdit*>("1004")->isHidden());
    QCOMPARE(dialog.findChild<QLabel*>("1030")->text(), QString("DIG_HEX"));
    QCOMPARE(dialog.findChild<QLineEdit*>("1005")->maxLength(), 8);
    QCOMPARE(dialog.findChild<QPushButton*>("1054")->text(), QString("Editar"));
    for (const char* id : {"1031", "1040"}) QVERIFY(dialog.findChild<QLabel*>(id)->isHidden());
    QCOMPARE(dialog.findChild<QPushButton*>("2")->text(), QString("Cancelar"));
  }

  void editSendTwiceAndEnterKeepsItOpen() {
    CommandDialog dialog(Record(), context_);
    dialog.show();
    ui_.Push(std::string("7"));
    dialog.findChild<QPushButton*>("1052")->click();
    QCOMPARE(dialog.findChild<QLineEdit*>("1003")->text(), QString("007"));
    auto* hex = dialog.findChild<QLineEdit*>("1005");
    QTest::keyClicks(hex, "0A1B0C1D");
    QTest::keyClick(hex, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    dialog.findChild<QPushButton*>("1038")->click();
    dialog.findChild<QPushButton*>("1038")->click();
    QCOMPARE(QString::fromStdString(dialog.Logic().Record().parameters[2].value),
             QString("0A1B0C1D"));
    QCOMPARE(int(ui_.Results().size()), 2);
    QVERIFY(dialog.isVisible());
    QCOMPARE(int(line_.frames.size()), 2);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::CommandDialogTest)
#include "command_dialog_test.moc"
