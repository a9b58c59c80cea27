#include "base/lazy_library.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace taloven {
namespace {

TEST(LazySymbol, GivesTheLibrarysFunctionOrEndsAsTheLoaderWouldAtStart) {
  void* library = ::dlopen("libz.so.1", RTLD_LAZY | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(LazySymbol("libz.so.1", "zlibVersion"), ::dlsym(library, "zlibVersion"));

  const struct {
    const char* library;
    const char* name;
    const char* said;
  } missing[] = {
      {"libnowhere.so.9", "f", "error while loading shared libraries: libnowhere.so.9"},
      {"libz.so.1", "noSuchFunction", "error while loading shared libraries: .*noSuchFunction"},
  };
  for (const auto& m : missing)
    EXPECT_EXIT(LazySymbol(m.library, m.name), ::testing::ExitedWithCode(127), m.said) << m.name;
}

}  // namespace
}  // namespace taloven
