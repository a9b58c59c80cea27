#include "fiscalmem/mfd_diagnosis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "base/encoding.h"
#include "base/printer_models.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::TempDirectory;

const std::string kStars(76, '*');
const std::string kAllWell = "\r\nNenhum erro foi encontrado!\r\n";

std::string Coo(int coo) {
  char text[64];
  std::snprintf(text, sizeof text, "10/03/2026 09:15:22           COO:%06d", coo);
  return text;
}

// A line with "FAB:" at column 2 and the date and time where they are read.
std::string Fab(const std::string& dateTime) {
  std::string line = "  FAB:KV0412000000000123";
  line.resize(2 + 28, ' ');
  return line + dateTime;
}

const std::string kHeader = "  DRAVELIN        ECF-T10              ECF-IF   ";
std::string HeaderDate(const std::string& dateTime) {
  return std::string(2 + 28, ' ') + dateTime;
}

std::string Loss(long line, long count, long first, long last) {
  return "**************** ERRO - PERDA DE DOCUMENTO NA LINHA:" + std::to_string(line) +
         "*******************\r\nPerda de " + std::to_string(count) +
         " documento(s)\r\nPerda de documento(s): " + std::to_string(first) + " a " +
         std::to_string(last) + "\r\n" + kStars + "\r\n\r\n";
}

std::string UserChange(long line) {
  return W("**************** ALTERAÇÃO DE USUÁRIO NA LINHA:") + std::to_string(line) +
         "**************************\r\n\r\n";
}

std::string ZBlock(const std::string& label, long line, long coo, const std::string& date,
                   const std::string& time) {
  return "\r\n**************** ERRO - CHAMAR DLL PARA CRIAR RZ ***************************\r\n" +
         label + std::to_string(line) + W("\r\nCOO do último documento a ser considerado:") +
         std::to_string(coo) + "\r\nData:" + date + "\r\nHora:" + time + "\r\n" + kStars +
         "\r\n\r\n";
}

std::string Findings(const std::vector<std::string>& lines, uint32_t mask) {
  MfdDiagnosis diagnosis(mask);
  for (const std::string& line : lines) diagnosis.Line(line);
  diagnosis.Finish();
  return diagnosis.Findings();
}

TEST(MfdDiagnosis, FindsLossesUserChangesAndZReductionsToCreate) {
  const std::string zTitle = W("       REDUÇÃO Z        ");
  const std::string userChange = W("     ALTERAÇÃO DE USUÁRIO");
  const struct {
    const char* name;
    std::vector<std::string> lines;
    uint32_t mask;
    std::string expected;
  } cases[] = {
      {"nothing searched", {"CUPOM FISCAL", "", "TOTAL R$ 10,00"}, 0x0400, kAllWell},
      {"a gap", {Coo(1), Coo(2), Coo(5)}, 0x0400, Loss(3, 2, 3, 4)},
      {"the first COO is never a loss", {"x", Coo(57), Coo(58)}, 0x0400, kAllWell},
      {"a user change expects COO 1 and is no error",
       {Coo(7), userChange, Coo(1)},
       0x0400,
       UserChange(2) + kAllWell},
      {"a user change then COO 4",
       {Coo(7), userChange, Coo(4)},
       0x0400,
       UserChange(2) + Loss(3, 3, 1, 3)},
      {"the sequence goes back until a later Z title",
       {Fab("01/02/2025 08:30:45"), Coo(10), Coo(11), Coo(3), Fab("02/02/2025 09:00:00"), "x",
        zTitle, Coo(4)},
       0x0400,
       Loss(4, -9, 12, 2) + ZBlock("linha da reducao z posterior:", 7, 3, "01022025", "083045")},
      {"a Z title with nothing pending is no error", {Coo(1), zTitle, Coo(2)}, 0x0400, kAllWell},
      {"a Z reduction still pending at the end",
       {Coo(10), Coo(3), "x"},
       0x0400,
       Loss(2, -8, 11, 2) + ZBlock("linha:", 3, 3, "", "")},
      {"a repeated COO",
       {Coo(5), Coo(5)},
       0x0400,
       Loss(2, -1, 6, 4) + ZBlock("linha:", 2, 5, "", "")},
      {"the ECF-T10 header gives date and time from its second next line",
       {kHeader, Coo(9), HeaderDate("25/03/2026 14:05:09"), Coo(5), Coo(2)},
       0x1000,
       // COO 9 on the passed-over line is not read: COO 5 is the first.
       Loss(5, -4, 6, 1) + ZBlock("linha:", 5, 2, "25032026", "140509")},
      {"a header on a line too short is not one",
       {kHeader.substr(0, 47), Coo(1), Coo(3)},
       0x1000,
       Loss(3, 1, 2, 2)},
      {"the ECF-T10 ignores FAB: lines",
       {kHeader, "", HeaderDate("25/03/2026 14:05:09"), Fab("01/02/2025 08:30:45"), Coo(5), Coo(2)},
       0x1000,
       Loss(6, -4, 6, 1) + ZBlock("linha:", 6, 2, "25032026", "140509")},
      {"other models take FAB: lines",
       {kHeader, "", HeaderDate("25/03/2026 14:05:09"), Fab("01/02/2025 08:30:45"), Coo(5), Coo(2)},
       0x0400,
       Loss(6, -4, 6, 1) + ZBlock("linha:", 6, 2, "01022025", "083045")},
      {"a FAB: line too short keeps the date",
       {Fab("01/02/2025 08:30:4"), Coo(5), Coo(2)},
       0x0400,
       Loss(3, -4, 6, 1) + ZBlock("linha:", 3, 2, "", "")},
      {"COO: at column 1 is ignored", {Coo(1), "COO:000009", Coo(2)}, 0x0400, kAllWell},
      {"a COO: at column 1 does not hide a later one",
       {Coo(1), "COO:000009 COO:000003"},
       0x0400,
       Loss(2, 1, 2, 2)},
      {"fewer than six characters and leniencies",
       {Coo(11), " COO:12", "  COO:  +13x", " COO:-2", " COO:"},
       0x0400,
       Loss(4, -16, 14, -3) + Loss(5, 1, -1, -1) + ZBlock("linha:", 5, 0, "", "")},
      {"only six characters are read", {" COO:0000011", " COO:0000035"}, 0x0400, Loss(2, 1, 2, 2)},
  };
  for (const auto& c : cases) EXPECT_EQ(Findings(c.lines, c.mask), c.expected) << c.name;
}

