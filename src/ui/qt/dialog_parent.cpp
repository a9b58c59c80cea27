#include "ui/qt/dialog_parent.h"

namespace taloven {

DialogParentScope::DialogParentScope(WindowUi& ui, QWidget* window) : placement_(ui.Placement()) {
  if (!placement_) return;
  previous_ = placement_->Parent();
  placement_->SetParent(window);
}

DialogParentScope::~DialogParentScope() {
  // A previous window closed meanwhile leaves the dialogs without a parent.
  if (placement_) placement_->SetParent(previous_);
}

}  // namespace taloven
