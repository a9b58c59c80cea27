// Numbers no printer prints, in files whose checks are sound: the library's
// reports and databases neither overflow on them nor show them wrong.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <climits>
#include <fstream>
#include <string>

#include "fiscalmem/fiscal_memory_library.h"
#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;

constexpr uint32_t kFirstLibraryMask = 0x2000;

std::string Column(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  std::string value = "?";
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const auto* text = sqlite3_column_text(statement, 0);
    value = text ? reinterpret_cast<const char*>(text) : "NULL";
  }
  sqlite3_finalize(statement);
  return value;
}

// A number longer than 64 bits of cents is no amount or counter: its column
// stays empty, while the same line with a number that fits is read.
TEST(LibraryLongNumbers, DatabaseLeavesNumbersBeyondSixtyFourBitsOut) {
  const struct {
    const char* lines;
    JournalKind kind;
    const char* query;
    const char* value;
  } cases[] = {
      {"TOTAL R$          92.233.720.368.547.758,07\n", JournalKind::kFiscalReceipt,
       "SELECT total_centavos FROM documentos", "9223372036854775807"},
      {"TOTAL R$          92.233.720.368.547.758,08\n", JournalKind::kFiscalReceipt,
       "SELECT total_centavos FROM documentos", "NULL"},
      {"TOTAL R$    999999999999999999999999999,99\n", JournalKind::kFiscalReceipt,
       "SELECT total_centavos FROM documentos", "NULL"},
      {"CONTADOR DE REDU\x80\xC7O Z: 99999999999999999999999\n", JournalKind::kZReduction,
       "SELECT crz FROM reducoes", "NULL"},
      {"CONTADOR DE REDU\x80\xC7O Z: 0042\n", JournalKind::kZReduction, "SELECT crz FROM reducoes",
       "42"},
      {"VENDA BRUTA DI\xB5RIA:  999999999999999999999,99\n", JournalKind::kZReduction,
       "SELECT venda_bruta_centavos FROM reducoes", "NULL"},
  };
  TempDirectory directory;
  const std::string mfd = (directory.Path() / "long.mfd").string();
  const std::string db = (directory.Path() / "long.mdb").string();
  FiscalMemoryLibrary library(kFirstLibraryMask);
  auto total = library.Find<KovoGeraMdbTotalFunction>("KovoGeraMdbTotal");
  ASSERT_TRUE(total);
  for (const auto& c : cases) {
    std::string payload;
    AppendJournalRecord(payload, {1, c.kind, 1, "07122026100000", c.lines});
    std::ofstream(mfd, std::ios::binary) << MfdFileBytes("KV0812260000001", payload);
    ASSERT_EQ(total(mfd.c_str(), db.c_str()), KOVO_OK) << c.lines;
    sqlite3* opened = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_EQ(Column(opened, c.query), c.value) << c.lines;
    sqlite3_close(opened);
  }
}

// The period's totals of reductions whose amounts add up past 64 bits are
// shown whole, and so is the most negative amount an image can hold.
TEST(LibraryLongNumbers, FiscalMemoryReadingShowsEveryAmountWhole) {
  MfIdentity identity;
  identity.serialNumber = "KV0812260000001";
  std::string image = EncodeMfIdentity(identity);
  for (uint32_t crz : {1u, 2u}) {
    MfReduction z;
    z.crz = crz;
    z.when = "07122026235900";
    z.gross = INT64_MAX;
    z.grandTotal = INT64_MIN;
    z.rateCount = 1;
    z.rates[0] = {1800, false, (int64_t{1} << 48) - 1};
    image += EncodeMfReduction(z);
  }
  TempDirectory directory;
  const std::string mf = (directory.Path() / "long.mf").string();
  const std::string text = (directory.Path() / "long.txt").string();
  std::ofstream(mf, std::ios::binary) << image;
  FiscalMemoryLibrary library(kFirstLibraryMask);
  auto reading = library.Find<KovoRelatorioMFTxtFunction>("KovoRelatorioMFTxt");
  ASSERT_TRUE(reading);
  ASSERT_EQ(reading(mf.c_str(), text.c_str(), "C", "000001", "000002"), KOVO_OK);
  const std::string report = ReadFileBytes(text);
  for (const char* row : {"GRANDE TOTAL:         -92.233.720.368.547.758,08\r\n",
                          "VENDA BRUTA:          184.467.440.737.095.516,14\r\n",
                          "T01 18,00%                  5.629.499.534.213,10\r\n",
                          "GRANDE TOTAL FINAL:   -92.233.720.368.547.758,08\r\n"})
    EXPECT_NE(report.find(row), std::string::npos) << row;
}

}  // namespace
}  // namespace taloven
