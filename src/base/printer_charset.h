#pragma once

#include <cstdint>
#include <string>

namespace taloven {

// Windows-1252 to the printer's code page 850, for the 47 accented
// characters the printer knows; every other byte passes unchanged.
void ToPrinterCharset(std::string& text);
// The inverse over the same 47 characters, up to the first zero byte.
void PrinterTextToWindows(std::string& text);
// The reply-text table for variable-length replies (bytes from 0x60 up).
char ReplyTextByte(uint8_t byte);

}  // namespace taloven
