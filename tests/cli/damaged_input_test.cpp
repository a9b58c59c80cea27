// Damaged or incomplete input read by "mfd": the command still ends, says
// what it skipped, and exits 10; an incomplete symbol set is not written
// unless asked for.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli_outcome.h"
#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "formats/mfd_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDirectory;

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

int64_t SkippedInDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  int64_t skipped = -1;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "SELECT documentos FROM danos_ignorados", -1, &statement, nullptr) ==
          SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    skipped = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return skipped;
}

class DamagedInput : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }
  TempDirectory work_;
};

TEST_F(DamagedInput, WhatIsSkippedIsSaidAndEndsWithStatusTen) {
  // Three documents; the second one's printed lines lose a bit.
  std::string payload;
  size_t second = 0;
  for (uint32_t coo = 1; coo <= 3; ++coo) {
    if (coo == 2) second = payload.size();
    AppendJournalRecord(payload,
                        {coo, JournalKind::kNonFiscal, 1, "0712202610000" + std::to_string(coo),
                         "COMPROVANTE " + std::to_string(coo) + "\n"});
  }
  Put(Path("good.mfd"), MfdFileBytes("TV0800000000000001", payload));
  payload[second + kJournalHeaderSize + 3] ^= 0x10;
  Put(Path("damaged.mfd"), MfdFileBytes("TV0800000000000001", payload));

  MfIdentity id;
  id.serialNumber = "TV0800000000000001";
  MfReduction z;
  z.crz = 1;
  z.when = "07122026220000";
  std::string mf = EncodeMfIdentity(id) + EncodeMfReduction(z);
  z.crz = 2;
  mf += EncodeMfReduction(z);
  mf[kMfBlockSize * 2 + 40] ^= 1;
  Put(Path("damaged.mf"), mf);

  const std::string state = Path("printer.state");
  fs::create_directory(Path("bitmaps"));
  ASSERT_EQ(std::system((std::string(TALOVEN_EMULATOR_PATH) + " --state " + state +
                         " --simulate-days 1 --export-pdf417 " + Path("bitmaps"))
                            .c_str()),
            0);
  std::vector<std::string> bitmaps;
  for (const auto& entry : fs::directory_iterator(Path("bitmaps")))
    bitmaps.push_back(entry.path().string());
  std::sort(bitmaps.begin(), bitmaps.end());
  ASSERT_GT(bitmaps.size(), 2u);
  auto fromBitmaps = [&](const char* output, bool dropOne, bool savePartial) {
    std::vector<std::string> args{"mfd", "from-bitmaps", Path(output)};
    args.insert(args.end(), bitmaps.begin() + (dropOne ? 1 : 0), bitmaps.end());
    if (savePartial) args.push_back("--save-partial");
    return args;
  };

  const struct {
    std::vector<std::string> args;
    int status;
    const char* err;      // on stderr; "" for a clean run
    const char* output;   // the file the command makes, "" when none may exist
    const char* closing;  // in that file, or ""
  } cases[] = {
      {{"mfd", "report", Path("good.mfd"), Path("good.txt")}, 0, "", "good.txt", ""},
      {{"mfd", "report", Path("damaged.mfd"), Path("all.txt")},
       10,
       "Documentos danificados ignorados: 1 (",
       "all.txt",
       "DOCUMENTOS DANIFICADOS IGNORADOS:"},
      // Damage has no COO to be selected by: every selection says it.
      {{"mfd", "report", Path("damaged.mfd"), Path("one.txt"), "--coo", "1", "1", "--user", "1"},
       10,
       "Documentos danificados ignorados: 1",
       "one.txt",
       "COMPROVANTE 1"},
      {{"mfd", "db", Path("damaged.mfd"), Path("all.mdb")},
       10,
       "Documentos danificados ignorados: 1",
       "all.mdb",
       ""},
      {{"mfd", "mf-report", Path("damaged.mf"), Path("mf.txt"), "--crz", "1", "2"},
       10,
       "Blocos danificados ignorados: 1",
       "mf.txt",
       "BLOCOS DANIFICADOS IGNORADOS:"},
      {fromBitmaps("missing.mfd", true, false), 10, "faltam 1 símbolo(s) do conjunto", "", ""},
      {fromBitmaps("partial.mfd", true, true), 10, "faltam 1 símbolo(s) do conjunto", "partial.mfd",
       ""},
      {fromBitmaps("whole.mfd", false, false), 0, "", "whole.mfd", ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"-C", work_.Path().string(), "--model", "ECF-T08"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const testing::CliOutcome run = testing::RunCliCaptured(args);
    const std::string made = c.args[3 - (c.args[1] == "from-bitmaps" ? 1 : 0)];
    SCOPED_TRACE(c.args[1] + " " + made);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (*c.err == '\0') {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    EXPECT_EQ(fs::exists(made), *c.output != '\0');
    if (*c.closing != '\0') {
      const std::string text = ReadFileBytes(made);
      EXPECT_NE(text.find(c.closing), std::string::npos) << text;
    }
  }
  EXPECT_EQ(ReadFileBytes(Path("good.txt")).find("DANIFICADOS"), std::string::npos);
  EXPECT_EQ(SkippedInDatabase(Path("all.mdb")), 1);
  EXPECT_LT(fs::file_size(Path("partial.mfd")), fs::file_size(Path("whole.mfd")));
}

}  // namespace
}  // namespace taloven
