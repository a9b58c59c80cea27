#include "base/version.h"

namespace taloven {

const char* ProgramVersion() {
  return TALOVEN_VERSION;
}

}  // namespace taloven
