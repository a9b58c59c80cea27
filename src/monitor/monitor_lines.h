#pragma once

#include <termios.h>

#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "link/port.h"

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
// opened as command execution opens it and without blocking; or a printer
// behind a serial-to-network server, its port made by the factory the rest
// of the program uses.
class PrinterLine {
 public:
  explicit PrinterLine(PortFactory& ports) : ports_(ports) {}
  ~PrinterLine() { Close(); }
  PrinterLine(const PrinterLine&) = delete;
  PrinterLine& operator=(const PrinterLine&) = delete;

  // A port name as the program's settings give it (COM1: to COM8:, a path,
  // "tcp://HOST:PORT" or "rfc2217://HOST:PORT"). A connection under way
  // gives up when cancelled says so.
  Status Open(const std::string& name, const std::function<bool()>& cancelled = nullptr);
  void Close();
  // What to wait on with poll for the printer's bytes; -1 when closed.
  int Fd() const;
  // What the printer sent, taken without waiting: the count, 0 when nothing
  // came, -1 when the line was lost. revents is what poll saw on Fd.
  int ReadSome(uint8_t* buffer, size_t count, short revents);
  // Passes the program's bytes on; false when the line was lost.
  bool WriteAll(const uint8_t* bytes, size_t count);
  // Takes the speed, character size, parity and stop bits of the program's
  // line; a connection takes the speed, which it sets when made anew. False
  // when that failed: the line is then closed.
  bool Follow(const termios& program);
  // "conexão com HOST:PORT perdida; reconectando" while a connection is
  // lost and not yet closed; empty otherwise.
  std::string LostText() const;
  // Whether the bytes go through a port of the factory, which writes them
  // in the trace itself.
  bool Traced() const { return port_ != nullptr; }

 private:
  PortFactory& ports_;
  int fd_ = -1;
  std::unique_ptr<Port> port_;
  int baudRate_ = 9600;
  std::string name_;
};

// Writes every byte to a descriptor that does not block, waiting a while for
// room; false when it failed or took nothing for too long.
bool WriteAllTo(int fd, const uint8_t* bytes, size_t count);

// Whether two line settings differ in what a printer's line follows.
bool LineSettingsDiffer(const termios& a, const termios& b);

}  // namespace taloven
