#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "app/qt/progress_popup.h"
#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "replies/qt/results_window.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// Qt reads a filter's patterns from the parentheses of its label; labels
// that already show them ("Arquivos de Texto (*.txt)") are taken as they are.
QStringList FilterTexts(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const auto& f : filters) {
    QString label = ToQt(f.label);
    QString pattern = ToQt(f.pattern);
    // Patterns match names in any case, so "(*.MFD)" already shows "*.mfd".
    parts << (label.contains("(" + pattern + ")", Qt::CaseInsensitive)
                  ? label
                  : label + " (" + pattern + ")");
  }
  return parts;
}

// The list's date and size columns are as wide as their texts ("08/12/2026
// 14:01", "51,2 KiB"); the name takes what is left.
void FitColumns(QFileDialog& dialog) {
  dialog.setViewMode(QFileDialog::Detail);
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (list == nullptr) return;  // the desktop's own dialog lays itself out
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 440)));
}

// The desktop's opener starts even when nothing on the machine opens the
// file's type, and then complains only on its error stream: ask first for the
// program registered for the type, or for a type it derives from (a text
// editor opens XML). Anything opens raw bytes, so that one does not count.
// The program's desktop entry ("xchm.desktop"), empty when there is none.
QString DesktopProgramFor(const QString& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  QStringList types{type.name()};
  types += type.allAncestors();
  types.removeAll(QStringLiteral("application/octet-stream"));
  for (const QString& name : types) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), name});
    if (!query.waitForStarted()) return QString();  // no desktop utilities: nothing opens it
    // A desktop that takes this long to answer is left to the opener.
    if (!query.waitForFinished(5000)) return QStringLiteral("?");
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (query.exitCode() == 0 && !entry.isEmpty()) return entry;
  }
  return QString();
}

}  // namespace

MessageAnswer QtUi::Message(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(parent_);
  box.setWindowTitle(caption.empty() ? QStr(StrId::kProductName) : ToQt(caption));
  QString shown = ToQt(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(shown);
  switch (icon) {
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::None:
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case MessageButtons::RetryCancel:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Retry:
      return MessageAnswer::Retry;
    default:
      return MessageAnswer::Cancel;
  }
}

std::unique_ptr<WaitHandle> QtUi::ShowWait(const std::string& text) {
  return std::make_unique<WaitWindowHandle>(
      new WaitWindow(parent_, ToQt(text), QStringLiteral("waitText")));
}

std::unique_ptr<WaitHandle> QtUi::ShowConnection(const std::string& text) {
  return std::make_unique<WaitWindowHandle>(
      new WaitWindow(parent_, ToQt(text), QStringLiteral("1026")));
}

// Qt's styles draw a progress bar one way only, so the smooth choice has no
// look of its own here.
std::unique_ptr<ProgressView> QtUi::CreateProgress(const std::string& title, bool) {
  return std::make_unique<ProgressPopupView>(parent_, ToQt(title));
}

void QtUi::Pause(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::optional<std::string> QtUi::SaveFileName(const std::string& proposedName,
                                              const std::string& defaultExtension,
                                              const std::vector<FileFilter>& filters) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(FilterTexts(filters));
  dialog.selectFile(ToQt(proposedName));
  QString ext = ToQt(defaultExtension);
  ext.remove("*.");
  dialog.setDefaultSuffix(ext);
  FitColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQt(dialog.selectedFiles().first());
}

std::optional<std::string> QtUi::OpenFileName(const std::vector<FileFilter>& filters) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(FilterTexts(filters));
  FitColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQt(dialog.selectedFiles().first());
}

std::optional<std::vector<std::string>> QtUi::OpenFileNames(const std::string& title,
                                                            const std::vector<FileFilter>& filters,
                                                            bool several) {
  QFileDialog dialog(parent_, ToQt(title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dialog.setNameFilters(FilterTexts(filters));
  FitColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  std::vector<std::string> names;
  for (const QString& name : dialog.selectedFiles()) names.push_back(FromQt(name));
  return names;
}

bool QtUi::ShellOpen(const std::string& path) {
  const QString file = ToQt(path);
  if (DesktopProgramFor(file).isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtUi::ShellOpenHelp(const std::string& path, int contextId) {
  const QString file = ToQt(path);
  const QString program = DesktopProgramFor(file);
  if (program.isEmpty()) return false;
  // The help viewer Debian has takes the page's context number; others get
  // the file and show its first page.
  if (program == QStringLiteral("xchm.desktop"))
    return QProcess::startDetached(QStringLiteral("xchm"),
                                   {QStringLiteral("-c"), QString::number(contextId), file});
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void QtUi::ShowResults(const std::string& message, const std::string& dump) {
  // The save dialogs belong to the results window, not to its opener.
  QtUi windowUi(parent_);
  ResultsWindow window(message, dump, windowUi, parent_);
  windowUi.SetParent(&window);
  window.exec();
}

void QtUi::LogWriteFailed(const std::string& text) {
  // Process-wide: the results window brings a QtUi of its own.
  static bool shown = false;
  if (shown) return;
  shown = true;
  Message(text, std::string(), MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace taloven
