#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace taloven::fuzz {

// The parsers of field files are reached through the paths the program
// opens. Each fuzzer writes its input into a directory of its own, made once
// per process with an unpredictable name and removed at exit.
std::string ScratchPath(const std::string& name);
// Writes bytes to ScratchPath(name) and returns that path.
std::string WriteScratch(const std::string& name, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadScratch(const std::string& path);

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the run with what broke: a property that fails is a finding, just
// as a crash is.
void Require(bool holds, const char* what);

}  // namespace taloven::fuzz
