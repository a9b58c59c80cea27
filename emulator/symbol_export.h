#pragma once

#include <string>
#include <vector>

namespace taloven::emulator {

// The printer can print its journal as PDF-417 symbols. Each symbol carries
// one record: the journal's total size and this piece's offset (4 bytes
// each, little-endian), at most kSymbolPayload bytes of the journal, and a
// 2-byte trailer, the low half of the CRC-32 of everything before it.
constexpr size_t kSymbolPayload = 668;

std::vector<std::string> SymbolRecords(const std::string& journal);

// Writes one bitmap per symbol into directory: symbol_0001.bmp and on.
bool ExportSymbolBitmaps(const std::string& journal, const std::string& directory,
                         std::string& error);
// Writes the records back to back, as a scanner reading every symbol in
// turn sends them.
bool ExportScannerStream(const std::string& journal, const std::string& path, std::string& error);

}  // namespace taloven::emulator
