#include "catalogue/record_file.h"

#include <filesystem>

#include "base/encoding.h"

namespace taloven {

namespace {

// A file that cannot even be looked at is no more "missing" than a damaged
// one: saving over it could lose what it holds.
Result<RecordFile> NotLoaded(const std::string& path, const Status& reason) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored) && !ignored) return RecordFile::Missing;
  return reason;
}

}  // namespace

Result<RecordFile> LoadRecordFile(const std::string& path, XmlDocument& document) {
  const Status loaded = document.Load(path);
  if (loaded.ok()) return RecordFile::Read;
  return NotLoaded(path, loaded);
}

Result<RecordFile> ReadRecordFile(const std::string& path, const std::function<Status()>& read) {
  const Status streamed = read();
  if (streamed.ok()) return RecordFile::Read;
  // A streamed read stops at the first fault it meets; the user has always
  // been told where a whole parse gives up, in its words. Only a damaged or
  // unreadable file pays for that second reading.
  XmlDocument whole;
  const Status reason = whole.Load(path);
  return NotLoaded(path, reason.ok() ? streamed : reason);
}

std::string DamagedFileKept(const std::string& reason) {
  return reason + W("\r\nO arquivo não será substituído enquanto não for movido para outro lugar.");
}

std::string NotReadableBack(const std::string& path, const std::string& reason) {
  return Utf8ToCp1252(path) + W(" não foi gravado: não poderia ser lido de volta (") + reason + ")";
}

}  // namespace taloven
