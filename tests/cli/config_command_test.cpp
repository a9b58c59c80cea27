#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/encoding.h"
#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "programming/configuration_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::CliOutcome;
using testing::TempDirectory;

class ConfigCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    EquipmentConfiguration a, b;
    a.serialNumber = "S1";
    a.client = W("Padaria São João");
    a.cliche = "L1\r\nL2\r\n";
    a.cnpj = "11.222.333/0001-44";
    a.date = "010127";
    a.time = "080000";
    a.storeNumber = "0002";
    a.registerNumber = "003";
    a.ie = "ISENTO";
    a.totalizerNames[1] = "TROCO";
    b.serialNumber = "S2";
    EquipmentConfiguration noIe = a;
    noIe.serialNumber = "S3";
    noIe.ie.clear();
    ASSERT_TRUE(SaveConfigurations(ConfigurationsPath(work_.Path().string()), {a, b, noIe}).ok());
  }

  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string()});
    return testing::RunCliCaptured(args);
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }

  TempDirectory work_;
};

TEST_F(ConfigCommand, ListsShowsAndDeletes) {
  CliOutcome list = Run({"config", "list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "S1\tPadaria São João\nS2\t\nS3\tPadaria São João\n");

  const std::vector<std::string> shown = Lines(Run({"config", "show", "S1"}).out);
  ASSERT_EQ(shown.size(), 87u);
  EXPECT_EQ(shown[0], "numero_de_serie\tS1");
  EXPECT_EQ(shown[10], "horario_de_verao\t0");
  EXPECT_EQ(shown[11], "cliche\tL1\\r\\nL2\\r\\n");
  EXPECT_EQ(shown[34], "vinc\t0000000000000000");
  EXPECT_EQ(shown[38], "tot_nao_suj2\tTROCO");
  EXPECT_EQ(shown[86], "tot_nao_suj50\t");

  EXPECT_EQ(Run({"config", "show", "S9"}).status, 1);
  EXPECT_EQ(Run({"config", "delete", "S9"}).status, 1);
  EXPECT_EQ(Run({"config", "delete", "S1"}).status, 0);
  EXPECT_EQ(Run({"config", "list"}).out, "S2\t\nS3\tPadaria São João\n");
  EXPECT_EQ(Run({"config", "frobnicate"}).status, 1);
}

TEST_F(ConfigCommand, DryRunPrintsEveryFrameAndSendsNothing) {
  struct Case {
    std::vector<std::string> args;
    int status;
    size_t frames;
    std::string first;
    std::string told = "";  // once on the error stream
  } cases[] = {
      // First generation: owner, clock, cliché, ECF and store, rates,
      // linkage, one name, five flags.
      {{"--model", "ECF-T01", "config", "program", "S1", "--dry-run"},
       0,
       12,
       "02 35 00 1B 04 31 31 2E 32 32 32 2E 33 33 33 2F 30 30 30 31 2D 34 34"},
      {{"--model", "ECF-T08", "config", "program", "S1", "--password", "00112233445566778899",
        "--dry-run"},
       0,
       12,
       "02 57 00 1B 04 31 31 2E"},
      // The stored password of ten blanks is not sent: nothing can be built.
      {{"--model", "ECF-T08", "config", "program", "S1", "--dry-run"},
       3,
       0,
       "",
       "Senha com tamanho errado"},
      {{"--model", "ECF-T01", "config", "program", "S3", "--dry-run"},
       2,
       0,
       "",
       "Parâmetro obrigatório não preenchido : IE"},
      {{"--model", "ECF-T01", "config", "program", "S9", "--dry-run"}, 1, 0, ""},
  };
  for (const Case& c : cases) {
    const CliOutcome run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    size_t frames = 0;
    for (const std::string& line : Lines(run.out)) frames += line.rfind("02 ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(frames, c.frames) << run.out;
    EXPECT_EQ(run.out.rfind(c.first, 0), 0u) << run.out;
    if (!c.told.empty()) {
      EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
      EXPECT_EQ(run.err.find(c.told), run.err.rfind(c.told)) << run.err;
    }
  }
}

// The virtual printer keeps its state in a file written after every command
// it answers: while it runs, no file means no command reached it.
TEST_F(ConfigCommand, AnIncompleteConfigurationSendsNothingToThePrinter) {
  const std::string link = work_.Path().string() + "/ttyECF";
  const std::string state = work_.Path().string() + "/state.txt";
  emulator::testing::EmulatorProcess printer(
      {"--pty", "--link", link, "--model", "ECF-T01", "--intervention", "--state", state});
  const CliOutcome incomplete = Run({"-p", link, "--model", "ECF-T01", "config", "program", "S3"});
  EXPECT_EQ(incomplete.status, 2) << incomplete.err;
  EXPECT_EQ(incomplete.out, "");
  EXPECT_NE(incomplete.err.find("Parâmetro obrigatório não preenchido : IE"), std::string::npos)
      << incomplete.err;
  EXPECT_FALSE(std::filesystem::exists(state)) << "a command reached the printer";

  const CliOutcome complete = Run({"-p", link, "--model", "ECF-T01", "config", "program", "S1"});
  EXPECT_EQ(complete.status, 0) << complete.err;
  EXPECT_TRUE(std::filesystem::exists(state));
}

TEST_F(ConfigCommand, ReadsSavesAndProgramsTheVirtualPrinter) {
  const std::string link = work_.Path().string() + "/ttyECF";
  emulator::testing::EmulatorProcess printer(
      {"--pty", "--link", link, "--model", "ECF-T05", "--intervention"});
  const CliOutcome read = Run({"-p", link, "--model", "ECF-T05", "config", "read", "--save"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(Lines(read.out).size(), 87u);
  const CliOutcome list = Run({"config", "list"});
  ASSERT_EQ(Lines(list.out).size(), 4u);
  const std::string serial = Lines(list.out)[3].substr(0, Lines(list.out)[3].find('\t'));

  const CliOutcome program = Run({"-p", link, "--model", "ECF-T05", "config", "program", serial,
                                  "--password", "00112233445566778899"});
  EXPECT_EQ(program.status, 0) << program.err;
  EXPECT_NE(program.out.find("Programa CNPJ/IE/IM"), std::string::npos) << program.out;
  EXPECT_EQ(program.out.find("NÃO EM INTERVEN"), std::string::npos) << program.out;
}

}  // namespace
}  // namespace taloven
