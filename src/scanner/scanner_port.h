#pragma once

#include <termios.h>

#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "link/network_port.h"
#include "scanner/scanner_settings.h"

namespace taloven {

// The scanner's serial line, opened for this program alone and raw, with
// the line settings of the profile; or a scanner behind a serial-to-network
// server ("tcp://" or "rfc2217://"), its remote line set the same way.
class ScannerPort {
 public:
  ScannerPort() = default;
  ScannerPort(const ScannerPort&) = delete;
  ScannerPort& operator=(const ScannerPort&) = delete;
  ~ScannerPort();

  // Fails with the system's text for the failing step. A connection under
  // way asks cancelled between its steps and gives up when it answers true.
  Status Open(const std::string& name, const ScannerLine& line,
              const std::function<bool()>& cancelled = nullptr);
  // Gives the line back with the settings it had; fails with the system's
  // text when the device would not close (it is let go all the same).
  Status Close();

  bool IsOpen() const { return fd_ >= 0 || network_ != nullptr; }
  // What to wait on with poll; -1 while a lost connection is not made anew.
  int Descriptor() const { return network_ ? network_->Descriptor() : fd_; }
  // Bytes waiting to be read (Telnet's own among them on the network).
  int Queued() const;
  // Reads what waits, up to count bytes, without waiting: the count, 0
  // when nothing did, -1 when the line failed (a connection lost).
  int ReadSome(char* buffer, size_t count);
  // Whether the line is a connection, which can be made again when lost.
  bool Reconnects() const { return network_ != nullptr; }
  // Makes a lost connection again, giving up when cancelled says so; fails
  // with the reason.
  Status Reconnect(const std::function<bool()>& cancelled);
  // Whether the latest Open or Reconnect gave up because cancelled said so.
  bool Cancelled() const { return cancelled_; }
  // "conexão com HOST:PORT perdida; reconectando", for a lost connection.
  std::string LostText() const;

 private:
  int fd_ = -1;
  std::unique_ptr<NetworkPort> network_;
  LineSettings networkLine_;
  bool cancelled_ = false;
  bool settingsSaved_ = false;
  termios savedSettings_{};
};

}  // namespace taloven
