#include "usb/libusb_device.h"

#include <libusb.h>

namespace taloven {

LibusbDevice::~LibusbDevice() {
  CloseDevice();
  ReleaseDeviceList();
}

UsbStatus LibusbDevice::StatusFor(int result) {
  if (result >= 0) return kUsbOk;
  switch (result) {
    case LIBUSB_ERROR_TIMEOUT:
      return kUsbRequestTimeout;
    case LIBUSB_ERROR_OVERFLOW:
      return kUsbDataOverrun;
    case LIBUSB_ERROR_PIPE:
    case LIBUSB_ERROR_IO:
      return kUsbDeviceNotResponding;
    case LIBUSB_ERROR_NO_DEVICE:
      return kUsbDeviceRemoved;
    case LIBUSB_ERROR_ACCESS:
    case LIBUSB_ERROR_BUSY:
      return kUsbDeviceNotFound;
    case LIBUSB_ERROR_NO_MEM:
      return kUsbNoSystemMemory;
    case LIBUSB_ERROR_INVALID_PARAM:
    case LIBUSB_ERROR_NOT_FOUND:
    case LIBUSB_ERROR_NOT_SUPPORTED:
      return kUsbInvalidParameter;
    default:
      return 0xE00F0000u | static_cast<UsbStatus>(-result);
  }
}

bool LibusbDevice::AcquireDeviceList() {
  if (context) return true;
  return libusb_init(&context) == LIBUSB_SUCCESS;
}

void LibusbDevice::ReleaseDeviceList() {
  if (!context) return;
  CloseDevice();
  libusb_exit(context);
  context = nullptr;
}

UsbStatus LibusbDevice::OpenFirstDevice() {
  if (!context) return kUsbNoSuchDeviceInstance;
  CloseDevice();
  libusb_device** list = nullptr;
  ssize_t count = libusb_get_device_list(context, &list);
  if (count < 0) return StatusFor(static_cast<int>(count));
  UsbStatus status = kUsbNoSuchDeviceInstance;
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS) continue;
    if (descriptor.idVendor != kVendorId || descriptor.idProduct != kProductId) continue;
    status = StatusFor(libusb_open(list[i], &handle));
    if (status != kUsbOk) handle = nullptr;
    break;
  }
  libusb_free_device_list(list, 1);
  if (handle) libusb_set_auto_detach_kernel_driver(handle, 1);
  return status;
}

void LibusbDevice::CloseDevice() {
  if (!handle) return;
  UnbindPipe();
  if (claimedInterface >= 0) libusb_release_interface(handle, claimedInterface);
  claimedInterface = -1;
  libusb_close(handle);
  handle = nullptr;
}

UsbStatus LibusbDevice::SetConfiguration(const UsbConfiguration& configuration) {
  if (!handle) return kUsbDeviceNotOpen;
  libusb_config_descriptor* descriptor = nullptr;
  libusb_device* usbDevice = libusb_get_device(handle);
  int result =
      libusb_get_config_descriptor(usbDevice, configuration.configurationIndex, &descriptor);
  if (result != LIBUSB_SUCCESS) return StatusFor(result);
  const int wanted = descriptor->bConfigurationValue;
  libusb_free_config_descriptor(descriptor);

  // Setting the configuration that is already active would reset the
  // device's state for nothing.
  int active = 0;
  result = libusb_get_configuration(handle, &active);
  if (result == LIBUSB_SUCCESS && active != wanted)
    result = libusb_set_configuration(handle, wanted);
  if (result != LIBUSB_SUCCESS) return StatusFor(result);

  if (claimedInterface >= 0) libusb_release_interface(handle, claimedInterface);
  claimedInterface = -1;
  result = libusb_claim_interface(handle, configuration.interfaceNumber);
  if (result != LIBUSB_SUCCESS) return StatusFor(result);
  claimedInterface = configuration.interfaceNumber;
  if (configuration.alternateSetting != 0) {
    result =
        libusb_set_interface_alt_setting(handle, claimedInterface, configuration.alternateSetting);
    if (result != LIBUSB_SUCCESS) return StatusFor(result);
  }
  return kUsbOk;
}

UsbStatus LibusbDevice::BindPipe(uint8_t endpointAddress) {
  if (!handle || claimedInterface < 0) return kUsbDeviceNotOpen;
  if (endpointAddress & LIBUSB_ENDPOINT_IN) return kUsbInvalidParameter;
  libusb_config_descriptor* descriptor = nullptr;
  int result = libusb_get_active_config_descriptor(libusb_get_device(handle), &descriptor);
  if (result != LIBUSB_SUCCESS) return StatusFor(result);
  bool found = false;
  for (int i = 0; i < descriptor->bNumInterfaces && !found; ++i) {
    const libusb_interface& usbInterface = descriptor->interface[i];
    for (int a = 0; a < usbInterface.num_altsetting && !found; ++a) {
      const libusb_interface_descriptor& setting = usbInterface.altsetting[a];
      if (setting.bInterfaceNumber != claimedInterface) continue;
      for (int e = 0; e < setting.bNumEndpoints; ++e)
        if (setting.endpoint[e].bEndpointAddress == endpointAddress) found = true;
    }
  }
  libusb_free_config_descriptor(descriptor);
  if (!found) return kUsbInvalidParameter;
  pipe = endpointAddress;
  return kUsbOk;
}

void LibusbDevice::UnbindPipe() {
  pipe = 0;
}

UsbStatus LibusbDevice::Write(const uint8_t* bytes, int count, int* written, int timeoutMs) {
  *written = 0;
  if (!handle || pipe == 0) return kUsbDeviceNotOpen;
  int transferred = 0;
  int result = libusb_bulk_transfer(handle, pipe, const_cast<uint8_t*>(bytes), count, &transferred,
                                    static_cast<unsigned>(timeoutMs));
  *written = transferred;
  // Bytes that went out before the time-out are progress, not failure.
  if (result == LIBUSB_ERROR_TIMEOUT && transferred > 0) return kUsbOk;
  return StatusFor(result);
}

UsbStatus LibusbDevice::ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) {
  *received = 0;
  if (!handle) return kUsbDeviceNotOpen;
  const uint8_t requestType = static_cast<uint8_t>(LIBUSB_ENDPOINT_IN) |
                              static_cast<uint8_t>(LIBUSB_REQUEST_TYPE_CLASS) |
                              static_cast<uint8_t>(LIBUSB_RECIPIENT_DEVICE);
  int result = libusb_control_transfer(handle, requestType, requestCode, 0, 0, buffer,
                                       kControlReadSize, kControlTimeoutMs);
  if (result < 0) return StatusFor(result);
  *received = result;
  return kUsbOk;
}

UsbStatus LibusbDevice::ResetDevice() {
  if (!handle) return kUsbDeviceNotOpen;
  int result = libusb_reset_device(handle);
  // A device that had to enumerate anew is gone for this handle.
  if (result == LIBUSB_ERROR_NOT_FOUND) return kUsbDeviceRemoved;
  return StatusFor(result);
}

UsbStatus LibusbDevice::ResetPipe() {
  if (!handle || pipe == 0) return kUsbDeviceNotOpen;
  return StatusFor(libusb_clear_halt(handle, pipe));
}

}  // namespace taloven
