#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/app_settings.h"

namespace taloven {

class FiscalMemoryLibrary;
class Ui;
struct FileFilter;

// The operations of the "MFD" window. Each loads the fiscal-memory library
// of the printer's model for itself and frees it before it returns; the
// library's results 2 to 7 are shown as warnings.
class MfdOperations {
 public:
  MfdOperations(Ui& ui, const AppSettings& settings) : ui_(ui), settings_(settings) {}

  // "Comunicação" → "Download": the memories of the printer on portName.
  void DownloadMfd();
  void DownloadMf();
  void DownloadSb();
  // "Arquivo": reports from files.
  void TextReport();       // "Emissão de documento(s)"
  void Database();         // "Geração de banco de dados"
  void MfReadingReport();  // "Relatório da Memória Fiscal"
  void Diagnosis();        // "Diagnostico do relatório da MFD"
  void BitmapsToMfd();     // "Decodificar Bitmaps PDF-417 Distintos"

 private:
  struct JournalFunctions;
  void DownloadImage(const char* function, const FileFilter& filter);
  void JournalReport(const JournalFunctions& functions);
  void ReportResult(int result);
  // As ReportResult; an output the library could not write is named with the
  // system's reason, and what a reading skipped as damaged is said.
  void ReportCall(const FiscalMemoryLibrary& library, int result, const std::string& output);
  void ReportSkipped(const FiscalMemoryLibrary& library, bool blocks);
  // Runs work under a wait window with "Cancelar", which stops it at the
  // library's next progress report; nothing when it was cancelled.
  std::optional<int> RunCancellable(const FiscalMemoryLibrary& library,
                                    const std::function<int()>& work);
  void TellCancelled();
  // Names an input refused for its size; false when that was not the cause.
  bool ReportOversized(int result, const std::string& input, uint64_t largest);
  void TellLibraryNotLoaded();
  void TellFunctionMissing(const char* function);

  Ui& ui_;
  const AppSettings& settings_;
};

}  // namespace taloven
