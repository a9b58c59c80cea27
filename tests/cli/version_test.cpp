#include <gtest/gtest.h>

#include <sstream>

#include "base/version.h"
#include "cli_outcome.h"
#include "fiscalmem/system_dir_override.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::SystemDirOverride;
using testing::TempDirectory;

// --version tells which fiscal-memory libraries a technician's installation
// really loads: each with its version and folder, or why it failed.
TEST(CliVersion, NamesTheProgramsVersionAndEachLibraryItLoads) {
  TempDirectory empty;
  struct Case {
    const char* name;
    std::string systemDir;
    std::string first, second;  // the two library lines
  };
  const std::string built = TALOVEN_LIBRARY_DIR;
  const Case cases[] = {
      {"the build's libraries", built, "KovoMFD.so 1.4.0.7 (" + built + ")",
       "KovoMFD2.so 2.1.3.0 (" + built + ")"},
      {"a folder without them", empty.Path().string(),
       "KovoMFD.so: n\xC3\xA3o carregada: " + empty.Path().string() + "/KovoMFD.so",
       "KovoMFD2.so: n\xC3\xA3o carregada: " + empty.Path().string() + "/KovoMFD2.so"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SystemDirOverride dir(c.systemDir);
    const testing::CliOutcome run = testing::RunCliCaptured({"--version"});
    EXPECT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::string program, first, second;
    std::getline(lines, program);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(program, std::string("taloven-cli ") + ProgramVersion());
    EXPECT_EQ(first.substr(0, c.first.size()), c.first);
    EXPECT_EQ(second.substr(0, c.second.size()), c.second);
    EXPECT_EQ(run.err, "");
  }
}

}  // namespace
}  // namespace taloven
