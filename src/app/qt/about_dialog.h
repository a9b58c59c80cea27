#pragma once

#include <QDialog>
#include <QLabel>
#include <cstdint>

namespace taloven {

// "Sobre o Taloven": the product's version and that of the fiscal-memory
// library the model uses.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  AboutDialog(uint32_t modelMask, QWidget* parent = nullptr);
  QString Text() const { return text_->text(); }

 private:
  QLabel* text_;
};

}  // namespace taloven
