// The reports, databases, readings, findings and comparisons the tools write
// for journals of the virtual printer, against outputs kept from an earlier
// build: a change in how the files are read or written must not move a byte.
// A database is compared through its dump (schema and every row, typed, in
// table order), since SQLite may lay the same contents out otherwise.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

#include "cli_outcome.h"
#include "formats/mfd_file.h"
#include "memories/download.h"
#include "printer/printer_state.h"
#include "printer/reports.h"
#include "printer/simulation.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDirectory;

constexpr int64_t kFirstDay = 1796637600;  // 7 December 2026, 10:00 UTC
const fs::path kExpected = fs::path(TALOVEN_SOURCE_DIR) / "tests/cli/expected_outputs";

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The database's schema and rows as text, each value with its type.
std::string Dump(const std::string& path) {
  sqlite3* db = nullptr;
  std::string dump;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "cannot open " + path;
  }
  auto rows = [&](const std::string& sql, std::vector<std::string>* firstColumn) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      dump += "cannot run " + sql + "\n";
      return;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        const int bytes = sqlite3_column_bytes(statement, c);
        switch (sqlite3_column_type(statement, c)) {
          case SQLITE_NULL:
            dump += "NULL";
            break;
          case SQLITE_INTEGER:
            dump += std::to_string(sqlite3_column_int64(statement, c));
            break;
          default:
            dump += sqlite3_column_type(statement, c) == SQLITE_TEXT ? "'" : "?'";
            dump.append(text ? text : "", static_cast<size_t>(bytes));
            dump += "'";
        }
        dump += c + 1 < sqlite3_column_count(statement) ? "|" : "\n";
      }
      if (firstColumn && sqlite3_column_text(statement, 1))
        firstColumn->push_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
    }
    sqlite3_finalize(statement);
  };
  std::vector<std::string> tables;
  rows("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid",
       &tables);
  rows("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE type <> 'table' ORDER BY rowid",
       nullptr);
  for (const std::string& table : tables) {
    dump += "-- " + table + "\n";
    rows("SELECT * FROM \"" + table + "\"", nullptr);
  }
  sqlite3_close(db);
  return dump;
}

std::string Sha256(const std::string& path) {
  std::string digest;
  if (FILE* pipe = ::popen(("sha256sum '" + path + "'").c_str(), "r")) {
    char buffer[65] = {};
    if (std::fread(buffer, 1, 64, pipe) == 64) digest = buffer;
    ::pclose(pipe);
  }
  return digest;
}

// The virtual printer's memories after days of sales, as files to read.
struct Memories {
  std::string mfd, damagedMfd, mf;
  std::vector<std::string> readings;  // the X reading after each day
};

Memories Simulate(int days, bool withReadings) {
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  Memories m;
  for (int day = 0; day < days; ++day) {
    emulator::SimulateDays(state, 1, kFirstDay + day * 86400);
    if (withReadings)
      m.readings.push_back(emulator::XReadingText(state, kFirstDay + day * 86400 + 3600));
  }
  m.mfd = MfdFileBytes(state.serialNumber, state.journal);
  m.mf = emulator::FiscalMemoryImage(state);
  // A flipped byte in a document of the middle, and the end cut off in the
  // last one.
  std::string journal = state.journal;
  journal[journal.size() / 2] ^= 0x20;
  m.damagedMfd = MfdFileBytes(state.serialNumber, journal);
  m.damagedMfd.resize(m.damagedMfd.size() - kMfdTrailerBytes - 100);
  return m;
}

class OutputsUnchanged : public ::testing::Test {
 protected:
  testing::CliOutcome Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string(), "--model", "ECF-T08"});
    return testing::RunCliCaptured(args);
  }
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }

  // What the command wrote: its output file (a database as its dump) or,
  // without one, its standard output.
  std::string Output(const std::vector<std::string>& args, const std::string& file, int status) {
    const testing::CliOutcome run = Cli(args);
    EXPECT_EQ(run.status, status) << args[0] << " " << args[1] << ": " << run.err;
    if (file.empty()) return run.out;
    if (file.ends_with(".db")) return Dump(Path(file));
    return ReadFileBytes(Path(file));
  }

  TempDirectory work_;
};

struct Case {
  const char* expected;  // file in expected_outputs/
  std::vector<std::string> args;
  const char* output;  // written by the command; "" for its standard output
  int status;
};

