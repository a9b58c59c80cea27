#include "catalogue/record_file.h"

#include <filesystem>

#include "base/encoding.h"

namespace taloven {

RecordFile LoadRecordFile(const std::string& path, XmlDocument& document, std::string* error) {
  std::string reason;
  if (document.Load(path, &reason)) return RecordFile::Read;
  std::error_code ignored;
  // A file that cannot even be looked at is no more "missing" than a
  // damaged one: saving over it could lose what it holds.
  if (!std::filesystem::exists(path, ignored) && !ignored) return RecordFile::Missing;
  if (error) *error = reason;
  return RecordFile::Damaged;
}

std::string DamagedFileKept(const std::string& reason) {
  return reason + W("\r\nO arquivo não será substituído enquanto não for movido para outro lugar.");
}

std::string NotReadableBack(const std::string& path, const std::string& reason) {
  return Utf8ToCp1252(path) + W(" não foi gravado: não poderia ser lido de volta (") + reason + ")";
}

}  // namespace taloven
