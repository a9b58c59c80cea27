#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli_command.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunVerify(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunCli(args, in, out, err);
  return {status, out.str(), err.str()};
}

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
  Outcome same = RunVerify({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_NE(same.out.find("TOTALIZADOR GERAL:\t\tOk!\r\n"), std::string::npos);
  EXPECT_EQ(same.out.find("ERRO"), std::string::npos);
  EXPECT_NE(same.out.find("VENDA L\xC3\x8DQUIDA:\t\tOk!"), std::string::npos);  // UTF-8

  write("LX2B.txt", Grand("213,50"));
  Outcome changed = RunVerify({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(changed.status, 9);
  EXPECT_NE(changed.out.find(
                "TOTALIZADOR GERAL:\t\tERRO: Valor esperado: 212.50, Valor Encontrado 213.50\r\n"),
            std::string::npos);

  std::filesystem::remove(dir.Path() / "LX1.txt");
  std::filesystem::remove(dir.Path() / "LX2.txt");
  Outcome untrained = RunVerify({"-C", dir.Path().string(), "verify", "compare"});
  EXPECT_EQ(untrained.status, 9);  // against LX1B unchanged
  EXPECT_NE(untrained.err.find("LX1.txt"), std::string::npos);
}

TEST(VerifyCompare, UsageErrorsExitOne) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"verify"},
                                               {"verify", "compare", "x"},
                                               {"verify", "other"},
                                               {"verify", "train"},
                                               {"verify", "check", "A", "-n"},
                                               {"verify", "train", "A", "-w", "x"}})
    EXPECT_EQ(RunVerify(args).status, 1) << args.back();
}

}  // namespace
}  // namespace taloven
