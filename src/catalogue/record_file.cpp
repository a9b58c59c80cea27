#include "catalogue/record_file.h"

#include <filesystem>

#include "base/encoding.h"

namespace taloven {

Result<RecordFile> LoadRecordFile(const std::string& path, XmlDocument& document) {
  const Status loaded = document.Load(path);
  if (loaded.ok()) return RecordFile::Read;
  std::error_code ignored;
  // A file that cannot even be looked at is no more "missing" than a
  // damaged one: saving over it could lose what it holds.
  if (!std::filesystem::exists(path, ignored) && !ignored) return RecordFile::Missing;
  return loaded;
}

std::string DamagedFileKept(const std::string& reason) {
  return reason + W("\r\nO arquivo não será substituído enquanto não for movido para outro lugar.");
}

std::string NotReadableBack(const std::string& path, const std::string& reason) {
  return Utf8ToCp1252(path) + W(" não foi gravado: não poderia ser lido de volta (") + reason + ")";
}

}  // namespace taloven
