#include "app/model_detection.h"

#include "app/model_mask.h"

namespace taloven {

// Probing the ports is not built yet: the program starts with no port chosen
// (or the one given on the command line) and an unknown model, so every
// command stays available.
void DetectModel(AppSettings& settings, Ui&, PortFactory&, Clock&) {
  settings.modelName.clear();
  settings.modelMask = kUnknownModelMask;
}

}  // namespace taloven
