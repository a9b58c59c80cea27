#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "formats/mfd_file.h"
#include "formats/symbol_record.h"
#include "support/cli_process.h"
#include "support/ser2net_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliOutcome;
using testing::ReadFileBytes;
using testing::Ser2netProcess;
using testing::TempDirectory;
using Clock = std::chrono::steady_clock;

// The virtual printer served by a real serial-to-network server, raw and
// with RFC 2217, beside its pseudo-terminal reached directly.
class NetworkPorts : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::Ser2netPath().empty()) GTEST_SKIP() << "ser2net is not installed";
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work_.Path() / "comandos.xml");
  }

  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string(), "--model", "ECF-T08"});
    return testing::RunCliCaptured(args);
  }
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }

  TempDirectory work_;
};

TEST_F(NetworkPorts, EveryFlowOverBothFormsGivesWhatThePseudoTerminalGives) {
  const std::string state = Path("printer.state");
  ASSERT_EQ(std::system((std::string(TALOVEN_EMULATOR_PATH) + " --state " + state +
                         " --simulate-days 3 --model ECF-T08")
                            .c_str()),
            0);
  EmulatorProcess printer({"--pty", "--link", Path("tty"), "--state", state});
  Ser2netProcess raw(printer.Address(), false, work_.Path().string());
  Ser2netProcess telnet(printer.Address(), true, work_.Path().string());
  ASSERT_TRUE(raw.Running() && telnet.Running());
  for (std::vector<std::string> args :
       {std::vector<std::string>{"new", "dia"},
        {"add", "dia", "Abre cupom fiscal"},
        {"add", "dia", "Vende item", "7891234567895", "Cafe", "01", "0002000", "3,50"},
        {"add", "dia", "Inicia fechamento do cupom"},
        {"add", "dia", "Efetua forma de pagamento", "01", "20,00"},
        {"add", "dia", "Termina fechamento do cupom"}}) {
    args.insert(args.begin(), "sequence");
    ASSERT_EQ(Run(args).status, 0);
  }

  // The servers and the direct runs share the pseudo-terminal: each run
  // starts once neither server holds it for a connection that has ended.
  auto RunAlone = [&](const std::vector<std::string>& args) {
    raw.AwaitDeviceReleased();
    telnet.AwaitDeviceReleased();
    return Run(args);
  };
  const std::string ports[] = {Path("tty"), raw.Url("tcp"), telnet.Url("rfc2217")};
  for (const std::string& port : ports) {
    SCOPED_TRACE(port);
    const CliOutcome detected = RunAlone({"detect", "--probe", port});
    EXPECT_EQ(detected.status, 0) << detected.err;
    EXPECT_EQ(detected.out.rfind(port + "\nECF-T08", 0), 0u) << detected.out;

    // Before the first day's coupon there is none to cancel, and the status
    // says the printer refused it; later the last coupon is cancelled.
    const CliOutcome fixed = RunAlone({"-p", port, "send", "Cancela cupom fiscal"});
    EXPECT_EQ(fixed.status, port == ports[0] ? 10 : 0) << fixed.err << fixed.out;
    EXPECT_NE(fixed.out.find("COMANDO"), std::string::npos) << fixed.out;

    const CliOutcome sequence = RunAlone({"-p", port, "sequence", "run", "dia"});
    EXPECT_EQ(sequence.status, 0) << sequence.err;
    EXPECT_NE(sequence.out.find("COMANDO OK"), std::string::npos) << sequence.out;
    EXPECT_EQ(sequence.out.find("Falha"), std::string::npos) << sequence.out;

    const CliOutcome variable = RunAlone({"-p", port, "send", "Leitura X pela porta serial"});
    EXPECT_EQ(variable.status, 0) << variable.err;
    EXPECT_NE(variable.out.find("LEITURA X"), std::string::npos) << variable.out;
    EXPECT_NE(variable.out.find("VENDA BRUTA DI\xC3\x81RIA:"), std::string::npos);
  }
  // The journal's download is the same image whichever way it came; its
  // blocks carry every byte value, 0xFF among them.
  const CliOutcome direct =
      RunAlone({"-p", Path("tty"), "mfd", "download", "mfd", Path("pty.mfd")});
  ASSERT_EQ(direct.status, 0) << direct.err;
  const std::string image = ReadFileBytes(Path("pty.mfd"));
  EXPECT_NE(image.find('\xFF'), std::string::npos);
  for (const std::string& port : {ports[1], ports[2]}) {
    SCOPED_TRACE(port);
    const CliOutcome download = RunAlone({"-p", port, "mfd", "download", "mfd", Path("net.mfd")});
    ASSERT_EQ(download.status, 0) << download.err;
    EXPECT_TRUE(ReadFileBytes(Path("net.mfd")) == image);
  }
}

