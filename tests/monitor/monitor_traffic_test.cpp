#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "monitor/monitor_run.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using emulator::testing::RawLine;
using Kind = MonitorEntry::Kind;

// What the monitor showed, gathered from its thread.
class Gathered : public MonitorView {
 public:
  void Show(const MonitorEntry& entry) override {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(entry);
  }
  void Notice(const std::string& text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    notices_ += text + "\n";
  }
  std::vector<MonitorEntry> Entries() {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
  }
  std::string Notices() {
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_;
  }
  // Waits up to five seconds for the condition.
  template <typename Condition>
  bool WaitFor(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
      if (condition(*this)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

 private:
  std::mutex mutex_;
  std::vector<MonitorEntry> entries_;
  std::string notices_;
};

// A program stand-in writes bytes through the monitor to a virtual printer,
// which refuses to cancel a coupon that is not open.
struct TrafficCase {
  const char* name;
  std::vector<std::string> faults;           // the printer's fault options
  std::vector<std::vector<uint8_t>> writes;  // each waits for what the last one drew
  std::vector<Kind> kinds;                   // the entries shown, in order
  std::vector<std::string> shown;            // pieces of their texts
  MonitorCounts counts;                      // what the summary counts
};

const std::vector<uint8_t> kCancel = {0x02, 0x04, 0x00, 0x1B, 0x0E, 0x29, 0x00};

MonitorCounts Counts(int exchanges, int refused, int unanswered, int unknown, int badFrames,
                     int naks, int stray) {
  MonitorCounts counts;
  counts.exchanges = exchanges;
  counts.refused = refused;
  counts.unanswered = unanswered;
  counts.unknown = unknown;
  counts.badFrames = badFrames;
  counts.naks = naks;
  counts.strayBytes = stray;
  return counts;
}

TEST(MonitorTraffic, ShowsOddTrafficAndPassesItOn) {
  const TrafficCase cases[] = {
      {"unknown command",
       {},
       {{0x02, 0x04, 0x00, 0x1B, 0x99, 0xB4, 0x00}},
       {Kind::kUnknownCommand},
       {"Comando desconhecido:\t02 04 00 1B 99 B4 00\nResposta:\t"},
       Counts(0, 0, 0, 1, 0, 0, 0)},
      {"bad checksum",
       {},
       {{0x02, 0x04, 0x00, 0x1B, 0x0E, 0x00, 0x00}},
       {Kind::kBadFrame},
       {"Quadro com soma errada:\t02 04 00 1B 0E 00 00\nResposta:\t15\n"},
       Counts(0, 0, 0, 0, 1, 1, 0)},
      {"NAK in place of ACK",
       {"--fault-nak"},
       {kCancel},
       {Kind::kExchange},
       {"Cancela cupom fiscal"},
       Counts(1, 1, 0, 0, 0, 1, 0)},
      {"noise between frames",
       {},
       {{0xAA, 0xBB}, kCancel},
       {Kind::kStrayBytes, Kind::kStrayBytes, Kind::kExchange},
       {"Bytes do programa fora de quadro:\tAA BB\n", "Bytes da impressora fora de quadro:\t15\n",
        "CANCELAMENTO"},
       Counts(1, 1, 0, 0, 0, 1, 3)},
      {"reply cut off",
       {"--fault-stall", "1"},
       {kCancel},
       {Kind::kNoReply},
       {"Cancela cupom fiscal\r\nFalha no envio do comando\n"},
       Counts(0, 0, 1, 0, 0, 0, 0)},
      {"printer port closing and coming back",
       {"--fault-close", "--fault-count", "1"},
       {kCancel, kCancel},
       {Kind::kNoReply, Kind::kExchange},
       {"Falha no envio do comando", "CANCELAMENTO"},
       Counts(1, 1, 1, 0, 0, 0, 0)},
  };
  for (const TrafficCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDirectory work;
    const std::string printerLink = (work.Path() / "printer").string();
    std::vector<std::string> arguments = {"--pty", "--link", printerLink};
    arguments.insert(arguments.end(), c.faults.begin(), c.faults.end());
    EmulatorProcess printer(arguments);
    CommandCatalogue catalogue;
    ASSERT_TRUE(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue).ok());

    MonitorSettings settings;
    settings.printerPort = printerLink;
    settings.linkPath = (work.Path() / "program").string();
    settings.watch.replyTimeoutMs = 1000;
    settings.watch.workingDirectory = work.Path().string();
    Gathered view;
    std::atomic<bool> stop{false};
    MonitorCounts counts;
    Status served;
    DefaultPortFactory ports;
    std::thread monitor([&] {
      served = RunMonitor(
          settings, catalogue, ports, view, [&] { return stop.load(); }, &counts);
    });
    ASSERT_TRUE(view.WaitFor([&](Gathered&) { return fs::is_symlink(settings.linkPath); }));
    RawLine program(settings.linkPath);
    ASSERT_TRUE(program.Ok());

    for (size_t i = 0; i < c.writes.size(); ++i) {
      if (i > 0 && !c.faults.empty() && c.faults[0] == "--fault-close") {
        EXPECT_TRUE(view.WaitFor([](Gathered& v) {
          return v.Notices().find("voltou") != std::string::npos;
        })) << view.Notices();
      }
      const size_t before = view.Entries().size();
      program.Write(c.writes[i]);
      program.Read(64, 300);
      view.WaitFor([&](Gathered& v) { return v.Entries().size() > before; });
    }
    view.WaitFor([&](Gathered& v) { return v.Entries().size() >= c.kinds.size(); });
    stop = true;
    monitor.join();
    ASSERT_TRUE(served.ok()) << served.message();

    const std::vector<MonitorEntry> entries = view.Entries();
    std::string texts;
    for (const MonitorEntry& entry : entries) texts += entry.text;
    ASSERT_EQ(entries.size(), c.kinds.size()) << texts;
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].kind, c.kinds[i]) << i;
    for (const std::string& piece : c.shown)
      EXPECT_NE(texts.find(piece), std::string::npos) << texts;
    EXPECT_EQ(counts.exchanges, c.counts.exchanges);
    EXPECT_EQ(counts.refused, c.counts.refused);
    EXPECT_EQ(counts.unanswered, c.counts.unanswered);
    EXPECT_EQ(counts.unknown, c.counts.unknown);
    EXPECT_EQ(counts.badFrames, c.counts.badFrames);
    EXPECT_EQ(counts.naks, c.counts.naks);
    EXPECT_EQ(counts.strayBytes, c.counts.strayBytes);
    EXPECT_FALSE(fs::exists(settings.linkPath)) << "the program's path goes with the monitor";
  }
}

}  // namespace
}  // namespace taloven
