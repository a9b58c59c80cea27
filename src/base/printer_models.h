#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// One bit per printer model; 0xFFFF for an unknown model.
using ModelMask = uint32_t;
constexpr ModelMask kUnknownModelMask = 0xFFFF;
constexpr int kModelNameLength = 20;

enum class Generation { kFirst, kSecond };
// KovoMFD or KovoMFD2.
enum class MemoryLibrary { kFirst, kSecond };

// Everything the program knows about one model is a column of this table.
struct PrinterModel {
  std::string_view name;  // 20 characters, blank-padded, as the printer returns it
  ModelMask mask;
  bool inSettingsList;
  bool recognisedByDetection;
  Generation generation;
  MemoryLibrary library;
  bool restaurantPage;
  // The brand its tape prints when it is not the maker's own, and then the
  // header line that dates its journal report in place of the "FAB:" lines.
  std::string_view brand;
  std::string_view datingHeader;
};

std::span<const PrinterModel> PrinterModels();

// The twelve names the settings dialog offers, in table order.
std::vector<std::string> SettingsModelNames();

// Mask by the settings dialog's rule: any name of the table, listed in the
// dialog or not (a detected "ECF-T13" is kept by OK), else unknown.
ModelMask MaskForModelName(std::string_view name);

// Mask by detection's rule: only models detection recognises; else unknown.
// Sets recognised when the name is one of them.
ModelMask MaskForDetectedModel(std::string_view name, bool* recognised);

// Facts by mask. A mask that names no model (0xFFFF, or one typed by hand) is
// judged by where its bits fall: the first generation was given the bits below
// 0x100 and the first library served every model below 0x1000.
Generation GenerationOf(ModelMask mask);
MemoryLibrary LibraryOf(ModelMask mask);
// Names of non-fiscal totalizers the model keeps.
int UsableTotalizerNames(ModelMask mask);
// The password the owner-registration command carries; none for the first
// generation.
int PasswordLength(ModelMask mask);
// False for the model whose journal is dated only by its DatingJournalHeader().
bool FabLinesDated(ModelMask mask);
std::string_view DatingJournalHeader();

// Facts by name, as the printer returned it.
bool HasRestaurantPage(std::string_view name);

}  // namespace taloven
