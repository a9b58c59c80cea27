#pragma once

#include <termios.h>

#include <string>

#include "base/status.h"
#include "scanner/scanner_settings.h"

namespace taloven {

// The scanner's serial line, opened for this program alone and raw, with
// the line settings of the profile.
class ScannerPort {
 public:
  ScannerPort() = default;
  ScannerPort(const ScannerPort&) = delete;
  ScannerPort& operator=(const ScannerPort&) = delete;
  ~ScannerPort();

  // Fails with the system's text for the failing step.
  Status Open(const std::string& name, const ScannerLine& line);
  // Gives the line back with the settings it had; fails with the system's
  // text when the device would not close (it is let go all the same).
  Status Close();

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  bool settingsSaved_ = false;
  termios savedSettings_{};
};

}  // namespace taloven
