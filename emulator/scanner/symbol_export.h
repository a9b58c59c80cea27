#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "formats/symbol_record.h"

namespace taloven::emulator {

// The printer can print its journal as PDF-417 symbols, one record each
// (see formats/symbol_record.h).
constexpr size_t kSymbolPayload = kSymbolPayloadBytes;

std::vector<std::string> SymbolRecords(const std::string& journal);

// Writes one bitmap per symbol into directory: symbol_0001.bmp and on.
Status ExportSymbolBitmaps(const std::string& journal, const std::string& directory);
// Writes the records back to back, as a scanner reading every symbol in
// turn sends them.
Status ExportScannerStream(const std::string& journal, const std::string& path);

}  // namespace taloven::emulator
