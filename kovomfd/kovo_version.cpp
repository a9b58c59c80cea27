#include <cstring>

#include "kovo_mfd.h"

static_assert(sizeof(KOVO_VERSION_TEXT) <= KOVO_VERSION_BUFFER_SIZE,
              "the version text must fit the caller's buffer");

extern "C" int KovoVersaoDll(char* buffer) {
  if (buffer == nullptr) return -1;
  std::memcpy(buffer, KOVO_VERSION_TEXT, sizeof(KOVO_VERSION_TEXT));
  return static_cast<int>(sizeof(KOVO_VERSION_TEXT) - 1);
}
