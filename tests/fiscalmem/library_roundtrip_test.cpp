// The fiscal-memory library loaded by name, as the application loads it,
// against the virtual printer's memories.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "base/atomic_file.h"
#include "emulator/emulator_process.h"
#include "fiscalmem/fiscal_memory_library.h"
#include "formats/journal_record.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"
#include "link/serial_port.h"
#include "memories/memory_files.h"
#include "printer/state_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;
using testing::ReadFileBytes;
using testing::TempDirectory;

constexpr uint32_t kFirstLibraryMask = 0x2000;

// A printer with three days of sales in its memories, shared by the tests.
class LibraryRoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = new TempDirectory;
    const std::string command =
        std::string(TALOVEN_EMULATOR_PATH) + " --state " + StatePath() + " --simulate-days 3";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() {
    delete directory_;
    directory_ = nullptr;
  }
  static std::string StatePath() { return (directory_->Path() / "printer.state").string(); }
  static std::string Path(const std::string& name) { return (directory_->Path() / name).string(); }

  std::unique_ptr<EmulatorProcess> StartPrinter(std::vector<std::string> extra = {},
                                                const std::string& errorLog = "") {
    std::vector<std::string> arguments = {"--pty", "--link", Path("tty"), "--state", StatePath()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return std::make_unique<EmulatorProcess>(arguments, std::vector<std::string>{}, errorLog);
  }

  static std::string Journal() { return ReadFileBytes(emulator::JournalFilePath(StatePath())); }

  FiscalMemoryLibrary library_{kFirstLibraryMask};

 private:
  static TempDirectory* directory_;
};

TempDirectory* LibraryRoundTrip::directory_ = nullptr;

std::vector<uint32_t> CoosOf(std::string_view payload) {
  std::vector<uint32_t> coos;
  for (const JournalEntry& e : ScanJournal(payload).entries) coos.push_back(e.coo);
  return coos;
}

// The COO of every document of a text report, from its "COO:" lines.
std::vector<uint32_t> ReportedCoos(const std::string& report) {
  std::vector<uint32_t> coos;
  static const std::regex kCoo(" COO:(\\d{6})\r\n");
  for (auto it = std::sregex_iterator(report.begin(), report.end(), kCoo);
       it != std::sregex_iterator(); ++it)
    coos.push_back(static_cast<uint32_t>(std::stoul((*it)[1])));
  return coos;
}

std::string PayloadOf(const std::string& mfdPath) {
  static std::string bytes;
  bytes = ReadFileBytes(mfdPath);
  MfdContents contents;
  if (!ParseMfdFile(bytes, contents)) return "not an MFD file";
  return std::string(contents.payload);
}

long long progressDone = 0, progressTotal = 0;
int RecordProgress(long long done, long long total) {
  progressDone = done;
  progressTotal = total;
  return 0;
}

TEST_F(LibraryRoundTrip, DownloadedJournalGivesEveryDocumentInItsReport) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto report = library_.Find<KovoGeraTxtTotalFunction>("KovoGeraTxtTotal");
  auto setProgress = library_.Find<KovoSetProgressFunction>("KovoSetProgress");
  ASSERT_TRUE(download && report && setProgress);
  auto printer = StartPrinter();
  setProgress(RecordProgress);
  ASSERT_EQ(download(Path("tty").c_str(), Path("all.mfd").c_str(), "0", "", "", ""), KOVO_OK);
  setProgress(nullptr);
  const std::string journal = Journal();
  EXPECT_EQ(PayloadOf(Path("all.mfd")), journal);
  EXPECT_EQ(progressDone, static_cast<long long>(journal.size()));
  EXPECT_EQ(progressTotal, progressDone);

  ASSERT_EQ(report(Path("all.mfd").c_str(), Path("all.txt").c_str()), KOVO_OK);
  const std::string text = ReadFileBytes(Path("all.txt"));
  EXPECT_EQ(ReportedCoos(text), CoosOf(journal));
  EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1) << "CR LF line ends";
  EXPECT_NE(text.find("       REDU\xC7\xC3O Z        "), std::string::npos) << "Windows-1252";
  const size_t fab = text.find("FAB:");
  ASSERT_NE(fab, std::string::npos);
  EXPECT_EQ(text[fab + 30], '/') << "date at +28";
  EXPECT_EQ(text[fab + 41], ':') << "time at +39";
}

