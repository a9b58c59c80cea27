#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "fiscalmem/qt/mfd_window.h"
#include "programming/qt/configurations_dialog.h"
#include "programming/qt/program_equipment_dialog.h"
#include "replies/qt/results_window.h"
#include "resources/qt/qt_text.h"
#include "scanner/qt/scanner_window.h"
#include "sequences/qt/sequences_window.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"
#include "ui/help_topics.h"

namespace taloven {

// F1 pressed in each window opens the help file of the working directory at
// that window's own page.
class HelpKeyTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString previous_;
  AppSettings settings_;

 private slots:
  void initTestCase() {
    QVERIFY(QDir(dir_.path()).mkdir("help"));
    std::ofstream(QDir(dir_.path()).filePath("help/Taloven_Help.chm").toStdString()) << "ITSF";
    std::ofstream(QDir(dir_.path()).filePath("comandos.xml").toStdString()) << "<comandos/>";
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    settings_.workingDirectory = FromQt(dir_.path());
  }
  void cleanupTestCase() { QDir::setCurrent(previous_); }

  void f1OpensTheWindowsPage() {
    testing::TestClock clock;
    testing::ScriptedLine line;
    testing::ScriptedPortFactory ports(line);
    const struct {
      const char* window;
      HelpTopic topic;
      std::function<std::unique_ptr<QWidget>(Ui&)> make;
    } cases[] = {
        {"Sequências", HelpTopic::kSequences,
         [&](Ui& ui) { return std::make_unique<SequencesWindow>(settings_, ui, ports, clock); }},
        {"MFD", HelpTopic::kMfdWindow,
         [&](Ui& ui) { return std::make_unique<MfdWindow>(ui, settings_); }},
        {"pdf 417", HelpTopic::kScanner,
         [&](Ui& ui) { return std::make_unique<ScannerWindow>(ui); }},
        {"Programar Equipamento", HelpTopic::kProgramming,
         [&](Ui& ui) {
           return std::make_unique<ProgramEquipmentDialog>(settings_, ui, ports, clock);
         }},
        {"Carregar configurações existentes", HelpTopic::kProgramming,
         [&](Ui& ui) {
           return std::make_unique<ConfigurationsDialog>(settings_.workingDirectory, ui);
         }},
        {"Mensagem de retorno", HelpTopic::kResults,
         [&](Ui& ui) { return std::make_unique<ResultsWindow>("OK", "", ui); }},
    };
    for (const auto& c : cases) {
      testing::ScriptedUi ui(&clock);
      const std::unique_ptr<QWidget> window = c.make(ui);
      window->show();
      window->activateWindow();
      QVERIFY2(QTest::qWaitForWindowActive(window.get()), c.window);
      QCOMPARE(window->windowTitle(), QString::fromUtf8(c.window));
      QTest::keyClick(window.get(), Qt::Key_F1);
      QCOMPARE(ui.HelpContexts(), std::vector<int>{HelpPageOf(c.topic).contextId});
      QCOMPARE(ui.Opened(),
               std::vector<std::string>{settings_.workingDirectory + "/help/Taloven_Help.chm"});
    }
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::HelpKeyTest)
#include "help_key_test.moc"
