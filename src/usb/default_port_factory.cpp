#include "usb/default_port_factory.h"

#include "link/clock.h"
#include "link/file_port.h"
#include "link/network_address.h"
#include "link/network_port.h"
#include "link/serial_port.h"
#include "usb/usb_port.h"
#include "usb/usb_printer_instance.h"

namespace taloven {

std::unique_ptr<Port> DefaultPortFactory::Create(const std::string& name) {
  if (name == "FILE") return std::make_unique<FilePort>(name);
  if (name == "USB") return std::make_unique<UsbPort>(name, ProcessUsbPrinter(), RealClock());
  if (IsNetworkPortName(name)) return std::make_unique<NetworkPort>(name);
  return std::make_unique<SerialPort>(name);
}

}  // namespace taloven