TEST_F(LibraryRoundTrip, PrinterAndReportSelectTheSameDocuments) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto byCoo = library_.Find<KovoGeraTxtPorCOOFunction>("KovoGeraTxtPorCOO");
  auto byDate = library_.Find<KovoGeraTxtPorDataFunction>("KovoGeraTxtPorData");
  auto printer = StartPrinter();
  const std::string journal = Journal();
  const std::vector<JournalEntry> entries = ScanJournal(journal).entries;
  const std::string secondDay(entries.back().when.substr(0, 4));  // DDMM of the last day
  const std::string yy(entries.back().when.substr(6, 2));
  const struct {
    const char* name;
    const char *type, *start, *end, *user;
    std::vector<uint32_t> coos;
  } cases[] = {
      {"COOs", "2", "000005", "000012", "001", {5, 6, 7, 8, 9, 10, 11, 12}},
      {"another user", "2", "000005", "000012", "002", {}},
  };
  for (const auto& c : cases) {
    const std::string out = Path(std::string(c.name) + ".mfd");
    const int result = download(Path("tty").c_str(), out.c_str(), c.type, c.start, c.end, c.user);
    if (c.coos.empty()) {
      EXPECT_EQ(result, KOVO_NO_VALID_DATA) << c.name;
      EXPECT_FALSE(std::filesystem::exists(out)) << c.name;
      continue;
    }
    ASSERT_EQ(result, KOVO_OK) << c.name;
    EXPECT_EQ(CoosOf(PayloadOf(out)), c.coos) << c.name;
    ASSERT_EQ(byCoo(out.c_str(), Path("coo.txt").c_str(), 1, 5, 12), KOVO_OK);
    EXPECT_EQ(ReportedCoos(ReadFileBytes(Path("coo.txt"))), c.coos) << c.name;
  }

  const std::string day = secondDay + yy;
  ASSERT_EQ(
      download(Path("tty").c_str(), Path("day.mfd").c_str(), "1", day.c_str(), day.c_str(), ""),
      KOVO_OK);
  std::vector<uint32_t> expected;
  for (const JournalEntry& e : entries)
    if (e.when.substr(0, 4) == secondDay) expected.push_back(e.coo);
  EXPECT_EQ(CoosOf(PayloadOf(Path("day.mfd"))), expected);
  ASSERT_EQ(byDate(Path("day.mfd").c_str(), Path("day.txt").c_str(), day.c_str(), day.c_str()),
            KOVO_OK);
  EXPECT_EQ(ReportedCoos(ReadFileBytes(Path("day.txt"))), expected);
}

TEST_F(LibraryRoundTrip, EveryKindOfPortCarriesTheDownload) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  const std::string drive = Path("drive");
  const std::string socket = Path("usb.socket");
  std::filesystem::create_directories(drive);
  const struct {
    const char* port;
    std::vector<std::string> line;
    const char* variable;
    std::string value;
  } cases[] = {
      {"FILE", {"--file"}, "TALOVEN_DRIVE_C", drive},
      {"USB", {"--usb-socket", socket}, "TALOVEN_USB_SOCKET", socket},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.line;
    arguments.insert(arguments.end(), {"--state", StatePath()});
    EmulatorProcess printer(arguments, {std::string(c.variable) + "=" + c.value});
    ::setenv(c.variable, c.value.c_str(), 1);
    const std::string out = Path(std::string(c.port) + ".mfd");
    EXPECT_EQ(download(c.port, out.c_str(), "0", "", "", ""), KOVO_OK) << c.port;
    ::unsetenv(c.variable);
    EXPECT_EQ(PayloadOf(out), Journal()) << c.port;
  }
}

