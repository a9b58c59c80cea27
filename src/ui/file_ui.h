#pragma once

#include <optional>
#include <string>
#include <vector>

namespace taloven {

struct FileFilter {
  std::string label;    // e.g. "Arquivos de Texto (*.txt)"
  std::string pattern;  // e.g. "*.txt"
};

// Files: the names the user picks, and the desktop's opener.
class FileUi {
 public:
  virtual ~FileUi() = default;

  // File dialogs; nothing when cancelled.
  virtual std::optional<std::string> SaveFileName(const std::string& proposedName,
                                                  const std::string& defaultExtension,
                                                  const std::vector<FileFilter>& filters) = 0;
  virtual std::optional<std::string> OpenFileName(const std::vector<FileFilter>& filters) = 0;
  // Existing files, in the order the dialog gives them; an empty title keeps
  // the dialog's own, several lets the user pick more than one.
  virtual std::optional<std::vector<std::string>> OpenFileNames(
      const std::string& title, const std::vector<FileFilter>& filters, bool several) = 0;

  // Opens a file with the desktop's associated program; false when the
  // opener could not be started.
  virtual bool ShellOpen(const std::string& path) = 0;
  // Opens a help file at the page of a context number; a viewer that cannot
  // be told a page shows the file from its start.
  virtual bool ShellOpenHelp(const std::string& path, int /*contextId*/) { return ShellOpen(path); }
};

}  // namespace taloven
