// The file exchange's "C:\" directory: made for the user alone when missing,
// refused when another user could have made it or could write into it
// (unless chosen explicitly), by the program and the virtual printer alike.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/encoding.h"
#include "link/drive_c.h"
#include "link/execute.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

struct DriveCase {
  const char* name;
  bool explicitlyChosen;  // through TALOVEN_DRIVE_C, else under XDG_RUNTIME_DIR
  std::function<bool(const fs::path&)> prepare;  // false: cannot be set up here
  DriveCFault fault;
  const char* why;  // in the command's result when refused
};

bool MakeDirectory(const fs::path& at, mode_t mode) {
  return fs::create_directory(at) && ::chmod(at.c_str(), mode) == 0;
}

TEST(DriveC, OnlyAFolderOfTheUsersOwnIsUsed) {
  const DriveCase cases[] = {
      {"missing", false, [](const fs::path&) { return true; }, DriveCFault::kNone, ""},
      {"private", false, [](const fs::path& at) { return MakeDirectory(at, 0700); },
       DriveCFault::kNone, ""},
      {"link", false,
       [](const fs::path& at) {
         MakeDirectory(at.parent_path() / "elsewhere", 0700);
         fs::create_directory_symlink(at.parent_path() / "elsewhere", at);
         return true;
       },
       DriveCFault::kSymbolicLink, "link simbólico"},
      {"another user's", false,
       [](const fs::path& at) {
         // Only a superuser can give a folder away.
         return MakeDirectory(at, 0700) &&
                ::chown(at.c_str(), getuid() + 1, static_cast<gid_t>(-1)) == 0;
       },
       DriveCFault::kNotOwned, "pertence a outro usuário"},
      {"open to others", false, [](const fs::path& at) { return MakeDirectory(at, 0777); },
       DriveCFault::kOpenToOthers, "alterada por outros usuários"},
      {"open to the group", false, [](const fs::path& at) { return MakeDirectory(at, 0770); },
       DriveCFault::kOpenToOthers, "alterada por outros usuários"},
      {"a file", false,
       [](const fs::path& at) { return static_cast<bool>(std::ofstream(at) << "x"); },
       DriveCFault::kNotDirectory, "não é uma pasta"},
      {"chosen, open to others", true, [](const fs::path& at) { return MakeDirectory(at, 0777); },
       DriveCFault::kNone, ""},
  };
  for (const DriveCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDirectory runtime;
    const fs::path folder = runtime.Path() / "taloven-drive_c";
    if (!c.prepare(folder)) continue;
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    if (c.explicitlyChosen)
      setenv("TALOVEN_DRIVE_C", folder.c_str(), 1);
    else
      unsetenv("TALOVEN_DRIVE_C");
    const DriveC drive = FindDriveC();
    EXPECT_EQ(drive.directory, folder.string());
    EXPECT_EQ(drive.fault, c.fault);
    struct stat info {};
    if (c.fault == DriveCFault::kNone && !c.explicitlyChosen) {
      ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, 0700u);
    }

    // A command through the file exchange ends before it writes a byte.
    testing::ScriptedUi ui;
    DefaultPortFactory ports;
    testing::TestClock clock;
    AppSettings settings;
    settings.portName = "FILE";
    settings.workingDirectory = runtime.Path().string();
    ExecutionContext context{settings, ui, ports, clock};
    CommandRecord record;
    record.SetTitle("Leitura");
    record.SetEscapeText("35");
    record.SetReturnSize(2);
    if (c.fault != DriveCFault::kNone) {
      EXPECT_EQ(Execute(record, context), kExecuteNoReply);
      EXPECT_NE(record.formattedReturn.find(W(c.why)), std::string::npos) << record.formattedReturn;
      EXPECT_FALSE(fs::exists(folder / "comando.dat"));
      // The virtual printer will not serve there either.
      const std::string emulator = std::string(TALOVEN_EMULATOR_PATH) + " --file 2>/dev/null";
      EXPECT_EQ(WEXITSTATUS(std::system(emulator.c_str())), 1);
    }
  }
  unsetenv("XDG_RUNTIME_DIR");
  unsetenv("TALOVEN_DRIVE_C");
}

}  // namespace
}  // namespace taloven
