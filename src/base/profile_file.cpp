#include "base/profile_file.h"

#include <sys/stat.h>

#include <strings.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "base/atomic_file.h"
#include "base/read_file.h"

namespace taloven {
namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Creates every missing folder of path; false with errno set.
bool MakeFolders(const std::string& path) {
  for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
    const std::string folder = path.substr(0, at);
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace

std::string ProfileFile::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config != nullptr && config[0] == '/') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home != nullptr ? home : "") + "/.config";
  }
  return folder + "/taloven/taloven.ini";
}

Status ProfileFile::Load() {
  sections_.clear();
  std::string bytes;
  const Status read = ReadWholeFile(path_, bytes);
  if (!read.ok()) {
    if (read.systemError() == ENOENT) return {};
    return Status::Failure(std::strerror(read.systemError()), read.systemError());
  }
  sections_.push_back({});
  std::istringstream in(bytes);
  std::string text;
  while (std::getline(in, text)) {
    // Every CR at the end goes, not only a CRLF's: one kept would be
    // written before the LF and dropped by the next read, so the file would
    // change at each save.
    while (!text.empty() && text.back() == '\r') text.pop_back();
    const std::string trimmed = Trim(text);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      sections_.push_back({Trim(trimmed.substr(1, trimmed.size() - 2)), {}});
      continue;
    }
    Line line{text, {}, {}};
    const size_t equals = text.find('=');
    if (equals != std::string::npos && trimmed[0] != ';' && trimmed[0] != '#') {
      line.key = Trim(text.substr(0, equals));
      line.value = Trim(text.substr(equals + 1));
    }
    sections_.back().lines.push_back(std::move(line));
  }
  return {};
}

Status ProfileFile::Save() const {
  const size_t slash = path_.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path_.substr(0, slash))) {
    const int code = errno;
    return Status::Failure(std::strerror(code), code);
  }
  std::ostringstream out;
  for (const Section& section : sections_) {
    // Only the lines before the first header have none; a header with an
    // empty name is kept, or its keys would move into the section above.
    if (!section.name.empty() || &section != &sections_.front())
      out << '[' << section.name << "]\n";
    for (const Line& line : section.lines)
      out << (line.key.empty() ? line.text : line.key + "=" + line.value) << '\n';
  }
  return WriteFileAtomically(path_, out.str());
}

template <typename Sections>
auto* ProfileFile::FindIn(Sections& sections, const std::string& section, const std::string& key) {
  decltype(&sections.front().lines.front()) found = nullptr;
  for (auto& s : sections) {
    if (!SameName(s.name, section)) continue;
    for (auto& line : s.lines)
      if (!line.key.empty() && SameName(line.key, key)) return &line;
  }
  return found;
}

const ProfileFile::Line* ProfileFile::Find(const std::string& section,
                                           const std::string& key) const {
  return FindIn(sections_, section, key);
}

int ProfileFile::GetInt(const std::string& section, const std::string& key, int fallback) const {
  const Line* line = Find(section, key);
  if (line == nullptr || line->value.empty()) return fallback;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(line->value.c_str(), &end, 10);
  if (end == line->value.c_str() || errno != 0 || value < -2147483647L || value > 2147483647L)
    return fallback;
  return static_cast<int>(value);
}

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
  const Line* line = Find(section, key);
  return line != nullptr ? line->value : fallback;
}

void ProfileFile::SetInt(const std::string& section, const std::string& key, int value) {
  SetString(section, key, std::to_string(value));
}

void ProfileFile::SetString(const std::string& section, const std::string& key,
                            const std::string& value) {
  if (Line* line = FindIn(sections_, section, key)) {
    line->value = value;
    return;
  }
  Section* target = nullptr;
  for (Section& s : sections_)
    if (!s.name.empty() && SameName(s.name, section)) target = &s;
  if (target == nullptr) {
    sections_.push_back({section, {}});
    target = &sections_.back();
  }
  // A new key goes after the section's last key, before any blank lines
  // that separate it from the next section.
  auto at = target->lines.end();
  while (at != target->lines.begin() && (at - 1)->key.empty() && Trim((at - 1)->text).empty()) --at;
  target->lines.insert(at, Line{{}, key, value});
}

}  // namespace taloven
