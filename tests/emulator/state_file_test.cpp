#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "emulator/printer_fixture.h"
#include "printer/state_file.h"

namespace taloven::emulator::testing {
namespace {

TEST(StateFile, KeepsTheWholeStateThroughText) {
  PrinterFixture f;
  f.Send({0});
  f.Send({9}, SaleParameters("02", 1500, 1999));
  f.Send({33}, "01");
  f.Send({5});
  f.hostTime += 86400;  // the next day
  f.Send({0});          // a receipt left open is kept too
  f.Send({9}, SaleParameters("II", 1000, 250));
  PrinterState state = f.printer.State();
  state.cliche = std::string(
      "\x1B"
      "E"
      "LOJA \\ \xC7"
      "\n",
      9);
  state.nonFiscal[5].name = Utf8To850("CONTA DE ÁGUA");

  PrinterState read = DefaultPrinterState("ECF-T01");
  const Status parsed = StateFromText(StateToText(state), read);
  ASSERT_TRUE(parsed.ok()) << parsed.message();
  EXPECT_EQ(StateToText(read), StateToText(state));
  EXPECT_EQ(read.cliche, state.cliche);
  EXPECT_EQ(read.zHistory.size(), 1u);
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.items[0].gross, 250);
  EXPECT_EQ(read.document, Document::kReceiptSelling);
  EXPECT_EQ(read.grandTotal, state.grandTotal);
  EXPECT_NE(StateToText(state).find("CONTA DE ÁGUA"), std::string::npos);  // readable
}

TEST(StateFile, BadLinesAreNamedAndChangeNothing) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"coo = 12\nccf = doze\n", "line 2: bad value for ccf"},
      {"colour = blue\n", "line 1: unknown key \"colour\""},
      {"coo 12\n", "line 1: no \" = \""},
      {"reduction = 1 2\n", "line 1: bad reduction"},
      {"cliche = \\q\n", "line 1: bad value for cliche"},
      {"taxRateCount = 17\n", "taxRateCount must be 0 to 16"},
      {"item = A|B|01|1|2|3\n", "line 1: bad item"},
      {"item = A|B|99|1|2|3|0|0|0\n", "unknown tax \"99\""},
      {"document = 7\n", "not one this printer knows"},
      {"lastDocument = 2\nlastNonFiscalSlot = -1\n", "not one this printer knows"},
  };
  for (const auto& [text, message] : cases) {
    PrinterState state = DefaultPrinterState("ECF-T08");
    const std::string before = StateToText(state);
    const Status parsed = StateFromText(text, state);
    EXPECT_FALSE(parsed.ok()) << text;
    EXPECT_NE(parsed.message().find(message), std::string::npos) << parsed.message();
    EXPECT_EQ(StateToText(state), before);
  }
}

TEST(StateFile, SavesWholeFilesAndReadsThemBack) {
  const std::string path = ::testing::TempDir() + "/impressora.txt";
  std::remove(path.c_str());
  PrinterState state = DefaultPrinterState("ECF-T10");
  PrinterState untouched = state;
  ASSERT_TRUE(LoadStateFile(path, untouched).ok());  // missing: keeps the default
  state.coo = 77;
  const Status saved = SaveStateFile(path, state);
  ASSERT_TRUE(saved.ok()) << saved.message();
  PrinterState read = DefaultPrinterState("ECF-T08");
  const Status loaded = LoadStateFile(path, read);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  EXPECT_EQ(read.coo, 77);
  EXPECT_EQ(read.model, "ECF-T10");
  // Beside the state only its memories stay, no temporary file.
  const std::string name = std::filesystem::path(path).filename().string();
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
    const std::string found = entry.path().filename().string();
    if (found.rfind(name + ".", 0) == 0) {
      EXPECT_TRUE(found == name + ".journal" || found == name + ".fiscal") << found;
    }
  }
  const Status refused = SaveStateFile("/nonexistent-dir/x.txt", state);
  EXPECT_EQ(refused.message(), std::string("/nonexistent-dir/x.txt: ") + std::strerror(ENOENT));
}

}  // namespace
}  // namespace taloven::emulator::testing
