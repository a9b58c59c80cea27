#pragma once

#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QWidget;

namespace taloven {

// An editable list of port names whose lines each show a text and stand for
// a name (first and second of a pair: a device beside its stable name).
// Choosing a line puts its name in the field; a name typed there (a network
// address) is taken as it is, never completed into a line.
QComboBox* PortList(QWidget* parent, const char* objectName,
                    const std::vector<std::pair<std::string, std::string>>& lines,
                    const std::string& current);

// The name in the field, Windows-1252, without the blanks around it.
std::string PortListName(const QComboBox* list);

}  // namespace taloven
