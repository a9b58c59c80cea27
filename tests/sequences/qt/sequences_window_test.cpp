#include "sequences/qt/sequences_window.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "resources/qt/qt_text.h"
#include "sequences/sequences_file.h"
#include "support/qt/placing_ui.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using testing::ScriptedUi;

// Groups that differ only in letter case are one group; the second command
// is for another model; the fixed parameter is never offered for editing.
const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<comandos>
  <cmd><tipo>Não Fiscal</tipo><titulo>Sangria</titulo><escape>25</escape>
       <equipamentos_hab>1</equipamentos_hab>
       <parametro><titulo>Fixo</titulo><tamanho>2</tamanho><formato>NOT_EDITABLE</formato>
         <obrigatorio>S</obrigatorio><valor>01</valor></parametro>
       <parametro><titulo>Texto</titulo><tamanho>4</tamanho><formato>STRING</formato>
         <obrigatorio>N</obrigatorio><valor>abcd</valor></parametro></cmd>
  <cmd><tipo>NÃO FISCAL</tipo><titulo>Suprimento</titulo><escape>29</escape>
       <equipamentos_hab>2</equipamentos_hab></cmd>
  <cmd><tipo>Cupom Fiscal</tipo><titulo>Abre cupom</titulo><escape>0</escape>
       <equipamentos_hab>1</equipamentos_hab></cmd>
</comandos>
)";

QStringList Texts(QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

}  // namespace

class SequencesWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  AppSettings settings_;
  testing::TestClock clock_;
  ScriptedUi ui_{&clock_};
  testing::ScriptedLine line_;
  testing::ScriptedPortFactory ports_{line_};

  std::unique_ptr<SequencesWindow> Open() {
    auto window = std::make_unique<SequencesWindow>(settings_, ui_, ports_, clock_);
    window->show();
    return window;
  }
  template <typename T>
  static T* Find(QWidget& window, int id) {
    return window.findChild<T*>(QString::number(id));
  }

 private slots:
  void initTestCase() {
    QFile file(dir_.filePath("comandos.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kCatalogue);
    file.close();
    settings_.workingDirectory = FromQt(dir_.path());
    settings_.modelMask = 1;
    settings_.filterByModel = 1;
  }

  void composesSavesReloadsAndDeletes() {
    auto window = Open();
    QCOMPARE(window->windowTitle(), QString::fromUtf8("Sequências"));
    auto* groups = Find<QListWidget>(*window, 1213);
    auto* available = Find<QListWidget>(*window, 1162);
    auto* commands = Find<QListWidget>(*window, 1161);
    auto* saved = Find<QListWidget>(*window, 1172);
    auto* parameters = Find<QTableWidget>(*window, 1166);
    auto* erase = Find<QPushButton>(*window, 1173);
    QCOMPARE(Texts(groups),
             QStringList({"Cupom Fiscal", QString::fromUtf8("Não Fiscal"), "TODOS"}));
    QCOMPARE(groups->currentItem()->text(), QStringLiteral("TODOS"));
    QCOMPARE(Texts(available), QStringList({"Abre cupom", "Sangria"}));  // the model filter
    QVERIFY(!erase->isEnabled());
    QVERIFY(!Find<QPushButton>(*window, 1291)->isVisible());
    QCOMPARE(Find<QPushButton>(*window, 1167)->toolTip(), QStringLiteral("Adicionar  comando"));
    QCOMPARE(parameters->palette().color(QPalette::Base), QColor(102, 140, 198));

    // Adicionar appends; Enter in the available list adds after the selection.
    available->setCurrentRow(1);
    QTest::mouseClick(Find<QPushButton>(*window, 1167), Qt::LeftButton);
    QCOMPARE(Texts(commands), QStringList({"Sangria"}));
    QCOMPARE(parameters->rowCount(), 2);
    QCOMPARE(parameters->item(1, 1)->text(), QString::fromUtf8("não"));
    available->setCurrentRow(0);
    available->setFocus();
    QTest::keyClick(available, Qt::Key_Return);
    QCOMPARE(Texts(commands), QStringList({"Sangria", "Abre cupom"}));
    QVERIFY(window->isVisible());

    // A click edits the selected rows: the fixed one is passed over.
    commands->setCurrentRow(0);
    parameters->selectAll();
    ui_.Push(std::string("xy"));
    emit parameters->cellClicked(0, 0);
    QVERIFY(ui_.AllAnswered());
    QCOMPARE(parameters->item(1, 2)->text(), QStringLiteral("xy  "));
    QCOMPARE(parameters->item(0, 2)->text(), QStringLiteral("01"));

    ui_.Push(std::string("teste"));
    QTest::mouseClick(Find<QPushButton>(*window, 1171), Qt::LeftButton);
    QCOMPARE(Texts(saved), QStringList({"TESTE               "}));
    QVERIFY(erase->isEnabled());
    QCOMPARE(Texts(commands), QStringList({"Sangria", "Abre cupom"}));
    QCOMPARE(parameters->rowCount(), 0);
    window.reset();

    // Opened again, the saved sequence comes back with its edited value.
    window = Open();
    commands = Find<QListWidget>(*window, 1161);
    saved = Find<QListWidget>(*window, 1172);
    parameters = Find<QTableWidget>(*window, 1166);
    QVERIFY(Texts(commands).isEmpty());
    saved->setCurrentRow(0);
    QCOMPARE(Texts(commands), QStringList({"Sangria", "Abre cupom"}));
    commands->setCurrentRow(0);
    QCOMPARE(parameters->item(1, 2)->text(), QStringLiteral("xy  "));

    ui_.Push(MessageAnswer::Yes);
    QTest::mouseClick(Find<QPushButton>(*window, 1173), Qt::LeftButton);
    QVERIFY(Texts(saved).isEmpty());
    QVERIFY(!Find<QPushButton>(*window, 1173)->isEnabled());
    SavedSequences left;
    QVERIFY(LoadSequences(SequencesFilePath(settings_.workingDirectory), left).value() ==
            RecordFile::Read);
    QCOMPARE(left.Count(), 0);
    QVERIFY(ui_.AllAnswered());
  }

  // The keyboard, and the reading of the window, take the controls in the
  // order of the dialog's resource.
  void controlsFollowEachOtherInTheirOrder() {
    auto window = Open();
    QStringList chain;
    for (QWidget* w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain())
      if (w->parentWidget() == window.get() && !w->objectName().isEmpty()) chain << w->objectName();
    QCOMPARE(chain,
             QStringList({"1213", "1162", "1161", "1172", "1167", "1168", "1173", "1238", "1170",
                          "1171", "1291", "1305", "1295", "1293", "1294", "2",    "1166", "1277",
                          "1276", "1272", "1211", "1208", "1209", "1210", "1174", "1275", "1273"}));
  }

  // Settings and the graphic cliche open over this window, on the settings
  // it works with; afterwards the dialogs go back to the window below.
  void pictureButtonsOpenTheToolsOverThisWindow() {
    testing::PlacingUi ui;
    QWidget below;
    ui.SetParent(&below);
    settings_.portName = "COM3:";
    {
      SequencesWindow window(settings_, ui, ports_, clock_);
      Find<QPushButton>(window, 1294)->click();
      Find<QPushButton>(window, 1305)->click();
      QCOMPARE(ui.opened.size(), size_t{2});
      QCOMPARE(ui.opened[0].tool, std::string("settings"));
      QCOMPARE(ui.opened[0].settings, &settings_);
      QCOMPARE(ui.opened[1].tool, std::string("cliche"));
      QCOMPARE(ui.opened[1].detail, std::string("COM3:"));
      for (const auto& opened : ui.opened) QCOMPARE(opened.owner, static_cast<QWidget*>(&window));
    }
    QCOMPARE(ui.Parent(), &below);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::SequencesWindowTest)
#include "sequences_window_test.moc"
