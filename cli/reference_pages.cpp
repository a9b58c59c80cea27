#include "reference_pages.h"

#include <string_view>

#include "base/encoding.h"
#include "cli_command.h"
#include "exit_status_table.h"

namespace taloven {
namespace {

constexpr std::string_view kCommandsMark = "@TALOVEN_CLI_COMMANDS@";
constexpr std::string_view kStatusesMark = "@TALOVEN_CLI_EXIT_STATUSES@";

// roff reads "-" as a hyphen and "\" as an escape, and a line starting with
// "." or "'" as a request.
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

std::string Html(std::string_view utf8) {
  std::string out;
  for (char c : W(utf8)) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

std::string Commands(PageKind kind) {
  std::string text;
  for (const CliCommand& command : CommandTable()) {
    const std::string_view arguments = command.arguments;
    if (kind == PageKind::kManual) {
      text += ".TP\n\\fB" + Roff(command.name) + "\\fR";
      if (!arguments.empty()) text += " \\fI" + Roff(arguments) + "\\fR";
      text += "\n" + Roff(command.summary) + "\n";
    } else {
      text += "<tr><td><code>" + Html(command.name) +
              (arguments.empty() ? "" : " " + Html(arguments)) + "</code></td><td>" +
              Html(command.summary) + "</td></tr>\r\n";
    }
  }
  return text;
}

std::string Statuses(PageKind kind) {
  std::string text;
  for (const ExitStatusEntry& status : ExitStatusTable()) {
    if (kind == PageKind::kManual)
      text += ".TP\n.B \"" + Roff(status.codes) + "\"\n" + Roff(status.meaning) + "\n";
    else
      text +=
          "<tr><td>" + Html(status.codes) + "</td><td>" + Html(status.meaning) + "</td></tr>\r\n";
  }
  return text;
}

}  // namespace

bool FillReferencePage(PageKind kind, const std::string& pageTemplate, std::string* page,
                       std::string* error) {
  bool commands = false, statuses = false;
  page->clear();
  size_t start = 0;
  while (start < pageTemplate.size()) {
    size_t end = pageTemplate.find('\n', start);
    end = end == std::string::npos ? pageTemplate.size() : end + 1;
    std::string_view line(pageTemplate.data() + start, end - start);
    std::string_view bare = line;
    while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.remove_suffix(1);
    if (bare == kCommandsMark) {
      *page += Commands(kind);
      commands = true;
    } else if (bare == kStatusesMark) {
      *page += Statuses(kind);
      statuses = true;
    } else {
      page->append(line);
    }
    start = end;
  }
  if (!commands || !statuses) {
    *error = std::string("no line ") + std::string(commands ? kStatusesMark : kCommandsMark);
    return false;
  }
  return true;
}

}  // namespace taloven
