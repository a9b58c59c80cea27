#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliOutcome;
using testing::TempDirectory;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class SequenceCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work_.Path() / "comandos.xml");
  }

  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string()});
    return testing::RunCliCaptured(args);
  }

  TempDirectory work_;
};

TEST_F(SequenceCommand, ComposesEditsAndDeletesSavedSequences) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;  // a part of it
  } steps[] = {
      {{"list"}, 0, "", ""},
      {{"new", "teste"}, 0, "", ""},
      {{"new", "TESTE"}, 1, "", "Registro não salvo"},
      {{"new", "a.b"}, 0, "", ""},
      {{"list"}, 0, "TESTE\nAB\n", ""},
      {{"add", "teste", "9"}, 0, "", ""},
      {{"add", "teste", "Sangria", "12,34", "--at", "0"}, 0, "", ""},
      {{"show", "teste"},
       0,
       "0\tSangria\t25\n\tValor\tS\t12,34\n1\tCancela cupom fiscal\t14\n",
       ""},
      {{"list"}, 0, "AB\nTESTE\n", ""},
      {{"add", "teste", "9", "--at", "3"}, 1, "", "fora da sequência"},
      {{"add", "teste", "9", "sobra"}, 1, "", "valores a mais"},
      {{"remove", "teste", "0"}, 0, "", ""},
      {{"show", "TESTE"}, 0, "0\tCancela cupom fiscal\t14\n", ""},
      {{"remove", "teste", "1"}, 1, "", "posição 1"},
      {{"new", "teste", "--replace"}, 0, "", ""},
      {{"show", "teste"}, 0, "", ""},
      {{"run", "teste"},
       0,
       "\r\n***Início de execução de sequência de comandos***\r\n\r\n"
       "\r\n***Fim de execução de sequência de comandos***\r\n\n",
       ""},
      {{"run", "teste", "-n", "x"}, 1, "", "número inválido"},
      // "a.b" was padded before its dot went, one blank short of "ab": the
      // list shows both as AB, and that is how they are found.
      {{"delete", "ab"}, 0, "", ""},
      {{"delete", "a.b"}, 1, "", "Registro não excluído"},
      {{"new", "ção"}, 1, "", "Nome inválido"},
      {{"new", "..."}, 1, "", "Registro não salvo"},
      {{"add", "nada", "9"}, 1, "", "não há sequência"},
      {{"list"}, 0, "TESTE\n", ""},
  };
  for (const auto& step : steps) {
    std::vector<std::string> args = {"sequence"};
    args.insert(args.end(), step.args.begin(), step.args.end());
    const CliOutcome run = Run(args);
    const std::string label = step.args[0] + (step.args.size() > 1 ? " " + step.args[1] : "");
    EXPECT_EQ(run.status, step.status) << label << ": " << run.err;
    EXPECT_EQ(run.out, step.out) << label;
    EXPECT_NE(run.err.find(step.err), std::string::npos) << label << ": " << run.err;
  }
}

// A NAME finds the sequence the list shows by it, however it was stored:
// names stored by the naming rules, and one written by another hand.
TEST_F(SequenceCommand, FindsASequenceByTheNameTheListShows) {
  std::ofstream(work_.Path() / "sequencias.xml")
      << "<?xml version='1.0' encoding='Windows-1252'?>\n"
         "<sequencias xml:space=\"preserve\">\n"
         "\t<sequencia>\n\t\t<titulo>TESTE               </titulo>\n\t</sequencia>\n"
         "\t<sequencia>\n\t\t<titulo>AB                 </titulo>\n\t</sequencia>\n"
         "\t<sequencia>\n\t\t<titulo>Venda</titulo>\n\t</sequencia>\n"
         "</sequencias>\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;  // a part of it
  } steps[] = {
      {{"show", "teste"}, 0, ""},
      {{"show", "TESTE"}, 0, ""},
      {{"show", "a.b"}, 0, ""},
      {{"show", "AB"}, 0, ""},
      {{"show", "venda"}, 0, ""},
      {{"show", "A"}, 1, "não há sequência"},
      {{"add", "ab", "9"}, 0, ""},
      {{"remove", "a.b", "0"}, 0, ""},
      {{"run", "Ab"}, 0, ""},
      {{"delete", "AB"}, 0, ""},
      {{"delete", "venda"}, 0, ""},
      {{"delete", "teste"}, 0, ""},
      {{"delete", "teste"}, 1, "Registro não excluído"},
  };
  for (const auto& step : steps) {
    std::vector<std::string> args = {"sequence"};
    args.insert(args.end(), step.args.begin(), step.args.end());
    const CliOutcome run = Run(args);
    EXPECT_EQ(run.status, step.status) << step.args[0] << " " << step.args[1] << ": " << run.err;
    EXPECT_NE(run.err.find(step.err), std::string::npos) << run.err;
  }
  EXPECT_EQ(Run({"sequence", "list"}).out, "");
}

