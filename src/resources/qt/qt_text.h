#pragma once

#include <QString>
#include <string>

#include "base/encoding.h"
#include "resources/strings.h"

namespace taloven {

// The core speaks Windows-1252; Qt speaks Unicode. Convert only here.
inline QString ToQt(const std::string& cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}
inline std::string FromQt(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}
inline QString QStr(StrId id) {
  return ToQt(Str(id));
}

}  // namespace taloven
