#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace taloven {

// How a serial line is set: what the remote port of an RFC 2217 server is
// told, as a local line would be set with its terminal settings.
struct LineSettings {
  enum class Parity : uint8_t { None = 1, Odd = 2, Even = 3 };
  enum class StopBits : uint8_t { One = 1, Two = 2, OneAndHalf = 3 };
  int baudRate = 9600;
  int dataBits = 8;
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::Two;
  bool hardwareFlow = false;
  bool dtr = false;
  bool rts = true;
};

// The client's side of Telnet (RFC 854) with the COM-port option (RFC 2217):
// what goes out to set the line and purge it, data stuffed so that 0xFF
// passes, and the peer's bytes split into data and the answers its
// negotiation needs.
class TelnetCodec {
 public:
  enum class ComPort { Unknown, Agreed, Refused };

  // A codec for a connection whose first bytes out were the greeting.
  TelnetCodec();

  // Sent right after connecting: the COM-port option and binary transmission
  // both ways (without it CR would be followed by NUL), without go-ahead.
  static std::vector<uint8_t> Greeting();
  // The subnegotiations that set every field of the line.
  static std::vector<uint8_t> SetLine(const LineSettings& line);
  // Asks the server to drop what waits in both its buffers.
  static std::vector<uint8_t> PurgeBoth();
  // Appends bytes as Telnet data: 0xFF doubled.
  static void AppendData(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out);

  // Takes bytes from the server; its data is appended to data, what must be
  // sent back to answers.
  void Take(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data,
            std::vector<uint8_t>& answers);
  ComPort ComPortState() const { return comPort_; }

 private:
  enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand };
  // Where one option stands on one side. A request for an option already
  // on, or one this side asked for, is an acknowledgement and gets no
  // answer, which keeps the two sides from answering each other for ever.
  enum class Option : uint8_t { Off, On, Asked };
  void Negotiate(uint8_t verb, uint8_t option, std::vector<uint8_t>& answers);

  State state_ = State::Data;
  uint8_t verb_ = 0;
  Option local_[256] = {};   // what this side does (WILL / WONT)
  Option remote_[256] = {};  // what it asked the server to do (DO / DONT)
  ComPort comPort_ = ComPort::Unknown;
};

}  // namespace taloven
