#include "base/printer_models.h"

#include <gtest/gtest.h>

namespace taloven {
namespace {

// A mask typed by hand that names no model must keep the rule the printers'
// masks were laid out by, and the models that break it must keep their row.
TEST(PrinterModels, FactsByMask) {
  const struct {
    ModelMask mask;
    Generation generation;
    MemoryLibrary library;
    int totalizerNames;
    int passwordLength;
    bool fabLinesDated;
  } cases[] = {
      {0x0001, Generation::kFirst, MemoryLibrary::kFirst, 50, 0, true},      // ECF-T01
      {0x0010, Generation::kFirst, MemoryLibrary::kFirst, 50, 0, true},      // ECF-T06
      {0x0003, Generation::kFirst, MemoryLibrary::kFirst, 50, 0, true},      // no model
      {0x0080, Generation::kFirst, MemoryLibrary::kFirst, 50, 0, true},      // no model
      {0x0100, Generation::kSecond, MemoryLibrary::kFirst, 30, 20, true},    // ECF-T05
      {0x0800, Generation::kSecond, MemoryLibrary::kFirst, 30, 20, true},    // ECF-T09 and T13
      {0x1000, Generation::kSecond, MemoryLibrary::kSecond, 30, 20, false},  // ECF-T10
      {0x2000, Generation::kSecond, MemoryLibrary::kFirst, 30, 20, true},    // ECF-T11
      {0x4000, Generation::kSecond, MemoryLibrary::kSecond, 30, 20, true},   // ECF-T12
      {0x2001, Generation::kSecond, MemoryLibrary::kSecond, 30, 20, true},   // no model
      {0xFFFF, Generation::kSecond, MemoryLibrary::kSecond, 30, 20, true},   // unknown
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GenerationOf(c.mask), c.generation) << std::hex << c.mask;
    EXPECT_EQ(LibraryOf(c.mask), c.library) << std::hex << c.mask;
    EXPECT_EQ(UsableTotalizerNames(c.mask), c.totalizerNames) << std::hex << c.mask;
    EXPECT_EQ(PasswordLength(c.mask), c.passwordLength) << std::hex << c.mask;
    EXPECT_EQ(FabLinesDated(c.mask), c.fabLinesDated) << std::hex << c.mask;
  }
}

TEST(PrinterModels, FactsByName) {
  const struct {
    const char* name;
    ModelMask settingsMask;
    ModelMask detectedMask;
    bool restaurantPage;
  } cases[] = {
      {"ECF-T01             ", 0x0001, 0xFFFF, false},
      {"ECF-T03             ", 0x0002, 0xFFFF, true},
      {"ECF-T04             ", 0x0008, 0xFFFF, true},
      {"ECF-T05             ", 0x0100, 0x0100, false},
      {"ECF-T13             ", 0x0800, 0x0800, false},
      {"ECF-T03", 0xFFFF, 0xFFFF, false},  // names are compared padded, as the printer sends them
      {"", 0xFFFF, 0xFFFF, false},
  };
  for (const auto& c : cases) {
    bool recognised = true;
    EXPECT_EQ(MaskForModelName(c.name), c.settingsMask) << c.name;
    EXPECT_EQ(MaskForDetectedModel(c.name, &recognised), c.detectedMask) << c.name;
    EXPECT_EQ(recognised, c.detectedMask != kUnknownModelMask) << c.name;
    EXPECT_EQ(HasRestaurantPage(c.name), c.restaurantPage) << c.name;
  }
}

// The dating header is the line the branded model's tape prints: its brand,
// its name and its type in the columns the journal gives them.
TEST(PrinterModels, TheDatingHeaderIsTheBrandedModelsTapeHeader) {
  int branded = 0;
  for (const PrinterModel& model : PrinterModels()) {
    EXPECT_EQ(model.name.size(), static_cast<size_t>(kModelNameLength));
    if (model.brand.empty()) continue;
    ++branded;
    std::string header(model.brand);
    header.resize(16, ' ');
    header += std::string(model.name) + " ECF-IF";
    EXPECT_EQ(model.datingHeader, header);
  }
  EXPECT_EQ(branded, 1);
  EXPECT_EQ(DatingJournalHeader(), "DRAVELIN        ECF-T10              ECF-IF");
  EXPECT_EQ(SettingsModelNames().size(), 12u);
}

}  // namespace
}  // namespace taloven
