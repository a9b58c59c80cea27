#pragma once

#include <string>

namespace taloven {

// A shared library loaded from one exact path and released when this object
// goes; nothing is searched for elsewhere.
class SharedLibrary {
 public:
  explicit SharedLibrary(const std::string& path);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool IsLoaded() const { return handle_ != nullptr; }
  // Why loading failed; empty when it did not.
  const std::string& Error() const { return error_; }

  // The exported function of that name, or null.
  template <typename Function>
  Function Find(const char* name) const {
    return reinterpret_cast<Function>(Symbol(name));
  }

 private:
  void* Symbol(const char* name) const;

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace taloven
