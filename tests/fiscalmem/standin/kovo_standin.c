/* A stand-in for the fiscal-memory libraries in the tests of the programs
 * that load them. Every call, and the unloading, is appended as one line to
 * the file named by $KOVO_STANDIN_LOG: the function's name and its arguments
 * separated by '|'. $KOVO_STANDIN_RESULTS lists the results of the calls in
 * order, separated by commas (1 for the calls beyond the list). Output files
 * are written unless $KOVO_STANDIN_NO_OUTPUT is set. Written in C so that
 * nothing keeps it loaded once it is freed. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kovo_mfd.h"

static int calls = 0;
static KovoProgressCallback progress = NULL;

static void Log(const char* format, ...) {
  const char* path = getenv("KOVO_STANDIN_LOG");
  if (!path) return;
  FILE* log = fopen(path, "a");
  if (!log) return;
  va_list args;
  va_start(args, format);
  vfprintf(log, format, args);
  va_end(args);
  fputc('\n', log);
  fclose(log);
}

static int NextResult(void) {
  const char* list = getenv("KOVO_STANDIN_RESULTS");
  int index = calls++;
  while (list && index > 0) {
    list = strchr(list, ',');
    if (list) ++list;
    --index;
  }
  return list && *list ? atoi(list) : KOVO_OK;
}

static int Output(const char* path) {
  if (!getenv("KOVO_STANDIN_NO_OUTPUT")) {
    FILE* file = fopen(path, "wb");
    if (file) {
      fputs(KOVO_LIBRARY_NAME, file);
      fclose(file);
    }
  }
  return NextResult();
}

static int Download(const char* path) {
  if (progress) {
    progress(512, 1024);
    progress(1024, 1024);
  }
  return Output(path);
}

__attribute__((destructor)) static void Unloaded(void) {
  Log("unloaded " KOVO_LIBRARY_NAME);
}

KOVO_API int KovoVersaoDll(char* buffer) {
  if (!buffer) return -1;
  strcpy(buffer, "9,9,9,9");
  return 7;
}

KOVO_API void KovoSetProgress(KovoProgressCallback callback) {
  Log("KovoSetProgress|%s", callback ? "set" : "null");
  progress = callback;
}

KOVO_API int KovoDownloadMF(const char* port, const char* out) {
  Log("KovoDownloadMF|%s|%s", port, out);
  return Download(out);
}

KOVO_API int KovoDownloadSB(const char* port, const char* out) {
  Log("KovoDownloadSB|%s|%s", port, out);
  return Download(out);
}

KOVO_API int KovoDownloadMFD(const char* port, const char* out, const char* type, const char* start,
                             const char* end, const char* user) {
  Log("KovoDownloadMFD|%s|%s|%s|%s|%s|%s", port, out, type, start, end, user);
  return Download(out);
}

#define BY_TOTAL(name)                                  \
  KOVO_API int name(const char* mfd, const char* out) { \
    Log(#name "|%s|%s", mfd, out);                      \
    return Output(out);                                 \
  }
#define BY_DATE(name)                                                                       \
  KOVO_API int name(const char* mfd, const char* out, const char* start, const char* end) { \
    Log(#name "|%s|%s|%s|%s", mfd, out, start, end);                                        \
    return Output(out);                                                                     \
  }
#define BY_COO(name)                                                                   \
  KOVO_API int name(const char* mfd, const char* out, int user, int first, int last) { \
    Log(#name "|%s|%s|%d|%d|%d", mfd, out, user, first, last);                         \
    return Output(out);                                                                \
  }
BY_TOTAL(KovoGeraTxtTotal)
BY_TOTAL(KovoGeraMdbTotal)
BY_DATE(KovoGeraTxtPorData)
BY_DATE(KovoGeraMdbPorData)
BY_COO(KovoGeraTxtPorCOO)
BY_COO(KovoGeraMdbPorCOO)

KOVO_API int KovoRelatorioMFTxt(const char* mf, const char* out, const char* type,
                                const char* start, const char* end) {
  Log("KovoRelatorioMFTxt|%s|%s|%s|%s|%s", mf, out, type, start, end);
  return Output(out);
}

KOVO_API int KovoOpenPdf417ToMfd(const char* out) {
  Log("KovoOpenPdf417ToMfd|%s", out);
  return Output(out);
}

KOVO_API int KovoAddBmpFile(const char* bitmap) {
  Log("KovoAddBmpFile|%s", bitmap);
  return NextResult();
}

KOVO_API int KovoClosePdf417ToMfd(void) {
  Log("KovoClosePdf417ToMfd");
  return NextResult();
}

/* $KOVO_STANDIN_MISSING: the symbols the set lacks (-1, unknown, without it). */
KOVO_API int KovoSimbolosFaltantes(void) {
  const char* missing = getenv("KOVO_STANDIN_MISSING");
  return missing && *missing ? atoi(missing) : -1;
}

KOVO_API int KovoDescartaPdf417ToMfd(void) {
  Log("KovoDescartaPdf417ToMfd");
  return KOVO_OK;
}

/* $KOVO_STANDIN_DAMAGE: "parts,bytes" skipped by every call. */
KOVO_API void KovoDanosIgnorados(long long* parts, long long* bytes) {
  const char* damage = getenv("KOVO_STANDIN_DAMAGE");
  *parts = 0;
  *bytes = 0;
  if (damage && *damage) sscanf(damage, "%lld,%lld", parts, bytes);
}

/* $KOVO_STANDIN_WRITE_ERROR: the reason every call failed to write. */
KOVO_API int KovoErroDeGravacao(char* buffer, int size) {
  const char* reason = getenv("KOVO_STANDIN_WRITE_ERROR");
  if (!reason || size <= 0) return 0;
  snprintf(buffer, (size_t)size, "%s", reason);
  return (int)strlen(buffer);
}
