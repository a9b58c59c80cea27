// Captures over a pseudo-terminal: the test writes symbols on its master
// side as a scanner would, the capture reads the slave side.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/encoding.h"
#include "formats/mfd_file.h"
#include "formats/symbol_record.h"
#include "scanner/scanner_capture.h"
#include "support/scripted_ui.h"
#include "support/silent_listener.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::TempDirectory;

class CountingListener : public CaptureListener {
 public:
  void Refresh() override {
    std::lock_guard<std::mutex> hold(lock_);
    ++refreshes_;
    changed_.notify_all();
  }
  void Beep() override { ++beeps; }
  void AllRead() override {
    std::lock_guard<std::mutex> hold(lock_);
    allRead_ = true;
    changed_.notify_all();
  }
  // Waits for the reader to have handled count symbols since the start.
  bool WaitForRefreshes(int count) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::seconds(5), [&] { return refreshes_ >= count; });
  }
  void LineLost() override {
    std::lock_guard<std::mutex> hold(lock_);
    ++linesLost_;
    changed_.notify_all();
  }
  bool WaitForAllRead() {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::seconds(5), [&] { return allRead_; });
  }
  bool WaitForLineLost() {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::seconds(5), [&] { return linesLost_ > 0; });
  }
  int Refreshes() {
    std::lock_guard<std::mutex> hold(lock_);
    return refreshes_;
  }
  int LinesLost() {
    std::lock_guard<std::mutex> hold(lock_);
    return linesLost_;
  }
  std::atomic<int> beeps{0};

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int refreshes_ = 0;
  int linesLost_ = 0;
  bool allRead_ = false;
};

class Scanner {
 public:
  Scanner() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    path_ = ptsname(master_);
  }
  ~Scanner() { Unplug(); }
  void Unplug() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }
  const std::string& Path() const { return path_; }
  void Send(const std::string& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  speed_t LineSpeed() const {
    termios line{};
    tcgetattr(master_, &line);
    return cfgetispeed(&line);
  }

 private:
  int master_ = -1;
  std::string path_;
};

std::string Journal(size_t size) {
  std::string journal;
  for (size_t i = 0; i < size; ++i) journal += static_cast<char>(i * 7 % 251);
  return journal;
}

std::string Symbol(const std::string& journal, size_t offset) {
  return MakeSymbolRecord(static_cast<uint32_t>(journal.size()), static_cast<uint32_t>(offset),
                          std::string_view(journal).substr(offset, kSymbolPayloadBytes));
}

constexpr ReaderTiming kQuick{20, 30};

ScannerSettings SettingsFor(const std::string& path, int baud) {
  ScannerSettings settings;
  settings.portName = path;
  settings.baud = baud;
  return settings;
}

