#include "link/host_lookup.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace taloven {
namespace {

constexpr auto kCancelLook = std::chrono::milliseconds(50);

// What the lookup thread and the caller share; whichever of them is last
// frees it.
struct Pending {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;
  int code = 0;
  int error = 0;
  addrinfo* found = nullptr;
};

addrinfo Hints(int flags) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags;
  return hints;
}

HostLookup Finish(int code, int error, addrinfo* found) {
  HostLookup lookup;
  if (code == 0) {
    lookup.end = HostLookup::End::Found;
    lookup.addresses.reset(found);
  } else {
    lookup.failure = code == EAI_SYSTEM ? std::strerror(error) : gai_strerror(code);
  }
  return lookup;
}

}  // namespace

HostLookup LookUpHost(const std::string& host, const std::string& port,
                      const std::function<bool()>& cancelled, AddressResolver resolve) {
  const addrinfo numeric = Hints(AI_NUMERICHOST);
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &numeric, &found) == 0) return Finish(0, 0, found);

  auto pending = std::make_shared<Pending>();
  try {
    std::thread([pending, host, port, resolve] {
      const addrinfo hints = Hints(0);
      addrinfo* list = nullptr;
      const int code = resolve(host.c_str(), port.c_str(), &hints, &list);
      const int error = errno;
      std::lock_guard<std::mutex> hold(pending->lock);
      if (pending->abandoned) {
        if (code == 0 && list) freeaddrinfo(list);
        return;
      }
      pending->code = code;
      pending->error = error;
      pending->found = code == 0 ? list : nullptr;
      pending->done = true;
      pending->finished.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the lookup is made here, and cannot be stopped.
    const addrinfo hints = Hints(0);
    const int code = resolve(host.c_str(), port.c_str(), &hints, &found);
    return Finish(code, errno, code == 0 ? found : nullptr);
  }
  std::unique_lock<std::mutex> hold(pending->lock);
  while (!pending->finished.wait_for(hold, kCancelLook, [&] { return pending->done; })) {
    // Asked unlocked: the question may pump a window for a while.
    hold.unlock();
    const bool stop = cancelled && cancelled();
    hold.lock();
    if (stop && !pending->done) {
      pending->abandoned = true;
      HostLookup lookup;
      lookup.end = HostLookup::End::Cancelled;
      return lookup;
    }
  }
  return Finish(pending->code, pending->error, pending->found);
}

}  // namespace taloven
