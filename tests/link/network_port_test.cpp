#include "link/network_port.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "link/execute.h"
#include "link/host_lookup.h"
#include "link/kept_connections.h"
#include "link/network_address.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

using Clock = std::chrono::steady_clock;

TEST(NetworkAddress, NamesParseOrAreRefused) {
  const struct {
    const char* name;
    bool parsed;
    bool telnet;
    const char* host;
    const char* shown;
  } cases[] = {
      {"tcp://127.0.0.1:4001", true, false, "127.0.0.1", "127.0.0.1:4001"},
      {"rfc2217://lane7.example:2000", true, true, "lane7.example", "lane7.example:2000"},
      {"tcp://[::1]:65535", true, false, "::1", "[::1]:65535"},
      {"rfc2217://[fe80::1%eth0]:1", true, true, "fe80::1%eth0", "[fe80::1%eth0]:1"},
      {"tcp://host", false, false, "", ""},
      {"tcp://host:", false, false, "", ""},
      {"tcp://:4001", false, false, "", ""},
      {"tcp://host:0", false, false, "", ""},
      {"tcp://host:65536", false, false, "", ""},
      {"tcp://host:40a1", false, false, "", ""},
      {"tcp://::1:4001", false, false, "", ""},
      {"tcp://[::1]4001", false, false, "", ""},
      {"tcp://a b:4001", false, false, "", ""},
      {"TCP://host:4001", false, false, "", ""},
      {"/dev/ttyUSB0", false, false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto address = ParseNetworkAddress(c.name);
    ASSERT_EQ(address.has_value(), c.parsed);
    if (!address) continue;
    EXPECT_EQ(address->telnet, c.telnet);
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->Shown(), c.shown);
  }
  DefaultPortFactory factory;
  EXPECT_NE(dynamic_cast<NetworkPort*>(factory.Create("tcp://x").get()), nullptr);
  EXPECT_EQ(dynamic_cast<NetworkPort*>(factory.Create("tcpx://x:1").get()), nullptr);
}

// A listening socket on 127.0.0.1 played by the test.
class Peer {
 public:
  explicit Peer(int backlog = 4) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener_, backlog);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~Peer() {
    Hang();
    close(listener_);
  }
  std::string Url(const char* scheme = "tcp") const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
  }
  int Port() const { return port_; }
  bool Accept() {
    pollfd watch{listener_, POLLIN, 0};
    if (poll(&watch, 1, 2000) <= 0) return false;
    Hang();
    connection_ = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    return connection_ >= 0;
  }
  void Send(const std::string& bytes) const {
    ASSERT_EQ(send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  std::string Receive(size_t count) const {
    std::string got;
    pollfd watch{connection_, POLLIN, 0};
    char buffer[256];
    while (got.size() < count && poll(&watch, 1, 2000) > 0) {
      const ssize_t n = recv(connection_, buffer, std::min(sizeof buffer, count - got.size()), 0);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }
  void Hang() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
  }

 private:
  int listener_ = -1;
  int connection_ = -1;
  int port_ = 0;
};

TEST(NetworkPort, BehavesAsALineThatCanBeLostAndMadeAgain) {
  Peer peer;
  NetworkPort port(peer.Url());
  ASSERT_EQ(port.Open(9600), 1) << port.OpenFailure();
  ASSERT_TRUE(peer.Accept());
  EXPECT_EQ(port.OpenNotice(), "");

  const uint8_t frame[] = {0x02, 0xFF, 0x00};
  ASSERT_EQ(port.Write(frame, 3, 0), 1);
  EXPECT_EQ(peer.Receive(3), std::string("\x02\xFF\x00", 3)) << "raw bytes pass as they are";
  peer.Send(std::string("\x06\xFF\x00", 3));
  uint8_t reply[3] = {};
  ASSERT_EQ(port.Read(reply, 3, 0), 1);
  EXPECT_EQ(std::memcmp(reply, "\x06\xFF\x00", 3), 0);

  // A silent line keeps the serial line's time-outs: the caller's when
  // shorter, and the gap between two bytes of one read.
  auto start = Clock::now();
  EXPECT_EQ(port.Read(reply, 1, 150), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(140));
  peer.Send("A");
  start = Clock::now();
  EXPECT_EQ(port.Read(reply, 2, 0), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));

  peer.Send("left over");
  ASSERT_EQ(port.Purge(), 1);
  EXPECT_EQ(port.Read(reply, 1, 50), 0) << "a purge drops what waits";

  peer.Hang();
  EXPECT_EQ(port.Read(reply, 1, 100), 0);
  EXPECT_TRUE(port.Gone());
  EXPECT_EQ(port.OpenNotice(),
            "conex\xE3o com 127.0.0.1:" + std::to_string(peer.Port()) + " perdida; reconectando");
  // The next exchange connects again.
  ASSERT_EQ(port.Write(frame, 1, 0), 1);
  ASSERT_TRUE(peer.Accept());
  EXPECT_EQ(peer.Receive(1), "\x02");
  EXPECT_FALSE(port.Gone());
  EXPECT_EQ(port.OpenNotice(), "");
  port.Close();
}

