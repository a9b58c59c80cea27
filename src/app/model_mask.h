#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// One bit per printer model; masks below 0x100 are the first generation.
using ModelMask = uint32_t;
constexpr ModelMask kUnknownModelMask = 0xFFFF;
constexpr int kModelNameLength = 20;

struct ModelEntry {
  std::string name;  // 20 characters, blank-padded, as the printer returns it
  ModelMask mask;
  bool inSettingsList;
  bool recognisedByDetection;
};

const std::vector<ModelEntry>& ModelTable();

// The twelve names the settings dialog offers, in table order.
std::vector<std::string> SettingsModelNames();

// Mask by the settings dialog's rule: any name of the table, listed in the
// dialog or not (a detected "ECF-T13" is kept by OK), else unknown.
ModelMask MaskForModelName(std::string_view name);

// Mask by detection's rule: only models detection recognises; else unknown.
// Sets recognised when the name is one of them.
ModelMask MaskForDetectedModel(std::string_view name, bool* recognised);

}  // namespace taloven
