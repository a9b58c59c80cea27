#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

const fs::path kSources = fs::path(TALOVEN_SOURCE_DIR) / "data" / "help";

std::set<std::string> ProjectFiles() {
  std::string project = ReadFileBytes(kSources / "Taloven_Help.hhp");
  std::set<std::string> files;
  size_t start = project.find("[FILES]");
  EXPECT_NE(start, std::string::npos);
  std::regex line("([A-Za-z0-9_.]+)\r?\n");
  for (auto it = std::sregex_iterator(project.begin() + static_cast<long>(start) + 7, project.end(),
                                      line);
       it != std::sregex_iterator(); ++it)
    files.insert((*it)[1]);
  return files;
}

TEST(HelpFile, EveryLinkAndTopicPointsAtAPageOfTheProject) {
  const std::set<std::string> files = ProjectFiles();
  ASSERT_GE(files.size(), 9u);
  for (const auto& entry : fs::directory_iterator(kSources)) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    if (ext == ".html" || ext == ".css") {
      EXPECT_TRUE(files.count(name)) << name << " is not compiled into the help file";
    }
    if (ext != ".html" && ext != ".hhc" && ext != ".hhk") continue;
    const std::string text = ReadFileBytes(entry.path());
    EXPECT_NE(text.find("charset=windows-1252"), std::string::npos) << name;
    for (const char* utf8 : {"\xC3\xA7", "\xC3\xA3", "\xC3\xA9"})  // ç, ã, é
      EXPECT_EQ(text.find(utf8), std::string::npos) << name << " holds UTF-8, not Windows-1252";
    std::regex link("(?:href|value)=\"([a-z_]+\\.(?:html|css))\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
         it != std::sregex_iterator(); ++it)
      EXPECT_TRUE(files.count((*it)[1])) << name << " links to missing " << (*it)[1];
  }
}

TEST(HelpFile, IsCompiledIntoTheDemoFolderWithEveryPage) {
  const fs::path compiled = fs::path(TALOVEN_BINARY_DIR) / "demo" / "help" / "Taloven_Help.chm";
  ASSERT_TRUE(fs::exists(compiled)) << compiled;
  const std::string bytes = ReadFileBytes(compiled);
  EXPECT_EQ(bytes.substr(0, 4), "ITSF");
  for (const std::string& file : ProjectFiles())
    EXPECT_NE(bytes.find("/" + file), std::string::npos) << file << " missing from the file";
}

}  // namespace
}  // namespace taloven
