#include "fiscalmem/mfd_operations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/encoding.h"
#include "fiscalmem/system_dir_override.h"
#include "formats/mfd_file.h"
#include "resources/strings.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ScriptedUi;
using testing::SystemDirOverride;
using testing::TempDirectory;
using Kind = MfdInterval::Kind;

class Env {
 public:
  Env(const char* name, const std::string& value) : name_(name) {
    ::setenv(name, value.c_str(), 1);
  }
  ~Env() { ::unsetenv(name_); }

 private:
  const char* name_;
};

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "@" stands for the test's directory in paths.
std::string At(std::string text, const std::string& dir) {
  for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir);
  return text;
}

TEST(MfdOperations, CallTheLibraryWithTheChosenArgumentsAndFreeIt) {
  using Op = void (MfdOperations::*)();
  const struct {
    const char* name;
    Op operation;
    uint32_t mask;
    std::vector<ScriptedUi::Answer> answers;
    const char* results;  // the library's results, in call order
    bool noOutput;
    std::vector<std::string> log;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    const char* damage = "";      // what every call skipped: "parts,bytes"
    const char* missing = "";     // symbols the set lacks
    const char* writeError = "";  // why every call's output was not written
    const char* hugeInput = "";   // made larger than any download, without taking room
  } cases[] = {
      {"MFD download by COOs",
       &MfdOperations::DownloadMfd,
       0x0400,
       {MfdInterval{Kind::Coos, 5, 12, 1, {}, {}}, std::string("@/a.mfd")},
       "",
       false,
       {"KovoSetProgress|set", "KovoDownloadMFD|COM1:|@/a.mfd|2|000005|000012|001",
        "KovoSetProgress|null", "unloaded KovoMFD"},
       {"interval", "save", "wait"},
       {}},
      {"MFD download by dates from the second library",
       &MfdOperations::DownloadMfd,
       0x1000,
       {MfdInterval{Kind::Dates, 0, 0, 1, {5, 3, 2026}, {7, 3, 2026}}, std::string("@/a.mfd")},
       "",
       false,
       {"KovoSetProgress|set", "KovoDownloadMFD|COM1:|@/a.mfd|1|050326|070326|",
        "KovoSetProgress|null", "unloaded KovoMFD2"},
       {"interval", "save", "wait"},
       {}},
      {"MFD download of everything with a warning",
       &MfdOperations::DownloadMfd,
       0x2000,
       {MfdInterval{Kind::Total, 3, 4, 9, {}, {}}, std::string("@/a.mfd")},
       "7",
       false,
       {"KovoSetProgress|set", "KovoDownloadMFD|COM1:|@/a.mfd|0|||", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"interval", "save", "wait", "message"},
       {W("Comando não executado.")}},
      {"cancel at the interval loads no library",
       &MfdOperations::DownloadMfd,
       0x0400,
       {ScriptedUi::Cancel{}},
       "",
       false,
       {},
       {"interval"},
       {}},
      {"cancel at the save dialog frees the library",
       &MfdOperations::DownloadMfd,
       0x0400,
       {MfdInterval{}, ScriptedUi::Cancel{}},
       "",
       false,
       {"unloaded KovoMFD"},
       {"interval", "save"},
       {}},
      {"MF download",
       &MfdOperations::DownloadMf,
       0xFFFF,
       {std::string("@/m.mf")},
       "",
       false,
       {"KovoSetProgress|set", "KovoDownloadMF|COM1:|@/m.mf", "KovoSetProgress|null",
        "unloaded KovoMFD2"},
       {"save", "wait"},
       {}},
      {"SB download with a warning",
       &MfdOperations::DownloadSb,
       0x0400,
       {std::string("@/s.bin")},
       "2",
       false,
       {"KovoSetProgress|set", "KovoDownloadSB|COM1:|@/s.bin", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"save", "wait", "message"},
       {W("Arquivo mfd sem número de série.")}},
      {"text report by COOs offers the file",
       &MfdOperations::TextReport,
       0x0400,
       {std::vector<std::string>{"@/in.mfd"}, MfdInterval{Kind::Coos, 3, 9, 2, {}, {}},
        std::string("@/r.txt"), MessageAnswer::Yes},
       "",
       false,
       {"KovoSetProgress|set", "KovoGeraTxtPorCOO|@/in.mfd|@/r.txt|2|3|9", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message", "shellopen"},
       {"Arquivo criado com sucesso: \r\n@/r.txt\r\nGostaria de abrir o documento agora?"}},
      {"database by dates that wrote nothing",
       &MfdOperations::Database,
       0x0400,
       {std::vector<std::string>{"@/in.mfd"},
        MfdInterval{Kind::Dates, 0, 0, 1, {1, 12, 2025}, {31, 12, 2025}}, std::string("@/d.mdb")},
       "",
       true,
       {"KovoSetProgress|set", "KovoGeraMdbPorData|@/in.mfd|@/d.mdb|011225|311225",
        "KovoSetProgress|null", "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message"},
       {W("O arquivo não foi criado: \r\n@/d.mdb")}},
      {"text report of everything that failed",
       &MfdOperations::TextReport,
       0x0400,
       {std::vector<std::string>{"@/in.mfd"}, MfdInterval{Kind::Total, 0, 0, 1, {}, {}},
        std::string("@/r.txt")},
       "4",
       false,
       {"KovoSetProgress|set", "KovoGeraTxtTotal|@/in.mfd|@/r.txt", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message", "message"},
       {W("Não foi possível abrir o arquivo .txt"), W("O arquivo não foi criado: \r\n@/r.txt")}},
      {"simplified reading by CRZ",
       &MfdOperations::MfReadingReport,
       0x0400,
       {std::vector<std::string>{"@/x.mf"}, MfReadingChoice{false, 1, 20, {}, {}, true},
        std::string("@/l.txt"), MessageAnswer::No},
       "",
       false,
       {"KovoSetProgress|set", "KovoRelatorioMFTxt|@/x.mf|@/l.txt|c|000001|000020",
        "KovoSetProgress|null", "unloaded KovoMFD"},
       {"openfiles", "mfreading", "save", "wait", "message"},
       {"Arquivo criado com sucesso: \r\n@/l.txt\r\nGostaria de abrir o documento agora?"}},
      {"complete reading by date",
       &MfdOperations::MfReadingReport,
       0x0400,
       {std::vector<std::string>{"@/x.mf"},
        MfReadingChoice{true, 0, 0, {1, 3, 2026}, {31, 3, 2026}, false}, std::string("@/l.txt"),
        MessageAnswer::No},
       "",
       false,
       {"KovoSetProgress|set", "KovoRelatorioMFTxt|@/x.mf|@/l.txt|D|010326|310326",
        "KovoSetProgress|null", "unloaded KovoMFD"},
       {"openfiles", "mfreading", "save", "wait", "message"},
       {"Arquivo criado com sucesso: \r\n@/l.txt\r\nGostaria de abrir o documento agora?"}},
      {"three bitmaps, one refused",
       &MfdOperations::BitmapsToMfd,
       0x0400,
       {std::vector<std::string>{"@/c.bmp", "@/a.bmp", "@/b.bmp"}, std::string("@/p.mfd"),
        MessageAnswer::No},
       "1,7,1,1,1",
       false,
       {"KovoOpenPdf417ToMfd|@/p.mfd", "KovoAddBmpFile|@/c.bmp", "KovoAddBmpFile|@/a.bmp",
        "KovoAddBmpFile|@/b.bmp", "KovoClosePdf417ToMfd", "unloaded KovoMFD"},
       {"openfiles", "save", "wait", "wait", "message", "wait", "wait", "wait", "message"},
       {W("Comando não executado."),
        "Arquivo criado com sucesso: \r\n@/p.mfd\r\nGostaria de abrir o documento agora?"}},
      {"refused bitmaps named with their reasons before the result",
       &MfdOperations::BitmapsToMfd,
       0x0400,
       {std::vector<std::string>{"@/c.bmp", "@/a.bmp", "@/b.bmp", "@/d.bmp"},
        std::string("@/p.mfd"), MessageAnswer::No},
       "1,8,1,9,10,1",
       false,
       {"KovoOpenPdf417ToMfd|@/p.mfd", "KovoAddBmpFile|@/c.bmp", "KovoAddBmpFile|@/a.bmp",
        "KovoAddBmpFile|@/b.bmp", "KovoAddBmpFile|@/d.bmp", "KovoClosePdf417ToMfd",
        "unloaded KovoMFD"},
       {"openfiles", "save", "wait", "wait", "wait", "wait", "wait", "message", "wait", "message"},
       {W("Bitmaps deixados de fora (3 de 4):\r\n@/c.bmp: sem símbolo PDF-417\r\n"
          "@/b.bmp: símbolo de outro conjunto\r\n@/d.bmp: símbolo repetido"),
        "Arquivo criado com sucesso: \r\n@/p.mfd\r\nGostaria de abrir o documento agora?"}},
      {"bitmaps whose file could not be opened",
       &MfdOperations::BitmapsToMfd,
       0x0400,
       {std::vector<std::string>{"@/c.bmp"}, std::string("@/p.mfd")},
       "7,1,1",
       false,
       {"KovoOpenPdf417ToMfd|@/p.mfd", "KovoAddBmpFile|@/c.bmp", "KovoClosePdf417ToMfd",
        "unloaded KovoMFD"},
       {"openfiles", "save", "wait", "message", "wait", "wait", "message"},
       {W("Comando não executado."), W("O arquivo não foi criado: \r\n@/p.mfd")}},
      {"text report of a damaged journal says what it left out",
       &MfdOperations::TextReport,
       0x0400,
       {std::vector<std::string>{"@/in.mfd"}, MfdInterval{Kind::Total, 0, 0, 1, {}, {}},
        std::string("@/r.txt"), MessageAnswer::No},
       "",
       false,
       {"KovoSetProgress|set", "KovoGeraTxtTotal|@/in.mfd|@/r.txt", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message", "message"},
       {W("Documentos danificados ignorados: 2 (300 bytes); o resultado não os contém."),
        "Arquivo criado com sucesso: \r\n@/r.txt\r\nGostaria de abrir o documento agora?"},
       "2,300"},
      {"a database of a damaged journal says what it left out",
       &MfdOperations::Database,
       0x0400,
       {std::vector<std::string>{"@/in.mfd"}, MfdInterval{Kind::Total, 0, 0, 1, {}, {}},
        std::string("@/d.mdb"), MessageAnswer::No},
       "",
       false,
       {"KovoSetProgress|set", "KovoGeraMdbTotal|@/in.mfd|@/d.mdb", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message", "message"},
       {W("Documentos danificados ignorados: 1 (40 bytes); o resultado não os contém."),
        "Arquivo criado com sucesso: \r\n@/d.mdb\r\nGostaria de abrir o documento agora?"},
       "1,40"},
      {"bitmaps with a symbol missing are not saved unless the user wants",
       &MfdOperations::BitmapsToMfd,
       0x0400,
       {std::vector<std::string>{"@/c.bmp"}, std::string("@/p.mfd"), MessageAnswer::No},
       "",
       false,
       {"KovoOpenPdf417ToMfd|@/p.mfd", "KovoAddBmpFile|@/c.bmp", "KovoDescartaPdf417ToMfd",
        "unloaded KovoMFD"},
       {"openfiles", "save", "wait", "wait", "message"},
       {PartialSymbolSetWarning() + W("* clique \"Não\" para não gravar o arquivo.")},
       "",
       "1"},
      {"bitmaps with symbols missing are saved when the user says so",
       &MfdOperations::BitmapsToMfd,
       0x0400,
       {std::vector<std::string>{"@/c.bmp"}, std::string("@/p.mfd"), MessageAnswer::Yes,
        MessageAnswer::No},
       "",
       false,
       {"KovoOpenPdf417ToMfd|@/p.mfd", "KovoAddBmpFile|@/c.bmp", "KovoClosePdf417ToMfd",
        "unloaded KovoMFD"},
       {"openfiles", "save", "wait", "wait", "message", "wait", "message"},
       {PartialSymbolSetWarning() + W("* clique \"Não\" para não gravar o arquivo."),
        "Arquivo criado com sucesso: \r\n@/p.mfd\r\nGostaria de abrir o documento agora?"},
       "",
       "3"},
      {"a reading of a damaged fiscal memory says what it left out",
       &MfdOperations::MfReadingReport,
       0x0400,
       {std::vector<std::string>{"@/x.mf"}, MfReadingChoice{false, 1, 20, {}, {}, true},
        std::string("@/l.txt"), MessageAnswer::No},
       "",
       false,
       {"KovoSetProgress|set", "KovoRelatorioMFTxt|@/x.mf|@/l.txt|c|000001|000020",
        "KovoSetProgress|null", "unloaded KovoMFD"},
       {"openfiles", "mfreading", "save", "wait", "message", "message"},
       {W("Blocos danificados ignorados: 4; o relatório não contém as reduções deles."),
        "Arquivo criado com sucesso: \r\n@/l.txt\r\nGostaria de abrir o documento agora?"},
       "4,1024"},
      {"a journal larger than any download is named with its size",
       &MfdOperations::TextReport,
       0x0400,
       {std::vector<std::string>{"@/huge.mfd"}, MfdInterval{Kind::Total, 0, 0, 1, {}, {}},
        std::string("@/r.txt")},
       "6",
       true,
       {"KovoSetProgress|set", "KovoGeraTxtTotal|@/huge.mfd|@/r.txt", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"openfiles", "interval", "save", "wait", "message"},
       {W("O arquivo @/huge.mfd tem 4096521985 bytes, mais do que uma memória baixada da "
          "impressora pode ter (até 4096521984 bytes): não foi lido.")},
       "",
       "",
       "",
       "huge.mfd"},
      {"a download that could not be written names the file and why",
       &MfdOperations::DownloadMf,
       0x0400,
       {std::string("@/m.mf")},
       "7",
       false,
       {"KovoSetProgress|set", "KovoDownloadMF|COM1:|@/m.mf", "KovoSetProgress|null",
        "unloaded KovoMFD"},
       {"save", "wait", "message"},
       {W("Não foi possível gravar o arquivo @/m.mf: No space left on device")},
       "",
       "",
       "No space left on device"},
  };
  for (const auto& c : cases) {
    TempDirectory dir;
    const std::string d = dir.Path().string();
    SystemDirOverride system(TALOVEN_STANDIN_DIR);
    Env log("KOVO_STANDIN_LOG", d + "/calls.log");
    Env results("KOVO_STANDIN_RESULTS", c.results);
    std::optional<Env> noOutput;
    if (c.noOutput) noOutput.emplace("KOVO_STANDIN_NO_OUTPUT", "1");
    Env damage("KOVO_STANDIN_DAMAGE", c.damage);
    Env missing("KOVO_STANDIN_MISSING", c.missing);
    Env writeError("KOVO_STANDIN_WRITE_ERROR", c.writeError);

    if (*c.hugeInput) {
      std::ofstream(dir.Path() / c.hugeInput).put('\0');
      std::filesystem::resize_file(dir.Path() / c.hugeInput, kLargestMfdFileBytes + 1);
    }
    ScriptedUi ui;
    for (const auto& answer : c.answers) {
      if (auto* text = std::get_if<std::string>(&answer))
        ui.Push(At(*text, d));
      else if (auto* names = std::get_if<std::vector<std::string>>(&answer)) {
        std::vector<std::string> paths;
        for (const auto& name : *names) paths.push_back(At(name, d));
        ui.Push(paths);
      } else {
        ui.Push(answer);
      }
    }
    AppSettings settings;
    settings.portName = "COM1:";
    settings.modelMask = c.mask;
    MfdOperations operations(ui, settings);
    (operations.*c.operation)();

    std::vector<std::string> expectedLog, expectedMessages;
    for (const auto& line : c.log) expectedLog.push_back(At(line, d));
    for (const auto& text : c.messages) expectedMessages.push_back(At(text, d));
    std::vector<std::string> messages;
    for (const auto& prompt : ui.Prompts())
      if (prompt.kind == "message") messages.push_back(prompt.text);
    EXPECT_EQ(Lines(dir.Path() / "calls.log"), expectedLog) << c.name;
    EXPECT_EQ(ui.PromptKinds(), c.prompts) << c.name;
    EXPECT_EQ(messages, expectedMessages) << c.name;
    EXPECT_TRUE(ui.AllAnswered()) << c.name;
  }
}

TEST(MfdOperations, DownloadsShowTheLibrarysProgressInTheWaitWindow) {
  TempDirectory dir;
  SystemDirOverride system(TALOVEN_STANDIN_DIR);
  ScriptedUi ui;
  ui.Push((dir.Path() / "m.mf").string());
  AppSettings settings;
  MfdOperations(ui, settings).DownloadMf();
  EXPECT_EQ(ui.WaitTexts(), std::vector<std::string>{"Por favor, aguarde....."});
  EXPECT_EQ(ui.WaitProgress(),
            (std::vector<std::pair<long long, long long>>{{512, 1024}, {1024, 1024}}));
}

TEST(MfdOperations, FileDialogsOfferTheirFiltersWithTheirExtensions) {
  TempDirectory dir;
  SystemDirOverride system(TALOVEN_STANDIN_DIR);
  ScriptedUi ui;
  ui.PushAll(std::vector<std::string>{"x.mf"}, MfReadingChoice{}, ScriptedUi::Cancel{});
  AppSettings settings;
  MfdOperations(ui, settings).MfReadingReport();
  ASSERT_EQ(ui.DialogFilters().size(), 2u);
  EXPECT_EQ(ui.Prompts()[0].text, W("Arquivo de Memória Fiscal"));
  EXPECT_EQ(ui.DialogFilters()[0][0].label, W("Arquivos de Memória Fiscal (*.mf)"));
  EXPECT_EQ(ui.DialogFilters()[0][1].label, "Todos os Arquivos (*.*)");
  EXPECT_EQ(ui.DialogFilters()[1][0].label, "Arquivos de Texto (*.txt)");
  EXPECT_EQ(ui.Prompts()[2].details, std::vector<std::string>{"*.txt"});
}

TEST(MfdOperations, AMissingLibraryIsToldWhereTheUserWaitsForIt) {
  TempDirectory empty;
  SystemDirOverride system(empty.Path().string());
  AppSettings settings;

  ScriptedUi download;
  MfdOperations(download, settings).DownloadMf();
  EXPECT_TRUE(download.Prompts().empty()) << "the MF download stops silently";

  ScriptedUi mfd;
  mfd.Push(MfdInterval{});
  MfdOperations(mfd, settings).DownloadMfd();
  EXPECT_EQ(mfd.PromptKinds(), (std::vector<std::string>{"interval", "message"}));
  EXPECT_EQ(mfd.Prompts()[1].text, W("Não foi possível carregar a DLL"));
}

}  // namespace
}  // namespace taloven
