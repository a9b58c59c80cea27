#include "base/printer_models.h"

#include <array>

namespace taloven {
namespace {

constexpr auto kFirst = Generation::kFirst;
constexpr auto kSecond = Generation::kSecond;
constexpr auto kMfd = MemoryLibrary::kFirst;
constexpr auto kMfd2 = MemoryLibrary::kSecond;

// In the settings list's order; ECF-T13 shares its bit with ECF-T09 and is
// known only from detection.
constexpr std::array<PrinterModel, 13> kModels = {{
    // name, mask, in settings list, recognised by detection, generation,
    // library, restaurant page, brand, dating header
    {"ECF-T01             ", 0x0001, true, false, kFirst, kMfd, false, "", ""},
    {"ECF-T02             ", 0x0004, true, false, kFirst, kMfd, false, "", ""},
    {"ECF-T03             ", 0x0002, true, false, kFirst, kMfd, true, "", ""},
    {"ECF-T04             ", 0x0008, true, false, kFirst, kMfd, true, "", ""},
    {"ECF-T05             ", 0x0100, true, true, kSecond, kMfd, false, "", ""},
    {"ECF-T06             ", 0x0010, true, false, kFirst, kMfd, false, "", ""},
    {"ECF-T07             ", 0x0200, true, true, kSecond, kMfd, false, "", ""},
    {"ECF-T08             ", 0x0400, true, true, kSecond, kMfd, false, "", ""},
    {"ECF-T09             ", 0x0800, true, true, kSecond, kMfd, false, "", ""},
    {"ECF-T10             ", 0x1000, true, true, kSecond, kMfd2, false, "DRAVELIN",
     "DRAVELIN        ECF-T10              ECF-IF"},
    {"ECF-T11             ", 0x2000, true, true, kSecond, kMfd, false, "", ""},
    {"ECF-T12             ", 0x4000, true, true, kSecond, kMfd2, false, "", ""},
    {"ECF-T13             ", 0x0800, false, true, kSecond, kMfd, false, "", ""},
}};

const PrinterModel* ByMask(ModelMask mask) {
  for (const PrinterModel& model : kModels)
    if (model.mask == mask) return &model;
  return nullptr;
}

const PrinterModel* ByName(std::string_view name) {
  for (const PrinterModel& model : kModels)
    if (model.name == name) return &model;
  return nullptr;
}

}  // namespace

std::span<const PrinterModel> PrinterModels() {
  return kModels;
}

std::vector<std::string> SettingsModelNames() {
  std::vector<std::string> names;
  for (const PrinterModel& model : kModels)
    if (model.inSettingsList) names.emplace_back(model.name);
  return names;
}

ModelMask MaskForModelName(std::string_view name) {
  const PrinterModel* model = ByName(name);
  return model ? model->mask : kUnknownModelMask;
}

ModelMask MaskForDetectedModel(std::string_view name, bool* recognised) {
  const PrinterModel* model = ByName(name);
  const bool known = model && model->recognisedByDetection;
  if (recognised) *recognised = known;
  return known ? model->mask : kUnknownModelMask;
}

Generation GenerationOf(ModelMask mask) {
  if (const PrinterModel* model = ByMask(mask)) return model->generation;
  return mask < 0x100 ? Generation::kFirst : Generation::kSecond;
}

MemoryLibrary LibraryOf(ModelMask mask) {
  if (const PrinterModel* model = ByMask(mask)) return model->library;
  return mask < 0x1000 ? MemoryLibrary::kFirst : MemoryLibrary::kSecond;
}

int UsableTotalizerNames(ModelMask mask) {
  return GenerationOf(mask) == Generation::kFirst ? 50 : 30;
}

int PasswordLength(ModelMask mask) {
  return GenerationOf(mask) == Generation::kFirst ? 0 : 20;
}

bool FabLinesDated(ModelMask mask) {
  const PrinterModel* model = ByMask(mask);
  return !model || model->datingHeader.empty();
}

std::string_view DatingJournalHeader() {
  for (const PrinterModel& model : kModels)
    if (!model.datingHeader.empty()) return model.datingHeader;
  return {};
}

bool HasRestaurantPage(std::string_view name) {
  const PrinterModel* model = ByName(name);
  return model && model->restaurantPage;
}

}  // namespace taloven