TEST_F(LibraryRoundTrip, FiscalMemoryReadingAddsUpTheReductions) {
  auto downloadMf = library_.Find<KovoDownloadMFFunction>("KovoDownloadMF");
  auto downloadSb = library_.Find<KovoDownloadSBFunction>("KovoDownloadSB");
  auto reading = library_.Find<KovoRelatorioMFTxtFunction>("KovoRelatorioMFTxt");
  auto printer = StartPrinter();
  ASSERT_EQ(downloadMf(Path("tty").c_str(), Path("a.mf").c_str()), KOVO_OK);
  ASSERT_EQ(downloadSb(Path("tty").c_str(), Path("a.sb").c_str()), KOVO_OK);
  EXPECT_EQ(ReadFileBytes(Path("a.sb")).substr(0, 4), "KVSB");

  emulator::PrinterState state;
  const Status loaded = emulator::LoadStateFile(StatePath(), state);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  ASSERT_EQ(state.zHistory.size(), 3u);
  long long gross = 0;
  for (const auto& z : state.zHistory) gross += z.gross;
  auto money = [](long long cents) {
    std::string whole = std::to_string(cents / 100);
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
      whole.insert(static_cast<size_t>(i), ".");
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ",%02lld", cents % 100);
    return whole + fraction;
  };
  const struct {
    const char *type, *start, *end;
    int reductions;
  } cases[] = {{"C", "000001", "000003", 3},
               {"c", "000002", "000003", 2},
               {"D", "010100", "311279", 3},
               {"d", "010100", "311279", 3}};
  for (const auto& c : cases) {
    ASSERT_EQ(reading(Path("a.mf").c_str(), Path("mf.txt").c_str(), c.type, c.start, c.end),
              KOVO_OK)
        << c.type;
    const std::string text = ReadFileBytes(Path("mf.txt"));
    long long expected = 0;
    for (const auto& z : state.zHistory)
      if (c.reductions == 3 || z.crz >= 2) expected += z.gross;
    const size_t total = text.find("TOTAL DO PER\xCDODO");
    ASSERT_NE(total, std::string::npos) << c.type;
    EXPECT_NE(text.find(money(expected) + "\r\n", total), std::string::npos) << c.type;
    std::smatch counted;
    static const std::regex kCount("\r\nREDU\xC7\xD5\x45S: +([0-9]+)\r\n");
    const std::string period = text.substr(total);
    ASSERT_TRUE(std::regex_search(period, counted, kCount)) << c.type;
    EXPECT_EQ(counted[1], std::to_string(c.reductions)) << c.type;
  }
  EXPECT_GT(gross, 0);
}

TEST_F(LibraryRoundTrip, ABlockSpoiltOnTheLineIsAskedAgain) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  // The prepare command and the first block go through; the next two
  // replies arrive with a flipped bit.
  auto printer = StartPrinter({"--fault-corrupt-data", "--fault-after", "2", "--fault-count", "2"});
  ASSERT_EQ(download(Path("tty").c_str(), Path("retried.mfd").c_str(), "0", "", "", ""), KOVO_OK);
  EXPECT_EQ(PayloadOf(Path("retried.mfd")), Journal());
}

// A USB-serial adapter hands the bytes over in bursts, with gaps longer
// than a serial read's pause between two bytes.
TEST_F(LibraryRoundTrip, ALineThatPausesCostsItsPausesAndNoBlockIsAskedTwice) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  const std::string log = Path("gapped.log");
  auto printer = StartPrinter({"--baud", "115200", "--fault-gap", "20/62", "--verbose"}, log);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(
      download(Path("tty").c_str(), Path("gapped.mfd").c_str(), "2", "000001", "000010", "001"),
      KOVO_OK);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  printer.reset();
  const std::string payload = PayloadOf(Path("gapped.mfd"));
  EXPECT_EQ(CoosOf(payload).size(), 10u);

  const size_t blocks = (payload.size() + 4095) / 4096;
  const std::string commands = ReadFileBytes(log);
  auto count = [&](const std::string& line) {
    size_t n = 0;
    for (size_t at = commands.find(line); at != std::string::npos; at = commands.find(line, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("command \"80 90\""), 1u);
  EXPECT_EQ(count("command \"80 91\""), blocks) << "no block asked twice";
  // Replies of ACK, data and two status bytes; 11 bits a byte; a gap after
  // every 62 bytes that more bytes follow.
  const size_t replies[] = {1 + 52 + 2, 1 + 4104 + 2};
  const double lineSeconds =
      static_cast<double>(replies[0] + blocks * replies[1]) * 11 / 115200 +
      0.020 * static_cast<double>((replies[0] - 1) / 62 + blocks * ((replies[1] - 1) / 62));
  std::printf("%zu blocks in %.2f s, line time and gaps %.2f s (%+.1f %%)\n", blocks, took.count(),
              lineSeconds, (took.count() / lineSeconds - 1) * 100);
  // A block asked again would cost a second or more each.
  EXPECT_LT(took.count(), lineSeconds * 1.5);
}

TEST_F(LibraryRoundTrip, APrinterThatStopsLeavesNoFile) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto printer = StartPrinter({"--fault-no-reply", "--fault-after", "3"});
  const std::string out = Path("stopped.mfd");
  EXPECT_EQ(download(Path("tty").c_str(), out.c_str(), "0", "", "", ""), KOVO_NOT_EXECUTED);
  EXPECT_FALSE(std::filesystem::exists(out));
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(Path("")))
    if (entry.path().filename().string().rfind("stopped", 0) == 0) left.push_back(entry.path());
  EXPECT_TRUE(left.empty()) << "no temporary file either";
}

