#include "catalogue/qt/command_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "base/encoding.h"
#include "link/execute.h"
#include "resources/qt/qt_text.h"
#include "resources/strings.h"
#include "support/record_builders.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using testing::ScriptedLine;
using testing::ScriptedPortFactory;
using testing::ScriptedUi;
using testing::TestClock;

CommandParameter Param(const std::string& type, int size, const std::string& title,
                       bool mandatory = true, const std::string& value = "") {
  return testing::MakeParameter(type, size, title, mandatory, value);
}

CommandRecord Command(const std::vector<CommandParameter>& parameters) {
  return testing::MakeCommand(W("Programa símbolo"), "35", parameters);
}

}  // namespace

class CommandDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir directory_;
  AppSettings settings_;
  TestClock clock_;
  std::unique_ptr<ScriptedUi> ui_;
  ScriptedLine line_;
  std::unique_ptr<ScriptedPortFactory> ports_;
  std::unique_ptr<ExecutingSender> sender_;

  std::unique_ptr<CommandDialog> Dialog(CommandRecord record) {
    sender_ = std::make_unique<ExecutingSender>(ExecutionContext{settings_, *ui_, *ports_, clock_});
    return std::make_unique<CommandDialog>(std::move(record), settings_, *ui_, *sender_);
  }
  template <typename T>
  static T* Find(QWidget& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
  }

 private slots:
  void init() {
    settings_ = AppSettings{};
    settings_.portName = "COM1:";
    settings_.workingDirectory = FromQt(directory_.path());
    ui_ = std::make_unique<ScriptedUi>(&clock_);
    line_ = ScriptedLine{};
    line_.clock = &clock_;
    line_.onWrite = [](ScriptedLine& line, const std::vector<uint8_t>&) {
      line.Answer({0x06, 0x00, 0x00});
    };
    ports_ = std::make_unique<ScriptedPortFactory>(line_);
  }

  void showsItsTextsAndOnlyTheEditableRows() {
    auto dialog = Dialog(Command({Param("STRING", 5, "Nome"), Param("BINARIO", 1, "Byte", false),
                                  Param("NOT_EDITABLE", 2, "Fixo"), Param("DIG_HEX", 4, "Hex")}));
    dialog->show();
    ui_->PushAll(std::string("AB"), std::string("7"), std::string("0A0B"));
    dialog->Begin();
    QVERIFY(ui_->AllAnswered());

    QCOMPARE(dialog->windowTitle(), QString::fromUtf8("Programa símbolo"));
    QCOMPARE(Find<QGroupBox>(*dialog, 1174)->title(), QStr(StrId::kParameters));
    QCOMPARE(Find<QPushButton>(*dialog, 1038)->text(), QStringLiteral("Ok"));
    QCOMPARE(Find<QPushButton>(*dialog, 2)->text(), QStr(StrId::kCancel));

    struct Row {
      int label, value, edit;
      bool visible;
      const char* labelText;
      int limit;
      const char* text;
    };
    const std::vector<Row> rows{
        {1028, 1003, 1052, true, "Nome *", 5, "AB   "},
        {1029, 1004, 1053, true, "Byte", 3, "007"},
        {1030, 1005, 1054, false, "Fixo *", 2, ""},
        {1031, 1006, 1055, true, "Hex *", 8, "0A0B"},
        {1032, 1007, 1056, false, "", 32767, ""},
        {1040, 1013, 1063, false, "", 32767, ""},
    };
    for (const Row& row : rows) {
      auto* label = Find<QLabel>(*dialog, row.label);
      auto* value = Find<QLineEdit>(*dialog, row.value);
      auto* edit = Find<QPushButton>(*dialog, row.edit);
      QVERIFY(label && value && edit);
      QCOMPARE(label->isVisible(), row.visible);
      QCOMPARE(value->isVisible(), row.visible);
      QCOMPARE(edit->isVisible(), row.visible);
      QCOMPARE(label->text(), QString::fromUtf8(row.labelText));
      QCOMPARE(value->maxLength(), row.limit);
      QCOMPARE(value->text(), QString::fromLatin1(row.text));
      QCOMPARE(edit->text(), QStr(StrId::kEdit));
    }
    QVERIFY(!dialog->findChild<QLabel*>(QStringLiteral("extraParameters"))->isVisible());
  }

  void typingStopsAtTheRowsLimit() {
    auto dialog = Dialog(Command({Param("BINARIO", 1, "Byte"), Param("DIG_HEX", 2, "Hex")}));
    dialog->show();
    ui_->PushAll(ScriptedUi::Cancel{});
    dialog->Begin();
    auto* binary = Find<QLineEdit>(*dialog, 1003);
    QTest::keyClicks(binary, "123456");
    QCOMPARE(binary->text(), QStringLiteral("123"));
    auto* hex = Find<QLineEdit>(*dialog, 1004);
    QTest::keyClicks(hex, "0102030405");
    QCOMPARE(hex->text(), QStringLiteral("0102"));
    QCOMPARE(dialog->Logic().Rows()[1].text, std::string("0102"));
  }

  void cancelledEditShowsTheWholeCancelText() {
    auto dialog = Dialog(Command({Param("BINARIO", 1, "Byte")}));
    dialog->show();
    ui_->PushAll(std::string("5"), ScriptedUi::Cancel{});
    dialog->Begin();
    QTest::mouseClick(Find<QPushButton>(*dialog, 1052), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(*dialog, 1003)->text(), QStr(StrId::kError));
  }

  // Enter presses the button that has the focus, and only that one: from a
  // value field it neither sends nor closes.
  void enterPressesOnlyTheFocusedButton() {
    const struct {
      int focused;
      Qt::Key key;
      size_t frames;
      bool open;
    } cases[] = {{1038, Qt::Key_Return, 1, true},
                 {1038, Qt::Key_Enter, 1, true},
                 {1003, Qt::Key_Return, 0, true},
                 {1003, Qt::Key_Enter, 0, true},
                 {2, Qt::Key_Return, 0, false}};
    for (const auto& c : cases) {
      init();
      auto dialog = Dialog(Command({Param("STRING", 3, "Nome")}));
      ui_->Push(std::string("abc"));
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      QTRY_VERIFY(ui_->AllAnswered());  // the first showing collects the values
      QCOMPARE(QApplication::focusWidget(), Find<QPushButton>(*dialog, 1038));

      auto* focused = dialog->findChild<QWidget*>(QString::number(c.focused));
      focused->setFocus();
      QTest::keyClick(dialog->windowHandle(), c.key);
      const QByteArray row = QByteArray::number(c.focused) + " " + QByteArray::number(c.key);
      QVERIFY2(line_.frames.size() == c.frames, row);
      QVERIFY2(dialog->isVisible() == c.open, row);
    }
  }

  void escapeCloses() {
    auto dialog = Dialog(Command({Param("STRING", 3, "Nome")}));
    ui_->Push(std::string("abc"));
    dialog->show();
    QTRY_VERIFY(ui_->AllAnswered());
    auto* value = Find<QLineEdit>(*dialog, 1003);
    value->setFocus();
    QTest::keyClick(value, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
  }

  void okSendsTheTypedRowsAndStaysOpen() {
    auto dialog = Dialog(Command({Param("STRING", 3, "Nome"), Param("INTEGER", 2, "Qtd")}));
    dialog->show();
    ui_->PushAll(std::string("ab"), std::string("3"));
    dialog->Begin();
    auto* name = Find<QLineEdit>(*dialog, 1003);
    name->clear();
    QTest::keyClicks(name, "xyz");

    auto* ok = Find<QPushButton>(*dialog, 1038);
    QTest::mouseClick(ok, Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QCOMPARE(line_.frames.size(), size_t(2));
    const std::vector<uint8_t>& frame = line_.frames[1];
    QCOMPARE(std::string(frame.begin() + 5, frame.end() - 2), std::string("xyz03"));
    QCOMPARE(ui_->Results().size(), size_t(2));
    QCOMPARE(dialog->Logic().Record().parameters[0].value, std::string("xyz"));
  }

  void notesParametersThatHaveNoRow() {
    std::vector<CommandParameter> parameters;
    for (int i = 0; i < 13; ++i) parameters.push_back(Param("NOT_EDITABLE", 1, "P", true, "x"));
    auto dialog = Dialog(Command(parameters));
    dialog->show();
    dialog->Begin();
    auto* note = dialog->findChild<QLabel*>(QStringLiteral("extraParameters"));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(),
             QString::fromUtf8("1 parâmetro adicional será enviado com o valor do catálogo"));
    QVERIFY(ui_->Prompts().empty());
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::CommandDialogTest)
#include "command_dialog_test.moc"