TEST_F(NetworkPorts, FailuresEndWithStatusFourAndSayWhyAndWhere) {
  // A slow line, so that the server can be killed while a reply comes.
  EmulatorProcess printer({"--pty", "--baud", "2400"});
  Ser2netProcess server(printer.Address(), true, work_.Path().string(), "2400n82");
  const std::string at = "127.0.0.1:" + std::to_string(server.Port());
  const int nobody = testing::FreeLoopbackPort();
  const struct {
    std::string port;
    bool killMidReply;
    std::string said;
    int withinSeconds;
  } cases[] = {
      {"tcp://127.0.0.1:" + std::to_string(nobody), false,
       "n\xC3\xA3o foi poss\xC3\xADvel conectar a 127.0.0.1:" + std::to_string(nobody) +
           ": Connection refused",
       1},
      {"rfc2217://taloven-no-such-host.invalid:4000", false,
       "n\xC3\xA3o foi poss\xC3\xADvel encontrar taloven-no-such-host.invalid: ", 6},
      {server.Url("rfc2217"), true, "Falha no envio do comando", 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.port);
    std::thread killer;
    if (c.killMidReply) {
      killer = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        server.Kill();
      });
    }
    const auto start = Clock::now();
    const CliOutcome run = Run({"-p", c.port, "send", "Leitura X pela porta serial"});
    if (killer.joinable()) killer.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(c.withinSeconds));
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
  }
  // The server back, the next command connects again and says so.
  server.Start();
  const CliOutcome again = Run({"-p", server.Url("rfc2217"), "send", "Cancela cupom fiscal"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.err.find("conex\xC3\xA3o com " + at + " perdida; reconectando"),
            std::string::npos)
      << again.err;
}

