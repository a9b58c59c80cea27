#include "app/settings_apply.h"

#include <algorithm>
#include <cstdlib>

#include "base/printer_models.h"
#include "link/byte_trace.h"

namespace taloven {

SettingsChoice ChoiceFromSettings(const AppSettings& settings) {
  SettingsChoice choice;
  choice.portName = settings.portName;
  choice.modelName = settings.modelName;
  choice.filterByModel = settings.filterByModel != 0;
  choice.showResults = settings.showResults != 0;
  choice.extendedReturn = settings.extendedReturn != 0;
  choice.traceBytes = settings.traceBytes != 0;
  return choice;
}

std::vector<PortLine> OfferedPortNames(const std::vector<PortLine>& presentDevices,
                                       const std::string& named) {
  std::vector<std::string> names = {"USB", "FILE"};
  for (char digit = '1'; digit <= '8'; ++digit) names.push_back(std::string("COM") + digit + ":");
  const auto present = [&](const std::string& name) {
    return std::any_of(presentDevices.begin(), presentDevices.end(),
                       [&](const PortLine& line) { return line.second == name; });
  };
  if (!named.empty() && !present(named)) names.push_back(named);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  // The devices first, in their own order, each stable name beside its
  // device.
  std::vector<PortLine> lines = presentDevices;
  for (const std::string& name : names) lines.emplace_back(name, name);
  return lines;
}

std::string TypedPortName(const std::string& typed) {
  const size_t first = typed.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = typed.find_last_not_of(" \t");
  return typed.substr(first, last - first + 1);
}

std::string TypedModelName(const std::string& typed) {
  if (typed.find_first_not_of(' ') == std::string::npos) return "";
  std::string name = typed;
  if (name.size() < static_cast<size_t>(kModelNameLength)) name.resize(kModelNameLength, ' ');
  return name;
}

void ApplyAllSettings(const SettingsChoice& choice, AppSettings& settings) {
  ApplyLinkSettings(choice, settings);
  settings.modelName = choice.modelName;
  settings.modelMask = MaskForModelName(choice.modelName);
  settings.filterByModel = choice.filterByModel ? 1 : 0;
}

void ApplyLinkSettings(const SettingsChoice& choice, AppSettings& settings) {
  settings.portName = choice.portName;
  settings.showResults = choice.showResults ? 1 : 0;
  settings.extendedReturn = choice.extendedReturn ? 1 : 0;
  settings.traceBytes = choice.traceBytes ? 1 : 0;
  // The ports find the trace in the environment, the fiscal-memory libraries'
  // as well as the program's own.
  if (settings.traceBytes) {
    ::setenv(kTraceDirectoryVariable, settings.workingDirectory.c_str(), 1);
  } else {
    ::unsetenv(kTraceDirectoryVariable);
  }
}

}  // namespace taloven
