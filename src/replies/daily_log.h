#pragma once

#include <ctime>
#include <string>

#include "catalogue/command_record.h"

namespace taloven {

// Path of the day's log: directory/log/Log_YYYY_MM_DD.txt.
std::string LogFilePath(const std::string& workingDirectory, const std::tm& when);

// Appends one record of the exchange to the day's log, with the line ends
// technicians' logs have (every LF written as CR LF). Reports nothing.
int WriteLogRecord(const CommandRecord& record, const std::string& workingDirectory,
                   const std::tm& when);

// The same text-mode line ends for any text.
std::string ToTextModeLineEnds(const std::string& text);

}  // namespace taloven
