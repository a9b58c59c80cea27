// Writes the manual page of taloven-cli, or the help file's command-line
// page, with the lists of commands and exit statuses taken from the
// program's own tables, so that both pages name every command and status
// the program has, those added later included.
// Usage: taloven-man-commands [--html] TEMPLATE OUTPUT
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/atomic_file.h"
#include "reference_pages.h"

int main(int argc, char** argv) {
  const bool html = argc == 4 && std::string(argv[1]) == "--html";
  if (argc != (html ? 4 : 3)) {
    std::fprintf(stderr, "usage: taloven-man-commands [--html] TEMPLATE OUTPUT\n");
    return 1;
  }
  const char* templatePath = argv[html ? 2 : 1];
  const char* outputPath = argv[html ? 3 : 2];
  std::ifstream in(templatePath, std::ios::binary);
  std::ostringstream read;
  read << in.rdbuf();
  if (!in) {
    std::fprintf(stderr, "taloven-man-commands: cannot read %s\n", templatePath);
    return 1;
  }
  const std::string pageTemplate = read.str();
  std::string page, error;
  if (!taloven::FillReferencePage(html ? taloven::PageKind::kHelp : taloven::PageKind::kManual,
                                  pageTemplate, &page, &error)) {
    std::fprintf(stderr, "taloven-man-commands: %s: %s\n", templatePath, error.c_str());
    return 1;
  }
  if (const taloven::Status written = taloven::WriteFileAtomically(outputPath, page);
      !written.ok()) {
    std::fprintf(stderr, "taloven-man-commands: cannot write %s: %s\n", outputPath,
                 written.message().c_str());
    return 1;
  }
  return 0;
}
