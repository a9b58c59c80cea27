#pragma once

#include "link/port.h"

namespace taloven {

// The ports of the running program: "FILE" gives the file exchange, "USB" the
// USB printer, "tcp://" and "rfc2217://" names a printer on the network, any
// other name a serial line. Names are case-sensitive.
class DefaultPortFactory : public PortFactory {
 public:
  std::unique_ptr<Port> Create(const std::string& name) override;
};

}  // namespace taloven
