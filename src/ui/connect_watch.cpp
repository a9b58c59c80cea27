#include "ui/connect_watch.h"

#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {

bool ConnectWatch::Cancelled() {
  if (!view_) {
    view_ = ui_.CreateProgress(Str(StrId::kProgress), false);
    if (!view_) return false;
    view_->SetCaption(Str(StrId::kProgress));
    view_->SetMessage(Str(StrId::kConnecting));
  }
  const ProgressEvents events = view_->Pump();
  return events.cancelClicked || events.escapePressed || events.quitRequested || !view_->Exists();
}

}  // namespace taloven
