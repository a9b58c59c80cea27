// The verifier against the virtual printer program over a pseudo-terminal:
// readings taken, parsed and compared as a technician's run would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "base/encoding.h"
#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "sequences/reading_parser.h"
#include "sequences/take_reading.h"
#include "sequences/verify_totals.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// Pauses really pass, a tenth as long: the printer answers in microseconds.
class QuickPausingUi : public testing::ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms / 10 + 1));
  }
};

const CommandCatalogue& Sample() {
  static const CommandCatalogue catalogue = [] {
    CommandCatalogue c;
    EXPECT_TRUE(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", c).ok());
    return c;
  }();
  return catalogue;
}

// A catalogue command with the values a technician entered, in order.
CommandRecord Step(const std::string& title, std::vector<std::string> values = {}) {
  for (const CommandRecord& r : Sample().Records())
    if (r.title == W(title)) {
      CommandRecord copy = r;
      for (size_t i = 0; i < values.size() && i < copy.parameters.size(); ++i)
        copy.parameters[i].value = W(values[i]);
      return copy;
    }
  ADD_FAILURE() << "no command " << title;
  return {};
}

// A day's business: a receipt with an ICMS and a service item, an item
// discount, a subtotal surcharge and two payments; a receipt cancelled
// after it was closed; withdrawal, a non-fiscal receipt that is cancelled,
// and a management report.
CommandSequence DayOfSales(const std::string& withdrawal = "00000000001500") {
  CommandSequence day;
  day.name = "DIA";
  for (const CommandRecord& step :
       {Step("Abre cupom fiscal"),
        Step("Vende item", {"7891234567895", "Cafe", "01", "0002000", "00000350", ""}),
        Step("Vende item", {"7891234567896", "Acucar", "02", "0001000", "00001000", ""}),
        Step("Acréscimo ou desconto em item", {"D00200000100"}),
        Step("Vende item", {"0000000000001", "Servico", "04", "0001000", "00000500", ""}),
        Step("Inicia fechamento do cupom", {"a00000000000100"}),
        Step("Efetua forma de pagamento", {"01", "00000000002000"}),
        Step("Efetua forma de pagamento", {"02", "00000000000300"}),
        Step("Termina fechamento do cupom", {"Volte sempre"}),
        Step("Abre cupom fiscal"),
        Step("Vende item", {"7891234567897", "Leite", "II", "0001000", "00000300", ""}),
        Step("Cancela item", {"001"}),
        Step("Vende item", {"7891234567898", "Pao", "FF", "0001000", "00000400", ""}),
        Step("Fecha cupom resumido", {"03", ""}),
        Step("Cancela cupom fiscal"),
        Step("Sangria", {withdrawal}),
        Step("Recebimento não fiscal", {"03", "00000000004250", "01"}),
        Step("Cancela comprovante não fiscal"),
        Step("Relatório gerencial", {"01", "linha"}),
        Step("Fecha relatório gerencial")})
    day.InsertCommand(step);
  return day;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> ErrorLabels(const std::string& report) {
  std::vector<std::string> labels;
  for (const std::string& line : Lines(report))
    if (line.find("\tERRO:") != std::string::npos)
      labels.push_back(line.substr(0, line.find('\t')));
  return labels;
}

class VerifierAgainstTheEmulator : public ::testing::Test {
 protected:
  VerifierAgainstTheEmulator()
      : link_((work_.Path() / "ecf").string()), emulator_({"--pty", "--link", link_}) {
    settings_.portName = link_;
    settings_.workingDirectory = work_.Path().string();
  }

  ExecutionContext Context() { return {settings_, ui_, ports_, RealClock()}; }
  TotalsReading Stored(const char* name) {
    return ParseReading(ReadingPath(settings_.workingDirectory, name));
  }

  testing::TempDirectory work_;
  std::string link_;
  emulator::testing::EmulatorProcess emulator_;
  AppSettings settings_;
  QuickPausingUi ui_;
  DefaultPortFactory ports_;
};

TEST_F(VerifierAgainstTheEmulator, TheSameDayTwiceIsOkOnEveryLine) {
  auto context = Context();
  ui_.Push(MessageAnswer::Yes);
  VerifyTotals(DayOfSales(), {2, 0, false}, context);
  ASSERT_EQ(ui_.Results().size(), 1u);
  const std::string& texts = ui_.Results()[0].first;
  const std::string banner = W("***Início de execução de sequência de comandos***");
  EXPECT_NE(texts.find(banner), texts.rfind(banner));  // one a run

  // The readings hold what the printer booked: two receipts and two
  // non-fiscal operations a run, one of each cancelled.
  const TotalsReading moved = Difference(Stored(kTrainingBefore), Stored(kTrainingAfter));
  EXPECT_EQ(moved.fiscalCouponCount, 4);
  EXPECT_EQ(moved.cancelledNonFiscalCount, 2);
  EXPECT_EQ(moved.managementReportCounters[0], 2);
  EXPECT_EQ(moved.grossDailySales, 2 * 2900);
  EXPECT_EQ(moved.nonFiscalCancellations, 2 * 4250);
  EXPECT_EQ(moved.issqnTotalizers[0], 2 * 500);
  EXPECT_EQ(moved.paymentMeans[1], 2 * 300);

  ui_.Push(MessageAnswer::No);
  VerifyTotals(DayOfSales(), {2, 0, false}, context);
  ASSERT_EQ(ui_.Results().size(), 2u);
  const auto& [report, dump] = ui_.Results()[1];
  EXPECT_EQ(dump, "");
  EXPECT_EQ(ErrorLabels(report), std::vector<std::string>{});
  EXPECT_EQ(Lines(report).size(), 173u);
  EXPECT_TRUE(ui_.AllAnswered());
}

TEST_F(VerifierAgainstTheEmulator, AChangedSequenceShowsExactlyTheTotalsItMoved) {
  auto context = Context();
  ASSERT_TRUE(TrainVerifier(DayOfSales(), {1, 0, false}, context).readingsTaken);
  const VerifyRun check = CheckVerifier(DayOfSales("00000000001625"), {1, 0, false}, context);
  ASSERT_TRUE(check.readingsTaken) << check.error;
  EXPECT_TRUE(check.differences);
  EXPECT_EQ(ErrorLabels(check.message), (std::vector<std::string>{W("Total Operações Não-Fiscais:"),
                                                                  W("Totalizador não fiscal 1:")}));
  EXPECT_NE(check.message.find("Valor esperado: 30.00, Valor Encontrado 31.25"), std::string::npos);
}

}  // namespace
}  // namespace taloven
