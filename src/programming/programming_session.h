#pragma once

#include <functional>

#include "link/execute.h"
#include "programming/equipment_configuration.h"

namespace taloven {

// What the programming pages show and give back. The configuration carries
// the general page, the tax rates with their linkage and the totalizer
// names; the restaurant page's choices are held as the page shows them.
struct ProgrammingPages {
  EquipmentConfiguration configuration;
  int usableNames = 50;  // totalizer boxes 1..usableNames are editable
  bool restaurantPage = false;
  int restaurantOption = 0;  // 0 restaurant, 1 shop
  bool conferenceCoupon = false;
  int conferenceParameter = 0;  // 0 to 3
};

// The pages loaded from configuration for the model in settings.
ProgrammingPages PagesFor(const EquipmentConfiguration& configuration, const AppSettings& settings);

// The pages read back after OK: the serial number without blanks, the
// restaurant choices as the stored decimal texts.
EquipmentConfiguration ConfigurationFromPages(const ProgrammingPages& pages);

// Shows the pages; true when they were closed with OK.
using PagesEditor = std::function<bool(ProgrammingPages&)>;

// Edits configuration on the pages, offers to save it and programs the
// printer with it, showing the results. False when the pages were not
// closed with OK: nothing is saved or sent then.
bool EditAndProgram(EquipmentConfiguration& configuration, ExecutionContext& context,
                    const PagesEditor& editPages);

// Reads the printer's configuration into configuration under the wait
// window, then edits and programs it.
bool ReadEditAndProgram(EquipmentConfiguration& configuration, ExecutionContext& context,
                        const PagesEditor& editPages);

}  // namespace taloven
