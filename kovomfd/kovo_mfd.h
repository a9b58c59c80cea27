/* The C interface of the fiscal-memory libraries KovoMFD.so and KovoMFD2.so.
 * Programs load them at run time and look the functions up by name; texts
 * are 8-bit (Windows-1252) strings ending in a NUL byte. */
#ifndef KOVO_MFD_H
#define KOVO_MFD_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KOVO_BUILDING_LIBRARY)
#define KOVO_API __attribute__((visibility("default")))
#else
#define KOVO_API
#endif

/* Bytes the caller's buffer for KovoVersaoDll must hold, the final NUL
 * included. The version text never needs more. */
#define KOVO_VERSION_BUFFER_SIZE 32

/* Writes the library's version, parts separated by commas (e.g. "1,4,0,7"),
 * into buffer, which holds KOVO_VERSION_BUFFER_SIZE bytes. Returns the length
 * of the text, or -1 when buffer is NULL. */
KOVO_API int KovoVersaoDll(char* buffer);
typedef int (*KovoVersaoDllFunction)(char* buffer);

/* Results of every other export. Any value outside 2 to 7 counts as success
 * for the callers; the library itself returns KOVO_OK for success. No export
 * lets an exception out: a failure the library did not foresee (memory
 * running out) ends the call with 6 when it read a file, else 7. */
#define KOVO_OK 1
#define KOVO_NO_SERIAL_NUMBER 2 /* "Arquivo mfd sem número de série." */
#define KOVO_INVALID_DATE 3     /* "Data inválida." */
#define KOVO_TXT_NOT_OPENED 4   /* "Não foi possível abrir o arquivo .txt" */
#define KOVO_MDB_NOT_OPENED 5   /* "Não foi possível abrir o arquivo .mdb" */
#define KOVO_NO_VALID_DATA 6    /* "Arquivos sem dados válidos." */
#define KOVO_NOT_EXECUTED 7     /* "Comando não executado." */
/* KovoAddBmpFile only: the bitmap was left out, the others still go in. */
#define KOVO_BMP_NO_SYMBOL 8
#define KOVO_BMP_OTHER_SET 9
#define KOVO_BMP_REPEATED 10

/* Downloads from the printer on portName ("COM1:".."COM8:", a device path,
 * "USB" or "FILE") into outputPath. */
KOVO_API int KovoDownloadMF(const char* portName, const char* outputPath);
typedef int (*KovoDownloadMFFunction)(const char* portName, const char* outputPath);
/* type "0" all, "1" dates (DDMMYY, user ""), "2" COOs ("%06ld", user "%03d"). */
KOVO_API int KovoDownloadMFD(const char* portName, const char* outputPath, const char* type,
                             const char* start, const char* end, const char* user);
typedef int (*KovoDownloadMFDFunction)(const char* portName, const char* outputPath,
                                       const char* type, const char* start, const char* end,
                                       const char* user);
KOVO_API int KovoDownloadSB(const char* portName, const char* outputPath);
typedef int (*KovoDownloadSBFunction)(const char* portName, const char* outputPath);

/* Journal reports (text) and databases from an MFD file. */
KOVO_API int KovoGeraTxtTotal(const char* mfdPath, const char* outputPath);
typedef int (*KovoGeraTxtTotalFunction)(const char* mfdPath, const char* outputPath);
KOVO_API int KovoGeraMdbTotal(const char* mfdPath, const char* outputPath);
typedef int (*KovoGeraMdbTotalFunction)(const char* mfdPath, const char* outputPath);
KOVO_API int KovoGeraTxtPorData(const char* mfdPath, const char* outputPath, const char* startDate,
                                const char* endDate);
typedef int (*KovoGeraTxtPorDataFunction)(const char* mfdPath, const char* outputPath,
                                          const char* startDate, const char* endDate);
KOVO_API int KovoGeraMdbPorData(const char* mfdPath, const char* outputPath, const char* startDate,
                                const char* endDate);