TEST_F(NetworkPorts, AScannerBehindTheServerIsCapturedAsOnItsOwnLine) {
  setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
  std::string journal;
  for (int i = 0; i < 1500; ++i) journal += static_cast<char>(255 - i % 256);
  std::string stream;
  for (uint32_t offset : {0u, 668u, 1336u})
    stream += MakeSymbolRecord(1500, offset, journal.substr(offset, kSymbolPayloadBytes));
  std::ofstream(Path("symbols.bin"), std::ios::binary) << stream;
  for (const bool telnet : {false, true}) {
    SCOPED_TRACE(telnet ? "rfc2217" : "tcp");
    fs::remove(Path("capture.mfd"));
    EmulatorProcess scanner(
        {"--scanner", Path("symbols.bin"), "--link", Path("scan"), "--symbol-gap", "200"});
    Ser2netProcess server(scanner.Address(), telnet, work_.Path().string(), "115200n81");
    const CliOutcome run = Run({"capture", "-s", server.Url(telnet ? "rfc2217" : "tcp"), "-o",
                                Path("capture.mfd"), "--rearm", "0", "--timeout", "20"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Todos os s\xC3\xADmbolos foram lidos."), std::string::npos) << run.out;
    EXPECT_TRUE(ReadFileBytes(Path("capture.mfd")) == MfdFileBytes(kMfdCaptureSource, journal));
  }
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(NetworkPorts, ACaptureOutlivesARestartedServer) {
  setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
  std::string journal;
  for (int i = 0; i < 1500; ++i) journal += static_cast<char>(i % 251);
  std::string stream;
  for (uint32_t offset : {0u, 668u, 1336u})
    stream += MakeSymbolRecord(1500, offset, journal.substr(offset, kSymbolPayloadBytes));
  std::ofstream(Path("symbols.bin"), std::ios::binary) << stream;
  // Symbols 2 s apart, the third scanned twice: the server is killed once the
  // second is out and is back a second later, before the third's second scan.
  EmulatorProcess scanner({"--scanner", Path("symbols.bin"), "--link", Path("scan"), "--symbol-gap",
                           "2000", "--repeat", "3", "--verbose"},
                          {}, Path("scanner.log"));
  Ser2netProcess server(scanner.Address(), false, work_.Path().string(), "115200n81");
  std::thread restart([&] {
    const auto end = Clock::now() + std::chrono::seconds(15);
    while (Clock::now() < end &&
           ReadFileBytes(Path("scanner.log")).find("symbol 2/3") == std::string::npos)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    server.Kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    server.Start();
  });
  const CliOutcome run = Run({"capture", "-s", server.Url("tcp"), "-o", Path("capture.mfd"),
                              "--rearm", "0", "--timeout", "20"});
  restart.join();
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string lost =
      "conex\xC3\xA3o com 127.0.0.1:" + std::to_string(server.Port()) + " perdida; reconectando";
  EXPECT_NE(run.out.find(lost), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Todos os s\xC3\xADmbolos foram lidos."), std::string::npos) << run.out;
  EXPECT_TRUE(ReadFileBytes(Path("capture.mfd")) == MfdFileBytes(kMfdCaptureSource, journal));
  unsetenv("XDG_CONFIG_HOME");
}

// A program's commands pass through the monitor to the virtual printer behind
// the server, in each form; a restarted server is connected to again, and
// the monitor says so in one line.
TEST_F(NetworkPorts, TheMonitorReachesAPrinterBehindTheServerAndReconnects) {
  EmulatorProcess printer({"--pty"});
  for (const bool telnet : {false, true}) {
    const std::string scheme = telnet ? "rfc2217" : "tcp";
    SCOPED_TRACE(scheme);
    Ser2netProcess server(printer.Address(), telnet, work_.Path().string());
    ASSERT_TRUE(server.Running());
    const std::string program = Path("program-" + scheme);
    testing::CliProcess::Setup setup;
    setup.out = Path("monitor-" + scheme + ".txt");
    setup.err = Path("monitor-" + scheme + ".err");
    testing::CliProcess monitor({"-C", work_.Path().string(), "--model", "ECF-T08", "-p",
                                 server.Url(scheme), "monitor", "--link", program},
                                setup);
    for (int i = 0; i < 250 && !fs::is_symlink(program); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto shown = [&] { return ReadFileBytes(setup.out) + ReadFileBytes(setup.err); };
    const auto waitFor = [&](const std::string& text) {
      const auto end = Clock::now() + std::chrono::seconds(5);
      while (Clock::now() < end && shown().find(text) == std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return shown().find(text) != std::string::npos;
    };

    CliOutcome sent = Run({"-p", program, "send", "Leitura X pela porta serial"});
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_NE(sent.out.find("LEITURA X"), std::string::npos) << sent.out;

    server.Kill();
    EXPECT_TRUE(waitFor("conex\xC3\xA3o com 127.0.0.1:" + std::to_string(server.Port()) +
                        " perdida; reconectando"))
        << shown();
    server.Start();
    EXPECT_TRUE(waitFor(" da impressora voltou")) << shown();
    sent = Run({"-p", program, "send", "Leitura X pela porta serial"});
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_NE(sent.out.find("LEITURA X"), std::string::npos) << sent.out;

    monitor.Signal(SIGTERM);
    EXPECT_EQ(monitor.Wait(std::chrono::seconds(5)), 0) << shown();
    EXPECT_NE(shown().find("Resumo do monitor:"), std::string::npos) << shown();
  }
}

}  // namespace
}  // namespace taloven
