#include "link/default_port_factory.h"

#include "link/file_port.h"
#include "link/serial_port.h"

namespace taloven {

std::unique_ptr<Port> DefaultPortFactory::Create(const std::string& name) {
  if (name == "FILE") return std::make_unique<FilePort>(name);
  if (name == "USB") return CreateUsbPort(name);
  return std::make_unique<SerialPort>(name);
}

}  // namespace taloven
