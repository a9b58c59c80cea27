/* The plainest program that fills a journal database: the rows, already
 * taken apart, read from a file and inserted with one prepared statement a
 * table in one transaction, into the same tables and indexes under the same
 * settings. What the library spends beyond it is the cost of reading the MFD
 * file and taking its documents apart.
 *
 * journal_db_reference ROWS DATABASE
 *
 * ROWS holds one row after another: the table's letter (d documentos,
 * l linhas, r reducoes, x danos_ignorados), then each column as a type byte
 * (0 NULL, 1 a 64-bit integer in the machine's order, 2 a text: its 32-bit
 * length, then its bytes). */
#include <sqlite3.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char* const kSchema =
    "PRAGMA journal_mode = OFF;"
    "PRAGMA synchronous = OFF;"
    "PRAGMA locking_mode = EXCLUSIVE;"
    "PRAGMA cache_size = -8192;"
    "CREATE TABLE documentos (id INTEGER PRIMARY KEY, coo INTEGER NOT NULL,"
    " tipo INTEGER NOT NULL, tipo_nome TEXT NOT NULL, usuario INTEGER NOT NULL,"
    " data TEXT NOT NULL, hora TEXT NOT NULL, total_centavos INTEGER);"
    "CREATE TABLE linhas (documento INTEGER NOT NULL REFERENCES documentos(id),"
    " numero INTEGER NOT NULL, texto TEXT NOT NULL, PRIMARY KEY (documento, numero))"
    " WITHOUT ROWID;"
    "CREATE TABLE reducoes (documento INTEGER NOT NULL REFERENCES documentos(id),"
    " crz INTEGER, coo INTEGER NOT NULL, data TEXT NOT NULL, venda_bruta_centavos INTEGER,"
    " grande_total_centavos INTEGER);"
    "CREATE TABLE danos_ignorados (documentos INTEGER NOT NULL, bytes INTEGER NOT NULL);"
    "BEGIN;";

static const char* const kIndexes =
    "CREATE INDEX documentos_coo ON documentos(coo);"
    "CREATE INDEX documentos_data ON documentos(data);"
    "CREATE INDEX reducoes_coo ON reducoes(coo);"
    "CREATE INDEX reducoes_data ON reducoes(data);"
    "COMMIT;";

static const struct {
  char letter;
  int columns;
  const char* sql;
} kTables[] = {
    {'d', 8,
     "INSERT INTO documentos (id, coo, tipo, tipo_nome, usuario, data, hora, total_centavos)"
     " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"},
    {'l', 3, "INSERT INTO linhas (documento, numero, texto) VALUES (?, ?, ?)"},
    {'r', 6,
     "INSERT INTO reducoes (documento, crz, coo, data, venda_bruta_centavos,"
     " grande_total_centavos) VALUES (?, ?, ?, ?, ?, ?)"},
    {'x', 2, "INSERT INTO danos_ignorados (documentos, bytes) VALUES (?, ?)"},
};
enum { kTableCount = sizeof kTables / sizeof kTables[0] };

static int Fail(sqlite3* db, const char* what) {
  fprintf(stderr, "journal_db_reference: %s: %s\n", what, db ? sqlite3_errmsg(db) : "");
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "use: journal_db_reference ROWS DATABASE\n");
    return 1;
  }
  FILE* rows = fopen(argv[1], "rb");
  if (!rows) return Fail(NULL, argv[1]);
  remove(argv[2]);
  sqlite3* db = NULL;
  if (sqlite3_open(argv[2], &db) != SQLITE_OK) return Fail(db, "open");
  if (sqlite3_exec(db, kSchema, NULL, NULL, NULL) != SQLITE_OK) return Fail(db, "schema");
  sqlite3_stmt* statements[kTableCount];
  for (int t = 0; t < kTableCount; ++t)
    if (sqlite3_prepare_v2(db, kTables[t].sql, -1, &statements[t], NULL) != SQLITE_OK)
      return Fail(db, "prepare");

  /* A buffer a column: a row's texts stand until its insert is done. */
  char* text[8] = {NULL};
  size_t textRoom[8] = {0};
  int letter;
  while ((letter = fgetc(rows)) != EOF) {
    int t = 0;
    while (t < kTableCount && kTables[t].letter != letter) ++t;
    if (t == kTableCount) return Fail(NULL, "unknown table");
    sqlite3_stmt* statement = statements[t];
    for (int c = 1; c <= kTables[t].columns; ++c) {
      const int type = fgetc(rows);
      if (type == 0) {
        sqlite3_bind_null(statement, c);
      } else if (type == 1) {
        int64_t value;
        if (fread(&value, sizeof value, 1, rows) != 1) return Fail(NULL, "short row");
        sqlite3_bind_int64(statement, c, value);
      } else {
        uint32_t length;
        if (fread(&length, sizeof length, 1, rows) != 1) return Fail(NULL, "short row");
        if (length >= textRoom[c - 1]) {
          textRoom[c - 1] = length * 2 + 1;
          text[c - 1] = realloc(text[c - 1], textRoom[c - 1]);
          if (!text[c - 1]) return Fail(NULL, "memory");
        }
        if (length > 0 && fread(text[c - 1], 1, length, rows) != length)
          return Fail(NULL, "short row");
        sqlite3_bind_text(statement, c, text[c - 1], (int)length, SQLITE_STATIC);
      }
    }
    if (sqlite3_step(statement) != SQLITE_DONE) return Fail(db, "insert");
    sqlite3_reset(statement);
  }
  if (sqlite3_exec(db, kIndexes, NULL, NULL, NULL) != SQLITE_OK) return Fail(db, "indexes");
  for (int t = 0; t < kTableCount; ++t) sqlite3_finalize(statements[t]);
  for (int c = 0; c < 8; ++c) free(text[c]);
  fclose(rows);
  return sqlite3_close(db) == SQLITE_OK ? 0 : Fail(db, "close");
}