TEST(NetworkPort, FailuresSayWhatAndWhere) {
  const int closedPort = [] {
    Peer gone;
    return gone.Port();
  }();
  Peer full(0);
  // A listener whose queue is full lets a connection hang as an
  // unanswering host would.
  NetworkPort fillers[] = {NetworkPort(full.Url()), NetworkPort(full.Url()),
                           NetworkPort(full.Url())};
  for (NetworkPort& filler : fillers) {
    filler.WatchCancel([] { return true; });
    static_cast<void>(filler.Open(9600));
  }
  const struct {
    std::string name;
    bool cancel;
    const char* failure;
    int withinMs;
  } cases[] = {
      {"tcp://127.0.0.1:" + std::to_string(closedPort), false,
       "n\xE3o foi poss\xEDvel conectar a 127.0.0.1:", 500},
      {"tcp://taloven-no-such-host.invalid:4000", false,
       "n\xE3o foi poss\xEDvel encontrar taloven-no-such-host.invalid: ", 5000},
      {"tcp://no-port", false, "endere\xE7o de rede inv\xE1lido", 100},
      {full.Url(), true, "conex\xE3o com 127.0.0.1:", 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NetworkPort port(c.name);
    int asked = 0;
    if (c.cancel) port.WatchCancel([&asked] { return ++asked > 3; });
    const auto start = Clock::now();
    EXPECT_EQ(port.Open(9600), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(c.withinMs));
    EXPECT_EQ(port.OpenFailure().rfind(c.failure, 0), 0u) << port.OpenFailure();
    EXPECT_EQ(port.OpenCancelled(), c.cancel);
    EXPECT_FALSE(port.Gone());
  }
  EXPECT_NE(NetworkPort("tcp://127.0.0.1:" + std::to_string(closedPort)).Open(9600), 1);
}

// A name server that takes two seconds to say the name is unknown.
int SlowResolver(const char*, const char*, const addrinfo*, addrinfo**) {
  std::this_thread::sleep_for(std::chrono::seconds(2));
  return EAI_NONAME;
}

TEST(HostLookup, ALookupThatTakesLongCanBeGivenUp) {
  const struct {
    const char* host;
    bool cancel;
    HostLookup::End end;
    int withinMs;
  } cases[] = {
      {"lane7.example", true, HostLookup::End::Cancelled, 500},
      {"lane7.example", false, HostLookup::End::Failed, 3000},
      // A numeric address is never looked up.
      {"127.0.0.1", true, HostLookup::End::Found, 100},
      {"::1", true, HostLookup::End::Found, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    int asked = 0;
    const auto start = Clock::now();
    const HostLookup lookup = LookUpHost(
        c.host, "4001", [&] { return c.cancel && ++asked > 2; }, &SlowResolver);
    const auto took = Clock::now() - start;
    EXPECT_EQ(lookup.end, c.end);
    EXPECT_LT(took, std::chrono::milliseconds(c.withinMs));
    EXPECT_EQ(lookup.addresses != nullptr, c.end == HostLookup::End::Found);
    if (c.end == HostLookup::End::Failed) {
      EXPECT_EQ(lookup.failure, gai_strerror(EAI_NONAME));
    }
    if (c.end == HostLookup::End::Cancelled) {
      EXPECT_GT(took, std::chrono::milliseconds(80));
    }
  }
}

TEST(NetworkPort, ATelnetServerWithoutTheComPortOptionIsRefusedWithAHint) {
  Peer peer;
  NetworkPort port(peer.Url("rfc2217"));
  std::string greeting;
  std::thread server([&] {
    if (!peer.Accept()) return;
    greeting = peer.Receive(15);
    peer.Send("\xFF\xFE\x2C");  // DONT COM-PORT-OPTION
  });
  EXPECT_EQ(port.Open(9600), 0);
  server.join();
  EXPECT_EQ(greeting.size(), 15u);
  EXPECT_NE(port.OpenFailure().find("RFC 2217"), std::string::npos) << port.OpenFailure();
  EXPECT_NE(port.OpenFailure().find("tcp://"), std::string::npos) << port.OpenFailure();
}

// A connection that takes long shows the progress window, whose Cancel (or
// Ctrl-C in the CLI) stops it as it stops a reply.
TEST(NetworkPort, TheUserStopsAConnectionUnderWay) {
  Peer full(0);
  NetworkPort fillers[] = {NetworkPort(full.Url()), NetworkPort(full.Url()),
                           NetworkPort(full.Url())};
  for (NetworkPort& filler : fillers) {
    filler.WatchCancel([] { return true; });
    static_cast<void>(filler.Open(9600));
  }
  testing::TempDirectory work;
  AppSettings settings;
  settings.portName = full.Url();
  settings.workingDirectory = work.Path().string();
  testing::ScriptedUi ui;
  ui.onProgressPump = [](testing::ScriptedUi::ProgressRecord& progress) {
    ProgressEvents events;
    events.cancelClicked = progress.pumps > 3;
    return events;
  };
  DefaultPortFactory ports;
  testing::TestClock clock;
  ExecutionContext context{settings, ui, ports, clock};
  CommandRecord record;
  record.SetTitle("Teste");
  record.SetEscapeText("35");
  record.SetReturnSize(0);
  const auto start = Clock::now();
  EXPECT_EQ(Execute(record, context), kExecuteCancelled);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  ASSERT_FALSE(ui.Progress().empty());
  EXPECT_EQ(ui.Progress()[0]->messages, std::vector<std::string>{"Conectando..."});
  EXPECT_NE(record.formattedReturn.find("Comando Cancelado!"), std::string::npos);
}

// Exchanges through a factory that keeps connections: each opens, writes a
// byte and closes, as Execute does; the server sees one connection while it
// stays, and a new one, said in one line, after it hung up.
TEST(KeptConnections, ExchangesShareOneConnectionUntilItIsLost) {
  Peer peer;
  DefaultPortFactory made;
  KeptConnections kept(made);
  const auto exchange = [&](uint8_t byte) {
    std::unique_ptr<Port> port = kept.Create(peer.Url());
    const std::string notice = port->OpenNotice();
    EXPECT_EQ(port->Open(9600), 1);
    EXPECT_EQ(port->Write(&byte, 1, 1000), 1);
    port->Close();
    return notice;
  };
  EXPECT_EQ(exchange('a'), "");
  ASSERT_TRUE(peer.Accept());
  EXPECT_EQ(peer.Receive(1), "a");
  for (const char byte : std::string("bcd")) {
    EXPECT_EQ(exchange(static_cast<uint8_t>(byte)), "");
    EXPECT_EQ(peer.Receive(1), std::string(1, byte));
  }
  peer.Hang();
  // The next exchange finds the connection gone when it reads, as a reply
  // would be awaited; the one after connects again.
  {
    std::unique_ptr<Port> port = kept.Create(peer.Url());
    uint8_t byte = 0;
    EXPECT_EQ(port->Read(&byte, 1, 200), 0);
    EXPECT_TRUE(port->Gone());
  }
  std::thread server([&] { EXPECT_TRUE(peer.Accept()); });
  EXPECT_EQ(exchange('e'),
            "conex\xE3o com 127.0.0.1:" + std::to_string(peer.Port()) + " perdida; reconectando");
  server.join();
  EXPECT_EQ(peer.Receive(1), "e");
}

TEST(NetworkPort, ReachesAnIpv6Loopback) {
  const int listener = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in6 address{};
  address.sin6_family = AF_INET6;
  address.sin6_addr = in6addr_loopback;
  socklen_t size = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0) {
    close(listener);
    GTEST_SKIP() << "no IPv6 loopback here";
  }
  listen(listener, 1);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  NetworkPort port("tcp://[::1]:" + std::to_string(ntohs(address.sin6_port)));
  ASSERT_EQ(port.Open(9600), 1) << port.OpenFailure();
  const int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  ASSERT_GE(peer, 0);
  ASSERT_EQ(send(peer, "\x06", 1, MSG_NOSIGNAL), 1);
  uint8_t byte = 0;
  EXPECT_EQ(port.Read(&byte, 1, 1000), 1);
  EXPECT_EQ(byte, 0x06);
  port.Close();
  close(peer);
  close(listener);
}

}  // namespace
}  // namespace taloven
