#pragma once

#include <QDialog>
#include <string>

namespace taloven {

class Ui;

// "Clichê Gráfico": the window in which the printer's logo is programmed by
// an outside control. Without that control it opens empty; it still tells
// that the logo cannot go over USB.
class GraphicClicheDialog : public QDialog {
  Q_OBJECT
 public:
  GraphicClicheDialog(const std::string& portName, Ui& ui, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::string portName_;
  Ui& ui_;
  bool told_ = false;
};

}  // namespace taloven
