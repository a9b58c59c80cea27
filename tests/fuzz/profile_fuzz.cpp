// The INI profile reader on arbitrary files, with the scanner settings the
// program keeps there. Properties: a profile saved and read again gives every
// key the value it had, and saves as the same bytes; the scanner settings
// read, stored and saved read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/profile_file.h"
#include "fuzz_files.h"
#include "scanner/scanner_settings.h"

namespace {

using namespace taloven;
using fuzz::Require;

bool Same(const ScannerSettings& a, const ScannerSettings& b) {
  return a.portName == b.portName && a.baud == b.baud && a.byteLength == b.byteLength &&
         a.parity == b.parity && a.stopBits == b.stopBits && a.handshake == b.handshake;
}

struct Key {
  std::string section, key;
};

// What may be a key of a saved profile, in the plain layout Save writes
// (comments and lines without a name among them: both reads miss those).
std::vector<Key> KeysOf(const std::string& text) {
  std::vector<Key> keys;
  std::string section;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
      section = line.substr(1, line.size() - 2);
    else if (const size_t equals = line.find('='); equals != std::string::npos)
      keys.push_back({section, line.substr(0, equals)});
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("taloven.ini", fuzz::Bytes(data, size));
  ProfileFile first(path);
  Require(first.Load().ok(), "a readable profile loads");
  const ScannerSettings settings = ReadScannerSettings(first, ScannerDefaults::Capture);

  Require(first.Save().ok(), "the profile saves");
  const std::string saved = fuzz::ReadScratch(path);
  ProfileFile second(path);
  Require(second.Load().ok(), "a saved profile loads");
  for (const Key& k : KeysOf(saved))
    Require(first.GetString(k.section, k.key, "\x01") == second.GetString(k.section, k.key, "\x01"),
            "every key keeps its value through a save");
  Require(Same(ReadScannerSettings(second, ScannerDefaults::Capture), settings),
          "the scanner settings survive a save");
  Require(second.Save().ok() && fuzz::ReadScratch(path) == saved,
          "a saved profile saves as the same bytes");

  StoreScannerSettings(second, settings);
  Require(second.Save().ok(), "the stored settings save");
  ProfileFile third(path);
  Require(third.Load().ok() && Same(ReadScannerSettings(third, ScannerDefaults::Capture), settings),
          "stored scanner settings read back the same");
  return 0;
}
