#include "catalogue/catalogue.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
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
  std::string cut;  // the last bytes read, where a tag cut in two begins
  static_cast<void>(ReadFileInPieces(path, [&](std::string_view piece) {
    // "<cmd" holds no shorter copy of itself: a tag found across the cut is
    // never found again.
    cut.append(piece.substr(0, kTag.size() - 1));
    if (cut.find(kTag) != std::string::npos) ++count;
    for (size_t at = piece.find(kTag); at != std::string_view::npos; at = piece.find(kTag, at + 1))
      ++count;
    if (piece.size() >= kTag.size() - 1)
      cut = piece.substr(piece.size() - (kTag.size() - 1));
    else
      cut.erase(0, cut.size() - std::min(cut.size(), kTag.size() - 1));
    return true;
  }));
  return count;
}

// Has the kernel give the pages under a list just sized, before it is
// filled, in one call instead of one fault per page, which on a virtual
// machine costs more than filling the page. A list too small to hold a whole
// page, or a kernel without the call, is filled as it comes.
void TakePagesAtOnce(const void* data, size_t bytes) {
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (start + page - 1) / page * page;
  const uintptr_t end = (start + bytes) / page * page;
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
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
  TakePagesAtOnce(records.data(), records.capacity() * sizeof(CommandRecord));
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
