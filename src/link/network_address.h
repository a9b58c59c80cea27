#pragma once

#include <optional>
#include <string>

namespace taloven {

// Where a printer or scanner on the network is: "tcp://HOST:PORT" for a raw
// byte stream, "rfc2217://HOST:PORT" for Telnet with the COM-port option.
// HOST is a name, an IPv4 address or an IPv6 address in brackets.
struct NetworkAddress {
  bool telnet = false;
  std::string host;  // without the brackets
  std::string port;

  // "HOST:PORT", with the brackets an IPv6 address needs.
  std::string Shown() const;
};

// Whether a port name asks for the network (its form may still be wrong).
bool IsNetworkPortName(const std::string& name);
// The address a port name stands for; nothing when the name is no network
// address or is malformed.
std::optional<NetworkAddress> ParseNetworkAddress(const std::string& name);

}  // namespace taloven