void WriteReport(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(MfdDiagnosis, TheRunWritesTheFindingsAndStopsWhereTheReportStops) {
  const std::string longLine(500, 'x');
  const std::string gap = Coo(1) + "\r\n" + Coo(3) + "\r\n";
  const struct {
    const char* name;
    std::string report;
    int cancelAtPump;  // 0: never
    bool readWhole;
    std::string expected;
  } cases[] = {
      {"CR LF and a last line without end", gap + Coo(4), 0, true, Loss(2, 1, 2, 2)},
      {"a line of 499 characters is read", std::string(499, 'y') + "\n" + gap, 0, true,
       Loss(3, 1, 2, 2)},
      {"a longer line stops the reading, what came before is diagnosed",
       gap + longLine + "\n" + Coo(9) + "\n", 0, false,
       Loss(2, 1, 2, 2) +
           W("\r\nLeitura interrompida na linha 3: linha com mais de 499 caracteres.\r\n")},
      {"no error before a long line does not say all is well", Coo(1) + "\n" + longLine, 0, false,
       W("\r\nLeitura interrompida na linha 2: linha com mais de 499 caracteres.\r\n")},
      {"cancel ends the scan and the end steps still run",
       Coo(1) + "\n" + Coo(2) + "\n" + Coo(9) + "\n", 2, true, kAllWell},
      {"cancel with a Z reduction pending", Coo(5) + "\n" + Coo(2) + "\n" + Coo(9) + "\n", 2, true,
       Loss(2, -4, 6, 1) + ZBlock("linha:", 2, 2, "", "")},
  };
  for (const auto& c : cases) {
    TempDirectory dir;
    WriteReport(dir.Path() / "report.txt", c.report);
    ScriptedUi ui;
    ui.onProgressPump = [&](ScriptedUi::ProgressRecord& record) {
      ProgressEvents events;
      events.cancelClicked = record.pumps == c.cancelAtPump;
      return events;
    };
    AppSettings settings;
    settings.workingDirectory = dir.Path().string();
    const DiagnosisOutcome outcome =
        DiagnoseReport(ui, settings, (dir.Path() / "report.txt").string(), 1);
    EXPECT_TRUE(outcome.written) << c.name;
    EXPECT_EQ(outcome.readWhole, c.readWhole) << c.name;
    EXPECT_EQ(ReadFileBytes(dir.Path() / "diagnotico_mfd.txt"), c.expected) << c.name;
    ASSERT_EQ(ui.Progress().size(), 1u) << c.name;
    EXPECT_EQ(ui.Progress()[0]->title, "Progresso");
    EXPECT_EQ(ui.Progress()[0]->messages, std::vector<std::string>{"Recebendo Retorno..."});
    EXPECT_TRUE(ui.Progress()[0]->destroyed);
  }
}

// The run passes over most lines without reading them; what it finds must be
// what reading every line finds, wherever the lines fall in its buffer.
TEST(MfdDiagnosis, PassingOverLinesFindsWhatReadingEveryLineFinds) {
  std::mt19937 random(2026);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // A pair found in none of the searched texts would pass their lines over.
  for (const std::string_view text :
       {std::string_view("COO:"), std::string_view("FAB:"), std::string_view("ALTERA\xC7\xC3O"),
        std::string_view("REDU\xC7\xC3O"), DatingJournalHeader()}) {
    bool paired = false;
    for (const auto& pair : MfdDiagnosis::kTellingPairs)
      paired = paired || text.find(std::string{pair.first, pair.second}) != text.npos;
    EXPECT_TRUE(paired) << text;
  }
  const std::string noise = "-TOB:xDR \xC7\xC3";
  std::string report;
  std::vector<std::string> lines;
  int coo = 1;
  while (report.size() < (3u << 20)) {
    std::string line;
    switch (pick(12)) {
      case 0:
        coo += pick(20) == 0 ? -pick(5) : 1 + (pick(30) == 0);
        line = Coo(coo);
        break;
      case 1:
        line = Fab("0" + std::to_string(1 + pick(9)) + "/02/2025 08:30:45");
        break;
      case 2:
        line = pick(10) == 0 ? kHeader : W("  ALTERAÇÃO DE USUÁRIO");
        break;
      case 3:
        line = W("       REDUÇÃO Z        ");
        break;
      default:
        for (int n = pick(pick(50) == 0 ? 500 : 80); n > 0; --n)
          line += noise[static_cast<size_t>(pick(static_cast<int>(noise.size())))];
    }
    lines.push_back(line);
    report += line + (pick(2) ? "\r\n" : "\n");
  }
  MfdDiagnosis everyLine(0x0400);
  for (const std::string& line : lines) everyLine.Line(line);
  everyLine.Finish();
  ASSERT_TRUE(everyLine.ErrorsFound());

  TempDirectory dir;
  WriteReport(dir.Path() / "report.txt", report);
  ScriptedUi ui;
  AppSettings settings;
  settings.workingDirectory = dir.Path().string();
  settings.modelMask = 0x0400;
  const DiagnosisOutcome outcome =
      DiagnoseReport(ui, settings, (dir.Path() / "report.txt").string(), 100000);
  EXPECT_TRUE(outcome.readWhole);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "diagnotico_mfd.txt"), everyLine.Findings());
}

