#pragma once

#include <string>
#include <vector>

#include "base/status.h"

namespace taloven {

// The program's own INI file: sections of "key=value" lines, read and
// written as integers and texts. Section and key names match without regard
// to case; lines the program does not know are kept as they were.
class ProfileFile {
 public:
  // $XDG_CONFIG_HOME/taloven/taloven.ini, or ~/.config/taloven/taloven.ini.
  static std::string DefaultPath();

  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  // Reads the file; a missing file is an empty profile. Fails with the
  // system's reason when it exists but cannot be read.
  Status Load();
  // Writes the whole profile (creating its folder), replacing the file only
  // once the new one is complete.
  Status Save() const;

  // The value, or fallback when the key is missing or holds no number.
  int GetInt(const std::string& section, const std::string& key, int fallback) const;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;
  void SetInt(const std::string& section, const std::string& key, int value);
  void SetString(const std::string& section, const std::string& key, const std::string& value);

  const std::string& Path() const { return path_; }

 private:
  struct Line {
    std::string text;  // the whole line as read, for lines that are no key
    std::string key;   // empty for a section header, comment or blank line
    std::string value;
  };
  struct Section {
    std::string name;  // empty for the lines before the first header
    std::vector<Line> lines;
  };

  template <typename Sections>
  static auto* FindIn(Sections& sections, const std::string& section, const std::string& key);
  const Line* Find(const std::string& section, const std::string& key) const;

  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace taloven
