#include "fiscalmem/qt/mfd_window.h"

#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "resources/qt/qt_text.h"
#include "ui/qt/dialog_parent.h"
#include "ui/qt/help_key.h"
#include "ui/ui.h"

namespace taloven {
namespace {}  // namespace

MfdWindow::MfdWindow(Ui& ui, const AppSettings& settings, QWidget* parent)
    : QDialog(parent), operations_(ui, settings) {
  setWindowTitle(QStr(StrId::kMfd));
  AddHelpKey(this, ui, HelpTopic::kMfdWindow);
  resize(420, 240);
  auto* bar = new QMenuBar(this);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(bar);

  auto add = [this](QMenu* menu, const char* name, const char* text, void (MfdOperations::*run)()) {
    QAction* action = menu->addAction(ToQt(W(text)));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run] { (operations_.*run)(); });
    return action;
  };

  QMenu* file = bar->addMenu(QStringLiteral("Arquivo"));
  add(file, "textReport", "Emissão de documento(s)", &MfdOperations::TextReport);
  add(file, "database", "Geração de banco de dados", &MfdOperations::Database);
  add(file, "mfReading", "Relatório da Memória Fiscal", &MfdOperations::MfReadingReport);
  file->addSeparator();
  add(file, "diagnosis", "Diagnostico do relatório da MFD", &MfdOperations::Diagnosis);
  add(file, "bitmaps", "Decodificar Bitmaps PDF-417 Distintos", &MfdOperations::BitmapsToMfd);
  file->addSeparator();
  QAction* exit = file->addAction(QStringLiteral("Sair"));
  exit->setObjectName("exit");
  connect(exit, &QAction::triggered, this, &QDialog::accept);

  QMenu* link = bar->addMenu(ToQt(W("Comunicação")));
  QMenu* download = link->addMenu(QStringLiteral("Download"));
  add(download, "downloadMfd", "Memória de fita-detalhe (MFD)", &MfdOperations::DownloadMfd);
  add(download, "downloadMf", "Memória Fiscal (MF)", &MfdOperations::DownloadMf);
  add(download, "downloadSb", "Software Básico(SB)", &MfdOperations::DownloadSb);
  QAction* scanner = link->addAction(QStringLiteral("Leitura via scanner (PDF - 417)"));
  scanner->setObjectName("scanner");
  connect(scanner, &QAction::triggered, this, [this, &ui] {
    const DialogParentScope overThis(ui, this);
    ui.OpenScanner();
  });
}

}  // namespace taloven
