#include "catalogue/catalogue.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "base/read_file.h"
#include "catalogue/command_stream.h"

namespace taloven {
namespace {

std::string CataloguePath(const std::string& directory) {
  if (directory.empty()) return "comandos.xml";
  return directory.back() == '/' ? directory + "comandos.xml" : directory + "/comandos.xml";
}

// An upper bound of the commands in the file, to size the list once: a
// look through the file costs far less than a list growing in steps.
size_t CountCommandTags(const std::string& path) {
  constexpr std::string_view kTag = "<cmd";
  size_t count = 0;
  std::string window;
  static_cast<void>(ReadFileInPieces(path, [&](std::string_view piece) {
    // The piece after the last bytes of the one before, for a tag cut in two.
    window.erase(0, window.size() - std::min(window.size(), kTag.size() - 1));
    window.append(piece);
    for (size_t at = window.find(kTag); at != std::string::npos; at = window.find(kTag, at + 1))
      ++count;
    return true;
  }));
  return count;
}

// Every cmd element is a command, at any depth, in the order the commands
// start: one inside another comes after it.
class CatalogueStream final : public CommandStream {
 public:
  explicit CatalogueStream(std::vector<CommandRecord>& records)
      : CommandStream(true), records_(records) {}

  using CommandStream::ReadFile;

 private:
  Element HostStart(int name, Element*) override {
    if (name != kCmd) return {};
    records_.emplace_back();
    return {Role::kCommand, name, 0, records_.size() - 1};
  }

  void CommandRead(const Element& command, Element*, CommandRecord record) override {
    records_[command.slot] = std::move(record);
  }

  void HostEnd(const Element&, Element*, std::string) override {}

  std::vector<CommandRecord>& records_;
};

}  // namespace

Status LoadCatalogue(const std::string& directory, CommandCatalogue& catalogue) {
  const std::string path = CataloguePath(directory);
  std::vector<CommandRecord> records;
  records.reserve(CountCommandTags(path));
  const Status read = CatalogueStream(records).ReadFile(path, {});
  if (!read.ok()) {
    records.clear();
    // On the error stream, so that a script reading a command's output on
    // standard output never takes the diagnostic for a result.
    std::fputs("Failed to instantiate an XML DOM.\n", stderr);
  }
  catalogue.Assign(std::move(records));
  return read;
}

}  // namespace taloven