TEST(ScannerCapture, StopSavesWhatWasReadAsTheUserChooses) {
  const std::string set = Journal(1500);
  struct Case {
    const char* name;
    std::vector<size_t> offsets;  // sent in this order
    std::vector<ScriptedUi::Answer> answers;
    bool saved;
    std::string payload;
  };
  const Case cases[] = {
      {"all read", {668, 0, 1336}, {std::string("capture.mfd")}, true, set},
      {"two of three, saved anyway",
       {0, 1336},
       {MessageAnswer::Yes, std::string("capture.mfd")},
       true,
       set.substr(0, 668) + set.substr(1336)},
      {"two of three, not saved", {0, 668}, {MessageAnswer::No}, false, ""},
      {"save dialog cancelled", {0, 668, 1336}, {ScriptedUi::Cancel{}}, false, ""},
      {"nothing read", {}, {}, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDirectory dir;
    Scanner scanner;
    ScriptedUi ui;
    for (auto answer : c.answers) {
      if (auto* name = std::get_if<std::string>(&answer)) *name = (dir.Path() / *name).string();
      ui.Push(answer);
    }
    CountingListener listener;
    ScannerCapture capture(ui, listener);
    capture.SetTiming(kQuick);
    ASSERT_TRUE(capture.Start(SettingsFor(scanner.Path(), 7)));
    for (size_t i = 0; i < c.offsets.size(); ++i) {
      scanner.Send(Symbol(set, c.offsets[i]));
      ASSERT_TRUE(listener.WaitForRefreshes(static_cast<int>(i) + 1));
    }
    if (c.offsets.size() == 3) {
      EXPECT_TRUE(listener.WaitForAllRead());
    }
    EXPECT_EQ(listener.beeps, static_cast<int>(c.offsets.size()));

    const StopResult result = capture.Stop();
    EXPECT_FALSE(capture.IsCapturing());
    EXPECT_TRUE(ui.AllAnswered());
    EXPECT_EQ(result.saved, c.saved);
    if (!c.saved) {
      EXPECT_FALSE(result.why.empty());
      continue;
    }
    const std::string file = ReadFileBytes(result.path);
    EXPECT_EQ(file, MfdFileBytes(kMfdCaptureSource, c.payload));
    EXPECT_EQ(file.size(), 525824 + c.payload.size() + 256);
    EXPECT_EQ(file.substr(file.size() - 256), std::string(256, '\xFF'));
    EXPECT_EQ(ui.Prompts().back().text,
              W("FORAM DECODIFICADOS (") + std::to_string(c.offsets.size()) +
                  W(") SÍMBOLOS PDF-417.\n\nArquivo ") + result.path +
                  W(" criado com sucesso.\nUtilize a geração de documento RTF ou banco de dados "
                    "para\nobter as informações da mesma forma como para download."));
  }
}

TEST(ScannerCapture, CancelGoesBackToCaptureAndTheLastSymbolEndsIt) {
  const std::string set = Journal(1500);
  TempDirectory dir;
  Scanner scanner;
  ScriptedUi ui;
  ui.PushAll(MessageAnswer::Cancel, (dir.Path() / "late.mfd").string());
  CountingListener listener;
  ScannerCapture capture(ui, listener);
  capture.SetTiming(kQuick);
  ASSERT_TRUE(capture.Start(SettingsFor(scanner.Path(), 7)));
  scanner.Send(Symbol(set, 0));
  ASSERT_TRUE(listener.WaitForRefreshes(1));
  EXPECT_TRUE(capture.Stop().backToCapture);
  EXPECT_TRUE(capture.IsCapturing());
  scanner.Send(Symbol(set, 0));  // again: refused, counts nothing
  ASSERT_TRUE(listener.WaitForRefreshes(2));
  EXPECT_EQ(capture.Display().status, W("Símbolo já foi lido"));
  scanner.Send(Symbol(set, 668));
  ASSERT_TRUE(listener.WaitForRefreshes(3));
  scanner.Send(Symbol(set, 1336));
  ASSERT_TRUE(listener.WaitForAllRead());
  EXPECT_EQ(capture.Display().readCount, "3");
  EXPECT_TRUE(capture.Stop().saved);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "late.mfd"), MfdFileBytes(kMfdCaptureSource, set));
}

TEST(ScannerCapture, ASymbolTooLongForTheBufferIsDrainedAndTheNextOneReads) {
  const std::string set = Journal(1500);
  Scanner scanner;
  ScriptedUi ui;
  CountingListener listener;
  ScannerCapture capture(ui, listener);
  capture.SetTiming(kQuick);
  ASSERT_TRUE(capture.Start(SettingsFor(scanner.Path(), 7)));
  scanner.Send(std::string(3000, 'x'));
  ASSERT_TRUE(listener.WaitForRefreshes(1));
  EXPECT_EQ(capture.Display().status, W("Símbolo maior que o buffer de 1024 bytes: descartado"));
  EXPECT_EQ(capture.ReadCount(), 0u);
  scanner.Send(Symbol(set, 668));
  ASSERT_TRUE(listener.WaitForRefreshes(2));
  EXPECT_EQ(capture.Display().status, W("Símbolo lido: 2/3"));
  capture.ClosePort();
}

