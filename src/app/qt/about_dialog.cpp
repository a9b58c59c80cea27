#include "app/qt/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/about_text.h"
#include "resources/qt/artwork.h"
#include "resources/qt/qt_text.h"

namespace taloven {

AboutDialog::AboutDialog(uint32_t modelMask, QWidget* parent)
    : QDialog(parent), text_(new QLabel(this)) {
  setModal(true);
  setWindowTitle(QStr(StrId::kAboutTitle));
  setWindowIcon(ApplicationIcon());

  auto* icon = new QLabel(this);
  icon->setObjectName("aboutIcon");
  icon->setPixmap(ApplicationIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop);

  QString text = ToQt(AboutText(modelMask));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_->setObjectName("aboutText");
  text_->setTextFormat(Qt::PlainText);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setText(text);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->setSpacing(16);
  row->addWidget(icon);
  row->addWidget(text_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 12);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

}  // namespace taloven
