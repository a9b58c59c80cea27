#pragma once

#include <netdb.h>

#include <functional>
#include <memory>
#include <string>

namespace taloven {

// The system's way to look a name up, as getaddrinfo.
using AddressResolver = int (*)(const char* host, const char* service, const addrinfo* hints,
                                addrinfo** found);

struct AddressListFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

struct HostLookup {
  enum class End { Found, Failed, Cancelled } end = End::Failed;
  AddressList addresses;  // when Found
  std::string failure;    // the system's reason, when Failed
};

// The stream addresses host and port stand for. A numeric address is taken
// at once; a name is looked up on a thread of its own, so that cancelled,
// asked every few tens of milliseconds, can stop the wait: the system's
// lookup cannot be interrupted, so one given up finishes unwatched and
// frees its own answer.
HostLookup LookUpHost(const std::string& host, const std::string& port,
                      const std::function<bool()>& cancelled,
                      AddressResolver resolve = &getaddrinfo);

}  // namespace taloven
