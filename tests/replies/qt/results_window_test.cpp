#include <QApplication>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "base/encoding.h"
#include "replies/hex_dump.h"
#include "replies/qt/results_window.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {

using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::TempDirectory;

class ResultsWindowTest : public QObject {
  Q_OBJECT

  const std::string message_ = W("\r\nComando:\tLeitura\r\nCOMANDO OK\r\nAlíquota");
  const std::string dump_ = "CMD:  1B 23\r\nRET:  06 00 00\r\n";

  static QPushButton* ButtonOf(QWidget& window, const char* id) {
    return window.findChild<QPushButton*>(QString::fromLatin1(id));
  }

 private slots:
  void opensOnTheMessage() {
    ScriptedUi ui;
    ResultsWindow window(message_, dump_, ui);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Mensagem de retorno"));
    auto* box = window.findChild<QPlainTextEdit*>(QStringLiteral("1173"));
    QVERIFY(box);
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->toPlainText(), QStringLiteral("\nComando:\tLeitura\nCOMANDO OK\nAlíquota"));
    // Every glyph as wide as the next, so that the dump's columns line up; a
    // monospaced font may still be reported as not fixed-pitch.
    const QFontMetricsF metrics(box->font());
    for (QChar glyph : QStringLiteral("iW.0 F"))
      QCOMPARE(metrics.horizontalAdvance(glyph), metrics.horizontalAdvance(QLatin1Char('M')));
    QCOMPARE(box->font().pointSize(), 8);
    QVERIFY(ButtonOf(window, "1027")->isDefault());
    QCOMPARE(ButtonOf(window, "1027")->text(), QStringLiteral("Dump"));
    QCOMPARE(ButtonOf(window, "1287")->text(), QStringLiteral("Salvar"));
    QCOMPARE(ButtonOf(window, "2")->text(), QStringLiteral("Sair"));
  }

  void dumpTogglesBackToTheMessage() {
    ScriptedUi ui;
    ResultsWindow window(message_, dump_, ui);
    window.show();
    QPushButton* dump = ButtonOf(window, "1027");
    QTest::mouseClick(dump, Qt::LeftButton);
    QCOMPARE(dump->text(), QStringLiteral("Mensagem"));
    QCOMPARE(window.ShownText(), HexDumpText(dump_));
    QTest::mouseClick(dump, Qt::LeftButton);
    QCOMPARE(dump->text(), QStringLiteral("Dump"));
    QCOMPARE(window.ShownText(), message_);
  }

  void savesTheChosenTextsWhateverIsShown() {
    const std::string both = message_ + HexDumpText(dump_);
    const std::pair<int, std::string> choices[] = {
        {1, message_}, {2, HexDumpText(dump_)}, {3, both}};
    for (const auto& [choice, text] : choices) {
      TempDirectory dir;
      const std::string path = (dir.Path() / "Msg_Ret.txt").string();
      ScriptedUi ui;
      ui.PushAll(path, choice);
      ResultsWindow window(message_, dump_, ui);
      window.show();
      QTest::mouseClick(ButtonOf(window, "1027"), Qt::LeftButton);  // showing the dump
      QTest::mouseClick(ButtonOf(window, "1287"), Qt::LeftButton);
      std::string expected;
      for (char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
      QCOMPARE(ReadFileBytes(path), expected);
      QCOMPARE(ui.Opened(), std::vector<std::string>{path});
      QVERIFY(ui.AllAnswered());
    }
  }

  void cancelledChoiceLeavesNoFile() {
    TempDirectory dir;
    ScriptedUi ui;
    ui.PushAll((dir.Path() / "x.txt").string(), ScriptedUi::Cancel{});
    ResultsWindow window(message_, dump_, ui);
    QTest::mouseClick(ButtonOf(window, "1287"), Qt::LeftButton);
    QVERIFY(std::filesystem::is_empty(dir.Path()));
    QCOMPARE(ui.PromptKinds(), (std::vector<std::string>{"save", "options"}));
  }

  void exitButtonCloses() {
    ScriptedUi ui;
    ResultsWindow window(message_, dump_, ui);
    window.show();
    QTest::mouseClick(ButtonOf(window, "2"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
  }

  void guiShowsResultsInThisWindow() {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* window = qobject_cast<ResultsWindow*>(QApplication::activeModalWidget());
      seen = window && window->ShownText() == message_;
      if (window) window->reject();
    });
    QtUi ui;
    ui.ShowResults(message_, dump_);
    QVERIFY(seen);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::ResultsWindowTest)
#include "results_window_test.moc"
