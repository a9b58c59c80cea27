#pragma once

#include <string>
#include <vector>

#include "catalogue/command_record.h"

namespace taloven::testing {

// Records as the catalogue would give them, built in a line of a test table.
inline CommandParameter MakeParameter(const std::string& type, int size, const std::string& title,
                                      bool mandatory, const std::string& value) {
  CommandParameter p;
  p.type = type;
  p.size = size;
  p.title = title;
  p.mandatory = mandatory ? 1 : 0;
  p.value = value;
  return p;
}

inline CommandRecord MakeCommand(const std::string& title, const std::string& escape,
                                 const std::vector<CommandParameter>& parameters) {
  CommandRecord record;
  record.SetTitle(title);
  record.SetEscapeText(escape);
  for (const CommandParameter& p : parameters) record.AppendParameter(p);
  return record;
}

}  // namespace taloven::testing
