#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace taloven::testing {

// Sets TALOVEN_SYSTEM_DIR (or removes it, for nullptr) for one scope and puts
// the previous value back afterwards.
class SystemDirOverride {
 public:
  explicit SystemDirOverride(const char* value) {
    if (const char* old = std::getenv(kName)) previous_ = old;
    if (value)
      ::setenv(kName, value, 1);
    else
      ::unsetenv(kName);
  }
  explicit SystemDirOverride(const std::string& value) : SystemDirOverride(value.c_str()) {}
  ~SystemDirOverride() {
    if (previous_)
      ::setenv(kName, previous_->c_str(), 1);
    else
      ::unsetenv(kName);
  }
  SystemDirOverride(const SystemDirOverride&) = delete;
  SystemDirOverride& operator=(const SystemDirOverride&) = delete;

 private:
  static constexpr const char* kName = "TALOVEN_SYSTEM_DIR";
  std::optional<std::string> previous_;
};

}  // namespace taloven::testing
