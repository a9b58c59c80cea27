#include "programming/qt/graphic_cliche_dialog.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "resources/qt/qt_text.h"
#include "ui/ui.h"

namespace taloven {

GraphicClicheDialog::GraphicClicheDialog(const std::string& portName, Ui& ui, QWidget* parent)
    : QDialog(parent), portName_(portName), ui_(ui) {
  setWindowTitle(QString::fromUtf8("Clichê Gráfico"));
  auto* layout = new QVBoxLayout(this);
  auto* area = new QWidget(this);
  area->setObjectName("logoArea");
  area->setMinimumSize(420, 260);
  layout->addWidget(area, 1);
  auto* leave = new QPushButton("Sair", this);
  leave->setObjectName("2");
  connect(leave, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(leave, 0, Qt::AlignRight);
}

void GraphicClicheDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (told_ || portName_ != "USB") return;
  told_ = true;
  // Over the open window, which stays open.
  QTimer::singleShot(0, this, [this] {
    ui_.Message(W("Este comando não suporta interface USB"), Str(32915), MessageButtons::Ok,
                MessageIcon::Exclamation);
  });
}

}  // namespace taloven
