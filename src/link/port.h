#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace taloven {

class FilePort;
class Port;

// One command's way out and its reply's way back; the port picks the path
// that fits its kind.
class PortExchange {
 public:
  virtual ~PortExchange() = default;
  // A byte line (serial or USB): written and read byte by byte.
  virtual void OverLine(Port& port) = 0;
  // The file exchange: frames and replies go by blocks through two files.
  virtual void OverFile(FilePort& port) = 0;
};

// The byte channel to one printer. Results: non-zero is success, 0 failure;
// a port shows nothing. The nine operations keep their historical slot order.
class Port {
 public:
  explicit Port(std::string name) : name_(std::move(name)) {}
  virtual ~Port() = default;  // does not close: the owner calls Close first

  virtual int Open(int parameter) = 0;
  virtual void Close() = 0;
  virtual int Write(const uint8_t* bytes, int count, int timeoutMs) = 0;
  virtual int Read(uint8_t* buffer, int count, int timeoutMs) = 0;
  virtual int Purge() = 0;
  virtual int WriteBlock(const uint8_t* bytes, int count, unsigned* written) = 0;
  virtual int ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) = 0;
  virtual void Drain(int /*timeoutMs*/, int /*limit*/) {}
  virtual int ReadPending(uint8_t* /*buffer*/) { return 0; }

  virtual void Run(PortExchange& exchange) { exchange.OverLine(*this); }
  // Why the latest Open failed, when the port can tell; empty otherwise.
  virtual std::string OpenFailure() const { return {}; }
  // An Open that may take a while (a connection being made) asks this
  // between its steps and gives up when it answers true.
  virtual void WatchCancel(std::function<bool()> /*cancelled*/) {}
  // Whether the latest Open gave up because WatchCancel said so.
  virtual bool OpenCancelled() const { return false; }
  // One line for the user before Open, when the port has something to say
  // about it (the previous connection was lost); empty otherwise.
  virtual std::string OpenNotice() const { return {}; }
  // The line went away while open (the peer hung up): no byte will come
  // until it is opened again.
  virtual bool Gone() const { return false; }
  // For a caller that waits with poll for bytes to come: what to wait on
  // (-1 when the port has nothing to wait on, or its line is gone), and the
  // bytes come so far, taken without waiting: their count, -1 when the
  // line is gone.
  virtual int Descriptor() const { return -1; }
  virtual int TakeAvailable(uint8_t* /*buffer*/, int /*capacity*/) { return -1; }

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

// A port that is a byte line (serial, network, USB): it takes no blocks, so
// a block exchange moves nothing and fails.
class ByteLinePort : public Port {
 public:
  using Port::Port;

  int WriteBlock(const uint8_t*, int, unsigned* written) final {
    if (written) *written = 0;
    return 0;
  }
  int ReadBlock(uint8_t*, int, unsigned* read) final {
    if (read) *read = 0;
    return 0;
  }
};

// Creates the port a name stands for: "USB", "FILE", a network address or a
// serial device.
class PortFactory {
 public:
  virtual ~PortFactory() = default;
  virtual std::unique_ptr<Port> Create(const std::string& name) = 0;
};

}  // namespace taloven
