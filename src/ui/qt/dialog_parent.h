#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/window_ui.h"

namespace taloven {

// The window the GUI's dialogs belong to: they open over it and keep it
// waiting while they are up.
class DialogParent {
 public:
  virtual QWidget* Parent() const = 0;
  virtual void SetParent(QWidget* parent) = 0;

 protected:
  ~DialogParent() = default;
};

// A window's claim on the dialogs raised while it is up: from its making to
// its end they open over window, then over the window before it again.
// Nothing happens where the Ui places no dialogs (a script's, say).
class DialogParentScope {
 public:
  DialogParentScope(WindowUi& ui, QWidget* window);
  ~DialogParentScope();
  DialogParentScope(const DialogParentScope&) = delete;
  DialogParentScope& operator=(const DialogParentScope&) = delete;

 private:
  DialogParent* placement_;
  QPointer<QWidget> previous_;
};

}  // namespace taloven
