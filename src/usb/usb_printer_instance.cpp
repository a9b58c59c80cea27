#include "usb/usb_printer_instance.h"

#include <cstdlib>

#include "link/clock.h"
#include "usb/kovousbprinter.h"
#include "usb/libusb_device.h"
#include "usb/socket_usb_device.h"

namespace taloven {

std::unique_ptr<UsbDevice> MakeUsbDevice() {
  const char* socketPath = std::getenv(kUsbSocketVariable);
  if (socketPath && *socketPath) return std::make_unique<SocketUsbDevice>(socketPath);
  return std::make_unique<LibusbDevice>();
}

UsbPrinter& ProcessUsbPrinter() {
  static UsbPrinter printer(MakeUsbDevice(), RealClock());
  return printer;
}

}  // namespace taloven
