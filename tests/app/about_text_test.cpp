#include "app/about_text.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "base/encoding.h"
#include "base/version.h"
#include "fiscalmem/system_dir_override.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::SystemDirOverride;
using testing::TempDirectory;

// The program line carries the project's version, whatever it is.
std::string ProgramLine() {
  return W("Versão: ") + ProgramVersion() + " - beta\r\n";
}

TEST(AboutText, ShowsTheVersionOfTheLibraryTheModelUses) {
  SystemDirOverride dir(TALOVEN_LIBRARY_DIR);
  EXPECT_EQ(AboutText(0x0010), ProgramLine() + W("Versão KovoMFD.DLL: 1.4.0.7"));
  EXPECT_EQ(AboutText(0x2000), ProgramLine() + W("Versão KovoMFD.DLL: 1.4.0.7"));
  EXPECT_EQ(AboutText(0xFFFF), ProgramLine() + W("Versão KovoMFD2.DLL: 2.1.3.0"));
}

// A real shared library that is not ours: it loads but has no version
// function. The program loads it only when first used, so it is asked for
// here.
std::filesystem::path ForeignLibrary() {
  void* library = ::dlopen("libxml2.so.2", RTLD_LAZY | RTLD_LOCAL);
  Dl_info info{};
  EXPECT_NE(::dladdr(library ? ::dlsym(library, "xmlStrlen") : nullptr, &info), 0);
  return info.dli_fname ? info.dli_fname : "";
}

TEST(AboutText, EndsAfterTheLabelWhenTheLibraryOrItsFunctionIsMissing) {
  const struct {
    const char* name;
    std::function<void(const std::filesystem::path&)> prepare;
  } cases[] = {
      {"no file", [](const std::filesystem::path&) {}},
      {"not a library",
       [](const std::filesystem::path& file) { std::ofstream(file) << "not a library"; }},
      {"no version function",
       [](const std::filesystem::path& file) {
         std::filesystem::copy_file(ForeignLibrary(), file);
       }},
  };
  for (const auto& c : cases) {
    TempDirectory empty;
    c.prepare(empty.Path() / "KovoMFD2.so");
    SystemDirOverride dir(empty.Path().string());
    EXPECT_EQ(AboutText(0x1000), ProgramLine() + W("Versão KovoMFD2.DLL: ")) << c.name;
  }
}

}  // namespace
}  // namespace taloven
