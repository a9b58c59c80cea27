#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "catalogue/record_file.h"
#include "programming/equipment_configuration.h"

namespace taloven {

using ConfigurationList = std::vector<EquipmentConfiguration>;

// equipamentos.xml in the working directory.
std::string ConfigurationsPath(const std::string& workingDirectory);

// Reads every "//equipamento" into list, in document order. A missing file
// is no fault (nothing saved yet); one that is there but does not load fails
// with the reason, and must then not be saved over. The list is empty unless
// the file was read.
Result<RecordFile> LoadConfigurations(const std::string& path, ConfigurationList& list);

// Appends record, or with replace moves an existing record of the same
// serial number to the end as record. 1 (nothing changed) when one exists
// and replace is false, else 0.
int AddConfiguration(ConfigurationList& list, const EquipmentConfiguration& record, bool replace);

// The file's bytes for list.
std::string ConfigurationsFileBytes(const ConfigurationList& list);

// Replaces the file with list, through a temporary file, so that a failed
// write keeps the old file.
Status SaveConfigurations(const std::string& path, const ConfigurationList& list);

}  // namespace taloven
