#pragma once

#include <termios.h>

#include <string>

#include "base/status.h"

namespace taloven {

// The pseudo-terminal the program opens instead of the printer's port, at a
// path kept a symbolic link to it while it lives. The monitor holds the
// program's end open too, so that the program closing it ends nothing and
// the line settings it chose stay.
class ProgramLine {
 public:
  ProgramLine() = default;
  ~ProgramLine();
  ProgramLine(const ProgramLine&) = delete;
  ProgramLine& operator=(const ProgramLine&) = delete;

  // Refuses a path that exists and is not a symbolic link.
  Status Open(const std::string& linkPath);
  int Fd() const { return master_; }
  const std::string& DevicePath() const { return slavePath_; }
  // The settings the program has given its end.
  bool Settings(termios* settings) const;

 private:
  std::string linkPath_;
  std::string slavePath_;
  int master_ = -1;
  int slave_ = -1;
};

// The printer's serial line (or a pseudo-terminal standing in for one),
// opened as command execution opens it and without blocking.
class PrinterLine {
 public:
  PrinterLine() = default;
  ~PrinterLine() { Close(); }
  PrinterLine(const PrinterLine&) = delete;
  PrinterLine& operator=(const PrinterLine&) = delete;

  // A port name as the program's settings give it (COM1: to COM8: or a path).
  Status Open(const std::string& name);
  void Close();
  int Fd() const { return fd_; }
  // Takes the speed, character size, parity and stop bits of the program's
  // line.
  void Follow(const termios& program);

 private:
  int fd_ = -1;
};

// Whether two line settings differ in what a printer's line follows.
bool LineSettingsDiffer(const termios& a, const termios& b);

}  // namespace taloven
