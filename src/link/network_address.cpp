#include "link/network_address.h"

#include <cctype>

namespace taloven {
namespace {

constexpr char kRawScheme[] = "tcp://";
constexpr char kTelnetScheme[] = "rfc2217://";

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool ValidPort(const std::string& port) {
  if (port.empty() || port.size() > 5) return false;
  for (char c : port)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  const long value = std::stol(port);
  return value >= 1 && value <= 65535;
}

}  // namespace

std::string NetworkAddress::Shown() const {
  const bool bracketed = host.find(':') != std::string::npos;
  return (bracketed ? "[" + host + "]" : host) + ":" + port;
}

bool IsNetworkPortName(const std::string& name) {
  return StartsWith(name, kRawScheme) || StartsWith(name, kTelnetScheme);
}

std::optional<NetworkAddress> ParseNetworkAddress(const std::string& name) {
  NetworkAddress address;
  std::string rest;
  if (StartsWith(name, kRawScheme)) {
    rest = name.substr(sizeof kRawScheme - 1);
  } else if (StartsWith(name, kTelnetScheme)) {
    address.telnet = true;
    rest = name.substr(sizeof kTelnetScheme - 1);
  } else {
    return std::nullopt;
  }
  size_t portAt = 0;
  if (!rest.empty() && rest[0] == '[') {
    const size_t close = rest.find(']');
    if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
      return std::nullopt;
    address.host = rest.substr(1, close - 1);
    portAt = close + 2;
  } else {
    const size_t colon = rest.find(':');
    if (colon == std::string::npos || rest.find(':', colon + 1) != std::string::npos)
      return std::nullopt;
    address.host = rest.substr(0, colon);
    portAt = colon + 1;
  }
  address.port = rest.substr(portAt);
  if (address.host.empty() || !ValidPort(address.port)) return std::nullopt;
  for (char c : address.host)
    if (std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '[' || c == ']')
      return std::nullopt;
  return address;
}

}  // namespace taloven