// A day of sales composed on the command line and run against the virtual
// printer: a receipt of two items paid in cash, then an X reading.
TEST_F(SequenceCommand, RunsADayOfSalesOnTheVirtualPrinter) {
  const std::vector<std::vector<std::string>> compose = {
      {"new", "dia"},
      {"add", "dia", "Abre cupom fiscal"},
      {"add", "dia", "Vende item", "7891234567895", "Cafe", "01", "0002000", "3,50"},
      {"add", "dia", "Vende item", "7891234567896", "Leite", "01", "0001000", "4,00"},
      {"add", "dia", "Inicia fechamento do cupom"},
      {"add", "dia", "Efetua forma de pagamento", "01", "20,00"},
      {"add", "dia", "Termina fechamento do cupom"},
      {"add", "dia", "Leitura X pela porta serial"},
  };
  for (std::vector<std::string> args : compose) {
    args.insert(args.begin(), "sequence");
    ASSERT_EQ(Run(args).status, 0) << args[1];
  }

  EmulatorProcess printer({"--pty", "--baud", "0"});
  ASSERT_FALSE(printer.Address().empty());
  const CliOutcome run = Run({"-p", printer.Address(), "sequence", "run", "dia"});
  EXPECT_EQ(run.status, 0) << run.err;
  size_t commands = 0;
  for (size_t at = run.out.find("Comando:\t"); at != std::string::npos;
       at = run.out.find("Comando:\t", at + 1))
    ++commands;
  // The reading's results are its status and report, without a title.
  EXPECT_EQ(commands, 6u);
  EXPECT_NE(run.out.find("LEITURA X"), std::string::npos);
  EXPECT_NE(run.out.find("VENDA BRUTA DIÁRIA:                        11,00"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("01   Dinheiro                              20,00"), std::string::npos);
  EXPECT_NE(run.out.find("TROCO                                       9,00"), std::string::npos);
  EXPECT_EQ(run.out.find("Falha"), std::string::npos);
  EXPECT_TRUE(EndsWith(run.out, "\r\n\r\n***Fim de execução de sequência de comandos***\r\n\n"));
  EXPECT_TRUE(fs::exists(work_.Path() / "log")) << "every command is logged";
}

TEST_F(SequenceCommand, APrinterThatDoesNotAnswerStopsTheRunWithStatusFour) {
  ASSERT_EQ(Run({"sequence", "new", "x"}).status, 0);
  ASSERT_EQ(Run({"sequence", "add", "x", "Cancela cupom fiscal"}).status, 0);
  ASSERT_EQ(Run({"sequence", "add", "x", "Cancela cupom fiscal"}).status, 0);
  // Over the file exchange, where a missing reply is given up within a
  // second or two rather than a line's minute.
  const std::string drive = work_.Path().string();
  setenv("TALOVEN_DRIVE_C", drive.c_str(), 1);
  EmulatorProcess printer({"--file", "--fault-no-reply"}, {"TALOVEN_DRIVE_C=" + drive});
  const CliOutcome run = Run({"-p", "FILE", "sequence", "run", "x", "-n", "3"});
  unsetenv("TALOVEN_DRIVE_C");
  EXPECT_EQ(run.status, 4) << run.err;
  EXPECT_EQ(run.out.find("Comando:\t"), run.out.rfind("Comando:\t")) << "one command sent";
  EXPECT_TRUE(EndsWith(run.out,
                       "Fim de execução de sequência de comandos***\r\n"
                       "Falha no envio do comando\n"));
}

}  // namespace
}  // namespace taloven
