#include "fiscalmem/mfd_operations.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "base/encoding.h"
#include "fiscalmem/fiscal_memory_library.h"
#include "fiscalmem/library_result_text.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "fiscalmem/offer_to_open.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

const FileFilter kMfFiles{W("Arquivos de Memória Fiscal (*.mf)"), "*.mf"};
const FileFilter kSbFiles{W("Arquivos Binários (*.BIN)"), "*.bin"};
const FileFilter kMfdFiles{"Arquivos de MFD (*.mfd)", "*.mfd"};
const FileFilter kMfdFilesToRead{"Arquivos de MFD(*.MFD)", "*.mfd"};
const FileFilter kTxtReport{"Arquivo de texto(*.TXT)", "*.TXT"};
const FileFilter kMdbReport{"Arquivos de Banco de Dados (*.mdb)", "*.mdb"};
const FileFilter kMfReadingText{"Arquivos de Texto (*.txt)", "*.txt"};
const FileFilter kBitmaps{"Arquivos de Bitmap (*.bmp)", "*.bmp"};

std::vector<FileFilter> WithAllFiles(const FileFilter& filter) {
  return {filter, {"Todos os Arquivos (*.*)", "*.*"}};
}

bool Failed(int result) {
  return result >= KOVO_NO_SERIAL_NUMBER && result <= KOVO_NOT_EXECUTED;
}

std::string Counter(long value) {
  char text[24];
  std::snprintf(text, sizeof text, "%06ld", value);
  return text;
}

std::string ShortDate(const Date& date) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d%02d%02d", date.day % 100, date.month % 100,
                date.year % 100);
  return text;
}

// The library's progress callback carries no context: the wait window of the
// work under way is kept here for it. Only the interface thread calls the
// library.
WaitHandle* libraryWait = nullptr;
bool cancelSent = false;

int ShowLibraryProgress(long long done, long long total) {
  if (!libraryWait) return 0;
  libraryWait->SetProgress(done, total);
  if (libraryWait->CancelRequested()) cancelSent = true;
  return cancelSent ? 1 : 0;
}

// While alive, a library that reports progress shows it in the wait window,
// and the window's Cancel stops the work at its next report.
class LibraryProgress {
 public:
  LibraryProgress(const FiscalMemoryLibrary& library, WaitHandle& wait)
      : setProgress_(library.Find<KovoSetProgressFunction>("KovoSetProgress")) {
    cancelSent = false;
    if (!setProgress_) return;
    libraryWait = &wait;
    setProgress_(&ShowLibraryProgress);
  }
  ~LibraryProgress() {
    if (!setProgress_) return;
    setProgress_(nullptr);
    libraryWait = nullptr;
  }
  LibraryProgress(const LibraryProgress&) = delete;
  LibraryProgress& operator=(const LibraryProgress&) = delete;

  // Only a cancel the library was told of: one pressed after its last
  // report left the work whole.
  bool Cancelled() const { return cancelSent; }

 private:
  KovoSetProgressFunction setProgress_;
};

}  // namespace

struct MfdOperations::JournalFunctions {
  const char* total;
  const char* byDate;
  const char* byCoo;
  FileFilter output;
};

