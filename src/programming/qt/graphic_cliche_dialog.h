#pragma once

#include <QDialog>
#include <string>

namespace taloven {

class Ui;

// The graphic-cliché window. The control that programs the logo comes from
// outside this program and is not present here: the window offers only its
// way out, and tells at once that the USB line cannot carry the logo.
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
