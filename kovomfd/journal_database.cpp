// Journal databases: the selected documents, their lines and the reductions
// among them, in an SQLite 3 file (whatever extension the caller gave it).
#include <sqlite3.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/encoding.h"
#include "call_outcome.h"
#include "journal_file.h"
#include "journal_selection.h"
#include "kovo_mfd.h"
#include "output_file.h"
#include "progress.h"
#include "report_text.h"

namespace kovo {
namespace {

constexpr const char* kSchema = R"sql(
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
PRAGMA locking_mode = EXCLUSIVE;
PRAGMA cache_size = -8192;
CREATE TABLE documentos (
  id INTEGER PRIMARY KEY,
  coo INTEGER NOT NULL,
  tipo INTEGER NOT NULL,
  tipo_nome TEXT NOT NULL,
  usuario INTEGER NOT NULL,
  data TEXT NOT NULL,
  hora TEXT NOT NULL,
  total_centavos INTEGER
);
CREATE TABLE linhas (
  documento INTEGER NOT NULL REFERENCES documentos(id),
  numero INTEGER NOT NULL,
  texto TEXT NOT NULL,
  PRIMARY KEY (documento, numero)
) WITHOUT ROWID;
CREATE TABLE reducoes (
  documento INTEGER NOT NULL REFERENCES documentos(id),
  crz INTEGER,
  coo INTEGER NOT NULL,
  data TEXT NOT NULL,
  venda_bruta_centavos INTEGER,
  grande_total_centavos INTEGER
);
CREATE TABLE danos_ignorados (
  documentos INTEGER NOT NULL,
  bytes INTEGER NOT NULL
);
BEGIN;
)sql";

constexpr const char* kIndexes = R"sql(
CREATE INDEX documentos_coo ON documentos(coo);
CREATE INDEX documentos_data ON documentos(data);
CREATE INDEX reducoes_coo ON reducoes(coo);
CREATE INDEX reducoes_data ON reducoes(data);
COMMIT;
)sql";

const char* KindName(taloven::JournalKind kind) {
  switch (kind) {
    case taloven::JournalKind::kFiscalReceipt:
      return "cupom fiscal";
    case taloven::JournalKind::kReceiptCancellation:
      return "cancelamento de cupom";
    case taloven::JournalKind::kNonFiscal:
      return "comprovante não fiscal";
    case taloven::JournalKind::kXReading:
      return "leitura X";
    case taloven::JournalKind::kZReduction:
      return "redução Z";
    case taloven::JournalKind::kManagementReport:
      return "relatório gerencial";
    case taloven::JournalKind::kUserChange:
      return "alteração de usuário";
    case taloven::JournalKind::kFiscalMemoryReading:
      return "leitura da memória fiscal";
    case taloven::JournalKind::kNonFiscalCancellation:
      return "cancelamento não fiscal";
  }
  return "outro";
}

// value * 10 + the digit; false when that passes 64 bits, which no printed
// amount or counter does: such a number is not taken.
bool AppendDigit(int64_t& value, char digit) {
  return !__builtin_mul_overflow(value, 10, &value) &&
         !__builtin_add_overflow(value, digit - '0', &value);
}

// The amount at the right edge of a printed line ("1.234,56"), in cents.
bool AmountAtEnd(std::string_view line, int64_t& cents) {
  size_t end = line.size();
  while (end > 0 && line[end - 1] == ' ') --end;
  size_t start = end;
  while (start > 0 && (isdigit(static_cast<unsigned char>(line[start - 1])) ||
                       line[start - 1] == '.' || line[start - 1] == ','))
    --start;
  const std::string_view number = line.substr(start, end - start);
  if (number.size() < 4 || number[number.size() - 3] != ',') return false;
  cents = 0;
  for (char c : number)
    if (c >= '0' && c <= '9' && !AppendDigit(cents, c)) return false;
  return true;
}

// The first line of a document that starts with the label, or nothing.
std::string_view LabelledLine(std::string_view lines, std::string_view label) {
  for (size_t at = 0; at < lines.size();) {
    size_t end = lines.find('\n', at);
    if (end == std::string_view::npos) end = lines.size();
    const std::string_view line = lines.substr(at, end - at);
    if (line.substr(0, label.size()) == label) return line;
    at = end + 1;
  }
  return {};
}

// The amount printed after a label, in cents.
bool Labelled(std::string_view lines, std::string_view label, int64_t& cents) {
  const std::string_view line = LabelledLine(lines, label);
  return !line.empty() && AmountAtEnd(line, cents);
}

