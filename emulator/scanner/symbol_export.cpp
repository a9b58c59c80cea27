#include "scanner/symbol_export.h"

#include <zint.h>

#include <cstdio>
#include <filesystem>

#include "base/atomic_file.h"
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

Status ExportSymbolBitmaps(const std::string& journal, const std::string& directory) {
  std::error_code made;
  std::filesystem::create_directories(directory, made);
  if (made) return Status::Failure(directory + ": " + made.message(), made.value());
  const std::vector<std::string> records = SymbolRecords(journal);
  for (size_t i = 0; i < records.size(); ++i) {
    zint_symbol* symbol = ZBarcode_Create();
    if (symbol == nullptr) return Status::Failure("out of memory");
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
      const Status failed = Status::Failure(std::string(symbol->outfile) + ": " + symbol->errtxt);
      ZBarcode_Delete(symbol);
      return failed;
    }
    ZBarcode_Delete(symbol);
  }
  return {};
}

Status ExportScannerStream(const std::string& journal, const std::string& path) {
  std::string stream;
  for (const std::string& record : SymbolRecords(journal)) stream += record;
  const Status written = WriteFileAtomically(path, stream);
  if (written.ok()) return {};
  return Status::Failure(path + ": " + written.message(), written.systemError());
}

}  // namespace taloven::emulator
