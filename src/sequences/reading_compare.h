#pragma once

#include <string>

#include "sequences/totals_reading.h"

namespace taloven {

// One line of the report: "\tOk!\r\n", or the error line with both values
// when they differ by more than 1e-10.
std::string CompareValue(double expected, double found);

// Every field's report label followed by its CompareValue line, in the order
// of TotalsReading (array elements numbered from 1). Windows-1252.
std::string CompareReadings(const TotalsReading& expected, const TotalsReading& found);

// Whether a report of CompareReadings holds at least one error line.
bool ReportHasErrors(const std::string& report);

}  // namespace taloven
