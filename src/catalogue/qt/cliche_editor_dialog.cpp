#include "catalogue/qt/cliche_editor_dialog.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/cliche_text.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"

namespace taloven {

// The keyboard goes through the controls in the order they are made: line 1,
// its styles, line 2, its styles, line 3, its styles, "Centralizado", OK.
ClicheEditorDialog::ClicheEditorDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8("Clichê do Proprietário"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* headings[] = {"Sublinhado", "It\xC3\xA1lico", "Enfatizado", "Expandido"};
  for (int h = 0; h < 4; ++h)
    grid->addWidget(new QLabel(QString::fromUtf8(headings[h]), this), 0, 2 + h, Qt::AlignHCenter);
  for (int i = 0; i < 3; ++i) {
    const size_t line = static_cast<size_t>(i);
    grid->addWidget(new QLabel(QString("Linha %1").arg(i + 1), this), 1 + i, 0,
                    i == 2 ? Qt::AlignTop : Qt::Alignment());
    QWidget* edit;
    if (i < 2) {
      auto* lineEdit = new QLineEdit(this);
      lineEdit->setMaxLength(kClicheLineWidth);
      shortLines_[line] = lineEdit;
      edit = lineEdit;
    } else {
      lastLine_ = new LimitedTextEdit(kClicheLastLineLimit, this);
      lastLine_->setFixedHeight(lastLine_->fontMetrics().lineSpacing() * 2 + 14);
      edit = lastLine_;
    }
    edit->setObjectName(QString("line%1").arg(i + 1));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kClicheLineWidth, 'M')) *
                          3 / 4);
    grid->addWidget(edit, 1 + i, 1);
    QCheckBox** boxes[] = {&styles_[line].underline, &styles_[line].italic, &styles_[line].emphasis,
                           &styles_[line].expanded};
    const char* names[] = {"underline", "italic", "emphasis", "expanded"};
    for (int s = 0; s < 4; ++s) {
      auto* box = new QCheckBox(this);
      box->setObjectName(QString("%1%2").arg(names[s]).arg(i + 1));
      *boxes[s] = box;
      grid->addWidget(box, 1 + i, 2 + s,
                      Qt::AlignHCenter | (i == 2 ? Qt::AlignTop : Qt::Alignment()));
    }
  }
  layout->addLayout(grid);
  centred_ = new QCheckBox("Centralizado", this);
  centred_->setObjectName("centred");
  layout->addWidget(centred_);
  layout->addWidget(AddOkCancelRow(this).box);
}

ClicheAnswer ClicheEditorDialog::Answer() const {
  ClicheAnswer answer;
  for (size_t i = 0; i < 3; ++i) {
    ClicheLine& line = answer.lines[i];
    line.text = i < 2 ? FromQt(shortLines_[i]->text()) : lastLine_->Text();
    line.underline = styles_[i].underline->isChecked();
    line.italic = styles_[i].italic->isChecked();
    line.emphasis = styles_[i].emphasis->isChecked();
    line.expanded = styles_[i].expanded->isChecked();
  }
  answer.centred = centred_->isChecked();
  return answer;
}

}  // namespace taloven
