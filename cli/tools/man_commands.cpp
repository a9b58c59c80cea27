// Writes the manual page of taloven-cli with its commands taken from the
// program's own command table, so that the page names every command the
// program has, those added later included.
// Usage: taloven-man-commands TEMPLATE OUTPUT; the template's line
// "@TALOVEN_CLI_COMMANDS@" becomes one entry per command.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "cli_command.h"

namespace {

// The command texts are plain UTF-8; roff reads "-" as a hyphen and "\" as
// an escape, and a line starting with "." or "'" as a request.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out = "\\&";
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  return out;
}

std::string CommandEntries() {
  std::string entries;
  for (const taloven::CliCommand& command : taloven::CommandTable()) {
    entries += ".TP\n\\fB" + Roff(command.name) + "\\fR";
    if (*command.arguments) entries += " \\fI" + Roff(command.arguments) + "\\fR";
    entries += "\n" + Roff(command.summary) + "\n";
  }
  return entries;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: taloven-man-commands TEMPLATE OUTPUT\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "taloven-man-commands: cannot read %s\n", argv[1]);
    return 1;
  }
  std::ostringstream page;
  bool listed = false;
  for (std::string line; std::getline(in, line);) {
    if (line == "@TALOVEN_CLI_COMMANDS@") {
      page << CommandEntries();
      listed = true;
    } else {
      page << line << '\n';
    }
  }
  if (!listed) {
    std::fprintf(stderr, "taloven-man-commands: %s has no @TALOVEN_CLI_COMMANDS@ line\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << page.str();
  out.close();
  if (!out) {
    std::fprintf(stderr, "taloven-man-commands: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