TEST_F(OutputsUnchanged, ForSmallJournalsTheFilesAreThoseKept) {
  const Memories m = Simulate(3, true);
  WriteFile(Path("j.mfd"), m.mfd);
  WriteFile(Path("d.mfd"), m.damagedMfd);
  WriteFile(Path("m.mf"), m.mf);
  for (size_t i = 0; i < 4; ++i)
    WriteFile(Path(std::vector<std::string>{"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}[i]),
              m.readings[std::min<size_t>(i, 2)]);

  const Case cases[] = {
      {"report_all.txt", {"mfd", "report", Path("j.mfd"), Path("r.txt")}, "r.txt", 0},
      {"report_dates.txt",
       {"mfd", "report", Path("j.mfd"), Path("r.txt"), "--dates", "081226", "081226"},
       "r.txt",
       0},
      {"report_coos.txt",
       {"mfd", "report", Path("j.mfd"), Path("r.txt"), "--coo", "20", "60", "--user", "1"},
       "r.txt",
       0},
      {"report_damaged.txt", {"mfd", "report", Path("d.mfd"), Path("r.txt")}, "r.txt", 10},
      {"database_all.sql", {"mfd", "db", Path("j.mfd"), Path("all.db")}, "all.db", 0},
      {"database_dates.sql",
       {"mfd", "db", Path("j.mfd"), Path("dates.db"), "--dates", "071226", "071226"},
       "dates.db",
       0},
      {"database_damaged.sql", {"mfd", "db", Path("d.mfd"), Path("damaged.db")}, "damaged.db", 10},
      {"mf_crz.txt",
       {"mfd", "mf-report", Path("m.mf"), Path("r.txt"), "--crz", "1", "3"},
       "r.txt",
       0},
      {"mf_crz_simplified.txt",
       {"mfd", "mf-report", Path("m.mf"), Path("r.txt"), "--crz", "2", "3", "--simplified"},
       "r.txt",
       0},
      {"mf_dates.txt",
       {"mfd", "mf-report", Path("m.mf"), Path("r.txt"), "--dates", "071226", "081226"},
       "r.txt",
       0},
      {"findings_sound.txt",
       {"mfd", "diagnose", (kExpected / "report_all.txt").string()},
       "diagnotico_mfd.txt",
       0},
      {"findings_damaged.txt",
       {"mfd", "diagnose", (kExpected / "report_damaged.txt").string()},
       "diagnotico_mfd.txt",
       0},
      {"verify_compare.txt", {"verify", "compare"}, "", 9},
  };
  // TALOVEN_WRITE_EXPECTED=1 keeps this build's outputs, for a deliberate
  // change of a format.
  const bool keep = std::getenv("TALOVEN_WRITE_EXPECTED") != nullptr;
  for (const Case& c : cases) {
    const std::string output = Output(c.args, c.output, c.status);
    if (keep) WriteFile(kExpected / c.expected, output);
    EXPECT_TRUE(output == ReadFileBytes(kExpected / c.expected))
        << c.expected << " differs; this build wrote it to " << Path(c.expected);
    if (output != ReadFileBytes(kExpected / c.expected)) WriteFile(Path(c.expected), output);
  }
}

// Eight months of sales: about 12 MB of journal. Their outputs are too large
// to keep, so their SHA-256 sums are.
TEST_F(OutputsUnchanged, ForALargeJournalTheSumsAreThoseKept) {
  const Memories m = Simulate(240, false);
  WriteFile(Path("j.mfd"), m.mfd);
  WriteFile(Path("m.mf"), m.mf);
  const struct {
    std::vector<std::string> args;
    const char* output;
    const char* sum;
  } cases[] = {
      {{"mfd", "report", Path("j.mfd"), Path("r.txt")},
       "r.txt",
       "831361102d68921c353b0817690d9aad8a874db96ec9049cbca49a58503a018c"},
      {{"mfd", "report", Path("j.mfd"), Path("dates.txt"), "--dates", "010127", "280227"},
       "dates.txt",
       "0eb85617a7c6a3ca991226dece4de808da0f33a7166844fbe21b3072dcec3c8a"},
      {{"mfd", "db", Path("j.mfd"), Path("j.db")},
       "j.db",
       "1a1f86abb735dfb7e64e2b74e8b2f17e258062bdb76445e5d6b46bc04e9a5f6d"},
      {{"mfd", "mf-report", Path("m.mf"), Path("m.txt"), "--dates", "071226", "010827"},
       "m.txt",
       "1ef53aa1b56dc271c5b70df0483c8ebc9a01ab10a2ac4ce97aba30f7389707fa"},
      {{"mfd", "diagnose", Path("r.txt")},
       "diagnotico_mfd.txt",
       "751a7266d79a6609ba2a84faea237943677b1f644c90eb419961f241296439e9"},
  };
  for (const auto& c : cases) {
    const std::string output = Output(c.args, c.output, 0);
    WriteFile(Path("output"), output);
    EXPECT_EQ(Sha256(Path("output")), c.sum) << c.args[1] << " " << c.output;
  }
}

}  // namespace
}  // namespace taloven
