#include "catalogue/xml_cp1252_encoding.h"

#include <libxml/encoding.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "base/encoding.h"

namespace taloven {
namespace {

// Continuation bytes that follow a UTF-8 lead byte.
int Utf8Continuations(unsigned char lead) {
  return lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : 3;
}

char32_t DecodeUtf8(const unsigned char* bytes, int continuations) {
  static constexpr unsigned char kLeadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = bytes[0] & kLeadBits[continuations];
  for (int k = 1; k <= continuations; ++k) cp = (cp << 6) | (bytes[k] & 0x3F);
  return cp;
}

// libxml2 first calls a converter without input to reset it; these keep no
// state between calls.
bool IsResetCall(int* outlen, const unsigned char* in, int* inlen) {
  if (in != nullptr && inlen != nullptr) return false;
  *outlen = 0;
  if (inlen) *inlen = 0;
  return true;
}

// Built from the program's own code-page conversion so that the XML files and
// the rest of the core agree on every byte.
struct Cp1252Tables {
  std::array<std::string, 256> utf8OfByte;
  std::unordered_map<char32_t, unsigned char> byteOfCodePoint;

  Cp1252Tables() {
    for (int byte = 0; byte < 256; ++byte) {
      std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
      utf8OfByte[static_cast<size_t>(byte)] = utf8;
      const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
      char32_t cp = DecodeUtf8(bytes, Utf8Continuations(bytes[0]));
      byteOfCodePoint[cp] = static_cast<unsigned char>(byte);
    }
  }
};

const Cp1252Tables& Tables() {
  static const Cp1252Tables tables;
  return tables;
}

// The bytes at the start of in, up to length, below 0x80: eight at a time,
// as nearly all of any file is plain ASCII.
int AsciiRun(const unsigned char* in, int length) {
  int run = 0;
  for (uint64_t word = 0; run + 8 <= length; run += 8) {
    std::memcpy(&word, in + run, sizeof word);
    if (word & 0x8080808080808080u) break;
  }
  while (run < length && in[run] < 0x80) ++run;
  return run;
}

// Windows-1252 → UTF-8. Converts what fits in the output and reports how much
// of the input it consumed; libxml2 calls again for the rest.
int Cp1252Input(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (IsResetCall(outlen, in, inlen)) return 0;
  const Cp1252Tables& tables = Tables();
  int read = 0;
  int written = 0;
  while (read < *inlen) {
    // ASCII is the same in both.
    const int run = AsciiRun(in + read, std::min(*inlen - read, *outlen - written));
    std::memcpy(out + written, in + read, static_cast<size_t>(run));
    read += run;
    written += run;
    if (read == *inlen || in[read] < 0x80) break;
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
  if (IsResetCall(outlen, in, inlen)) return 0;
  const Cp1252Tables& tables = Tables();
  int read = 0;
  int written = 0;
  int result = 0;
  while (read < *inlen && written < *outlen) {
    if (in[read] < 0x80) {
      out[written++] = in[read++];
      continue;
    }
    int extra = Utf8Continuations(in[read]);
    if (read + extra >= *inlen) break;  // the rest of this character comes next call
    char32_t cp = DecodeUtf8(in + read, extra);
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
