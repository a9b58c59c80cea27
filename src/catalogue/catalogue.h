#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "catalogue/command_record.h"

namespace taloven {

// The ordered commands of comandos.xml; index k is menu command 1083 + k.
class CommandCatalogue {
 public:
  int Count() const { return static_cast<int>(records_.size()); }
  const CommandRecord& At(int index) const { return records_.at(static_cast<size_t>(index)); }
  void Assign(std::vector<CommandRecord> records) { records_ = std::move(records); }
  void Append(CommandRecord record) { records_.push_back(std::move(record)); }
  void Clear() { records_.clear(); }
  const std::vector<CommandRecord>& Records() const { return records_; }

 private:
  std::vector<CommandRecord> records_;
};

// Builds the catalogue from directory/comandos.xml. Fails, with the reason,
// when the document cannot be loaded; the catalogue then stays empty.
Status LoadCatalogue(const std::string& directory, CommandCatalogue& catalogue);

}  // namespace taloven
