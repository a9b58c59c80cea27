#pragma once

#include <QDialog>
#include <string>

#include "ui/ui.h"

class QPlainTextEdit;
class QPushButton;

namespace taloven {

// The outcome of a command or a sequence: the message, or the hex dump of
// the bytes exchanged, and "Salvar" to put either or both into a file. The
// save flow asks its questions through the given Ui.
class ResultsWindow : public QDialog {
  Q_OBJECT

 public:
  ResultsWindow(std::string message, std::string dump, Ui& ui, QWidget* parent = nullptr);

  // The text the box shows now, as the core holds it (Windows-1252).
  std::string ShownText() const { return shown_; }

 private slots:
  void ToggleView();
  void Save();

 private:
  void Show(const std::string& text);

  std::string message_;
  std::string dump_;
  std::string shown_;
  Ui& ui_;
  QPlainTextEdit* textBox_ = nullptr;
  QPushButton* dumpButton_ = nullptr;
};

}  // namespace taloven