TEST(ScannerCapture, AnUnpluggedScannerEndsTheCaptureOnceWhereTheSymbolsAre) {
  Scanner scanner;
  ScriptedUi ui;
  CountingListener listener;
  ScannerCapture capture(ui, listener);
  capture.SetTiming(kQuick);
  ASSERT_TRUE(capture.Start(SettingsFor(scanner.Path(), 7)));
  const std::string path = scanner.Path();
  scanner.Unplug();
  ASSERT_TRUE(listener.WaitForLineLost());
  // Several re-arms' time later, still the one message.
  std::this_thread::sleep_for(std::chrono::milliseconds(kQuick.rearmMs * 5));
  EXPECT_EQ(listener.LinesLost(), 1);
  EXPECT_EQ(listener.Refreshes(), 1);
  EXPECT_EQ(capture.Display().status,
            "Erro na porta " + path + W(": a linha não responde; captura encerrada"));
  capture.ClosePort();
  EXPECT_FALSE(capture.IsCapturing());
}

TEST(ScannerCapture, TheLineOpensAtTheStoredSpeedAndAFailedOpenMayBeRetried) {
  for (const auto& [position, speed] : {std::pair{0, B1200}, std::pair{7, B115200}}) {
    Scanner scanner;
    ScriptedUi ui;
    CountingListener listener;
    ScannerCapture capture(ui, listener);
    ASSERT_TRUE(capture.Start(SettingsFor(scanner.Path(), position)));
    EXPECT_EQ(scanner.LineSpeed(), speed);
    capture.ClosePort();
  }
  ScriptedUi ui;
  ui.PushAll(MessageAnswer::Retry, MessageAnswer::Cancel);
  CountingListener listener;
  ScannerCapture capture(ui, listener);
  EXPECT_FALSE(capture.Start(SettingsFor("/nonexistent/scanner", 7)));
  EXPECT_FALSE(capture.IsCapturing());
  ASSERT_EQ(ui.Prompts().size(), 4u);
  EXPECT_EQ(ui.Prompts()[0].details[0], "Erro na porta /nonexistent/scanner");
  EXPECT_EQ(ui.Prompts()[0].text, "No such file or directory");
  EXPECT_EQ(ui.Prompts()[1].text,
            W("Porta serial /nonexistent/scanner pode não ter\nsido corretamente inicializada."));
}

// A scanner server that never answers: the progress window's Cancel ends
// the start at once, with no retry asked.
TEST(ScannerCapture, TheUserStopsAConnectionThatHangs) {
  testing::SilentListener silent;
  ScriptedUi ui;
  ui.onProgressPump = [](ScriptedUi::ProgressRecord& progress) {
    ProgressEvents events;
    events.cancelClicked = progress.pumps > 3;
    return events;
  };
  CountingListener listener;
  ScannerCapture capture(ui, listener);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(capture.Start(SettingsFor(silent.Url(), 7)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_FALSE(capture.IsCapturing());
  EXPECT_TRUE(ui.Prompts().empty());
  ASSERT_FALSE(ui.Progress().empty());
  EXPECT_EQ(ui.Progress()[0]->messages, std::vector<std::string>{"Conectando..."});
}

// The server drops the capture's connection and then answers no more (its
// queue full): stopping the capture ends the attempt to connect again at
// once rather than after the connection's time-out.
TEST(ScannerCapture, StoppingDoesNotWaitForAServerThatNoLongerAnswers) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  listen(listener, 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  ScriptedUi ui;
  CountingListener listener_;
  ScannerCapture capture(ui, listener_);
  capture.SetTiming(kQuick);
  ASSERT_TRUE(
      capture.Start(SettingsFor("tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port)), 7)));
  const int taken = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  ASSERT_GE(taken, 0);
  std::vector<int> fillers;
  for (int i = 0; i < 3; ++i) {
    fillers.push_back(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    connect(fillers.back(), reinterpret_cast<sockaddr*>(&address), size);
  }
  close(taken);
  // Long enough for the reader to see the end, pause and be connecting
  // again.
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  const auto stop = std::chrono::steady_clock::now();
  capture.ClosePort();
  EXPECT_LT(std::chrono::steady_clock::now() - stop, std::chrono::milliseconds(500));
  EXPECT_FALSE(capture.IsCapturing());
  for (int filler : fillers) close(filler);
  close(listener);
}

}  // namespace
}  // namespace taloven
