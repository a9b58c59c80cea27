#pragma once

namespace taloven {

// The address of name in the system library of that file name, which is
// loaded on the first call rather than when the program starts: a command
// that never uses the library never pays for loading it. A library or a
// function that cannot be found ends the program with the loader's reason
// and the loader's status, as a missing library would have at start.
void* LazySymbol(const char* library, const char* name);

template <typename Function>
struct LazyResult;
template <typename Result, typename... Arguments>
struct LazyResult<Result(Arguments...)> {
  using type = Result;
};

}  // namespace taloven

// Defines the C function name, as the library's own header declares it, so
// that its first call finds the library's function and every call is passed
// on to it. At file scope:
//   TALOVEN_LAZY_FUNCTION("libz.so.1", zlibVersion, (), ())
#define TALOVEN_LAZY_FUNCTION(library, name, parameters, arguments)               \
  extern "C" ::taloven::LazyResult<decltype(name)>::type name parameters {        \
    static const auto real =                                                      \
        reinterpret_cast<decltype(&name)>(::taloven::LazySymbol(library, #name)); \
    return real arguments;                                                        \
  }
