// The application's Execute against the virtual printer program, over a
// pseudo-terminal and over the file exchange, with and without faults.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <set>
#include <thread>

#include "base/encoding.h"
#include "catalogue/catalogue.h"
#include "emulator/catalogue_fill.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "link/execute.h"
#include "support/scripted_ui.h"
#include "ui/app_settings.h"
#include "usb/default_port_factory.h"

namespace taloven::emulator::testing {
namespace {

// Pauses really pass, a tenth as long: the printer answers in microseconds.
class QuickPausingUi : public taloven::testing::ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms / 10 + 1));
  }
};

std::string TempDirectory(const std::string& name) {
  const std::string path = ::testing::TempDir() + "/" + name + std::to_string(getpid());
  mkdir(path.c_str(), 0700);
  return path;
}

const CommandCatalogue& Sample() {
  static const CommandCatalogue catalogue = [] {
    CommandCatalogue c;
    EXPECT_TRUE(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", c).ok());
    return c;
  }();
  return catalogue;
}

CommandRecord Command(const std::string& escape, const std::string& title = "") {
  for (const CommandRecord& r : Sample().Records())
    if (r.escapeText == escape && (title.empty() || r.title == W(title))) {
      CommandRecord copy = r;
      FillParameters(copy);
      return copy;
    }
  ADD_FAILURE() << "no command " << escape;
  return {};
}

class Link {
 public:
  explicit Link(const std::string& port, const std::string& directory) {
    settings.portName = port;
    settings.extendedReturn = 1;
    settings.workingDirectory = directory;
  }
  int Run(CommandRecord& record) {
    ExecutionContext context{settings, ui, ports, RealClock()};
    return Execute(record, context);
  }
  AppSettings settings;
  QuickPausingUi ui;
  DefaultPortFactory ports;
};

bool Has(const CommandRecord& record, const std::string& utf8) {
  return record.formattedReturn.find(W(utf8)) != std::string::npos;
}

// The results open with the command's title, then the status verdict and
// the extended verdict.
bool Clean(const CommandRecord& record) {
  const std::string opening =
      "\r\n" + W("Comando") + ":\t" + record.title + "\r\n" + "\r\nCOMANDO OK\r\nCOMANDO OK\r\n";
  return record.formattedReturn.rfind(opening, 0) == 0;
}

TEST(ExecuteOverPty, EveryReturnTypeComesBackWhole) {
  const std::string dir = TempDirectory("types");
  EmulatorProcess emulator({"--pty", "--link", dir + "/ttyECF"});
  Link link(dir + "/ttyECF", dir);

  std::set<std::string> covered;
  for (const CommandRecord& entry : Sample().Records()) {
    if (entry.returnSize <= 0) continue;
    bool adds = false;
    for (const ReturnField& f : entry.returnFields) adds = adds || !covered.count(f.type);
    if (!adds) continue;
    CommandRecord record = entry;
    FillParameters(record);
    ASSERT_EQ(link.Run(record), kExecuteOk) << record.title;
    ASSERT_EQ(record.replyBytes.size(), static_cast<size_t>(record.returnSize) + 5) << record.title;
    EXPECT_TRUE(Clean(record)) << Cp1252ToUtf8(record.formattedReturn);
    for (const ReturnField& f : entry.returnFields) covered.insert(f.type);
  }
  EXPECT_EQ(covered.size(), 33u);
}

TEST(ExecuteOverPty, IdentityReadingsAndADayOfSales) {
  const std::string dir = TempDirectory("day");
  EmulatorProcess emulator({"--pty", "--link", dir + "/ttyECF", "--model", "ECF-T10"});
  Link link(dir + "/ttyECF", dir);

  CommandRecord identity = Command("35 60");
  ASSERT_EQ(link.Run(identity), kExecuteOk);
  EXPECT_EQ(identity.returnFields[1].value, "ECF-T10             ");

  for (const auto& [escape, title] : std::vector<std::pair<std::string, std::string>>{
           {"0", ""}, {"9", ""}, {"62", ""}, {"32", ""}, {"72", ""}, {"34", ""}}) {
    CommandRecord step = Command(escape, title);
    if (escape == "9") step.parameters[4].value = "00001250";         // 12,50
    if (escape == "72") step.parameters[1].value = "00000000002000";  // 20,00
    ASSERT_EQ(link.Run(step), kExecuteOk) << escape;
    // The receipt stays open until its closing text: the status says so.
    if (escape == "34")
      EXPECT_TRUE(Clean(step)) << Cp1252ToUtf8(step.formattedReturn);
    else
      EXPECT_TRUE(Has(step, "\r\nCUPOM ABERTO\r\nCOMANDO OK\r\n"))
          << Cp1252ToUtf8(step.formattedReturn);
  }
  CommandRecord reading = Command("69");
  ASSERT_EQ(link.Run(reading), kExecuteOk);
  EXPECT_TRUE(Has(reading, "LEITURA X"));
  // The gross sale; the catalogue value's 5 % item discount shows as a discount.
  EXPECT_TRUE(Has(reading, "VENDA BRUTA DIÁRIA:                        12,50"))
      << Cp1252ToUtf8(reading.formattedReturn);
  EXPECT_TRUE(Has(reading, "Contador de Cupom Fiscal:                 000001"));

  CommandRecord z = Command("5");
  ASSERT_EQ(link.Run(z), kExecuteOk);
  CommandRecord memory = Command("8");
  ASSERT_EQ(link.Run(memory), kExecuteOk);
  EXPECT_TRUE(Has(memory, "LEITURA DA MEMÓRIA FISCAL"));
  EXPECT_TRUE(Has(memory, "CRZ:"));
}

TEST(ExecuteOverPty, ProgrammingWaitsForTechnicalIntervention) {
  const std::string dir = TempDirectory("prog");
  for (bool intervention : {false, true}) {
    std::vector<std::string> arguments = {"--pty", "--link", dir + "/ttyECF"};
    if (intervention) arguments.push_back("--intervention");
    EmulatorProcess emulator(arguments);
    Link link(dir + "/ttyECF", dir);
    CommandRecord store = Command("17");
    store.parameters[0].value = "042";
    store.parameters[1].value = "0007";
    ASSERT_EQ(link.Run(store), kExecuteOk);
    EXPECT_EQ(Has(store, "NÃO EM INTERVENÇÃO TECNICA"), !intervention);
    CommandRecord read = Command("35 14");
    ASSERT_EQ(link.Run(read), kExecuteOk);
    EXPECT_EQ(read.returnFields[0].value, intervention ? "0042" : "0001");
  }
}

TEST(ExecuteOverFile, AnswersFixedAndVariableReplies) {
  const std::string dir = TempDirectory("file");
  setenv("TALOVEN_DRIVE_C", dir.c_str(), 1);
  EmulatorProcess emulator({"--file"}, {"TALOVEN_DRIVE_C=" + dir});
  Link link("FILE", dir);
  CommandRecord identity = Command("35 60");
  ASSERT_EQ(link.Run(identity), kExecuteOk) << Cp1252ToUtf8(identity.formattedReturn);
  EXPECT_EQ(identity.returnFields[1].value, "ECF-T08             ");
  CommandRecord rates = Command("26");
  ASSERT_EQ(link.Run(rates), kExecuteOk);
  EXPECT_TRUE(Has(rates, "18,00")) << Cp1252ToUtf8(rates.formattedReturn);
  CommandRecord reading = Command("69");
  ASSERT_EQ(link.Run(reading), kExecuteOk);
  EXPECT_TRUE(Has(reading, "TOTALIZADOR GERAL:"));
}

// Faults whose reply still arrives whole are tried on the serial line;
// those that leave the application waiting end quickly on the file
// exchange, whose waits are the application's own pauses.
TEST(ExecuteFaults, RepliesThatArriveDamaged) {
  struct Case {
    const char* what;
    std::vector<std::string> flags;
    int result;
    std::string expected;  // in the results text
    bool clean;            // the verdict reads "COMANDO OK" twice
  };
  const std::vector<Case> cases = {
      {"nak", {"--fault-nak"}, kExecuteOk, "\r\nFalha no envio do comando", false},
      {"corrupt status", {"--fault-corrupt-status"}, kExecuteOk, "\r\nFIM DE PAPEL", false},
      {"noise", {"--fault-noise", "2"}, kExecuteOk, "Marca", false},
      {"slow line", {"--fault-slow", "3"}, kExecuteOk, "ECF-T08", true},
      // A USB-serial adapter's latency between every two bytes.
      {"slower line", {"--fault-slow", "20"}, kExecuteOk, "ECF-T08", true},
      {"bursts", {"--fault-gap", "20/8"}, kExecuteOk, "ECF-T08", true},
  };
  const std::string dir = TempDirectory("damaged");
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--pty", "--link", dir + "/ttyECF", "--fault-count", "1"};
    arguments.insert(arguments.end(), c.flags.begin(), c.flags.end());
    EmulatorProcess emulator(arguments);
    Link link(dir + "/ttyECF", dir);
    CommandRecord record = Command("35 60");
    EXPECT_EQ(link.Run(record), c.result) << c.what;
    EXPECT_TRUE(Has(record, c.expected)) << c.what << Cp1252ToUtf8(record.formattedReturn);
    EXPECT_EQ(Clean(record), c.clean) << c.what;
    // The fault was for one command only: the next one is clean.
    CommandRecord again = Command("35 60");
    EXPECT_EQ(link.Run(again), kExecuteOk) << c.what;
    EXPECT_TRUE(Clean(again)) << c.what;
  }
}

