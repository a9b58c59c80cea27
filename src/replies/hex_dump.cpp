#include "replies/hex_dump.h"

#include <cstdio>
#include <string_view>

namespace taloven {
namespace {

constexpr size_t kLineChars = 48;  // 16 bytes as "XX " triples

// Cuts the first line off rest (up to its first CR LF, which is dropped)
// and returns it without its first six characters ("CMD: " or "RET: " and
// the blank before the first byte). Only views move, so a dump of many
// exchanges is read once from end to end.
std::string_view CutByteList(std::string_view& rest) {
  const size_t end = rest.find("\r\n");
  const std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
  return line.size() > 6 ? line.substr(6) : std::string_view();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

void AppendDump(std::string& out, std::string_view list) {
  for (unsigned offset = 0; !list.empty(); offset += 16) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%.4x  ", offset);
    out += prefix;
    const std::string_view chunk = list.substr(0, kLineChars);
    out += chunk;
    out.append(kLineChars - chunk.size(), ' ');
    for (size_t i = 0; i + 1 < chunk.size(); i += 3) {
      const char byte = static_cast<char>(HexDigit(chunk[i]) * 16 + HexDigit(chunk[i + 1]));
      out += byte == '\0' ? '.' : byte;
    }
    out += "\r\n";
    list.remove_prefix(chunk.size());
  }
}

}  // namespace

std::string HexDumpText(const std::string& dump) {
  std::string_view rest = dump;
  std::string out;
  // Every 48 characters of byte list give a line of 72.
  out.reserve(dump.size() * 2);
  do {
    out += "CMD:\r\n";
    AppendDump(out, CutByteList(rest));
    out += "RET:\r\n";
    AppendDump(out, CutByteList(rest));
    out += "\r\n";
  } while (rest.find("CMD:") != std::string_view::npos);
  return out;
}

}  // namespace taloven
