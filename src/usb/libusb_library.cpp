// libusb (and the udev it brings) is loaded when a USB port is first looked
// for, not when a program starts: the commands that use no USB port start
// without it. Each function the room calls is listed here; one missing from
// the list is an undefined reference when the programs are linked.
#include <libusb.h>

#include "base/lazy_library.h"

namespace {
constexpr const char* kLibrary = "libusb-1.0.so.0";
}  // namespace

TALOVEN_LAZY_FUNCTION(kLibrary, libusb_bulk_transfer,
                      (libusb_device_handle * handle, unsigned char endpoint, unsigned char* data,
                       int length, int* transferred, unsigned int timeout),
                      (handle, endpoint, data, length, transferred, timeout))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_claim_interface, (libusb_device_handle * handle, int number),
                      (handle, number))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_clear_halt,
                      (libusb_device_handle * handle, unsigned char endpoint), (handle, endpoint))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_close, (libusb_device_handle * handle), (handle))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_control_transfer,
                      (libusb_device_handle * handle, uint8_t requestType, uint8_t request,
                       uint16_t value, uint16_t index, unsigned char* data, uint16_t length,
                       unsigned int timeout),
                      (handle, requestType, request, value, index, data, length, timeout))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_exit, (libusb_context * context), (context))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_free_config_descriptor,
                      (struct libusb_config_descriptor * descriptor), (descriptor))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_free_device_list, (libusb_device * *list, int unreference),
                      (list, unreference))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_active_config_descriptor,
                      (libusb_device * device, struct libusb_config_descriptor** descriptor),
                      (device, descriptor))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_config_descriptor,
                      (libusb_device * device, uint8_t index,
                       struct libusb_config_descriptor** descriptor),
                      (device, index, descriptor))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_configuration,
                      (libusb_device_handle * handle, int* configuration), (handle, configuration))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_device, (libusb_device_handle * handle), (handle))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_device_descriptor,
                      (libusb_device * device, struct libusb_device_descriptor* descriptor),
                      (device, descriptor))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_get_device_list,
                      (libusb_context * context, libusb_device*** list), (context, list))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_init, (libusb_context * *context), (context))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_open,
                      (libusb_device * device, libusb_device_handle** handle), (device, handle))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_release_interface,
                      (libusb_device_handle * handle, int number), (handle, number))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_reset_device, (libusb_device_handle * handle), (handle))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_set_auto_detach_kernel_driver,
                      (libusb_device_handle * handle, int enable), (handle, enable))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_set_configuration,
                      (libusb_device_handle * handle, int configuration), (handle, configuration))
TALOVEN_LAZY_FUNCTION(kLibrary, libusb_set_interface_alt_setting,
                      (libusb_device_handle * handle, int number, int setting),
                      (handle, number, setting))