using Clock = std::chrono::steady_clock;
Clock::time_point firstReport, lastReport, cancelledAt;
Clock::duration longestSilence;
bool reported = false;

// Notes how long the library went without asking.
void NoteReport() {
  const Clock::time_point now = Clock::now();
  if (!reported) firstReport = lastReport = now;
  reported = true;
  longestSilence = std::max(longestSilence, now - lastReport);
  lastReport = now;
}

int CancelAfterTheFirstBlock(long long done, long long) {
  NoteReport();
  if (done > 0 && cancelledAt == Clock::time_point()) cancelledAt = Clock::now();
  return done > 0 ? 1 : 0;
}

// The user presses Cancel a little after the work began, whatever the line
// is doing then.
int CancelSoonAfterTheStart(long long, long long) {
  NoteReport();
  if (lastReport - firstReport < std::chrono::milliseconds(300)) return 0;
  if (cancelledAt == Clock::time_point()) cancelledAt = lastReport;
  return 1;
}

// Whatever the line does, the library asks the caller often enough for a
// Cancel to be heard at once, and a cancel ends the work without the
// attempts and patience a failure gets: at once between blocks, else once
// the reply under way has passed or its time is up, so that nothing of it
// is left on the line for the next command to read.
TEST_F(LibraryRoundTrip, ACancelledDownloadEndsSoonLeavesTheLineQuietAndTheOldFileAlone) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto setProgress = library_.Find<KovoSetProgressFunction>("KovoSetProgress");
  using std::chrono::milliseconds;
  const struct {
    const char* name;
    std::vector<std::string> faults;
    KovoProgressCallback callback;
    milliseconds within;
  } cases[] = {
      {"between blocks", {}, CancelAfterTheFirstBlock, milliseconds(500)},
      {"in a block slowed by gaps",
       {"--fault-gap", "500/1024"},
       CancelSoonAfterTheStart,
       milliseconds(3000)},
      // Its reply's time (under 3 s) and a quiet second, where a failure
      // would try twice more.
      {"in a block that stalls",
       {"--fault-stall", "2000"},
       CancelSoonAfterTheStart,
       milliseconds(5000)},
      {"while the printer is silent",
       {"--fault-no-reply"},
       CancelSoonAfterTheStart,
       milliseconds(3000)},
  };
  for (const auto& c : cases) {
    auto printer = StartPrinter(c.faults);
    const std::string out = Path("kept.mfd");
    { std::ofstream(out) << "an earlier download"; }
    reported = false;
    cancelledAt = {};
    longestSilence = {};
    setProgress(c.callback);
    EXPECT_EQ(download(Path("tty").c_str(), out.c_str(), "0", "", "", ""), KOVO_NOT_EXECUTED)
        << c.name;
    const auto late = Clock::now() - cancelledAt;
    setProgress(nullptr);
    ASSERT_NE(cancelledAt, Clock::time_point()) << c.name << ": the library never asked";
    EXPECT_LT(late, c.within) << c.name;
    EXPECT_LT(longestSilence, milliseconds(600)) << c.name;
    EXPECT_EQ(ReadFileBytes(out), "an earlier download") << c.name;
    SerialPort line(Path("tty"));
    ASSERT_NE(line.Open(115200), 0) << c.name;
    uint8_t byte = 0;
    EXPECT_EQ(line.Read(&byte, 1, 800), 0) << c.name << ": the reply goes on after the end";
    line.Close();
  }
}

