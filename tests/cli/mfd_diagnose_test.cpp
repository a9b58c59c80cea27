#include <gtest/gtest.h>

#include <fstream>

#include "cli_outcome.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;

TEST(MfdDiagnoseCommand, WritesTheFindingsAndFailsOnlyWhenTheReportIsNotRead) {
  TempDirectory dir;
  const std::string report = (dir.Path() / "r.txt").string();
  const std::string output = (dir.Path() / "diagnotico_mfd.txt").string();
  const std::string fab = "  FAB:KV0412000000000123      01/02/2025 08:30:45";
  std::ofstream(report, std::ios::binary) << fab << "\n x COO:000005\n x COO:000002\n";
  const std::string zBlockEnd = "\r\nData:01022025\r\nHora:083045\r\n";
  const std::string t10ZBlockEnd = "\r\nData:\r\nHora:\r\n";

  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string findingsEnd;  // empty: no findings file
    std::string errStart;
  } cases[] = {
      {"errors found is success",
       {"mfd", "diagnose", report},
       0,
       zBlockEnd + std::string(76, '*') + "\r\n\r\n",
       ""},
      {"the model option is taken without detection",
       {"--model-mask", "0x1000", "mfd", "diagnose", report},
       0,
       t10ZBlockEnd + std::string(76, '*') + "\r\n\r\n",
       ""},
      {"a bad mask", {"--model-mask", "zz", "mfd", "diagnose", report}, 1, "", "taloven-cli: m"},
      {"no report", {"mfd", "diagnose"}, 1, "", "taloven-cli: mfd diagnose precisa"},
      {"an unreadable report",
       {"mfd", "diagnose", (dir.Path() / "none.txt").string()},
       1,
       "",
       "taloven-cli: N\xC3\xA3o foi poss\xC3\xADvel abrir o relat\xC3\xB3rio "},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(output);
    std::vector<std::string> args = {"-C", dir.Path().string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const testing::CliOutcome run = testing::RunCliCaptured(args);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << c.name << ": " << run.err;
    if (c.findingsEnd.empty()) {
      EXPECT_FALSE(std::filesystem::exists(output)) << c.name;
      EXPECT_EQ(run.out, "") << c.name;
      continue;
    }
    EXPECT_EQ(run.out, output + "\n") << c.name;
    const std::string findings = ReadFileBytes(output);
    ASSERT_GE(findings.size(), c.findingsEnd.size()) << c.name;
    EXPECT_EQ(findings.substr(findings.size() - c.findingsEnd.size()), c.findingsEnd) << c.name;
  }
}

}  // namespace
}  // namespace taloven
