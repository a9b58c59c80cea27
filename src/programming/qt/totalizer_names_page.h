#pragma once

#include <QLineEdit>
#include <QWidget>
#include <array>

#include "programming/equipment_configuration.h"

namespace taloven {

// "Totalizadores Parciais não sujeitos": the fifty names of the non-fiscal
// totalizers. Boxes beyond the model's count are disabled but keep their
// names, so that saving does not lose them.
class TotalizerNamesPage : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kNameLimit = 19;
  TotalizerNamesPage(int usableNames, QWidget* parent = nullptr);

  void Load(const EquipmentConfiguration& configuration);
  void Read(EquipmentConfiguration& configuration) const;

 private:
  std::array<QLineEdit*, kConfigurationTotalizerNames> names_{};
};

}  // namespace taloven
