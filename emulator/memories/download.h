#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "printer/printer_state.h"

namespace taloven::emulator {

// The download commands: "80 90" prepares the image of one memory and tells
// its size and check; "80 91" sends one block of it.
constexpr int kDownloadBlockSize = 4096;
constexpr int kDownloadInfoSize = 52;
constexpr int kDownloadBlockReplySize = 4 + kDownloadBlockSize + 4;

// The fiscal memory's image: the identity block, then one block per
// reduction.
std::string FiscalMemoryImage(const PrinterState& state);
// The basic software's image: a header with version, model and size, the
// firmware, and the CRC-32 of all that.
std::string BasicSoftwareBytes(const std::string& version, const std::string& model,
                               std::string_view firmware);
// This printer's, with firmware bytes of its own.
std::string BasicSoftwareImage(const PrinterState& state);

}  // namespace taloven::emulator
