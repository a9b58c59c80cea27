#pragma once

#include <cstdint>

namespace taloven {

// Status codes a USB device request reports. The transport reacts to each of
// the named ones; any other non-zero code ends the operation as a failure.
using UsbStatus = uint32_t;

constexpr UsbStatus kUsbOk = 0x00000000;
constexpr UsbStatus kUsbDeviceNotResponding = 0xE0000005;  // recover, wait, retry
constexpr UsbStatus kUsbDataOverrun = 0xE0000008;          // read: ask again
constexpr UsbStatus kUsbNoSystemMemory = 0xE0000100;
constexpr UsbStatus kUsbDeviceRemoved = 0xE000100A;   // close, reopen, go on
constexpr UsbStatus kUsbRequestTimeout = 0xE000100C;  // read: ask again
constexpr UsbStatus kUsbApiVersionMismatch = 0xE000101C;
constexpr UsbStatus kUsbDeviceNotFound = 0xE0001100;
constexpr UsbStatus kUsbDeviceNotOpen = 0xE0001102;  // reopen, go on
constexpr UsbStatus kUsbNoSuchDeviceInstance = 0xE0001104;
constexpr UsbStatus kUsbInvalidParameter = 0xE0001105;

// Stored as the last error when the system cannot list the devices at all.
constexpr UsbStatus kUsbNoDeviceList = 33;

}  // namespace taloven
