#include "app/qt/main_window.h"

#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <filesystem>

#include "app/model_detection.h"
#include "app/qt/about_dialog.h"
#include "app/qt/settings_dialog.h"
#include "app/settings_apply.h"
#include "base/encoding.h"
#include "catalogue/qt/command_dialog.h"
#include "fiscalmem/qt/mfd_window.h"
#include "link/execute.h"
#include "link/serial_devices.h"
#include "monitor/qt/monitor_window.h"
#include "programming/qt/program_equipment_dialog.h"
#include "resources/qt/artwork.h"
#include "resources/qt/qt_text.h"
#include "sequences/qt/sequences_window.h"
#include "ui/open_document.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// A '&' in a catalogue title is text, not a keyboard mnemonic.
QString MenuText(const std::string& text) {
  QString shown = ToQt(text);
  shown.replace(QStringLiteral("&"), QStringLiteral("&&"));
  return shown;
}

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string(".") : Utf8ToCp1252(current.string());
}

}  // namespace

MainWindow::MainWindow(AppSettings settings, Ui& ui, PortFactory& ports, Clock& clock,
                       QWidget* parent)
    : QMainWindow(parent),
      settings_(std::move(settings)),
      ui_(ui),
      ports_(ports),
      clock_(clock),
      picture_(new QLabel(this)) {
  setObjectName("102");
  setWindowIcon(ApplicationIcon());

  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  picture_->setObjectName("1212");
  picture_->setPixmap(ProductPicture());
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setAutoFillBackground(true);
  picture_->setPalette(white);
  setCentralWidget(picture_);

  setWindowTitle(QStr(StrId::kProductName));

  // Window shortcuts, not menu ones: they work even without a menu bar.
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &MainWindow::OpenHelp);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::Start() {
  // Where no window manager maximises, the window still fills the screen.
  if (QScreen* shown = screen()) setGeometry(shown->availableGeometry());
  showMaximized();
  settings_.workingDirectory = CurrentDirectory();
  namedPort_ = settings_.portName;
  DetectModel(settings_, ui_, ports_, clock_);

  auto wait = ui_.ShowWait(Str(StrId::kLoadingCatalogue));
  const Status catalogue = LoadCatalogue(settings_.workingDirectory, catalogue_);
  catalogueLoaded_ = catalogue.ok();
  wait.reset();

  if (catalogueLoaded_) {
    RebuildMenus();
  } else {
    // Without its catalogue the window gets no menu bar: closing is all
    // that is left to do.
    std::string text = Str(StrId::kCatalogueNotLoaded);
    if (!catalogue.message().empty()) text += "\r\n\r\n" + catalogue.message();
    ui_.Message(text, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
  }
  update();
}

void MainWindow::RebuildMenus() {
  if (!catalogueLoaded_) return;
  auto* bar = new QMenuBar(this);
  for (const MenuPopup& popup : BuildMenuBar(catalogue_, settings_)) {
    QMenu* menu = bar->addMenu(MenuText(popup.title));
    AddEntries(menu, popup.entries);
  }
  setMenuBar(bar);  // the old bar goes with its menus and actions
}

void MainWindow::AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntry::Kind::Separator:
        menu->addSeparator();
        break;
      case MenuEntry::Kind::Submenu:
        AddEntries(menu->addMenu(MenuText(entry.text)), entry.entries);
        break;
      case MenuEntry::Kind::Item: {
        QAction* action = menu->addAction(MenuText(entry.text));
        action->setObjectName(QString::number(entry.id));
        action->setEnabled(entry.enabled);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnMenu(id); });
        break;
      }
    }
  }
}

void MainWindow::OnMenu(int id) {
  switch (id) {
    case kMenuExit:
      close();
      return;
    case kMenuAbout:
      ShowAbout();
      return;
    case kMenuHelpTopics:
      OpenHelp();
      return;
    case kMenuCommandReference:
      OpenCommandReference();
      return;
    case kMenuSettings:
      OpenSettings();
      return;
    case kMenuProgramEquipment: {
      ProgramEquipmentDialog dialog(settings_, ui_, ports_, clock_, this);
      dialog.exec();
      return;
    }
    case kMenuGraphicCliche:
      ui_.OpenGraphicCliche(settings_.portName);
      return;
    case kMenuSequences:
      OpenSequences();
      return;
    case kMenuMfd:
      OpenMfd();
      return;
    case kMenuMonitor: {
      MonitorWindow window(settings_, catalogue_, ui_, ports_, this);
      window.exec();
      return;
    }
    default:
      break;
  }
  const int index = CommandIndexForMenuId(id, catalogue_);
  if (index >= 0) OnCommandChosen(index);
}

void MainWindow::OnCommandChosen(int index) {
  // The dialog works on its own copy: the catalogue keeps the file's values.
  ExecutingSender sender(ExecutionContext{settings_, ui_, ports_, clock_});
  CommandDialog dialog(catalogue_.At(index), settings_, ui_, sender, this);
  dialog.exec();
}

void MainWindow::OpenHelp() {
  taloven::OpenHelp(ui_, settings_.workingDirectory, HelpTopic::kMainWindow);
}

void MainWindow::OpenCommandReference() {
  OpenDocument(ui_, settings_.workingDirectory + "/comandos.xml");
}

void MainWindow::OpenSettings() {
  SettingsDialog dialog(this, ChoiceFromSettings(settings_),
                        OfferedPortNames(PresentSerialDevices(), namedPort_));
  dialog.OfferUsbSetup(settings_.workingDirectory, ui_);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyAllSettings(dialog.Choice(), settings_);
  RebuildMenus();
}

void MainWindow::OpenSequences() {
  SequencesWindow window(settings_, ui_, ports_, clock_, this);
  window.exec();
}

void MainWindow::OpenMfd() {
  MfdWindow window(ui_, settings_, this);
  window.exec();
}

void MainWindow::ShowAbout() {
  AboutDialog about(settings_.modelMask, this);
  about.exec();
}

}  // namespace taloven
