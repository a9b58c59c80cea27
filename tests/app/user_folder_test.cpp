#include "app/user_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDirectory;

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The files that come with the program, as the package installs them.
void MakeSample(const fs::path& sample) {
  WriteFile(sample / "comandos.xml", "<comandos>amostra</comandos>");
  WriteFile(sample / "help" / "Taloven_Help.chm", "ajuda");
  WriteFile(sample / "usb" / "99-taloven-ecf.rules", "regra");
}

// Nothing but the folder itself may be left in the home folder: no staging
// folder of a start that failed or lost a race.
size_t EntriesIn(const fs::path& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

TEST(UserFolder, FirstStartCopiesTheSampleAndLaterStartsKeepTheTechniciansFiles) {
  TempDirectory home, sample;
  MakeSample(sample.Path());
  const std::string folder = UserFolderPath(home.Path().string());
  EXPECT_EQ(fs::path(folder), home.Path() / "Taloven");

  ASSERT_TRUE(PrepareUserFolder(folder, sample.Path().string()).ok());
  EXPECT_EQ(ReadFileBytes(fs::path(folder) / "comandos.xml"), "<comandos>amostra</comandos>");
  EXPECT_EQ(ReadFileBytes(fs::path(folder) / "help" / "Taloven_Help.chm"), "ajuda");
  EXPECT_EQ(ReadFileBytes(fs::path(folder) / "usb" / "99-taloven-ecf.rules"), "regra");
  EXPECT_EQ(EntriesIn(home.Path()), 1u);

  // The technician edits the catalogue and removes the help; a newer sample
  // arrives with an update. The next start leaves the folder as it is.
  WriteFile(fs::path(folder) / "comandos.xml", "<comandos>editado</comandos>");
  fs::remove_all(fs::path(folder) / "help");
  WriteFile(sample.Path() / "comandos.xml", "<comandos>nova amostra</comandos>");
  ASSERT_TRUE(PrepareUserFolder(folder, sample.Path().string()).ok());
  EXPECT_EQ(ReadFileBytes(fs::path(folder) / "comandos.xml"), "<comandos>editado</comandos>");
  EXPECT_FALSE(fs::exists(fs::path(folder) / "help"));
}

TEST(UserFolder, FolderThatCannotBeMadeIsReportedAndLeavesNothingBehind) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& home, const fs::path& sample)> arrange;
    const char* reason;  // a part of the message
  };
  const Case cases[] = {
      {"a file where the folder should be",
       [](const fs::path& home, const fs::path& sample) {
         MakeSample(sample);
         WriteFile(home / "Taloven", "not a folder");
       },
       "Taloven existe e n\xE3o \xE9 uma pasta"},
      {"sample files missing",
       [](const fs::path&, const fs::path& sample) {
         WriteFile(sample / "help" / "Taloven_Help.chm", "ajuda");
       },
       "os arquivos de exemplo n\xE3o est\xE3o em"},
      {"help folder that cannot be copied",
       [](const fs::path&, const fs::path& sample) {
         MakeSample(sample);
         fs::create_symlink("missing.chm", sample / "help" / "broken.chm");
       },
       "n\xE3o foi poss\xEDvel copiar os arquivos de exemplo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDirectory home, sample;
    c.arrange(home.Path(), sample.Path());
    const bool existed = fs::exists(home.Path() / "Taloven");

    const Status prepared =
        PrepareUserFolder(UserFolderPath(home.Path().string()), sample.Path().string());
    EXPECT_FALSE(prepared.ok());
    EXPECT_NE(prepared.message().find(c.reason), std::string::npos) << prepared.message();
    EXPECT_EQ(EntriesIn(home.Path()), existed ? 1u : 0u);
  }
}

TEST(UserFolder, HomeThatDoesNotExistIsReported) {
  TempDirectory sample;
  MakeSample(sample.Path());
  const Status prepared = PrepareUserFolder("/nonexistent-home/Taloven", sample.Path().string());
  EXPECT_EQ(prepared.systemError(), ENOENT);
  EXPECT_EQ(
      prepared.message().find("n\xE3o foi poss\xEDvel criar a pasta /nonexistent-home/Taloven: "),
      0u)
      << prepared.message();
}

}  // namespace
}  // namespace taloven
