#pragma once

#include "printer/printer_state.h"

namespace taloven::emulator {

// Runs the printer through days of sales ending yesterday: each day opens
// with a supply, sells receipts of a few items paid in the programmed forms
// (now and then one cancelled), prints an X reading at noon and closes with
// a Z reduction. The same state and day count always give the same
// documents, so large journals for tests and measurements are repeatable.
void SimulateDays(PrinterState& state, int days, int64_t hostNow);

}  // namespace taloven::emulator
