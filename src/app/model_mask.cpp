#include "app/model_mask.h"

namespace taloven {

const std::vector<ModelEntry>& ModelTable() {
  static const std::vector<ModelEntry> table = {
      {"ECF-T01             ", 0x0001, true, false}, {"ECF-T02             ", 0x0004, true, false},
      {"ECF-T03             ", 0x0002, true, false}, {"ECF-T04             ", 0x0008, true, false},
      {"ECF-T05             ", 0x0100, true, true},  {"ECF-T06             ", 0x0010, true, false},
      {"ECF-T07             ", 0x0200, true, true},  {"ECF-T08             ", 0x0400, true, true},
      {"ECF-T09             ", 0x0800, true, true},  {"ECF-T10             ", 0x1000, true, true},
      {"ECF-T11             ", 0x2000, true, true},  {"ECF-T12             ", 0x4000, true, true},
      {"ECF-T13             ", 0x0800, false, true},
  };
  return table;
}

std::vector<std::string> SettingsModelNames() {
  std::vector<std::string> names;
  for (const auto& entry : ModelTable())
    if (entry.inSettingsList) names.push_back(entry.name);
  return names;
}

ModelMask MaskForModelName(std::string_view name) {
  for (const auto& entry : ModelTable())
    if (entry.name == name) return entry.mask;
  return kUnknownModelMask;
}

ModelMask MaskForDetectedModel(std::string_view name, bool* recognised) {
  for (const auto& entry : ModelTable()) {
    if (entry.recognisedByDetection && entry.name == name) {
      if (recognised) *recognised = true;
      return entry.mask;
    }
  }
  if (recognised) *recognised = false;
  return kUnknownModelMask;
}

}  // namespace taloven
