#include "link/default_port_factory.h"

namespace taloven {
namespace {

// Stands in for the USB printer until its port is built: every operation
// fails, so a command sent to "USB" ends as unanswered instead of reaching
// some other device.
class UnavailableUsbPort : public Port {
 public:
  using Port::Port;
  int Open(int) override { return 0; }
  void Close() override {}
  int Write(const uint8_t*, int, int) override { return 0; }
  int Read(uint8_t*, int, int) override { return 0; }
  int Purge() override { return 0; }
  int WriteBlock(const uint8_t*, int, unsigned* written) override {
    if (written) *written = 0;
    return 0;
  }
  int ReadBlock(uint8_t*, int, unsigned* read) override {
    if (read) *read = 0;
    return 0;
  }
};

}  // namespace

std::unique_ptr<Port> CreateUsbPort(const std::string& name) {
  return std::make_unique<UnavailableUsbPort>(name);
}

}  // namespace taloven
