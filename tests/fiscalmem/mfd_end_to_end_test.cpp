// Two days of sales under two owners, one document lost from the printer's
// journal, taken through the MFD window's download and report with the real
// fiscal-memory library and the virtual printer, then diagnosed.
#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "emulator/emulator_process.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "fiscalmem/mfd_operations.h"
#include "fiscalmem/system_dir_override.h"
#include "printer/printer.h"
#include "printer/simulation.h"
#include "printer/state_file.h"
#include "printer/text850.h"
#include "resources/strings.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;
using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::SystemDirOverride;
using testing::TempDirectory;

constexpr int64_t kToday = 1796637600;  // 7 December 2026, 10:00 UTC

// The new owner's registration, programmed under technical intervention.
void ChangeOwner(emulator::PrinterState& state, int64_t now) {
  emulator::Printer printer(std::move(state), [now] { return now; });
  printer.MutableState().intervention = true;
  const std::string owner = emulator::Fit("98.765.432/0001-10", 20) + emulator::Fit("IE", 20) +
                            emulator::Fit("IM", 20) + std::string(10, '0') + "C" + "SP" +
                            std::string(10, ' ');
  emulator::Frame frame{emulator::kExtendedStart, {4}};
  frame.body.insert(frame.body.end(), owner.begin(), owner.end());
  printer.Answer(frame);
  printer.MutableState().intervention = false;
  state = printer.State();
}

// The 1-based number of the line of text where what starts, searching from.
long LineAt(const std::string& text, const std::string& what, size_t from = 0) {
  const size_t at = text.find(what, from);
  if (at == std::string::npos) return -1;
  return 1 +
         static_cast<long>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

TEST(MfdEndToEnd, TheDiagnosisFindsTheOwnerChangeAndTheLostDocument) {
  TempDirectory dir;
  const std::string d = dir.Path().string();

  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 1, kToday - 86400);
  ChangeOwner(state, kToday - 86400 + 3600);
  emulator::SimulateDays(state, 1, kToday);

  // The test's hook: the journal loses the fifth document of the new owner.
  std::string journal;
  uint32_t lost = 0;
  int newOwnerDocuments = 0;
  for (const JournalEntry& e : ScanJournal(state.journal).entries) {
    if (e.user == 2 && ++newOwnerDocuments == 5) {
      lost = e.coo;
      continue;
    }
    AppendJournalRecord(journal,
                        {e.coo, e.kind, e.user, std::string(e.when), std::string(e.lines)});
  }
  ASSERT_NE(lost, 0u);
  state.journal = journal;
  const Status saved = emulator::SaveStateFile(d + "/printer.state", state);
  ASSERT_TRUE(saved.ok()) << saved.message();
  EmulatorProcess printer({"--pty", "--link", d + "/tty", "--state", d + "/printer.state"});

  SystemDirOverride system(TALOVEN_LIBRARY_DIR);
  AppSettings settings;
  settings.portName = d + "/tty";
  settings.modelMask = 0x0400;
  settings.workingDirectory = d;
  ScriptedUi ui;
  const MfdInterval everything{MfdInterval::Kind::Total, 0, 0, 1, {}, {}};
  ui.PushAll(everything, d + "/all.mfd", std::vector<std::string>{d + "/all.mfd"}, everything,
             d + "/all.txt", MessageAnswer::No);
  MfdOperations operations(ui, settings);
  operations.DownloadMfd();
  operations.TextReport();
  ASSERT_TRUE(ui.AllAnswered());
  EXPECT_EQ(ui.WaitProgress().back().first, ui.WaitProgress().back().second);

  const std::string report = ReadFileBytes(d + "/all.txt");
  const std::string title = W("ALTERAÇÃO DE USUÁRIO");
  char nextCoo[24];
  std::snprintf(nextCoo, sizeof nextCoo, " COO:%06u\r\n", lost + 1);
  const long userChange = LineAt(report, title);
  const long gap = LineAt(report, nextCoo, report.find(title));
  ASSERT_GT(userChange, 0);
  ASSERT_GT(gap, userChange);

  const DiagnosisOutcome outcome = DiagnoseReport(ui, settings, d + "/all.txt");
  ASSERT_TRUE(outcome.written);
  EXPECT_EQ(ReadFileBytes(outcome.outputPath),
            W("**************** ALTERAÇÃO DE USUÁRIO NA LINHA:") + std::to_string(userChange) +
                "**************************\r\n\r\n" +
                "**************** ERRO - PERDA DE DOCUMENTO NA LINHA:" + std::to_string(gap) +
                "*******************\r\nPerda de 1 documento(s)\r\nPerda de documento(s): " +
                std::to_string(lost) + " a " + std::to_string(lost) + "\r\n" +
                std::string(76, '*') + "\r\n\r\n");
}

