#pragma once

#include <string>
#include <vector>

#include "programming/equipment_configuration.h"

namespace taloven {

using ConfigurationList = std::vector<EquipmentConfiguration>;

// equipamentos.xml in the working directory.
std::string ConfigurationsPath(const std::string& workingDirectory);

// Reads every "//equipamento" into list, in document order. 0 on success;
// 1 when the file is missing (nothing saved yet); -1 when it is there but
// does not load, the reason in *error: it must then not be saved over. The
// list is empty unless the file was read.
int LoadConfigurations(const std::string& path, ConfigurationList& list,
                       std::string* error = nullptr);

// Appends record, or with replace moves an existing record of the same
// serial number to the end as record. 1 (nothing changed) when one exists
// and replace is false, else 0.
int AddConfiguration(ConfigurationList& list, const EquipmentConfiguration& record, bool replace);

// The file's bytes for list.
std::string ConfigurationsFileBytes(const ConfigurationList& list);

// Replaces the file with list, through a temporary file, so that a failed
// write keeps the old file. 0 on success, else -1 with the reason in *error.
int SaveConfigurations(const std::string& path, const ConfigurationList& list,
                       std::string* error = nullptr);

}  // namespace taloven
