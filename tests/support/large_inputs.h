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

// When the month of sales starts: 7 December 2026, 10:00 UTC.
constexpr int64_t kLargeInputsFirstDay = 1796637600;

// An MFD file and an MF image of about bytes each, and the printer whose
// month they repeat. Each round's COOs and reduction counters start again,
// as a diagnosis of the report finds.
inline emulator::PrinterState WriteLargeMemories(const std::filesystem::path& mfd,
                                                 const std::filesystem::path& mf, size_t bytes) {
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 30, kLargeInputsFirstDay);
  const std::string empty = MfdFileBytes(state.serialNumber, "");
  WriteRepeated(mfd, empty.substr(0, kMfdHeaderBytes), state.journal, empty.substr(kMfdHeaderBytes),
                bytes);
  const std::string image = emulator::FiscalMemoryImage(state);
  WriteRepeated(mf, image.substr(0, kMfBlockSize), image.substr(kMfBlockSize), "", bytes);
  return state;
}

}  // namespace taloven::testing
