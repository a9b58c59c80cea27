// The MFD window's long work run from its operations with the program's own
// windows and the real fiscal-memory library (downloads from the virtual
// printer, reports of large files): the user presses "Cancelar" in the wait
// window, and a click meant meanwhile for another window does nothing, then
// or later.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <filesystem>
#include <optional>

#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "emulator/emulator_process.h"
#include "fiscalmem/mfd_operations.h"
#include "fiscalmem/system_dir_override.h"
#include "resources/strings.h"
#include "support/large_inputs.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

// The program's windows, except that the files and choices asked for are
// given and the messages are noted rather than shown.
class NotingUi : public QtUi {
 public:
  using QtUi::QtUi;
  std::string input, path;
  std::vector<std::string> told;

  std::optional<std::vector<std::string>> OpenFileNames(const std::string&,
                                                        const std::vector<FileFilter>&,
                                                        bool) override {
    return std::vector<std::string>{input};
  }
  std::optional<MfdInterval> MfdIntervalDialog() override {
    return MfdInterval{MfdInterval::Kind::Total, 0, 0, 1, {}, {}};
  }
  std::optional<MfReadingChoice> MfReadingDialog() override {
    return MfReadingChoice{false, 1, 999999, {}, {}, false};
  }
  std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                          const std::vector<FileFilter>&) override {
    return path;
  }
  MessageAnswer Message(const std::string& text, const std::string&, MessageButtons,
                        MessageIcon) override {
    told.push_back(text);
    return MessageAnswer::Ok;
  }
};

WaitWindow* ShownWait() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* wait = qobject_cast<WaitWindow*>(window);
    if (wait && wait->isVisible()) return wait;
  }
  return nullptr;
}

void ClickThroughTheWindowSystem(QWidget* target) {
  QWidget* window = target->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    target->mapTo(window, target->rect().center()));
}

}  // namespace

class MfdCancelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Large enough that each report runs for most of a second at least.
    testing::WriteLargeMemories(inputs_.Path() / "j.mfd", inputs_.Path() / "m.mf",
                                size_t{72} << 20);
  }

  void cancelStopsTheWorkAndOtherWindowsRefuseInput_data() {
    QTest::addColumn<QString>("work");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<int>("pressAfterMs");
    // Slow enough that the download is still going when the user acts.
    QTest::newRow("download between blocks") << "download" << QStringList{"--fault-slow", "2"} << 0;
    // The window answers, and the cancel is heard, while a block is awaited.
    QTest::newRow("download in a block that stalls")
        << "download" << QStringList{"--fault-stall", "2000"} << 500;
    QTest::newRow("text report") << "report" << QStringList{} << 0;
    QTest::newRow("database") << "database" << QStringList{} << 0;
    QTest::newRow("fiscal memory reading") << "reading" << QStringList{} << 0;
  }

  void cancelStopsTheWorkAndOtherWindowsRefuseInput() {
    QFETCH(QString, work);
    QFETCH(QStringList, faults);
    QFETCH(int, pressAfterMs);
    testing::TempDirectory dir;
    const std::string d = dir.Path().string();
    std::optional<emulator::testing::EmulatorProcess> printer;
    if (work == "download") {
      std::vector<std::string> arguments = {"--pty", "--link", d + "/tty", "--model", "ECF-T08"};
      for (const QString& fault : faults) arguments.push_back(fault.toStdString());
      printer.emplace(arguments);
    }
    testing::SystemDirOverride system(TALOVEN_LIBRARY_DIR);

    QWidget main;
    main.resize(400, 300);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QPushButton other(QStringLiteral("Arquivo"));
    int otherClicks = 0;
    connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    NotingUi ui(&main);
    ui.input = (inputs_.Path() / (work == "reading" ? "m.mf" : "j.mfd")).string();
    ui.path = d + "/output";
    QVERIFY(WriteFileAtomically(ui.path, "earlier").ok());
    AppSettings settings;
    settings.portName = d + "/tty";
    settings.modelMask = 0x0400;

    QElapsedTimer sinceBar, sincePress;
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
      WaitWindow* wait = ShownWait();
      if (!wait || !wait->CancelButton() || sincePress.isValid()) return;
      if (wait->Bar()->isHidden() || wait->Bar()->maximum() == 0) return;
      if (!sinceBar.isValid()) sinceBar.start();
      if (sinceBar.elapsed() < pressAfterMs) return;
      ClickThroughTheWindowSystem(&other);
      ClickThroughTheWindowSystem(wait->CancelButton());
      sincePress.start();
    });
    user.start(20);
    MfdOperations operations(ui, settings);
    if (work == "download")
      operations.DownloadMf();
    else if (work == "report")
      operations.TextReport();
    else if (work == "database")
      operations.Database();
    else
      operations.MfReadingReport();
    user.stop();
    QCoreApplication::processEvents();

    QVERIFY2(sincePress.isValid(), "no wait window with Cancelar and a bar came up in time");
    QCOMPARE(ui.told, std::vector<std::string>{Str(StrId::kCommandCancelled)});
    QVERIFY2(sincePress.elapsed() < 5000, qPrintable(QString::number(sincePress.elapsed())));
    std::string kept;
    QVERIFY(ReadWholeFile(ui.path, kept).ok());
    QCOMPARE(kept, std::string("earlier"));
    QCOMPARE(otherClicks, 0);
    // Nothing but the earlier file (and the printer's line) is left.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      QVERIFY2(entry.path() == ui.path || entry.path().filename() == "tty", entry.path().c_str());
  }

 private:
  testing::TempDirectory inputs_;
};

}  // namespace taloven

QTEST_MAIN(taloven::MfdCancelTest)
#include "mfd_cancel_test.moc"
