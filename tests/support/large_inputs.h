#pragma once

// Journals and fiscal memories far larger than a test's printer makes, for
// the tools that read files from the field: a month of the virtual
// printer's sales over and over. For tests that link the virtual printer.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/mf_image.h"
#include "formats/mfd_file.h"
#include "memories/download.h"
#include "printer/printer_state.h"
#include "printer/simulation.h"

namespace taloven::testing {

// body repeated after head until the file holds bytes, then tail.
inline void WriteRepeated(const std::filesystem::path& path, const std::string& head,
                          const std::string& body, const std::string& tail, size_t bytes) {
  std::ofstream out(path, std::ios::binary);
  out << head;
  for (size_t written = head.size(); written < bytes; written += body.size()) out << body;
  out << tail;
}

// An MFD file and an MF image of about bytes each. Each round's COOs and
// reduction counters start again, as a diagnosis of the report finds.
inline void WriteLargeMemories(const std::filesystem::path& mfd, const std::filesystem::path& mf,
                               size_t bytes) {
  constexpr int64_t kFirstDay = 1796637600;  // 7 December 2026, 10:00 UTC
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 30, kFirstDay);
  const std::string empty = MfdFileBytes(state.serialNumber, "");
  WriteRepeated(mfd, empty.substr(0, kMfdHeaderBytes), state.journal, empty.substr(kMfdHeaderBytes),
                bytes);
  const std::string image = emulator::FiscalMemoryImage(state);
  WriteRepeated(mf, image.substr(0, kMfBlockSize), image.substr(kMfBlockSize), "", bytes);
}

}  // namespace taloven::testing
