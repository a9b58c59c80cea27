// The fiscal-memory tools: downloads, reports and databases through the
// fiscal-memory library the printer model calls for.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/encoding.h"
#include "cli_command.h"
#include "download_progress.h"
#include "fiscalmem/fiscal_memory_library.h"
#include "fiscalmem/library_result_text.h"
#include "formats/mfd_file.h"
#include "interrupt_cancel.h"
#include "kovo_mfd.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "resources/strings.h"

namespace taloven {

int RunMfdDiagnoseCommand(CommandContext& context);

namespace {

// One subcommand of "mfd": its name, its usage and what it does.
struct MfdSubcommand {
  const char* name;
  const char* usage;  // UTF-8
  int (*run)(CommandContext& context, const std::vector<std::string>& args);
};

// The journal documents a download, report or database takes.
struct Interval {
  std::string type = "0";  // "0" all, "1" dates, "2" user and COOs
  std::string start, end, user;
  long firstCoo = 0, lastCoo = 0, userNumber = 1;
};

bool Digits(const std::string& text, size_t most, long& value) {
  if (text.empty() || text.size() > most) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  value = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

// Reads [--coo FIRST LAST [--user U] | --dates DDMMYY DDMMYY] from position
// at; false (reported) for anything else.
bool ReadInterval(CommandContext& context, const std::vector<std::string>& args, size_t at,
                  Interval& interval) {
  bool coo = false, dates = false, user = false;
  for (size_t i = at; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--coo" && i + 2 < args.size()) {
      if (!Digits(args[i + 1], 6, interval.firstCoo) || !Digits(args[i + 2], 6, interval.lastCoo)) {
        context.UsageError(W("COO inválido: use de 0 a 999999"));
        return false;
      }
      interval.type = "2";
      coo = true;
      i += 2;
    } else if (a == "--user" && i + 1 < args.size()) {
      if (!Digits(args[i + 1], 3, interval.userNumber) || interval.userNumber > 255) {
        context.UsageError(W("usuário inválido: use de 0 a 255"));
        return false;
      }
      user = true;
      ++i;
    } else if (a == "--dates" && i + 2 < args.size()) {
      interval.type = "1";
      interval.start = args[i + 1];
      interval.end = args[i + 2];
      dates = true;
      i += 2;
    } else {
      context.UsageError(W("argumento desconhecido ou incompleto: ") + context.ToCore(a));
      return false;
    }
  }
  if ((coo && dates) || (user && !coo)) {
    context.UsageError(W("use --coo PRIMEIRO ÚLTIMO [--user U] ou --dates DDMMAA DDMMAA"));
    return false;
  }
  if (coo) {
    char text[16];
    std::snprintf(text, sizeof text, "%06ld", interval.firstCoo);
    interval.start = text;
    std::snprintf(text, sizeof text, "%06ld", interval.lastCoo);
    interval.end = text;
    std::snprintf(text, sizeof text, "%03ld", interval.userNumber);
    interval.user = text;
  }
  return true;
}

// Progress of a long download, report or database on the error stream, when
// it is a terminal; the library's callback carries no context, so the line is
// the file's own.
DownloadProgress progressLine(stderr);

int ShowProgress(long long done, long long total) {
  progressLine.Report(done, total);
  return InterruptCancel::Requested() ? 1 : 0;
}

// Without a terminal to show progress on, the callback only passes on a
// Ctrl-C or SIGTERM.
int CancelOnRequest(long long, long long) {
  return InterruptCancel::Requested() ? 1 : 0;
}

// Loads the library the model calls for and finds one export in it.
template <typename Function>
struct Export {
  std::unique_ptr<FiscalMemoryLibrary> library;
  Function function = nullptr;
};

template <typename Function>
bool Load(CommandContext& context, const char* name, Export<Function>& out) {
  if (!context.ResolveModel()) return false;
  out.library = std::make_unique<FiscalMemoryLibrary>(context.settings.modelMask);
  if (!out.library->IsLoaded()) {
    context.Fail(W("Não foi possível carregar a DLL") + " (" +
                 FiscalMemoryLibraryPath(LibraryOf(context.settings.modelMask)) + ")");
    return false;
  }
  out.function = out.library->template Find<Function>(name);
  if (out.function == nullptr) {
    context.Fail(W("a biblioteca não tem a função ") + name);
    return false;
  }
  if (auto progress = out.library->template Find<KovoSetProgressFunction>("KovoSetProgress"))
    progress(::isatty(STDERR_FILENO) == 1 ? ShowProgress : CancelOnRequest);
  return true;
}

// The library's result as the exit status, with its text; an output the
// library could not write is named with the system's reason instead.
int Finish(CommandContext& context, const FiscalMemoryLibrary& library, int result,
           const std::string& output = {}) {
  progressLine.End();
  const auto text = LibraryResultText(result);
  if (!text) return 0;
  const std::string reason = library.LastCall().writeError;
  context.Fail(reason.empty() || output.empty()
                   ? *text
                   : OutputNotWrittenText(context.ToCore(output), reason));
  return result;
}

// As Finish, for reports and databases: skipped damage is said on stderr and
// gives exit status 10; an input refused for its size is named.
int FinishReading(CommandContext& context, const FiscalMemoryLibrary& library, int result,
                  const std::string& input, const std::string& output, bool blocks) {
  if (result == KOVO_NO_VALID_DATA) {
    const auto oversized =
        OversizedInputText(input, blocks ? kLargestImageBytes : kLargestMfdFileBytes);
    if (oversized) {
      context.Fail(*oversized);
      return result;
    }
  }
  const int status = Finish(context, library, result, output);
  if (status != 0) return status;
  const LibraryCallOutcome outcome = library.LastCall();
  if (outcome.damagedParts <= 0) return 0;
  context.Fail(blocks ? SkippedBlocksText(outcome.damagedParts)
                      : SkippedRecordsText(outcome.damagedParts, outcome.damagedBytes));
  return kFinishedWithFaultsStatus;
}

// Runs the library's work with Ctrl-C and SIGTERM passed to it as a cancel;
// nothing when they stopped it. The library left any earlier file as it was.
template <typename Call>
std::optional<int> CallCancellable(Call&& call) {
  InterruptCancel interrupts;
  const int result = call();
  if (InterruptCancel::Requested() && LibraryResultText(result)) return std::nullopt;
  return result;
}

// Work stopped by Ctrl-C or SIGTERM ends as a cancelled command does.
int Cancelled(CommandContext& context) {
  progressLine.End();
  context.Fail(Str(StrId::kCommandCancelled));
  return ExitStatusFor(kExecuteCancelled);
}

template <typename Call>
int FinishDownload(CommandContext& context, const FiscalMemoryLibrary& library,
                   const std::string& output, Call&& call) {
  const std::optional<int> result = CallCancellable(call);
  return result ? Finish(context, library, *result, output) : Cancelled(context);
}

// As FinishDownload, for reports and databases.
template <typename Call>
int FinishCancellableReading(CommandContext& context, const FiscalMemoryLibrary& library,
                             const std::string& input, const std::string& output, bool blocks,
                             Call&& call) {
  const std::optional<int> result = CallCancellable(call);
  return result ? FinishReading(context, library, *result, input, output, blocks)
                : Cancelled(context);
}

int RunDownload(CommandContext& context, const std::vector<std::string>& args) {
  if (args.size() < 2) return context.UsageError(W("use: download mf|sb|mfd ARQUIVO"));
  const std::string& what = args[0];
  const std::string& file = args[1];
  const char* port = context.settings.portName.c_str();
  if (what == "mf" || what == "sb") {
    if (args.size() != 2) return context.UsageError(W("argumentos a mais"));
    // Both take the same arguments.
    Export<KovoDownloadMFFunction> e;
    if (!Load(context, what == "mf" ? "KovoDownloadMF" : "KovoDownloadSB", e)) return 1;
    return FinishDownload(context, *e.library, file,
                          [&] { return e.function(port, file.c_str()); });
  }
  if (what != "mfd") return context.UsageError(W("memória desconhecida: ") + context.ToCore(what));
  Interval interval;
  if (!ReadInterval(context, args, 2, interval)) return 1;
  Export<KovoDownloadMFDFunction> e;
  if (!Load(context, "KovoDownloadMFD", e)) return 1;
  return FinishDownload(context, *e.library, file, [&] {
    return e.function(port, file.c_str(), interval.type.c_str(), interval.start.c_str(),
                      interval.end.c_str(), interval.user.c_str());
  });
}

// Text reports and databases take the same choices and differ only in the
// three exports they call.
template <typename Total, typename ByDate, typename ByCoo>
int RunJournalOutput(CommandContext& context, const std::vector<std::string>& args,
                     const char* total, const char* byDate, const char* byCoo) {
  if (args.size() < 2) return context.UsageError(W("faltam o arquivo MFD e o de saída"));
  Interval interval;
  if (!ReadInterval(context, args, 2, interval)) return 1;
  const char* mfd = args[0].c_str();
  const char* out = args[1].c_str();
  if (interval.type == "1") {
    Export<ByDate> e;
    if (!Load(context, byDate, e)) return 1;
    return FinishCancellableReading(context, *e.library, args[0], args[1], false, [&] {
      return e.function(mfd, out, interval.start.c_str(), interval.end.c_str());
    });
  }
  if (interval.type == "2") {
    Export<ByCoo> e;
    if (!Load(context, byCoo, e)) return 1;
    return FinishCancellableReading(context, *e.library, args[0], args[1], false, [&] {
      return e.function(mfd, out, static_cast<int>(interval.userNumber),
                        static_cast<int>(interval.firstCoo), static_cast<int>(interval.lastCoo));
    });
  }
  Export<Total> e;
  if (!Load(context, total, e)) return 1;
  return FinishCancellableReading(context, *e.library, args[0], args[1], false,
                                  [&] { return e.function(mfd, out); });
}

int RunReport(CommandContext& context, const std::vector<std::string>& args) {
  return RunJournalOutput<KovoGeraTxtTotalFunction, KovoGeraTxtPorDataFunction,
                          KovoGeraTxtPorCOOFunction>(context, args, "KovoGeraTxtTotal",
                                                     "KovoGeraTxtPorData", "KovoGeraTxtPorCOO");
}

int RunDatabase(CommandContext& context, const std::vector<std::string>& args) {
  return RunJournalOutput<KovoGeraMdbTotalFunction, KovoGeraMdbPorDataFunction,
                          KovoGeraMdbPorCOOFunction>(context, args, "KovoGeraMdbTotal",
                                                     "KovoGeraMdbPorData", "KovoGeraMdbPorCOO");
}

int RunMfReport(CommandContext& context, const std::vector<std::string>& args) {
  if (args.size() < 2) return context.UsageError(W("faltam o arquivo MF e o de saída"));
  std::string type, start, end;
  bool simplified = false;
  for (size_t i = 2; i < args.size(); ++i) {
    if ((args[i] == "--crz" || args[i] == "--dates") && i + 2 < args.size() && type.empty()) {
      type = args[i] == "--crz" ? "C" : "D";
      start = args[i + 1];
      end = args[i + 2];
      i += 2;
    } else if (args[i] == "--simplified") {
      simplified = true;
    } else {
      return context.UsageError(W("argumento desconhecido ou incompleto: ") +
                                context.ToCore(args[i]));
    }
  }
  if (type.empty()) return context.UsageError(W("escolha --crz PRIMEIRA ÚLTIMA ou --dates"));
  if (type == "C") {
    long first = 0, last = 0;
    if (!Digits(start, 6, first) || !Digits(end, 6, last))
      return context.UsageError(W("CRZ inválido: use de 0 a 999999"));
    char text[16];
    std::snprintf(text, sizeof text, "%06ld", first);
    start = text;
    std::snprintf(text, sizeof text, "%06ld", last);
    end = text;
  }
  if (simplified) type[0] = static_cast<char>(type[0] - 'A' + 'a');
  Export<KovoRelatorioMFTxtFunction> e;
  if (!Load(context, "KovoRelatorioMFTxt", e)) return 1;
  return FinishCancellableReading(context, *e.library, args[0], args[1], true, [&] {
    return e.function(args[0].c_str(), args[1].c_str(), type.c_str(), start.c_str(), end.c_str());
  });
}

int RunFromBitmaps(CommandContext& context, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  bool savePartial = false;
  for (const std::string& a : args) {
    if (a == "--save-partial")
      savePartial = true;
    else
      files.push_back(a);
  }
  if (files.size() < 2) return context.UsageError(W("faltam o arquivo MFD e os bitmaps"));
  if (!context.ResolveModel()) return 1;
  FiscalMemoryLibrary library(context.settings.modelMask);
  if (!library.IsLoaded()) return context.Fail(W("Não foi possível carregar a DLL"));
  auto open = library.Find<KovoOpenPdf417ToMfdFunction>("KovoOpenPdf417ToMfd");
  auto add = library.Find<KovoAddBmpFileFunction>("KovoAddBmpFile");
  auto close = library.Find<KovoClosePdf417ToMfdFunction>("KovoClosePdf417ToMfd");
  if (!open || !add || !close) return context.Fail(W("a biblioteca não decodifica bitmaps"));
  auto missing = library.Find<KovoSimbolosFaltantesFunction>("KovoSimbolosFaltantes");
  auto discard = library.Find<KovoDescartaPdf417ToMfdFunction>("KovoDescartaPdf417ToMfd");
  // As the GUI does, a failing step does not stop the following ones; the
  // exit status is the first failure.
  const std::string& output = files[0];
  int status = Finish(context, library, open(output.c_str()), output);
  for (size_t i = 1; i < files.size(); ++i) {
    const int result = add(files[i].c_str());
    if (const auto reason = BitmapRefusalText(result)) {
      context.err << "taloven-cli: " << files[i] << ": " << context.Out(*reason) << '\n';
      if (status == 0) status = 1;
      continue;
    }
    const int step = Finish(context, library, result);
    if (status == 0) status = step;
  }
  // A set with symbols missing makes a journal with holes: written only
  // when asked for, as the capture does.
  const int absent = missing ? missing() : 0;
  if (absent > 0) {
    context.Fail(W("faltam ") + std::to_string(absent) + W(" símbolo(s) do conjunto") +
                 (savePartial
                      ? W("; o arquivo foi gravado sem eles")
                      : W("; nenhum arquivo foi gravado (--save-partial grava assim mesmo)")));
    if (!savePartial) {
      if (discard) discard();
      return status != 0 ? status : kFinishedWithFaultsStatus;
    }
  }
  const int closed = Finish(context, library, close(), output);
  if (status != 0) return status;
  if (closed != 0) return closed;
  return absent > 0 ? kFinishedWithFaultsStatus : 0;
}

const std::vector<MfdSubcommand>& Subcommands() {
  static const std::vector<MfdSubcommand> table = {
      {"download", "download mf|sb ARQUIVO | download mfd ARQUIVO [INTERVALO]", RunDownload},
      {"report", "report MFD SAÍDA [INTERVALO]", RunReport},
      {"db", "db MFD SAÍDA [INTERVALO]", RunDatabase},
      {"mf-report",
       "mf-report MF SAÍDA (--crz PRIMEIRA ÚLTIMA | --dates DDMMAA DDMMAA) "
       "[--simplified]",
       RunMfReport},
      {"from-bitmaps", "from-bitmaps SAÍDA BMP... [--save-partial]", RunFromBitmaps},
      {"diagnose", "diagnose RELATÓRIO",
       [](CommandContext& context, const std::vector<std::string>& args) {
         context.arguments = args;
         return RunMfdDiagnoseCommand(context);
       }},
  };
  return table;
}

}  // namespace

int RunMfdCommand(CommandContext& context) {
  if (!context.arguments.empty()) {
    for (const MfdSubcommand& sub : Subcommands()) {
      if (context.arguments[0] != sub.name) continue;
      return sub.run(context, {context.arguments.begin() + 1, context.arguments.end()});
    }
  }
  context.Fail(context.arguments.empty()
                   ? W("falta a operação")
                   : W("operação desconhecida: ") + context.ToCore(context.arguments[0]));
  context.err << context.Out(
      W("Operações (INTERVALO: --coo PRIMEIRO ÚLTIMO [--user U] | --dates DDMMAA DDMMAA):\n"));
  for (const MfdSubcommand& sub : Subcommands())
    context.err << "  mfd " << context.Out(W(sub.usage)) << '\n';
  return 1;
}

}  // namespace taloven
