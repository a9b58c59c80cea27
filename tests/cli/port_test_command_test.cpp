#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "cli_outcome.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::CliOutcome;
using testing::RunCliCaptured;

// A loopback plug standing in for the adapter: a pseudo-terminal whose other
// side sends back what it gets, dropping every dropEvery-th byte and
// flipping a bit of every flipEvery-th (0: never).
class LoopbackPlug {
 public:
  LoopbackPlug(int dropEvery, int flipEvery) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    path_ = ptsname(master_);
    keeper_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    echo_ = std::thread([this, dropEvery, flipEvery] {
      long count = 0;
      while (!stop_) {
        pollfd watch{master_, POLLIN, 0};
        if (poll(&watch, 1, 20) <= 0) continue;
        uint8_t bytes[256];
        const ssize_t n = read(master_, bytes, sizeof bytes);
        std::string back;
        for (ssize_t i = 0; i < n; ++i) {
          ++count;
          if (dropEvery != 0 && count % dropEvery == 0) continue;
          back.push_back(static_cast<char>(
              flipEvery != 0 && count % flipEvery == 0 ? bytes[i] ^ 0x10 : bytes[i]));
        }
        if (!back.empty() && write(master_, back.data(), back.size()) < 0) return;
      }
    });
  }
  ~LoopbackPlug() {
    stop_ = true;
    if (echo_.joinable()) echo_.join();
    if (keeper_ >= 0) close(keeper_);
    if (master_ >= 0) close(master_);
  }
  const std::string& Path() const { return path_; }

 private:
  int master_ = -1, keeper_ = -1;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread echo_;
};

// Eight speeds of 448 bytes each: 3584 bytes in all.
TEST(PortTestCommand, TellsAGoodAdapterFromALossyOne) {
  const struct {
    const char* what;
    int dropEvery, flipEvery;
    int status;
    const char* verdict;
    const char* firstSpeed;
  } cases[] = {
      {"a sound plug", 0, 0, 0, "todos os bytes voltaram intactos",
       "      1200       448        448         0          0"},
      {"a plug that loses and changes bytes", 1000, 300, 9, "bytes perdidos ou alterados",
       "      1200       448        448         0          1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LoopbackPlug plug(c.dropEvery, c.flipEvery);
    ASSERT_FALSE(plug.Path().empty());
    const CliOutcome run = RunCliCaptured({"port-test", plug.Path()});
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.out.find(c.verdict), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.firstSpeed), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    115200"), std::string::npos) << run.out;
  }
}

TEST(PortTestCommand, APortThatDoesNotOpenOrAMissingNameIsSaidSo) {
  testing::TempDirectory work;
  const std::string missing = (work.Path() / "no-such-line").string();
  CliOutcome run = RunCliCaptured({"port-test", missing});
  EXPECT_EQ(run.status, 4);
  EXPECT_NE(run.err.find(missing + ": No such file or directory"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  run = RunCliCaptured({"port-test"});
  EXPECT_EQ(run.status, 1);
  run = RunCliCaptured({"port-test", "a", "b"});
  EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace taloven
