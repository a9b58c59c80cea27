#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "sequences/sequences_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::CliOutcome;
using testing::RunCliCaptured;

std::string Grand(const char* amount) {
  const std::string label = "TOTALIZADOR GERAL:";
  return label + std::string(48 - label.size() - std::string(amount).size(), ' ') + amount + "\r\n";
}

TEST(VerifyCompare, ReportsEachFieldAndExitsNineOnADifference) {
  testing::TempDirectory dir;
  auto write = [&](const char* name, const std::string& text) {
    std::ofstream(dir.Path() / name, std::ios::binary) << text;
  };
  write("LX1.txt", Grand("100,00"));
  write("LX2.txt", Grand("112,50"));
  write("LX1B.txt", Grand("200,00"));
  write("LX2B.txt", Grand("212,50"));
  CliOutcome same = RunCliCaptured({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_NE(same.out.find("TOTALIZADOR GERAL:\t\tOk!\r\n"), std::string::npos);
  EXPECT_EQ(same.out.find("ERRO"), std::string::npos);
  EXPECT_NE(same.out.find("VENDA L\xC3\x8DQUIDA:\t\tOk!"), std::string::npos);  // UTF-8

  write("LX2B.txt", Grand("213,50"));
  CliOutcome changed = RunCliCaptured({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(changed.status, 9);
  EXPECT_NE(changed.out.find(
                "TOTALIZADOR GERAL:\t\tERRO: Valor esperado: 212.50, Valor Encontrado 213.50\r\n"),
            std::string::npos);

  std::filesystem::remove(dir.Path() / "LX1.txt");
  std::filesystem::remove(dir.Path() / "LX2.txt");
  CliOutcome untrained = RunCliCaptured({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(untrained.status, 9);  // against LX1B unchanged
  EXPECT_NE(untrained.err.find("LX1.txt"), std::string::npos);

  // A file of megabytes is read to its end like any other: with no line
  // of a reading in it, it reads as zero.
  write("LX2.txt", "");
  std::filesystem::resize_file(dir.Path() / "LX2.txt", 64u << 20);
  CliOutcome huge = RunCliCaptured({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(huge.status, 9);
  EXPECT_NE(huge.out.find("Valor esperado: 200.00, Valor Encontrado 213.50"), std::string::npos)
      << huge.out;
  EXPECT_EQ(huge.err.find("LX2.txt"), std::string::npos) << huge.err;
}

TEST(VerifyCompare, UsageErrorsExitOne) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"verify"},
                                               {"verify", "compare", "x"},
                                               {"verify", "other"},
                                               {"verify", "train"},
                                               {"verify", "check", "A", "-n"},
                                               {"verify", "train", "A", "-w", "x"}})
    EXPECT_EQ(RunCliCaptured(args).status, 1) << args.back();
}

// A saved sequence of one withdrawal of the given value, named as the
// sequences window stores names: upper case, padded to 20 characters.
void SaveWithdrawal(const std::filesystem::path& directory, const std::string& value) {
  CommandRecord withdrawal;
  withdrawal.SetTitle("Sangria");
  withdrawal.SetEscapeText("25");
  CommandParameter amount;
  amount.title = "Valor";
  amount.size = 14;
  amount.type = "FINANCE";
  amount.value = value;
  withdrawal.AppendParameter(amount);
  CommandSequence sequence;
  sequence.name = "CAIXA               ";
  sequence.InsertCommand(withdrawal);
  SavedSequences saved;
  saved.Append(sequence);
  ASSERT_TRUE(SaveSequences(saved, SequencesFilePath(directory.string())).ok());
}

TEST(VerifyAgainstTheEmulator, TrainThenCheckAndACheckOfAChangedSequence) {
  testing::TempDirectory dir;
  const std::string link = (dir.Path() / "ecf").string();
  emulator::testing::EmulatorProcess printer({"--pty", "--link", link});
  const std::string directory = dir.Path().string();
  SaveWithdrawal(dir.Path(), "00000000001500");

  CliOutcome train =
      RunCliCaptured({"-C", directory, "-p", link, "verify", "train", "caixa", "-n", "2"});
  EXPECT_EQ(train.status, 0) << train.err;
  EXPECT_NE(train.out.find("***Fim de execu\xC3\xA7\xC3\xA3o de sequ\xC3\xAAncia de comandos***"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "LX1.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "LX2.txt"));

  CliOutcome check =
      RunCliCaptured({"-C", directory, "-p", link, "verify", "check", "CAIXA", "-n", "2"});
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_EQ(check.out.find("ERRO"), std::string::npos);

  SaveWithdrawal(dir.Path(), "00000000001000");
  CliOutcome changed =
      RunCliCaptured({"-C", directory, "-p", link, "verify", "check", "CAIXA", "-n", "2"});
  EXPECT_EQ(changed.status, 9);
  EXPECT_NE(changed.out.find("Totalizador n\xC3\xA3o fiscal 1:\t\tERRO: Valor esperado: 90.00, "
                             "Valor Encontrado 80.00\r\n"),
            std::string::npos)
      << changed.out;

  CliOutcome unknown = RunCliCaptured({"-C", directory, "-p", link, "verify", "check", "OUTRA"});
  EXPECT_EQ(unknown.status, 1);
}

}  // namespace
}  // namespace taloven