TEST_F(LibraryRoundTrip, EveryResultCodeHasItsCause) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto total = library_.Find<KovoGeraTxtTotalFunction>("KovoGeraTxtTotal");
  auto byDate = library_.Find<KovoGeraTxtPorDataFunction>("KovoGeraTxtPorData");
  std::string payload;
  AppendJournalRecord(payload, {1, JournalKind::kXReading, 1, "07122026101112", "x COO:000001\n"});
  ASSERT_TRUE(WriteFileAtomically(Path("nameless.mfd"), MfdFileBytes("", payload)).ok());
  ASSERT_TRUE(WriteFileAtomically(Path("good.mfd"), MfdFileBytes("TV1", payload)).ok());
  { std::ofstream(Path("not.mfd")) << "no journal here"; }
  EXPECT_EQ(total(Path("nameless.mfd").c_str(), Path("r.txt").c_str()), KOVO_NO_SERIAL_NUMBER);
  EXPECT_EQ(byDate(Path("good.mfd").c_str(), Path("r.txt").c_str(), "310226", "010326"),
            KOVO_INVALID_DATE);
  EXPECT_EQ(total(Path("good.mfd").c_str(), Path("missing/r.txt").c_str()), KOVO_TXT_NOT_OPENED);
  EXPECT_EQ(total(Path("not.mfd").c_str(), Path("r.txt").c_str()), KOVO_NO_VALID_DATA);
  EXPECT_EQ(download(Path("no-such-line").c_str(), Path("r.mfd").c_str(), "0", "", "", ""),
            KOVO_NOT_EXECUTED);
  EXPECT_EQ(
      download(Path("no-such-line").c_str(), Path("r.mfd").c_str(), "1", "320126", "010226", ""),
      KOVO_INVALID_DATE);
}

// One number a query gives.
int64_t Query(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  int64_t value = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    value = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return value;
}

