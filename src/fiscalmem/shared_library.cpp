#include "fiscalmem/shared_library.h"

#include <dlfcn.h>

namespace taloven {

SharedLibrary::SharedLibrary(const std::string& path) {
  // A bare name would make the loader search its own directories.
  const std::string exact = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = ::dlopen(exact.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* reason = ::dlerror();
    error_ = reason ? reason : "cannot load " + path;
  }
}

SharedLibrary::~SharedLibrary() {
  if (handle_) ::dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const {
  return handle_ ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace taloven
