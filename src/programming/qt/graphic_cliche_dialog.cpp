#include "programming/qt/graphic_cliche_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "resources/qt/qt_text.h"
#include "ui/ui.h"

namespace taloven {

GraphicClicheDialog::GraphicClicheDialog(const std::string& portName, Ui& ui, QWidget* parent)
    : QDialog(parent), portName_(portName), ui_(ui) {
  setWindowTitle(QStr(StrId::kGraphicCliche));
  auto* exit = new QPushButton(QStr(StrId::kExit), this);
  exit->setObjectName(QStringLiteral("2"));
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  layout->addLayout(buttons);
  resize(360, 240);
}

void GraphicClicheDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (told_ || portName_ != "USB") return;
  told_ = true;
  QTimer::singleShot(0, this, [this] {
    ui_.Message(W("Este comando não suporta interface USB"), Str(StrId::kGraphicCliche),
                MessageButtons::Ok, MessageIcon::Exclamation);
  });
}

}  // namespace taloven
