#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "programming/programming_session.h"

namespace taloven {

// "Restaurante": restaurant or shop, and the conference coupon's parameter,
// for the two models that have them.
class RestaurantPage : public QWidget {
  Q_OBJECT
 public:
  explicit RestaurantPage(QWidget* parent = nullptr);

  void Load(const ProgrammingPages& pages);
  void Read(ProgrammingPages& pages) const;

 private:
  QRadioButton* restaurant_;
  QRadioButton* shop_;
  QCheckBox* conference_;
  std::array<QRadioButton*, 4> parameters_{};
};

}  // namespace taloven