// "Cancelar" in the wait window stops a download or a report at the
// library's next progress report: "Comando cancelado." is said, and the file
// the user chose keeps what it held before.
TEST(MfdEndToEnd, CancelStopsTheWorkAndKeepsTheEarlierFile) {
  TempDirectory dir;
  const std::string d = dir.Path().string();
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 1, kToday);
  ASSERT_TRUE(emulator::SaveStateFile(d + "/printer.state", state).ok());
  EmulatorProcess printer({"--pty", "--link", d + "/tty", "--state", d + "/printer.state"});
  SystemDirOverride system(TALOVEN_LIBRARY_DIR);
  AppSettings settings;
  settings.portName = d + "/tty";
  settings.modelMask = 0x0400;
  settings.workingDirectory = d;
  const MfdInterval everything{MfdInterval::Kind::Total, 0, 0, 1, {}, {}};
  {
    ScriptedUi ui;
    ui.PushAll(everything, d + "/all.mfd", d + "/all.mf");
    MfdOperations whole(ui, settings);
    whole.DownloadMfd();
    whole.DownloadMf();
    ASSERT_TRUE(ui.AllAnswered());
  }

  using Operation = void (MfdOperations::*)();
  const MfReadingChoice byCounter{false, 1, 999999, {}, {}, false};
  const struct {
    const char* name;
    Operation operation;
    std::vector<ScriptedUi::Answer> answers;
    std::string output;
  } cases[] = {
      {"MFD download", &MfdOperations::DownloadMfd, {everything, d + "/o.mfd"}, d + "/o.mfd"},
      {"MF download", &MfdOperations::DownloadMf, {d + "/o.mf"}, d + "/o.mf"},
      {"SB download", &MfdOperations::DownloadSb, {d + "/o.bin"}, d + "/o.bin"},
      {"text report",
       &MfdOperations::TextReport,
       {std::vector<std::string>{d + "/all.mfd"}, everything, d + "/o.txt"},
       d + "/o.txt"},
      {"database",
       &MfdOperations::Database,
       {std::vector<std::string>{d + "/all.mfd"}, everything, d + "/o.mdb"},
       d + "/o.mdb"},
      {"fiscal memory reading",
       &MfdOperations::MfReadingReport,
       {std::vector<std::string>{d + "/all.mf"}, byCounter, d + "/r.txt"},
       d + "/r.txt"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileAtomically(c.output, "earlier").ok());
    ScriptedUi ui;
    ui.cancelWaitAtProgress = 1;
    for (const auto& answer : c.answers) ui.Push(answer);
    MfdOperations operations(ui, settings);
    (operations.*c.operation)();
    std::vector<std::string> told;
    for (const auto& p : ui.Prompts())
      if (p.kind == "message") told.push_back(p.text);
    EXPECT_EQ(told, std::vector<std::string>{Str(StrId::kCommandCancelled)}) << c.name;
    EXPECT_EQ(ReadFileBytes(c.output), "earlier") << c.name;
    EXPECT_TRUE(ui.AllAnswered()) << c.name;
  }
}

}  // namespace
}  // namespace taloven
