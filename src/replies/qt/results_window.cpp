#include "replies/qt/results_window.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "replies/hex_dump.h"
#include "replies/results_save.h"
#include "resources/qt/qt_text.h"
#include "ui/qt/help_key.h"

namespace taloven {
namespace {

// The box breaks lines at LF only; a CR of a CR LF pair would show as a box.
QString DisplayText(const std::string& text) {
  QString shown = ToQt(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QPushButton* Button(const QString& caption, const char* id, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(id));
  return button;
}

}  // namespace

ResultsWindow::ResultsWindow(std::string message, std::string dump, Ui& ui, QWidget* parent)
    : QDialog(parent), message_(std::move(message)), dump_(std::move(dump)), ui_(ui) {
  setWindowTitle(QStr(StrId::kReturnMessage));
  AddHelpKey(this, ui, HelpTopic::kResults);
  setSizeGripEnabled(true);
  resize(720, 460);

  textBox_ = new QPlainTextEdit(this);
  textBox_->setObjectName(QStringLiteral("1173"));
  textBox_->setReadOnly(true);
  textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(8);
  textBox_->setFont(font);
  // Tab stops every eight characters keep the tables' columns in line.
  textBox_->setTabStopDistance(8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));

  dumpButton_ = Button(QStr(StrId::kDump), "1027", this);
  dumpButton_->setDefault(true);
  QPushButton* saveButton = Button(QStr(StrId::kSave), "1287", this);
  QPushButton* exitButton = Button(QStr(StrId::kExit), "2", this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(dumpButton_);
  buttons->addWidget(saveButton);
  buttons->addStretch();
  buttons->addWidget(exitButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(textBox_);
  layout->addLayout(buttons);

  connect(dumpButton_, &QPushButton::clicked, this, &ResultsWindow::ToggleView);
  connect(saveButton, &QPushButton::clicked, this, &ResultsWindow::Save);
  connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

  Show(message_);
}

void ResultsWindow::ToggleView() {
  if (dumpButton_->text() == QStr(StrId::kDump)) {
    dumpButton_->setText(QStr(StrId::kMessage));
    Show(HexDumpText(dump_));
  } else {
    dumpButton_->setText(QStr(StrId::kDump));
    Show(message_);
  }
  update();
}

void ResultsWindow::Save() {
  SaveResults(ui_, message_, dump_);
}

void ResultsWindow::Show(const std::string& text) {
  shown_ = text;
  textBox_->setPlainText(DisplayText(text));
}

}  // namespace taloven
