#pragma once

#include <ctime>
#include <string>

#include "catalogue/command_record.h"

namespace taloven {

// Path of the day's log: directory/log/Log_YYYY_MM_DD.txt.
std::string LogFilePath(const std::string& workingDirectory, const std::tm& when);

// Appends one record of the exchange to the day's log, with the line ends
// technicians' logs have (every LF written as CR LF), in one write: a record
// the disk took only in part is cut off again, so the log never holds half a
// record. 0 when it was written; -1 when not, with failure (if given) set to
// a message naming the file and the system's reason.
int WriteLogRecord(const CommandRecord& record, const std::string& workingDirectory,
                   const std::tm& when, std::string* failure = nullptr);

// The same text-mode line ends for any text.
std::string ToTextModeLineEnds(const std::string& text);

}  // namespace taloven
