/* The C interface of the fiscal-memory libraries KovoMFD.so and KovoMFD2.so.
 * Programs load them at run time and look the functions up by name; texts
 * are 8-bit (Windows-1252) strings ending in a NUL byte. */
#ifndef KOVO_MFD_H
#define KOVO_MFD_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KOVO_LIBRARY_NAME)
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

#ifdef __cplusplus
}
#endif

#endif