TEST_F(LibraryRoundTrip, TheDatabaseHoldsWhatTheReportShows) {
  auto download = library_.Find<KovoDownloadMFDFunction>("KovoDownloadMFD");
  auto report = library_.Find<KovoGeraTxtPorCOOFunction>("KovoGeraTxtPorCOO");
  auto database = library_.Find<KovoGeraMdbPorCOOFunction>("KovoGeraMdbPorCOO");
  auto total = library_.Find<KovoGeraMdbTotalFunction>("KovoGeraMdbTotal");
  ASSERT_TRUE(download && report && database && total);
  {
    auto printer = StartPrinter();
    ASSERT_EQ(download(Path("tty").c_str(), Path("db.mfd").c_str(), "0", "", "", ""), KOVO_OK);
  }
  ASSERT_EQ(report(Path("db.mfd").c_str(), Path("db.txt").c_str(), 1, 1, 100), KOVO_OK);
  ASSERT_EQ(database(Path("db.mfd").c_str(), Path("db.mdb").c_str(), 1, 1, 100), KOVO_OK);
  const std::string text = ReadFileBytes(Path("db.txt"));
  size_t lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 1))
    ++lines;
  int64_t receipts = 0;
  static const std::regex kTotal("TOTAL R\\$ +([0-9.]+),([0-9]{2})\r\n");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kTotal);
       it != std::sregex_iterator(); ++it) {
    std::string whole = (*it)[1];
    whole.erase(std::remove(whole.begin(), whole.end(), '.'), whole.end());
    receipts += std::stoll(whole) * 100 + std::stoll((*it)[2]);
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(Path("db.mdb").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  EXPECT_EQ(Query(db, "SELECT COUNT(*) FROM documentos"), 100);
  EXPECT_EQ(Query(db, "SELECT MIN(coo) FROM documentos"), 1);
  EXPECT_EQ(Query(db, "SELECT COUNT(*) FROM linhas"), static_cast<int64_t>(lines));
  EXPECT_EQ(Query(db, "SELECT SUM(total_centavos) FROM documentos"), receipts);
  EXPECT_GT(receipts, 0);
  EXPECT_EQ(Query(db,
                  "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                  "sql LIKE '%(coo)%'"),
            2);
  sqlite3_close(db);

  ASSERT_EQ(total(Path("db.mfd").c_str(), Path("all.mdb").c_str()), KOVO_OK);
  emulator::PrinterState state;
  const Status loaded = emulator::LoadStateFile(StatePath(), state);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  ASSERT_EQ(sqlite3_open_v2(Path("all.mdb").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  EXPECT_EQ(Query(db, "SELECT COUNT(*) FROM reducoes"), 3);
  EXPECT_EQ(Query(db, "SELECT MAX(grande_total_centavos) FROM reducoes"), state.grandTotal);
  sqlite3_close(db);
  EXPECT_EQ(total(Path("db.mfd").c_str(), Path("missing/x.mdb").c_str()), KOVO_MDB_NOT_OPENED);

  // Written again, a database its owner made private stays private.
  namespace fs = std::filesystem;
  fs::permissions(Path("all.mdb"), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(total(Path("db.mfd").c_str(), Path("all.mdb").c_str()), KOVO_OK);
  EXPECT_EQ(fs::status(Path("all.mdb")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(sqlite3_open_v2(Path("all.mdb").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  EXPECT_EQ(Query(db, "SELECT COUNT(*) FROM reducoes"), 3);
  sqlite3_close(db);
}

TEST_F(LibraryRoundTrip, BitmapsOfTheSymbolsGiveBackTheJournal) {
  auto open = library_.Find<KovoOpenPdf417ToMfdFunction>("KovoOpenPdf417ToMfd");
  auto add = library_.Find<KovoAddBmpFileFunction>("KovoAddBmpFile");
  auto close = library_.Find<KovoClosePdf417ToMfdFunction>("KovoClosePdf417ToMfd");
  ASSERT_TRUE(open && add && close);
  // The printer makes the folders it exports into.
  const std::string symbols = Path("symbols");
  const std::string other = Path("other/printer");
  const std::string emulator = TALOVEN_EMULATOR_PATH;
  ASSERT_EQ(
      std::system((emulator + " --state " + StatePath() + " --export-pdf417 " + symbols).c_str()),
      0);
  // Another printer's journal: a set of another size.
  ASSERT_EQ(std::system((emulator + " --state " + Path("other.state") +
                         " --simulate-days 1 --export-pdf417 " + other)
                            .c_str()),
            0);
  std::vector<std::string> bitmaps;
  for (const auto& entry : std::filesystem::directory_iterator(symbols))
    bitmaps.push_back(entry.path().string());
  std::sort(bitmaps.begin(), bitmaps.end());
  const std::string journal = Journal();
  ASSERT_EQ(bitmaps.size(), (journal.size() + 667) / 668);

  ASSERT_EQ(open(Path("all-symbols.mfd").c_str()), KOVO_OK);
  for (auto it = bitmaps.rbegin(); it != bitmaps.rend(); ++it)
    EXPECT_EQ(add(it->c_str()), KOVO_OK) << *it << ": the order read does not matter";
  EXPECT_EQ(add(bitmaps[3].c_str()), KOVO_BMP_REPEATED);
  EXPECT_EQ(add((other + "/symbol_0001.bmp").c_str()), KOVO_BMP_OTHER_SET);
  EXPECT_EQ(add(StatePath().c_str()), KOVO_BMP_NO_SYMBOL);
  ASSERT_EQ(close(), KOVO_OK);
  EXPECT_EQ(PayloadOf(Path("all-symbols.mfd")), journal);
  MfdContents contents;
  const std::string file = ReadFileBytes(Path("all-symbols.mfd"));
  ASSERT_TRUE(ParseMfdFile(file, contents));
  EXPECT_EQ(contents.source, "PDF-417");

  // A symbol never read leaves no gap: the rest move up.
  ASSERT_EQ(open(Path("partial.mfd").c_str()), KOVO_OK);
  for (size_t i = 0; i < bitmaps.size(); ++i)
    EXPECT_EQ(i == 1 ? KOVO_OK : add(bitmaps[i].c_str()), KOVO_OK);
  ASSERT_EQ(close(), KOVO_OK);
  EXPECT_EQ(PayloadOf(Path("partial.mfd")), journal.substr(0, 668) + journal.substr(1336));
  EXPECT_EQ(close(), KOVO_NOT_EXECUTED) << "nothing open";
}

TEST_F(LibraryRoundTrip, ADamagedRecordCostsOnlyItsDocument) {
  auto total = library_.Find<KovoGeraTxtTotalFunction>("KovoGeraTxtTotal");
  std::string journal = Journal();
  std::vector<uint32_t> coos = CoosOf(journal);
  const std::vector<JournalEntry> entries = ScanJournal(journal).entries;
  const size_t tenth = static_cast<size_t>(entries[9].lines.data() - journal.data());
  journal[tenth + 20] ^= 0x01;
  ASSERT_TRUE(WriteFileAtomically(Path("damaged.mfd"), MfdFileBytes("TV1", journal)).ok());
  ASSERT_EQ(total(Path("damaged.mfd").c_str(), Path("damaged.txt").c_str()), KOVO_OK);
  coos.erase(coos.begin() + 9);
  EXPECT_EQ(ReportedCoos(ReadFileBytes(Path("damaged.txt"))), coos);
}

}  // namespace
}  // namespace taloven