TEST(MfdDiagnosis, AnUnreadableReportLeavesTheOldFindingsAndSaysWhy) {
  TempDirectory dir;
  WriteReport(dir.Path() / "diagnotico_mfd.txt", "old findings");
  ScriptedUi ui;
  AppSettings settings;
  settings.workingDirectory = dir.Path().string();
  const DiagnosisOutcome outcome =
      DiagnoseReport(ui, settings, (dir.Path() / "missing.txt").string());
  EXPECT_FALSE(outcome.written);
  EXPECT_NE(outcome.problem.find((dir.Path() / "missing.txt").string()), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "diagnotico_mfd.txt"), "old findings");
}

TEST(MfdDiagnosis, TheMenuItemAsksForTheReportAndOffersTheFindings) {
  TempDirectory dir;
  WriteReport(dir.Path() / "r.txt", Coo(1) + "\n" + Coo(2) + "\n");
  const std::string output = (dir.Path() / "diagnotico_mfd.txt").string();
  AppSettings settings;
  settings.workingDirectory = dir.Path().string();

  ScriptedUi cancelled;
  cancelled.Push(ScriptedUi::Cancel{});
  RunMfdReportDiagnosis(cancelled, settings);
  EXPECT_EQ(cancelled.PromptKinds(), std::vector<std::string>{"openfiles"});
  EXPECT_EQ(cancelled.Prompts()[0].text, "Relatorios da MFD");
  ASSERT_EQ(cancelled.DialogFilters().size(), 1u);
  EXPECT_EQ(cancelled.DialogFilters()[0][0].label, "Arquivos de texto (*.txt)");
  EXPECT_FALSE(std::filesystem::exists(output));

  ScriptedUi ui;
  ui.PushAll(std::vector<std::string>{(dir.Path() / "r.txt").string()}, MessageAnswer::Yes);
  RunMfdReportDiagnosis(ui, settings);
  EXPECT_EQ(ui.PromptKinds(), (std::vector<std::string>{"openfiles", "message", "shellopen"}));
  EXPECT_EQ(ui.Prompts()[1].text, "Arquivo criado com sucesso: \r\n" + output +
                                      "\r\nGostaria de abrir o documento agora?");
  EXPECT_EQ(ReadFileBytes(output), kAllWell);
}

}  // namespace
}  // namespace taloven
