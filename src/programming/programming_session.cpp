#include "programming/programming_session.h"

#include "base/printer_models.h"
#include "programming/printer_configuration_read.h"
#include "programming/programming_commands.h"
#include "programming/save_edited_configuration.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {

ProgrammingPages PagesFor(const EquipmentConfiguration& configuration,
                          const AppSettings& settings) {
  ProgrammingPages pages;
  pages.configuration = configuration;
  pages.usableNames = UsableTotalizerNames(settings.modelMask);
  pages.restaurantPage = HasRestaurantPage(settings.modelName);
  if (pages.restaurantPage) {
    // An empty field reads as 0: a fresh record opens parametrized.
    pages.restaurantOption = ReadLeadingNumber(configuration.restaurantOrShop);
    const int parameter = ReadLeadingNumber(configuration.conferenceCoupon);
    pages.conferenceCoupon = parameter >= 0;
    pages.conferenceParameter = parameter >= 0 ? parameter : 0;
  }
  return pages;
}

EquipmentConfiguration ConfigurationFromPages(const ProgrammingPages& pages) {
  EquipmentConfiguration configuration = pages.configuration;
  configuration.serialNumber = WithoutSpaces(configuration.serialNumber);
  for (char& c : configuration.issLinkage) c = c == '0' ? '0' : '1';
  if (pages.restaurantPage) {
    configuration.restaurantOrShop = std::to_string(pages.restaurantOption);
    configuration.conferenceCoupon =
        pages.conferenceCoupon ? std::to_string(pages.conferenceParameter) : "-1";
  }
  return configuration;
}

bool EditAndProgram(EquipmentConfiguration& configuration, ExecutionContext& context,
                    const PagesEditor& editPages) {
  ProgrammingPages pages = PagesFor(configuration, context.settings);
  if (!editPages(pages)) return false;
  configuration = ConfigurationFromPages(pages);
  // Whether it was saved does not change what is programmed.
  SaveEditedConfiguration(configuration, context.settings.workingDirectory, context.ui);

  const ProgrammingResults results = ProgramPrinter(configuration, context);
  // A run the check held back has told the user why, and has no results.
  if (results.ran) context.ui.ShowResults(results.message, results.dump);
  return true;
}

bool ReadEditAndProgram(EquipmentConfiguration& configuration, ExecutionContext& context,
                        const PagesEditor& editPages) {
  {
    // The wait announces the reading alone: it never covers the pages.
    auto wait = context.ui.ShowWait(Str(StrId::kPleaseWait));
    // A failed reading has told the user; the pages open on what was read.
    ReadPrinterConfiguration(configuration, context);
  }
  return EditAndProgram(configuration, context, editPages);
}

}  // namespace taloven
