#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <memory>

#include "app/about_text.h"
#include "app/qt/about_dialog.h"
#include "app/qt/main_window.h"
#include "base/encoding.h"
#include "catalogue/qt/command_dialog.h"
#include "resources/qt/qt_text.h"
#include "resources/strings.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

// Three groups, one of them split in the file, a command for no model, an
// accented title and one with an ampersand.
const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<comandos>
  <cmd><tipo>Informações</tipo><titulo>Marca, Modelo e Tipo</titulo><escape>35 60</escape>
       <equipamentos_hab>65535</equipamentos_hab></cmd>
  <cmd><tipo>Cupom Fiscal</tipo><titulo>Abre Cupom</titulo><escape>0</escape>
       <equipamentos_hab>1</equipamentos_hab>
       <parametro><titulo>CPF</titulo><tamanho>4</tamanho><formato>STRING</formato>
         <obrigatorio>N</obrigatorio><valor>abcd</valor></parametro></cmd>
  <cmd><tipo>Informações</tipo><titulo>Leitura do Relógio</titulo><escape>35 27</escape></cmd>
  <cmd><tipo>Relatórios</tipo><titulo>Cupom &amp; Nota</titulo><escape>14</escape>
       <equipamentos_hab>2</equipamentos_hab></cmd>
</comandos>
)";

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  QString previousDir_;
  std::unique_ptr<testing::ScriptedUi> ui_;
  testing::TestClock clock_;
  testing::ScriptedLine line_;  // no printer on any port
  testing::ScriptedPortFactory ports_{line_};
  std::unique_ptr<MainWindow> window_;

  std::string Dir() const { return FromQt(dir_->path()); }

  void WriteFile(const QString& name, const char* text) {
    QDir(dir_->path()).mkpath(QFileInfo(name).path());
    std::ofstream(QDir(dir_->path()).filePath(name).toStdString()) << text;
  }

  void StartWindow(AppSettings settings = {}) {
    window_ = std::make_unique<MainWindow>(settings, *ui_, ports_, clock_);
    window_->Start();
  }

  // Window shortcuts (F1, Escape) reach only the active window.
  void PressKey(Qt::Key key) {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(window_.get(), key);
  }

  QAction* Action(const char* id) const { return window_->findChild<QAction*>(id); }

  QStringList Titles() const {
    QStringList titles;
    for (QAction* a : window_->menuBar()->actions()) titles << a->text();
    return titles;
  }

  const testing::ScriptedUi::Prompt& LastPrompt() const { return ui_->Prompts().back(); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    ui_ = std::make_unique<testing::ScriptedUi>(&clock_);
    line_.openResult = 0;
  }

  void cleanup() {
    window_.reset();
    QDir::setCurrent(previousDir_);
    dir_.reset();
  }

  void startsMaximisedWhiteAndTitledWithThePicture() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Taloven"));
    QVERIFY(window_->windowState() & Qt::WindowMaximized);
    QVERIFY(!window_->windowIcon().isNull());
    auto* picture = window_->findChild<QLabel*>("1212");
    QVERIFY(picture);
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(picture->alignment(), Qt::AlignCenter);
    QCOMPARE(window_->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(window_->Settings().workingDirectory, Dir());
    // Detection found no printer, then the catalogue was loaded under the
    // wait window.
    QCOMPARE(window_->Settings().modelMask, 0xFFFFu);
    QCOMPARE(window_->Settings().portName, std::string("COM1:"));
    const auto kinds = ui_->PromptKinds();
    QCOMPARE(kinds.front(), std::string("connection"));
    QCOMPARE(kinds.back(), std::string("wait"));
    QCOMPARE(ui_->Prompts().back().text, Str(StrId::kLoadingCatalogue));
  }

  void buildsTheMenusFromTheCatalogue() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    QCOMPARE(Titles(),
             QStringList({QString::fromUtf8("Operações"), QString::fromUtf8("Informações"),
                          "Cupom Fiscal", QString::fromUtf8("Relatórios"), "Ajuda"}));
    QMenu* info = window_->menuBar()->actions()[1]->menu();
    QCOMPARE(info->actions().size(), 2);
    QCOMPARE(info->actions()[0]->objectName(), QStringLiteral("1083"));
    QCOMPARE(info->actions()[1]->objectName(), QStringLiteral("1085"));
    QCOMPARE(info->actions()[1]->text(), QString::fromUtf8("Leitura do Relógio"));
    QCOMPARE(Action("1086")->text(), QStringLiteral("Cupom && Nota"));

    // Every tool and every command of the catalogue can be chosen.
    for (const char* id : {"2", "108", "109", "111", "112", "113", "110", "119", "120", "1083",
                           "1084", "1085", "1086"}) {
      QVERIFY2(Action(id) && Action(id)->isEnabled(), id);
    }
  }

  void greysCommandsOfOtherModelsWhenFiltering() {
    WriteFile("comandos.xml", kCatalogue);
    AppSettings settings;
    settings.filterByModel = 1;
    StartWindow(settings);
    // Unknown model: only the command enabled on no model is greyed.
    QVERIFY(Action("1083")->isEnabled());
    QVERIFY(Action("1084")->isEnabled());
    QVERIFY(!Action("1085")->isEnabled());
    QVERIFY(Action("1086")->isEnabled());

    window_->Settings().modelMask = 0x0001;
    window_->RebuildMenus();
    QVERIFY(Action("1083")->isEnabled());
    QVERIFY(Action("1084")->isEnabled());
    QVERIFY(!Action("1085")->isEnabled());
    QVERIFY(!Action("1086")->isEnabled());

    window_->Settings().filterByModel = 0;
    window_->RebuildMenus();
    for (const char* id : {"1083", "1084", "1085", "1086"}) QVERIFY2(Action(id)->isEnabled(), id);
    QCOMPARE(window_->findChildren<QMenuBar*>().size(), 1);
  }

  void withoutACatalogueThereAreNoMenus() {
    StartWindow();
    QVERIFY(window_->menuWidget() == nullptr);
    QVERIFY(!ui_->Prompts().empty());
    QCOMPARE(LastPrompt().kind, std::string("message"));
    QCOMPARE(LastPrompt().text.rfind(Str(StrId::kCatalogueNotLoaded), 0), 0u);
    // F1 and Escape still work.
    WriteFile("help/Taloven_Help.chm", "chm");
    PressKey(Qt::Key_F1);
    QCOMPARE(ui_->Opened(), std::vector<std::string>{Dir() + "/help/Taloven_Help.chm"});
    PressKey(Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
  }

  void aBrokenCatalogueIsNoCatalogue() {
    WriteFile("comandos.xml", "<comandos><cmd>");
    StartWindow();
    QVERIFY(window_->menuWidget() == nullptr);
    QCOMPARE(LastPrompt().text.rfind(Str(StrId::kCatalogueNotLoaded), 0), 0u);
  }

  void choosingACommandOpensItsDialogOnACopy() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    for (int time = 0; time < 2; ++time) {
      ui_->Push(std::string("wx"));
      bool seen = false;
      // The dialog is modal: look at it from inside its own loop.
      QTimer::singleShot(0, window_.get(), [&] {
        auto* dialog = qobject_cast<CommandDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->Begin();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Abre Cupom"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("1038"), Qt::LeftButton);
        QCOMPARE(dialog->Logic().Record().parameters.at(0).value, std::string("wx  "));
        seen = true;
        dialog->reject();
      });
      Action("1084")->trigger();
      QVERIFY(seen);
      // Each opening starts again from the catalogue's value.
      auto asked = std::find_if(ui_->Prompts().rbegin(), ui_->Prompts().rend(),
                                [](const auto& prompt) { return prompt.kind == "text"; });
      QVERIFY(asked != ui_->Prompts().rend());
      QCOMPARE(asked->details.at(1), std::string("abcd"));
      QCOMPARE(ui_->Results().size(), size_t(time + 1));
    }
    QCOMPARE(window_->Catalogue().At(1).parameters.at(0).value, std::string("abcd"));
  }

  void opensHelpAndTheCommandReference() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    Action("110")->trigger();  // no help file yet: the user is told
    QVERIFY(ui_->Opened().empty());
    QVERIFY(LastPrompt().text.find(Dir() + "/help/Taloven_Help.chm") != std::string::npos);

    WriteFile("help/Taloven_Help.chm", "chm");
    Action("110")->trigger();
    PressKey(Qt::Key_F1);
    Action("120")->trigger();
    const std::string help = Dir() + "/help/Taloven_Help.chm";
    QCOMPARE(ui_->Opened(), (std::vector<std::string>{help, help, Dir() + "/comandos.xml"}));
  }

  void sairAndEscapeClose() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    QVERIFY(window_->isVisible());
    Action("2")->trigger();
    QVERIFY(!window_->isVisible());

    StartWindow();
    PressKey(Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
  }

  void aboutShowsTheVersionsOfTheModelsLibrary() {
    WriteFile("comandos.xml", kCatalogue);
    StartWindow();
    window_->Settings().modelMask = 0x2000;
    QString shown;
    QString caption;
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
      if (!about) return;
      shown = about->Text();
      caption = about->windowTitle();
      about->accept();
    });
    Action("113")->trigger();
    QString expected = ToQt(AboutText(0x2000));
    expected.replace("\r\n", "\n");
    QVERIFY(!expected.isEmpty());
    QCOMPARE(shown, expected);
    QCOMPARE(caption, QStringLiteral("Sobre o Taloven"));
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::MainWindowTest)
#include "main_window_test.moc"
