#pragma once

#include <string>

namespace taloven {

// The command and exit-status lists of the manual page and of the help
// file's command-line page, both written from the program's own tables so
// that neither can name a command or a status the other does not.
enum class PageKind { kManual, kHelp };

// The page's template with its lines "@TALOVEN_CLI_COMMANDS@" and
// "@TALOVEN_CLI_EXIT_STATUSES@" replaced by the lists: roff for the manual
// (UTF-8), HTML rows for the help (Windows-1252, as the help file is). False,
// with the missing mark in error, when the template lacks one.
bool FillReferencePage(PageKind kind, const std::string& pageTemplate, std::string* page,
                       std::string* error);

}  // namespace taloven