void MfdOperations::ReportResult(int result) {
  if (auto text = LibraryResultText(result))
    ui_.Message(*text, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

void MfdOperations::ReportCall(const FiscalMemoryLibrary& library, int result,
                               const std::string& output) {
  const std::string reason = Failed(result) ? library.LastCall().writeError : std::string();
  if (reason.empty()) return ReportResult(result);
  ui_.Message(OutputNotWrittenText(output, reason), Str(StrId::kProductName), MessageButtons::Ok,
              MessageIcon::Exclamation);
}

void MfdOperations::ReportSkipped(const FiscalMemoryLibrary& library, bool blocks) {
  const LibraryCallOutcome outcome = library.LastCall();
  if (outcome.damagedParts <= 0) return;
  ui_.Message(blocks ? SkippedBlocksText(outcome.damagedParts)
                     : SkippedRecordsText(outcome.damagedParts, outcome.damagedBytes),
              Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

std::optional<int> MfdOperations::RunCancellable(const FiscalMemoryLibrary& library,
                                                 const std::function<int()>& work) {
  auto wait = ui_.ShowCancellableWait(Str(StrId::kPleaseWait));
  LibraryProgress progress(library, *wait);
  const int result = work();
  if (progress.Cancelled()) return std::nullopt;
  return result;
}

void MfdOperations::TellCancelled() {
  // The library leaves an earlier file of that name as it was.
  ui_.Message(Str(StrId::kCommandCancelled), Str(StrId::kProductName), MessageButtons::Ok,
              MessageIcon::Exclamation);
}

bool MfdOperations::ReportOversized(int result, const std::string& input, uint64_t largest) {
  if (result != KOVO_NO_VALID_DATA) return false;
  const auto text = OversizedInputText(input, largest);
  if (!text) return false;
  ui_.Message(*text, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
  return true;
}

void MfdOperations::TellLibraryNotLoaded() {
  ui_.Message(W("Não foi possível carregar a DLL"), Str(StrId::kProductName), MessageButtons::Ok,
              MessageIcon::Exclamation);
}

void MfdOperations::TellFunctionMissing(const char* function) {
  ui_.Message(W("A DLL não tem a função ") + function, Str(StrId::kProductName), MessageButtons::Ok,
              MessageIcon::Exclamation);
}

void MfdOperations::DownloadImage(const char* function, const FileFilter& filter) {
  FiscalMemoryLibrary library(settings_.modelMask);
  if (!library.IsLoaded()) return;
  // The MF and SB downloads take the same arguments.
  auto download = library.Find<KovoDownloadMFFunction>(function);
  if (!download) return;
  auto path = ui_.SaveFileName("", filter.pattern, WithAllFiles(filter));
  if (!path) return;
  const std::optional<int> result =
      RunCancellable(library, [&] { return download(settings_.portName.c_str(), path->c_str()); });
  if (!result) return TellCancelled();
  ReportCall(library, *result, *path);
}

void MfdOperations::DownloadMf() {
  DownloadImage("KovoDownloadMF", kMfFiles);
}

void MfdOperations::DownloadSb() {
  DownloadImage("KovoDownloadSB", kSbFiles);
}

void MfdOperations::DownloadMfd() {
  auto interval = ui_.MfdIntervalDialog();
  if (!interval) return;
  std::string type = "0", start, end, user;
  if (interval->kind == MfdInterval::Kind::Coos) {
    type = "2";
    start = Counter(interval->firstCoo);
    end = Counter(interval->lastCoo);
    char text[16];
    std::snprintf(text, sizeof text, "%03d", interval->user);
    user = text;
  } else if (interval->kind == MfdInterval::Kind::Dates) {
    type = "1";
    start = ShortDate(interval->start);
    end = ShortDate(interval->end);
  }

  FiscalMemoryLibrary library(settings_.modelMask);
  if (!library.IsLoaded()) return TellLibraryNotLoaded();
  auto download = library.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  if (!download) return;
  auto path = ui_.SaveFileName("", kMfdFiles.pattern, WithAllFiles(kMfdFiles));
  if (!path) return;
  const std::optional<int> result = RunCancellable(library, [&] {
    return download(settings_.portName.c_str(), path->c_str(), type.c_str(), start.c_str(),
                    end.c_str(), user.c_str());
  });
  if (!result) return TellCancelled();
  ReportCall(library, *result, *path);
}

void MfdOperations::JournalReport(const JournalFunctions& functions) {
  auto mfd = ui_.OpenFileNames("", WithAllFiles(kMfdFilesToRead), false);
  if (!mfd || mfd->empty()) return;
  auto interval = ui_.MfdIntervalDialog();
  if (!interval) return;
  auto output = ui_.SaveFileName("", functions.output.pattern, WithAllFiles(functions.output));
  if (!output) return;

  FiscalMemoryLibrary library(settings_.modelMask);
  if (!library.IsLoaded()) return TellLibraryNotLoaded();
  const char* input = mfd->front().c_str();
  const char* path = output->c_str();
  std::function<int()> generate;
  // Text and database functions of one kind take the same arguments.
  switch (interval->kind) {
    case MfdInterval::Kind::Total: {
      auto total = library.Find<KovoGeraTxtTotalFunction>(functions.total);
      if (!total) return TellFunctionMissing(functions.total);
      generate = [=] { return total(input, path); };
      break;
    }
    case MfdInterval::Kind::Dates: {
      auto byDate = library.Find<KovoGeraTxtPorDataFunction>(functions.byDate);
      if (!byDate) return TellFunctionMissing(functions.byDate);
      const std::string start = ShortDate(interval->start), end = ShortDate(interval->end);
      generate = [=] { return byDate(input, path, start.c_str(), end.c_str()); };
      break;
    }
    case MfdInterval::Kind::Coos: {
      auto byCoo = library.Find<KovoGeraTxtPorCOOFunction>(functions.byCoo);
      if (!byCoo) return TellFunctionMissing(functions.byCoo);
      const int user = interval->user, first = static_cast<int>(interval->firstCoo),
                last = static_cast<int>(interval->lastCoo);
      generate = [=] { return byCoo(input, path, user, first, last); };
      break;
    }
  }
  const std::optional<int> cancellable = RunCancellable(library, generate);
  if (!cancellable) return TellCancelled();
  const int result = *cancellable;
  if (ReportOversized(result, mfd->front(), kLargestMfdFileBytes)) return;
  ReportCall(library, result, *output);
  if (!Failed(result)) ReportSkipped(library, false);
  OfferToOpenIfCreated(ui_, *output, Failed(result));
}

void MfdOperations::TextReport() {
  JournalReport({"KovoGeraTxtTotal", "KovoGeraTxtPorData", "KovoGeraTxtPorCOO", kTxtReport});
}

void MfdOperations::Database() {
  JournalReport({"KovoGeraMdbTotal", "KovoGeraMdbPorData", "KovoGeraMdbPorCOO", kMdbReport});
}

void MfdOperations::MfReadingReport() {
  auto mf = ui_.OpenFileNames(W("Arquivo de Memória Fiscal"), WithAllFiles(kMfFiles), false);
  if (!mf || mf->empty()) return;
  auto choice = ui_.MfReadingDialog();
  if (!choice) return;
  auto output = ui_.SaveFileName("", kMfReadingText.pattern, WithAllFiles(kMfReadingText));
  if (!output) return;
  std::string type = choice->byDate ? "D" : "C";
  if (choice->simplified) type = choice->byDate ? "d" : "c";
  const std::string start = choice->byDate ? ShortDate(choice->start) : Counter(choice->firstCrz);
  const std::string end = choice->byDate ? ShortDate(choice->end) : Counter(choice->lastCrz);

  FiscalMemoryLibrary library(settings_.modelMask);
  if (!library.IsLoaded()) return TellLibraryNotLoaded();
  auto report = library.Find<KovoRelatorioMFTxtFunction>("KovoRelatorioMFTxt");
  if (!report) return TellFunctionMissing("KovoRelatorioMFTxt");
  const std::optional<int> cancellable = RunCancellable(library, [&] {
    return report(mf->front().c_str(), output->c_str(), type.c_str(), start.c_str(), end.c_str());
  });
  if (!cancellable) return TellCancelled();
  const int result = *cancellable;
  if (ReportOversized(result, mf->front(), kLargestImageBytes)) return;
  ReportCall(library, result, *output);
  if (!Failed(result)) ReportSkipped(library, true);
  OfferToOpenIfCreated(ui_, *output, Failed(result));
}

void MfdOperations::Diagnosis() {
  RunMfdReportDiagnosis(ui_, settings_);
}

void MfdOperations::BitmapsToMfd() {
  auto bitmaps = ui_.OpenFileNames("Selecione os Arquivos", WithAllFiles(kBitmaps), true);
  if (!bitmaps || bitmaps->empty()) return;
  auto output = ui_.SaveFileName("", kMfdFiles.pattern, WithAllFiles(kMfdFiles));
  if (!output) return;

  FiscalMemoryLibrary library(settings_.modelMask);
  if (!library.IsLoaded()) return TellLibraryNotLoaded();
  auto open = library.Find<KovoOpenPdf417ToMfdFunction>("KovoOpenPdf417ToMfd");
  auto add = library.Find<KovoAddBmpFileFunction>("KovoAddBmpFile");
  auto close = library.Find<KovoClosePdf417ToMfdFunction>("KovoClosePdf417ToMfd");
  if (!open || !add || !close) return;

  // Each step is reported and none stops the next: a bitmap the library
  // refuses leaves the others to go in.
  auto call = [this](auto&& step) {
    auto wait = ui_.ShowWait(Str(StrId::kPleaseWait));
    return step();
  };
  const int opened = call([&] { return open(output->c_str()); });
  ReportResult(opened);
  std::string refused;
  int refusedCount = 0;
  for (const std::string& bitmap : *bitmaps) {
    const int added = call([&] { return add(bitmap.c_str()); });
    ReportResult(added);
    if (const auto reason = BitmapRefusalText(added)) {
      refused += "\r\n" + bitmap + ": " + *reason;
      ++refusedCount;
    }
  }
  // Named before anything is decided or written, so that a file made of
  // fewer bitmaps than chosen is never taken for the whole set.
  if (refusedCount > 0)
    ui_.Message(W("Bitmaps deixados de fora (") + std::to_string(refusedCount) + " de " +
                    std::to_string(bitmaps->size()) + "):" + refused,
                Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
  // A set with symbols missing makes a journal with holes: the user decides,
  // as after a capture.
  auto missing = library.Find<KovoSimbolosFaltantesFunction>("KovoSimbolosFaltantes");
  auto discard = library.Find<KovoDescartaPdf417ToMfdFunction>("KovoDescartaPdf417ToMfd");
  if (missing && discard && missing() > 0 &&
      ui_.Message(PartialSymbolSetWarning() + W("* clique \"Não\" para não gravar o arquivo."),
                  W("Atenção"), MessageButtons::YesNo,
                  MessageIcon::Question) != MessageAnswer::Yes) {
    discard();
    return;
  }
  const int closed = call([&] { return close(); });
  ReportCall(library, closed, *output);
  OfferToOpenIfCreated(ui_, *output, Failed(opened) || Failed(closed));
}

}  // namespace taloven
