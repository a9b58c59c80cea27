#include "usb/default_port_factory.h"

#include "link/clock.h"
#include "link/file_port.h"
#include "link/network_address.h"
#include "link/network_port.h"
#include "link/serial_port.h"
#include "link/tracing_port.h"
#include "usb/usb_port.h"
#include "usb/usb_printer_instance.h"

namespace taloven {

namespace {

std::unique_ptr<Port> CreateLine(const std::string& name) {
  if (name == "USB") return std::make_unique<UsbPort>(name, ProcessUsbPrinter(), RealClock());
  if (IsNetworkPortName(name)) return std::make_unique<NetworkPort>(name);
  return std::make_unique<SerialPort>(name);
}

}  // namespace

std::unique_ptr<Port> DefaultPortFactory::Create(const std::string& name) {
  std::unique_ptr<ByteTrace> trace = ByteTrace::FromEnvironment();
  if (name == "FILE") {
    auto port = std::make_unique<FilePort>(name);
    if (trace) port->TraceTo(std::move(trace));
    return port;
  }
  if (!trace) return CreateLine(name);
  return std::make_unique<TracingPort>(CreateLine(name), std::move(trace));
}

}  // namespace taloven
