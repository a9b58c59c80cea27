#include "scanner/symbol_export.h"

#include <zint.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "formats/symbol_record.h"

namespace taloven::emulator {

std::vector<std::string> SymbolRecords(const std::string& journal) {
  std::vector<std::string> records;
  for (size_t offset = 0; offset < journal.size(); offset += kSymbolPayload)
    records.push_back(
        MakeSymbolRecord(static_cast<uint32_t>(journal.size()), static_cast<uint32_t>(offset),
                         std::string_view(journal).substr(offset, kSymbolPayload), kSymbolTrailer));
  return records;
}

bool ExportSymbolBitmaps(const std::string& journal, const std::string& directory,
                         std::string& error) {
  std::error_code made;
  std::filesystem::create_directories(directory, made);
  if (made) {
    error = directory + ": " + made.message();
    return false;
  }
  const std::vector<std::string> records = SymbolRecords(journal);
  for (size_t i = 0; i < records.size(); ++i) {
    zint_symbol* symbol = ZBarcode_Create();
    if (symbol == nullptr) {
      error = "out of memory";
      return false;
    }
    symbol->symbology = BARCODE_PDF417;
    symbol->input_mode = DATA_MODE;
    symbol->option_1 = 2;  // error correction level
    // Two pixels a module and a quiet zone around, as a printer lays it out
    // for a scanner.
    symbol->scale = 1.0f;
    symbol->whitespace_width = 4;
    symbol->whitespace_height = 4;
    std::snprintf(symbol->outfile, sizeof symbol->outfile, "%s/symbol_%04zu.bmp", directory.c_str(),
                  i + 1);
    const std::string& record = records[i];
    const int result =
        ZBarcode_Encode_and_Print(symbol, reinterpret_cast<const unsigned char*>(record.data()),
                                  static_cast<int>(record.size()), 0);
    if (result >= ZINT_ERROR) {
      error = std::string(symbol->outfile) + ": " + symbol->errtxt;
      ZBarcode_Delete(symbol);
      return false;
    }
    ZBarcode_Delete(symbol);
  }
  return true;
}

bool ExportScannerStream(const std::string& journal, const std::string& path, std::string& error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  for (const std::string& record : SymbolRecords(journal)) file << record;
  file.flush();
  if (!file) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace taloven::emulator
