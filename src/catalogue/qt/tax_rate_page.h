#pragma once

#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "ui/ui.h"

namespace taloven {

// "Alíquotas" (149): sixteen tax rates, each with its ICMS or ISS linkage.
// A page of a property sheet: load it before showing, read it back after.
class TaxRatePage : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRates = 16;
  explicit TaxRatePage(QWidget* parent = nullptr);

  // A linkage character other than '0' selects ISS.
  void Load(const TaxRates& rates);
  // The rate boxes as typed and a linkage of '1' (ISS) and '0' (ICMS).
  TaxRates Read() const;
  // The keyboard in the first rate, its text selected so typing replaces it.
  void FocusFirstRate();

 private:
  struct Row {
    QLineEdit* rate;
    QRadioButton* icms;
    QRadioButton* iss;
  };
  std::array<Row, kRates> rows_{};
};

}  // namespace taloven
