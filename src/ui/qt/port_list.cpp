#include "ui/qt/port_list.h"

#include <QComboBox>

#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// Wide enough for a device path or a network address, not only "COM1:".
constexpr int kPortFieldChars = 40;

}  // namespace

QComboBox* PortList(QWidget* parent, const char* objectName,
                    const std::vector<std::pair<std::string, std::string>>& lines,
                    const std::string& current) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(objectName));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setCompleter(nullptr);
  list->setMinimumContentsLength(kPortFieldChars);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  for (const auto& [shown, name] : lines) list->addItem(ToQt(shown), ToQt(name));
  // The line of the current name is marked, so that opening the list shows
  // it; the field holds the name itself.
  list->setCurrentIndex(
      list->findData(ToQt(current), Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));
  list->setEditText(ToQt(current));
  const auto takeName = [list](int index) {
    if (index >= 0) list->setEditText(list->itemData(index).toString());
  };
  QObject::connect(list, &QComboBox::currentIndexChanged, list, takeName);
  QObject::connect(list, &QComboBox::activated, list, takeName);
  return list;
}

std::string PortListName(const QComboBox* list) {
  return FromQt(list->currentText().trimmed());
}

}  // namespace taloven
