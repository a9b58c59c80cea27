#pragma once

#include <memory>

namespace taloven {

class UsbDevice;
class UsbPrinter;

// The environment variable that points the program at a virtual printer's
// USB socket instead of the USB bus.
constexpr const char* kUsbSocketVariable = "TALOVEN_USB_SOCKET";

// The device behind the USB printer: the socket the variable names when it
// is set and not empty, otherwise the printer on the USB bus.
std::unique_ptr<UsbDevice> MakeUsbDevice();

// The process's one USB printer, made on first use and kept to the exit.
UsbPrinter& ProcessUsbPrinter();

}  // namespace taloven
