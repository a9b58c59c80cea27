#include "catalogue/xml_cp1252_encoding.h"

#include <libxml/encoding.h>

#include <array>
#include <mutex>
#include <string>
#include <unordered_map>

#include "resources/encoding.h"

namespace taloven {
namespace {

// Built from the program's own code-page conversion so that the XML files and
// the rest of the core agree on every byte.
struct Cp1252Tables {
  std::array<std::string, 256> utf8OfByte;
  std::unordered_map<char32_t, unsigned char> byteOfCodePoint;

  Cp1252Tables() {
    for (int byte = 0; byte < 256; ++byte) {
      std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
      utf8OfByte[static_cast<size_t>(byte)] = utf8;
      char32_t cp = 0;
      auto lead = static_cast<unsigned char>(utf8[0]);
      if (utf8.size() == 1) {
        cp = lead;
      } else {
        cp = utf8.size() == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (size_t k = 1; k < utf8.size(); ++k)
          cp = (cp << 6) | (static_cast<unsigned char>(utf8[k]) & 0x3F);
      }
      byteOfCodePoint[cp] = static_cast<unsigned char>(byte);
    }
  }
};

const Cp1252Tables& Tables() {
  static const Cp1252Tables tables;
  return tables;
}

// Windows-1252 → UTF-8. Converts what fits in the output and reports how much
// of the input it consumed; libxml2 calls again for the rest.
int Cp1252Input(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (in == nullptr || inlen == nullptr) {
    *outlen = 0;
    if (inlen) *inlen = 0;
    return 0;
  }
  const Cp1252Tables& tables = Tables();
  int read = 0;
  int written = 0;
  while (read < *inlen) {
    const std::string& utf8 = tables.utf8OfByte[in[read]];
    if (written + static_cast<int>(utf8.size()) > *outlen) break;
    for (char c : utf8) out[written++] = static_cast<unsigned char>(c);
    ++read;
  }
  *inlen = read;
  *outlen = written;
  return written;
}

// UTF-8 → Windows-1252. A character the code page lacks stops the conversion
// with -2, on which libxml2 writes it as a character reference instead.
int Cp1252Output(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (in == nullptr || inlen == nullptr) {
    *outlen = 0;
    if (inlen) *inlen = 0;
    return 0;
  }
  const Cp1252Tables& tables = Tables();
  int read = 0;
  int written = 0;
  int result = 0;
  while (read < *inlen && written < *outlen) {
    unsigned char lead = in[read];
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : 3;
    if (read + extra >= *inlen) break;  // the rest of this character comes next call
    char32_t cp = extra == 0   ? lead
                  : extra == 1 ? (lead & 0x1F)
                  : extra == 2 ? (lead & 0x0F)
                               : (lead & 0x07);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (in[read + k] & 0x3F);
    auto found = tables.byteOfCodePoint.find(cp);
    if (found == tables.byteOfCodePoint.end()) {
      result = -2;
      break;
    }
    out[written++] = found->second;
    read += extra + 1;
  }
  *inlen = read;
  *outlen = written;
  return result < 0 ? result : written;
}

}  // namespace

void RegisterCp1252ForXml() {
  static std::once_flag once;
  std::call_once(once, [] {
    Tables();
    // libxml2 keeps the handler for the rest of the process.
    xmlNewCharEncodingHandler("WINDOWS-1252", Cp1252Input, Cp1252Output);
    xmlAddEncodingAlias("WINDOWS-1252", "CP1252");
  });
}

}  // namespace taloven
