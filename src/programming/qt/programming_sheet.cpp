#include "programming/qt/programming_sheet.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalogue/qt/tax_rate_page.h"
#include "programming/qt/general_information_page.h"
#include "programming/qt/restaurant_page.h"
#include "programming/qt/totalizer_names_page.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/qt/help_key.h"

namespace taloven {

ProgrammingSheet::ProgrammingSheet(const ProgrammingPages& pages, Ui& ui, Clock& clock,
                                   QWidget* parent)
    : QDialog(parent), pages_(pages) {
  setWindowTitle(QStr(StrId::kProductName));
  AddHelpKey(this, ui, HelpTopic::kProgramming);
  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("pages");
  general_ = new GeneralInformationPage(ui, clock, tabs);
  general_->Load(pages.configuration);
  rates_ = new TaxRatePage(tabs);
  TaxRates rates;
  rates.rates = pages.configuration.taxRates;
  rates.linkage = pages.configuration.issLinkage;
  rates_->Load(rates);
  names_ = new TotalizerNamesPage(pages.usableNames, tabs);
  names_->Load(pages.configuration);
  for (QWidget* page : std::initializer_list<QWidget*>{general_, rates_, names_})
    tabs->addTab(page, page->windowTitle());
  if (pages.restaurantPage) {
    restaurant_ = new RestaurantPage(tabs);
    restaurant_->Load(pages);
    tabs->addTab(restaurant_, restaurant_->windowTitle());
  }
  layout->addWidget(tabs);
  layout->addWidget(AddOkCancelRow(this).box);
}

ProgrammingPages ProgrammingSheet::Pages() const {
  ProgrammingPages pages = pages_;
  general_->Read(pages.configuration);
  const TaxRates rates = rates_->Read();
  pages.configuration.taxRates = rates.rates;
  pages.configuration.issLinkage = rates.linkage;
  names_->Read(pages.configuration);
  if (restaurant_) restaurant_->Read(pages);
  return pages;
}

PagesEditor ProgrammingSheet::Editor(Ui& ui, Clock& clock, QWidget* parent) {
  return [&ui, &clock, parent](ProgrammingPages& pages) {
    ProgrammingSheet sheet(pages, ui, clock, parent);
    if (sheet.exec() != QDialog::Accepted) return false;
    pages = sheet.Pages();
    return true;
  };
}

}  // namespace taloven
