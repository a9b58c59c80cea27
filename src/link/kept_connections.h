#pragma once

#include <map>
#include <memory>
#include <string>

#include "link/port.h"

namespace taloven {

// Makes ports through another factory, but keeps a network connection open
// from one exchange to the next while it lives: a serial-to-network server
// opens its device anew for every connection, which takes longer than the
// exchange itself. A connection lost between exchanges is made again by the
// next one, as the port always does. Local ports are made for each
// exchange, as before.
class KeptConnections : public PortFactory {
 public:
  explicit KeptConnections(PortFactory& ports) : ports_(ports) {}
  ~KeptConnections() override;
  KeptConnections(const KeptConnections&) = delete;
  KeptConnections& operator=(const KeptConnections&) = delete;

  std::unique_ptr<Port> Create(const std::string& name) override;

  struct Kept {
    std::unique_ptr<Port> port;
    bool open = false;
  };

 private:
  PortFactory& ports_;
  std::map<std::string, Kept> kept_;
};

}  // namespace taloven
