#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "support/temp_directory.h"
#include "ui/help_topics.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

const fs::path kSources = fs::path(TALOVEN_SOURCE_DIR) / "data" / "help";

// The lines of one [SECTION] of the help project.
std::string ProjectSection(const std::string& name) {
  const std::string project = ReadFileBytes(kSources / "Taloven_Help.hhp");
  const size_t start = project.find("[" + name + "]\r\n");
  EXPECT_NE(start, std::string::npos) << name;
  if (start == std::string::npos) return "";
  const size_t end = project.find("\r\n[", start);
  return project.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::set<std::string> ProjectFiles() {
  const std::string section = ProjectSection("FILES");
  std::set<std::string> files;
  std::regex line("\n([A-Za-z0-9_.]+)\r");
  for (auto it = std::sregex_iterator(section.begin(), section.end(), line);
       it != std::sregex_iterator(); ++it)
    files.insert((*it)[1]);
  return files;
}

TEST(HelpFile, EveryLinkAndTopicPointsAtAPageOfTheProject) {
  const std::set<std::string> files = ProjectFiles();
  ASSERT_GE(files.size(), 17u);
  for (const auto& entry : fs::directory_iterator(kSources)) {
    // A page the build writes from a template is checked as the template.
    const bool made = entry.path().extension() == ".in";
    const fs::path page = made ? entry.path().stem() : entry.path().filename();
    const std::string name = page.string();
    const std::string ext = page.extension().string();
    if (ext == ".html" || ext == ".css") {
      EXPECT_TRUE(files.count(name)) << name << " is not compiled into the help file";
    }
    if (ext != ".html" && ext != ".hhc" && ext != ".hhk") continue;
    const std::string text = ReadFileBytes(entry.path());
    EXPECT_NE(text.find("charset=windows-1252"), std::string::npos) << name;
    for (const char* utf8 : {"\xC3\xA7", "\xC3\xA3", "\xC3\xA9"})  // ç, ã, é
      EXPECT_EQ(text.find(utf8), std::string::npos) << name << " holds UTF-8, not Windows-1252";
    std::regex link("(?:href|value)=\"([a-z0-9_]+\\.(?:html|css))\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
         it != std::sregex_iterator(); ++it)
      EXPECT_TRUE(files.count((*it)[1])) << name << " links to missing " << (*it)[1];
  }
}

// F1 in a window asks the viewer for a context number: the project maps
// each of the program's numbers to the page the program means.
TEST(HelpFile, MapsEveryWindowsContextNumberToItsPage) {
  const std::string aliases = ProjectSection("ALIAS"), map = ProjectSection("MAP");
  const std::set<std::string> files = ProjectFiles();
  std::set<std::string> names;
  for (const HelpPage& page : HelpPages()) {
    std::smatch found;
    const std::string number = std::to_string(page.contextId);
    ASSERT_TRUE(std::regex_search(map, found, std::regex("#define (IDH_[A-Z_]+) " + number + "\r")))
        << number;
    const std::string name = found[1];
    EXPECT_TRUE(names.insert(name).second) << name;
    EXPECT_NE(aliases.find("\n" + name + "=" + std::string(page.page) + "\r"), std::string::npos)
        << name << " " << page.page;
    EXPECT_TRUE(files.count(std::string(page.page))) << page.page;
  }
  EXPECT_EQ(names.size(), 11u);
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
