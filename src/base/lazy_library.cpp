#include "base/lazy_library.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace taloven {

void* LazySymbol(const char* library, const char* name) {
  // A library already loaded is found again, not loaded twice.
  void* handle = ::dlopen(library, RTLD_LAZY | RTLD_LOCAL);
  void* symbol = handle ? ::dlsym(handle, name) : nullptr;
  if (symbol) return symbol;
  const char* reason = ::dlerror();
  std::fprintf(stderr, "%s: error while loading shared libraries: %s\n",
               program_invocation_short_name, reason ? reason : library);
  std::_Exit(127);
}

}  // namespace taloven
