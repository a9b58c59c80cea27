#pragma once

#include <QDialog>

#include "programming/programming_session.h"

namespace taloven {

class Ui;
class Clock;
class GeneralInformationPage;
class TaxRatePage;
class TotalizerNamesPage;
class RestaurantPage;

// The tabbed editor of a configuration: general information, tax rates,
// totalizer names and, for the restaurant models, the restaurant page.
class ProgrammingSheet : public QDialog {
  Q_OBJECT
 public:
  ProgrammingSheet(const ProgrammingPages& pages, Ui& ui, Clock& clock, QWidget* parent = nullptr);
  // The pages as they stand; read after OK.
  ProgrammingPages Pages() const;

  // Shows the sheet modally over parent: the editor the edit-and-program
  // step asks for.
  static PagesEditor Editor(Ui& ui, Clock& clock, QWidget* parent);

 private:
  ProgrammingPages pages_;
  GeneralInformationPage* general_;
  TaxRatePage* rates_;
  TotalizerNamesPage* names_;
  RestaurantPage* restaurant_ = nullptr;
};

}  // namespace taloven