typedef int (*KovoGeraMdbPorDataFunction)(const char* mfdPath, const char* outputPath,
                                          const char* startDate, const char* endDate);
KOVO_API int KovoGeraTxtPorCOO(const char* mfdPath, const char* outputPath, int user, int firstCoo,
                               int lastCoo);
typedef int (*KovoGeraTxtPorCOOFunction)(const char* mfdPath, const char* outputPath, int user,
                                         int firstCoo, int lastCoo);
KOVO_API int KovoGeraMdbPorCOO(const char* mfdPath, const char* outputPath, int user, int firstCoo,
                               int lastCoo);
typedef int (*KovoGeraMdbPorCOOFunction)(const char* mfdPath, const char* outputPath, int user,
                                         int firstCoo, int lastCoo);

/* The fiscal-memory reading report: type "C" by reduction counter, "D" by
 * date; lower case for the simplified reading. */
KOVO_API int KovoRelatorioMFTxt(const char* mfPath, const char* textPath, const char* type,
                                const char* start, const char* end);
typedef int (*KovoRelatorioMFTxtFunction)(const char* mfPath, const char* textPath,
                                          const char* type, const char* start, const char* end);

/* An MFD file built from PDF-417 symbol bitmaps: open, one add per bitmap,
 * close. */
KOVO_API int KovoOpenPdf417ToMfd(const char* mfdPath);
typedef int (*KovoOpenPdf417ToMfdFunction)(const char* mfdPath);
KOVO_API int KovoAddBmpFile(const char* bitmapPath);
typedef int (*KovoAddBmpFileFunction)(const char* bitmapPath);
KOVO_API int KovoClosePdf417ToMfd(void);
typedef int (*KovoClosePdf417ToMfdFunction)(void);
/* Between open and close: how many symbols of the set no bitmap has given
 * yet (0 when the set is complete), or -1 when no set is open or no symbol
 * of it was added, so that its size is still unknown. */
KOVO_API int KovoSimbolosFaltantes(void);
typedef int (*KovoSimbolosFaltantesFunction)(void);
/* Drops the set being collected without writing anything. */
KOVO_API int KovoDescartaPdf417ToMfd(void);
typedef int (*KovoDescartaPdf417ToMfdFunction)(void);

/* What the last call of the calling thread left out as damaged: journal
 * records that failed their check (KovoGeraTxt*, KovoGeraMdb*) or fiscal-
 * memory blocks (KovoRelatorioMFTxt), and the bytes they took. Both 0 after
 * a call that skipped nothing. The damage is the whole file's: records too
 * damaged to read have no date, COO or owner to be selected by. */
KOVO_API void KovoDanosIgnorados(long long* parts, long long* bytes);
typedef void (*KovoDanosIgnoradosFunction)(long long* parts, long long* bytes);
/* When the last call of the calling thread failed to write its output file,
 * copies the system's reason into buffer (size bytes, NUL ended) and returns
 * its length; 0 when no output failed to be written. */
KOVO_API int KovoErroDeGravacao(char* buffer, int size);
typedef int (*KovoErroDeGravacaoFunction)(char* buffer, int size);

/* Not every library has it: callers look it up and do without it. The
 * callback gets the bytes done and the total of a download as it goes on
 * (both 0 while a network connection is being made), and again with the
 * same figures every fifth of a second or so while the download waits on
 * the printer (0 of a total of 0 before the size is known). A report,
 * database or fiscal-memory reading tells it the bytes of its input file
 * used and the file's size about every tenth of a second, and the whole at
 * its end. Returning non-zero cancels the work, which then ends with
 * KOVO_NOT_EXECUTED and leaves no output file (an earlier one stays as it
 * was). NULL removes the callback. */
typedef int (*KovoProgressCallback)(long long done, long long total);
KOVO_API void KovoSetProgress(KovoProgressCallback callback);
typedef void (*KovoSetProgressFunction)(KovoProgressCallback callback);

#ifdef __cplusplus
}
#endif

#endif
