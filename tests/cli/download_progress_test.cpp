#include "download_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace taloven {
namespace {

TEST(DownloadProgressLine, ShowsRateAndTimeLeft) {
  const struct {
    long long done, total;
    double seconds;
    const char* line;
  } cases[] = {
      {0, 49152, 0.0, "0/49152 bytes (0%) -- B/s, faltam --"},
      {12288, 49152, 0.05, "12288/49152 bytes (25%) -- B/s, faltam --"},
      {12288, 49152, 3.0, "12288/49152 bytes (25%) 4,0 KB/s, faltam 0:09"},
      {300, 1000, 1.0, "300/1000 bytes (30%) 300,0 B/s, faltam 0:02"},
      {3 << 20, 30 << 20, 2.0, "3145728/31457280 bytes (10%) 1,5 MB/s, faltam 0:18"},
      {1000, 8000000, 1.0, "1000/8000000 bytes (0%) 1000,0 B/s, faltam 2:13:19"},
      {49152, 49152, 12.0, "49152/49152 bytes (100%) 4,0 KB/s, faltam 0:00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DownloadProgressLine(c.done, c.total, c.seconds), c.line) << c.line;
}

std::string Drawn(void (*transfer)(DownloadProgress&)) {
  std::FILE* stream = std::tmpfile();
  DownloadProgress progress(stream);
  transfer(progress);
  std::string text(static_cast<size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  text.resize(std::fread(text.data(), 1, text.size(), stream));
  std::fclose(stream);
  return text;
}

// The line ends with its own newline also when the transfer stopped short,
// and a transfer that reported nothing leaves nothing behind.
TEST(DownloadProgress, EndsItsLineOnceWhateverTheOutcome) {
  const std::string whole = Drawn([](DownloadProgress& p) {
    p.Report(0, 100);
    p.Report(100, 100);
    p.End();
  });
  EXPECT_EQ(whole.substr(0, 1), "\r");
  EXPECT_NE(whole.find("100/100 bytes (100%)"), std::string::npos);
  EXPECT_EQ(whole.back(), '\n');
  EXPECT_EQ(whole.find('\n'), whole.size() - 1);

  const std::string cut = Drawn([](DownloadProgress& p) {
    p.Report(40, 100);
    p.End();
    p.End();
  });
  EXPECT_EQ(cut.back(), '\n');
  EXPECT_EQ(cut.find('\n'), cut.size() - 1);

  EXPECT_EQ(Drawn([](DownloadProgress& p) { p.End(); }), "");

  // Thousands of reports in a moment draw the first figures and the last.
  const std::string many = Drawn([](DownloadProgress& p) {
    for (long long done = 0; done <= 5000; ++done) p.Report(done, 5000);
    p.End();
  });
  EXPECT_LE(std::count(many.begin(), many.end(), '\r'), 3) << many.size();
  EXPECT_NE(many.find("\r0/5000 bytes (0%)"), std::string::npos);
  EXPECT_NE(many.find("\r5000/5000 bytes (100%)"), std::string::npos);
}

}  // namespace
}  // namespace taloven
