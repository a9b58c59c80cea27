#include "fiscalmem/fiscal_memory_library.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "fiscalmem/system_dir_override.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::SystemDirOverride;
using testing::TempDirectory;

TEST(FiscalMemoryLibrary, TheModelChoosesTheFile) {
  const struct {
    uint32_t mask;
    const char* file;
  } cases[] = {
      {0x0000, "KovoMFD.so"},  {0x0001, "KovoMFD.so"},  {0x0FFF, "KovoMFD.so"},
      {0x2000, "KovoMFD.so"},  {0x1000, "KovoMFD2.so"}, {0x4000, "KovoMFD2.so"},
      {0xFFFF, "KovoMFD2.so"}, {0x2001, "KovoMFD2.so"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FiscalMemoryLibraryFile(LibraryOf(c.mask)), c.file) << c.mask;
}

TEST(FiscalMemoryLibrary, TheEnvironmentChoosesTheDirectory) {
  {
    SystemDirOverride dir("/opt/kovo");
    EXPECT_EQ(FiscalMemoryLibraryPath(MemoryLibrary::kFirst), "/opt/kovo/KovoMFD.so");
  }
  {
    SystemDirOverride dir("/opt/kovo/");
    EXPECT_EQ(FiscalMemoryLibraryPath(MemoryLibrary::kSecond), "/opt/kovo/KovoMFD2.so");
  }
  {
    SystemDirOverride unset(nullptr);
    EXPECT_EQ(SystemDirectory(), TALOVEN_LIBRARY_DIR) << "the build's own directory by default";
  }
  SystemDirOverride empty("");
  EXPECT_EQ(SystemDirectory(), TALOVEN_LIBRARY_DIR);
}

TEST(FiscalMemoryLibrary, EachLibraryReportsItsOwnVersion) {
  SystemDirOverride dir(TALOVEN_LIBRARY_DIR);
  FiscalMemoryLibrary first(0x0010);
  ASSERT_TRUE(first.IsLoaded()) << first.Error();
  EXPECT_EQ(first.Version(), "1,4,0,7");
  FiscalMemoryLibrary second(0x4000);
  ASSERT_TRUE(second.IsLoaded()) << second.Error();
  EXPECT_EQ(second.Version(), "2,1,3,0");
}

TEST(FiscalMemoryLibrary, AMissingFileIsNoLibraryAndHasNoFallback) {
  TempDirectory empty;
  SystemDirOverride dir(empty.Path().string());
  FiscalMemoryLibrary missing(0x0010);
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_FALSE(missing.Error().empty());
  EXPECT_EQ(missing.Version(), std::nullopt);
}

}  // namespace
}  // namespace taloven
