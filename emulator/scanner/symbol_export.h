#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "formats/symbol_record.h"

namespace taloven::emulator {

// The printer can print its journal as PDF-417 symbols, one record each
// (see formats/symbol_record.h).
constexpr size_t kSymbolPayload = kSymbolPayloadBytes;
// What this printer puts in a record's trailer: two fixed bytes, no check
// of anything, so that a reader relying on one fails against it.
constexpr std::string_view kSymbolTrailer = "\x55\xAA";

std::vector<std::string> SymbolRecords(const std::string& journal);

// Writes one bitmap per symbol into directory (made when missing):
// symbol_0001.bmp and on.
Status ExportSymbolBitmaps(const std::string& journal, const std::string& directory);
// Writes the records back to back, as a scanner reading every symbol in
// turn sends them.
Status ExportScannerStream(const std::string& journal, const std::string& path);

}  // namespace taloven::emulator
