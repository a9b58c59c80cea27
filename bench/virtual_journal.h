#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "formats/mfd_file.h"
#include "memories/download.h"
#include "printer/printer_state.h"
#include "printer/simulation.h"

// Inputs for the measurements made by the virtual printer, and the programs
// run on them as a user runs them, each measured alone.
namespace taloven::bench {

// Days of the virtual printer's sales until the journal holds bytes; its
// MFD file and fiscal-memory image are written to mfdPath and mfPath.
inline void WriteVirtualMemories(uint64_t bytes, const std::string& mfdPath,
                                 const std::string& mfPath = "") {
  constexpr int64_t kFirstDay = 1796637600;  // 7 December 2026, 10:00 UTC
  constexpr int kDaysAtOnce = 30;
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  for (int64_t day = kFirstDay; state.journal.size() < bytes; day += kDaysAtOnce * 86400)
    emulator::SimulateDays(state, kDaysAtOnce, day);
  std::ofstream(mfdPath, std::ios::binary) << MfdFileBytes(state.serialNumber, state.journal);
  if (!mfPath.empty())
    std::ofstream(mfPath, std::ios::binary) << emulator::FiscalMemoryImage(state);
}

struct ChildRun {
  int status = -1;
  double cpuSeconds = 0;  // user and system
  double peakMiB = 0;     // resident
};

// Runs program with arguments (standard output to out) and measures it alone.
inline ChildRun RunChild(const std::vector<std::string>& command,
                         const std::string& out = "/dev/null") {
  ChildRun run;
  // The child's freopen would write what this process holds unwritten a
  // second time.
  std::fflush(stdout);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!std::freopen(out.c_str(), "w", stdout)) _exit(126);
    ::setenv("TALOVEN_SYSTEM_DIR", TALOVEN_LIBRARY_DIR, 1);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

// taloven-cli with the working directory and model of the measurements.
inline std::vector<std::string> Cli(const std::string& directory,
                                    std::initializer_list<std::string> arguments) {
  std::vector<std::string> command{TALOVEN_CLI_PATH, "-C", directory, "--model", "ECF-T08"};
  command.insert(command.end(), arguments);
  return command;
}

}  // namespace taloven::bench
