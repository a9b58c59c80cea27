#include "programming/qt/restaurant_page.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QVBoxLayout>

namespace taloven {

RestaurantPage::RestaurantPage(QWidget* parent)
    : QWidget(parent),
      restaurant_(new QRadioButton("Parametriza para restaurante", this)),
      shop_(new QRadioButton("Parametriza para loja", this)),
      conference_(new QCheckBox(QString::fromUtf8("Parametriza cupom de conferência"), this)) {
  setWindowTitle("Restaurante");
  restaurant_->setObjectName("restaurant");
  shop_->setObjectName("shop");
  conference_->setObjectName("conferenceCoupon");
  auto* layout = new QVBoxLayout(this);
  auto* kind = new QButtonGroup(this);
  kind->addButton(restaurant_);
  kind->addButton(shop_);
  layout->addWidget(restaurant_);
  layout->addWidget(shop_);
  layout->addSpacing(12);
  layout->addWidget(conference_);
  auto* group = new QGroupBox(this);
  auto* groupLayout = new QVBoxLayout(group);
  auto* choice = new QButtonGroup(this);
  for (size_t p = 0; p < parameters_.size(); ++p) {
    parameters_[p] = new QRadioButton(QString::fromUtf8("Parâmetro %1").arg(p), group);
    parameters_[p]->setObjectName(QString("parameter%1").arg(p));
    choice->addButton(parameters_[p]);
    groupLayout->addWidget(parameters_[p]);
  }
  layout->addWidget(group);
  layout->addStretch(1);
}

void RestaurantPage::Load(const ProgrammingPages& pages) {
  (pages.restaurantOption == 1 ? shop_ : restaurant_)->setChecked(true);
  conference_->setChecked(pages.conferenceCoupon);
  const size_t parameter = static_cast<size_t>(std::clamp(pages.conferenceParameter, 0, 3));
  parameters_[parameter]->setChecked(true);
}

void RestaurantPage::Read(ProgrammingPages& pages) const {
  pages.restaurantOption = shop_->isChecked() ? 1 : 0;
  pages.conferenceCoupon = conference_->isChecked();
  for (size_t p = 0; p < parameters_.size(); ++p)
    if (parameters_[p]->isChecked()) pages.conferenceParameter = static_cast<int>(p);
}

}  // namespace taloven