TEST(ExecuteFaults, RepliesThatNeverComplete) {
  struct Case {
    const char* what;
    std::vector<std::string> flags;
    size_t bytesSeen;
  };
  const std::vector<Case> cases = {
      {"no reply", {"--fault-no-reply"}, 0},
      {"stall", {"--fault-stall", "10"}, 10},
      {"line dropped", {"--fault-close"}, 23},
  };
  for (const Case& c : cases) {
    const std::string dir = TempDirectory(std::string("never") + std::to_string(c.bytesSeen));
    setenv("TALOVEN_DRIVE_C", dir.c_str(), 1);
    std::vector<std::string> arguments = {"--file", "--fault-count", "1"};
    arguments.insert(arguments.end(), c.flags.begin(), c.flags.end());
    EmulatorProcess emulator(arguments, {"TALOVEN_DRIVE_C=" + dir});
    Link link("FILE", dir);
    CommandRecord record = Command("35 60");
    EXPECT_EQ(link.Run(record), kExecuteNoReply) << c.what;
    EXPECT_TRUE(Has(record, "Falha no envio do comando")) << c.what;
    // Every byte received shows in the dump as a blank and two hex digits.
    const size_t ret = record.dumpText.find("RET: ");
    ASSERT_NE(ret, std::string::npos);
    const std::string received = record.dumpText.substr(ret + 5);
    EXPECT_EQ(std::count(received.begin(), received.end(), ' '), static_cast<long>(c.bytesSeen))
        << c.what << record.dumpText;
    CommandRecord again = Command("35 60");
    EXPECT_EQ(link.Run(again), kExecuteOk) << c.what << Cp1252ToUtf8(again.formattedReturn);
  }
}

}  // namespace
}  // namespace taloven::emulator::testing
