#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/read_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

// Whole or in pieces, a file reads the same and fails for the same reason.
TEST(ReadWholeFile, ReadsEveryByteOrSaysWhyNot) {
  TempDirectory dir;
  const std::string bytes = std::string("a\r\nb\0c\xFF", 7) + std::string(70000, 'x');
  std::ofstream(dir.Path() / "bytes", std::ios::binary) << bytes;
  std::ofstream(dir.Path() / "empty", std::ios::binary);
  fs::create_directory(dir.Path() / "folder");
  const struct {
    const char* name;
    bool ok;
    std::string content;
    int systemError;
    const char* message;  // the start of it
  } cases[] = {
      {"bytes", true, bytes, 0, ""},
      {"empty", true, "", 0, ""},
      {"missing", false, "", ENOENT, "não foi possível abrir "},
      {"folder", false, "", EISDIR, "não foi possível ler "},
  };
  for (const auto& c : cases) {
    const std::string path = (dir.Path() / c.name).string();
    std::string read = "stale";
    const Status status = ReadWholeFile(path, read);
    EXPECT_EQ(status.ok(), c.ok) << c.name;
    EXPECT_EQ(read, c.content) << c.name;
    EXPECT_EQ(status.systemError(), c.systemError) << c.name;
    EXPECT_EQ(status.message().rfind(W(c.message) + (c.ok ? "" : path + " ("), 0), 0u)
        << c.name << ": " << status.message();
    std::string joined;
    const Status pieces = ReadFileInPieces(path, [&joined](std::string_view piece) {
      joined += piece;
      return true;
    });
    EXPECT_EQ(joined, c.content) << c.name;
    EXPECT_EQ(pieces.systemError(), c.systemError) << c.name;
    EXPECT_EQ(pieces.message(), status.message()) << c.name;
  }
}

TEST(ReadFileInPieces, StopsWhereTheTakerSays) {
  TempDirectory dir;
  std::ofstream(dir.Path() / "large", std::ios::binary) << std::string(300000, 'x');
  int pieces = 0;
  const Status read =
      ReadFileInPieces((dir.Path() / "large").string(), [&pieces](std::string_view) {
        ++pieces;
        return false;
      });
  EXPECT_TRUE(read.ok()) << read.message();
  EXPECT_EQ(pieces, 1);
}

// A file written again keeps the permissions its owner gave it; a new one
// gets those of any new file.
TEST(WriteFileAtomically, KeepsAnExistingFilesMode) {
  TempDirectory dir;
  const mode_t mask = ::umask(022);
  const struct {
    const char* name;
    int existingMode;  // -1: no file yet
    int mode;
  } cases[] = {
      {"new", -1, 0644},
      {"private", 0600, 0600},
      {"group", 0640, 0640},
      {"executable", 0755, 0755},
  };
  for (const auto& c : cases) {
    const fs::path path = dir.Path() / c.name;
    if (c.existingMode >= 0) {
      std::ofstream(path) << "old";
      ::chmod(path.c_str(), static_cast<mode_t>(c.existingMode));
    }
    const Status written = WriteFileAtomically(path.string(), "new");
    ASSERT_TRUE(written.ok()) << c.name << ": " << written.message();
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(c.mode)) << c.name;
    EXPECT_EQ(testing::ReadFileBytes(path), "new") << c.name;
  }
  ::umask(mask);
  const Status missingFolder = WriteFileAtomically((dir.Path() / "no" / "file").string(), "x");
  EXPECT_FALSE(missingFolder.ok());
  EXPECT_EQ(missingFolder.systemError(), ENOENT);
  EXPECT_EQ(missingFolder.message(), std::strerror(ENOENT));
}

}  // namespace
}  // namespace taloven
