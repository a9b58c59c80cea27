#include "link/kept_connections.h"

#include "link/network_address.h"

namespace taloven {
namespace {

// The kept port, lent for one exchange: its Close leaves the connection
// open for the next.
class LentPort : public Port {
 public:
  explicit LentPort(KeptConnections::Kept& kept) : Port(kept.port->Name()), kept_(kept) {}

  int Open(int parameter) override {
    if (!kept_.open) kept_.open = kept_.port->Open(parameter) != 0;
    return kept_.open ? 1 : 0;
  }
  void Close() override {}
  int Write(const uint8_t* bytes, int count, int timeoutMs) override {
    return kept_.port->Write(bytes, count, timeoutMs);
  }
  int Read(uint8_t* buffer, int count, int timeoutMs) override {
    return kept_.port->Read(buffer, count, timeoutMs);
  }
  int Purge() override { return kept_.port->Purge(); }
  int WriteBlock(const uint8_t* bytes, int count, unsigned* written) override {
    return kept_.port->WriteBlock(bytes, count, written);
  }
  int ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) override {
    return kept_.port->ReadBlock(buffer, maxCount, read);
  }
  void Drain(int timeoutMs, int limit) override { kept_.port->Drain(timeoutMs, limit); }
  int ReadPending(uint8_t* buffer) override { return kept_.port->ReadPending(buffer); }
  std::string OpenFailure() const override { return kept_.port->OpenFailure(); }
  void WatchCancel(std::function<bool()> cancelled) override {
    kept_.port->WatchCancel(std::move(cancelled));
  }
  bool OpenCancelled() const override { return kept_.port->OpenCancelled(); }
  std::string OpenNotice() const override { return kept_.port->OpenNotice(); }
  bool Gone() const override { return kept_.port->Gone(); }
  int Descriptor() const override { return kept_.port->Descriptor(); }
  int TakeAvailable(uint8_t* buffer, int capacity) override {
    return kept_.port->TakeAvailable(buffer, capacity);
  }

 private:
  KeptConnections::Kept& kept_;
};

}  // namespace

KeptConnections::~KeptConnections() {
  for (auto& [name, kept] : kept_)
    if (kept.open) kept.port->Close();
}

std::unique_ptr<Port> KeptConnections::Create(const std::string& name) {
  if (!IsNetworkPortName(name)) return ports_.Create(name);
  auto found = kept_.find(name);
  if (found == kept_.end()) {
    std::unique_ptr<Port> port = ports_.Create(name);
    if (!port) return nullptr;
    found = kept_.emplace(name, Kept{std::move(port), false}).first;
  }
  return std::make_unique<LentPort>(found->second);
}

}  // namespace taloven