// The counter printed after a label.
bool Counter(std::string_view lines, std::string_view label, int64_t& value) {
  std::string_view line = LabelledLine(lines, label);
  if (line.empty()) return false;
  line.remove_prefix(label.size());
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  value = 0;
  size_t digits = 0;
  for (; digits < line.size() && line[digits] >= '0' && line[digits] <= '9'; ++digits)
    if (!AppendDigit(value, line[digits])) return false;
  return digits > 0;
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
  ~Statement() { sqlite3_finalize(statement_); }
  bool Ok() const { return statement_ != nullptr; }
  Statement& Int(int at, int64_t value) {
    sqlite3_bind_int64(statement_, at, value);
    return *this;
  }
  Statement& Null(int at) {
    sqlite3_bind_null(statement_, at);
    return *this;
  }
  Statement& Text(int at, std::string_view text) {
    // The text outlives the statement's step, so SQLite need not copy it.
    sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    return *this;
  }
  bool Run() {
    const bool done = sqlite3_step(statement_) == SQLITE_DONE;
    sqlite3_reset(statement_);
    return done;
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

// Printer lines (code page 850) as UTF-8, the text encoding of SQLite.
void ToUtf8(std::string_view cp850, std::string& out) {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> t;
    for (int b = 0; b < 256; ++b) {
      ReportText one;
      one.PrinterLines(std::string(1, static_cast<char>(b)));
      t[static_cast<size_t>(b)] = b == '\n' ? "\n" : taloven::Cp1252ToUtf8(one.Bytes());
    }
    return t;
  }();
  out.clear();
  out.reserve(cp850.size() + cp850.size() / 8);
  for (char c : cp850) {
    if (static_cast<uint8_t>(c) < 0x80 && c != '\0')
      out.push_back(c);
    else
      out += table[static_cast<uint8_t>(c)];
  }
}

std::string IsoDate(std::string_view when) {
  if (when.size() < 8) return std::string(when);
  return std::string(when.substr(4, 4)) + "-" + std::string(when.substr(2, 2)) + "-" +
         std::string(when.substr(0, 2));
}

std::string Time(std::string_view when) {
  if (when.size() < 14) return "";
  return std::string(when.substr(8, 2)) + ":" + std::string(when.substr(10, 2)) + ":" +
         std::string(when.substr(12, 2));
}

// The labels as printed, in code page 850.
const std::string kTotal = "TOTAL R$";
const std::string kCrz = "CONTADOR DE REDU\x80\xC7O Z:";
const std::string kGross = "VENDA BRUTA DI\xB5RIA:";
const std::string kGrandTotal = "TOTALIZADOR GERAL:";

// SQLite's virtual machine steps between looks at the progress: a few
// milliseconds' work.
constexpr int kStepsBetweenLooks = 100000;

int LookAtProgress(void* progress) {
  return static_cast<InputProgress*>(progress)->Look() ? 1 : 0;
}

// The database, filled a document at a time straight into the output's
// temporary file: SQLite keeps no more of it in memory than its page cache.
class DatabaseFile {
 public:
  explicit DatabaseFile(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
      return;
    document_.emplace(db_,
                      "INSERT INTO documentos (id, coo, tipo, tipo_nome, usuario, data, hora, "
                      "total_centavos) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    line_.emplace(db_, "INSERT INTO linhas (documento, numero, texto) VALUES (?, ?, ?)");
    reduction_.emplace(db_,
                       "INSERT INTO reducoes (documento, crz, coo, data, venda_bruta_centavos, "
                       "grande_total_centavos) VALUES (?, ?, ?, ?, ?, ?)");
    ok_ = document_->Ok() && line_->Ok() && reduction_->Ok();
  }
  ~DatabaseFile() {
    document_.reset();
    line_.reset();
    reduction_.reset();
    sqlite3_close(db_);
  }
  DatabaseFile(const DatabaseFile&) = delete;
  DatabaseFile& operator=(const DatabaseFile&) = delete;

  bool Ok() const { return ok_; }
  // The system's reason for the last failure, 0 when SQLite had none.
  int SystemError() const { return db_ ? sqlite3_system_errno(db_) : 0; }

  bool Add(const taloven::JournalEntry& entry) {
    ok_ = ok_ && AddDocument(entry);
    return ok_;
  }

  // The damage row, the indexes and the commit; then the file is complete.
  // The indexes of a large journal take seconds: progress is asked
  // meanwhile, and a cancel interrupts them.
  bool End(uint64_t damagedRecords, uint64_t damagedBytes, InputProgress& progress) {
    if (!ok_) return false;
    sqlite3_progress_handler(db_, kStepsBetweenLooks, LookAtProgress, &progress);
    // One row, also when nothing was skipped, so that a reader can tell a
    // sound journal from a database that does not say.
    Statement damage(db_, "INSERT INTO danos_ignorados (documentos, bytes) VALUES (?, ?)");
    ok_ = damage.Ok() &&
          damage.Int(1, static_cast<int64_t>(damagedRecords))
              .Int(2, static_cast<int64_t>(damagedBytes))
              .Run() &&
          sqlite3_exec(db_, kIndexes, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    return ok_;
  }

 private:
  bool AddDocument(const taloven::JournalEntry& entry) {
    ++id_;
    const std::string date = IsoDate(entry.when);
    const std::string time = Time(entry.when);
    int64_t total = 0;
    Statement& document = *document_;
    document.Int(1, id_).Int(2, entry.coo).Int(3, static_cast<int>(entry.kind));
    document.Text(4, KindName(entry.kind)).Int(5, entry.user);
    document.Text(6, date).Text(7, time);
    if (entry.kind == taloven::JournalKind::kFiscalReceipt && Labelled(entry.lines, kTotal, total))
      document.Int(8, total);
    else
      document.Null(8);
    if (!document.Run()) return false;
    ToUtf8(entry.lines, text_);
    int number = 0;
    for (size_t at = 0; at < text_.size();) {
      size_t end = text_.find('\n', at);
      if (end == std::string::npos) end = text_.size();
      if (!line_->Int(1, id_)
               .Int(2, ++number)
               .Text(3, std::string_view(text_).substr(at, end - at))
               .Run())
        return false;
      at = end + 1;
    }
    if (entry.kind != taloven::JournalKind::kZReduction) return true;
    Statement& reduction = *reduction_;
    int64_t crz = 0, gross = 0, grandTotal = 0;
    reduction.Int(1, id_);
    if (Counter(entry.lines, kCrz, crz))
      reduction.Int(2, crz);
    else
      reduction.Null(2);
    reduction.Int(3, entry.coo).Text(4, date);
    if (Labelled(entry.lines, kGross, gross))
      reduction.Int(5, gross);
    else
      reduction.Null(5);
    if (Labelled(entry.lines, kGrandTotal, grandTotal))
      reduction.Int(6, grandTotal);
    else
      reduction.Null(6);
    return reduction.Run();
  }

  sqlite3* db_ = nullptr;
  std::optional<Statement> document_, line_, reduction_;
  bool ok_ = false;
  int64_t id_ = 0;
  std::string text_;
};

int WriteDatabase(const char* mfdPath, const char* outputPath, const JournalSelection& selection) {
  if (outputPath == nullptr || *outputPath == '\0') return KOVO_MDB_NOT_OPENED;
  JournalFile journal;
  const int loaded = journal.Open(mfdPath);
  if (loaded != KOVO_OK) return loaded;
  // Made at the first document taken: an empty selection writes nothing.
  OutputFile output(outputPath, KOVO_MDB_NOT_OPENED);
  // After the output, so that a database given up is closed before its
  // temporary file is removed.
  std::optional<DatabaseFile> database;
  bool written = true;
  InputProgress progress(static_cast<long long>(journal.Size()));
  const bool read = journal.ForEach(selection, progress, [&](const taloven::JournalEntry& entry) {
    if (!database) {
      if (!output.Open()) return written = false;
      database.emplace(output.TemporaryPath());
    }
    written = database->Add(entry);
    return written;
  });
  if (written && read && database)
    written = database->End(journal.DamagedRecords(), journal.DamagedBytes(), progress);
  if (progress.Cancelled() || (read && written && progress.Whole())) return KOVO_NOT_EXECUTED;
  if (!written) {
    output.Fail(database ? database->SystemError() : 0);
    return output.Finish();
  }
  if (!read || !database) return KOVO_NO_VALID_DATA;
  database.reset();
  return output.Finish();
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoGeraMdbTotal(const char* mfdPath, const char* outputPath) {
  return kovo::Guarded(KOVO_NO_VALID_DATA,
                       [&] { return kovo::WriteDatabase(mfdPath, outputPath, {}); });
}

extern "C" KOVO_API int KovoGeraMdbPorData(const char* mfdPath, const char* outputPath,
                                           const char* startDate, const char* endDate) {
  return kovo::Guarded(KOVO_NO_VALID_DATA, [&] {
    kovo::JournalSelection selection;
    if (!kovo::SelectDates(startDate, endDate, selection)) return KOVO_INVALID_DATE;
    return kovo::WriteDatabase(mfdPath, outputPath, selection);
  });
}

extern "C" KOVO_API int KovoGeraMdbPorCOO(const char* mfdPath, const char* outputPath, int user,
                                          int firstCoo, int lastCoo) {
  return kovo::Guarded(KOVO_NO_VALID_DATA, [&] {
    return kovo::WriteDatabase(mfdPath, outputPath,
                               kovo::SelectUserAndCoos(user, firstCoo, lastCoo));
  });
}
