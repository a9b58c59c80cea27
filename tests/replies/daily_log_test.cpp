#include "replies/daily_log.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;
namespace fs = std::filesystem;

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

const std::string kStars(62, '*');

TEST(DailyLog, FileOfTheDay) {
  EXPECT_EQ(LogFilePath("/w", At(2006, 12, 7, 10, 0, 0)), "/w/log/Log_2006_12_07.txt");
  EXPECT_EQ(LogFilePath("/w/", At(2027, 1, 31, 0, 0, 0)), "/w/log/Log_2027_01_31.txt");
}

TEST(DailyLog, LineFeedsBecomeCrLfAndCarriageReturnsStay) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"a\nb", "a\r\nb"}, {"\r\n", "\r\r\n"}, {"\r", "\r"}, {"\n\n", "\r\n\r\n"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(ToTextModeLineEnds(c.in), c.out);
}

TEST(DailyLog, RecordIsWrittenByteForByte) {
  TempDirectory dir;
  CommandRecord record;
  record.title = W("Leitura X");
  record.escapeText = "35 60";
  CommandParameter parameter;
  parameter.title = W("Operação");
  parameter.value = std::string("12\0junk", 7);
  record.parameters = {parameter};
  ReturnField field;
  field.title = "Data";
  field.value = "071206";
  record.returnFields = {field, field};
  record.formattedReturn = "\r\nCOMANDO OK";

  WriteLogRecord(record, dir.Path().string(), At(2006, 12, 7, 9, 5, 3));
  const std::string expected =
      "\r\n" + kStars + "\r\n07/12/2006 \t 09:05:03\r\n" + W("Título do Comando\tEscape\r\n") +
      "Leitura X\t35 60" + W("\r\nParâmetros:\r\n") + W("\r\nOperação\t12") + "\r\nRetornos:\r\n" +
      "\r\nData\t071206\r\n" + "\r\nData\t071206\r\n" + "\r\nRetorno formatado:\r\n" +
      "\r\r\nCOMANDO OK" + "\r\n" + kStars;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "log" / "Log_2006_12_07.txt"), expected);
}

TEST(DailyLog, RecordsAppendAndMidnightOpensTheNextDay) {
  TempDirectory dir;
  CommandRecord record;
  record.title = "T";
  WriteLogRecord(record, dir.Path().string(), At(2006, 12, 7, 23, 59, 59));
  WriteLogRecord(record, dir.Path().string(), At(2006, 12, 7, 23, 59, 59));
  WriteLogRecord(record, dir.Path().string(), At(2006, 12, 8, 0, 0, 1));

  const std::string one = "\r\n" + kStars + "\r\n07/12/2006 \t 23:59:59\r\n" +
                          W("Título do Comando\tEscape\r\nT\t\r\nParâmetros:\r\n") +
                          "\r\nRetornos:\r\n\r\nRetorno formatado:\r\n\r\n" + kStars;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "log" / "Log_2006_12_07.txt"), one + one);
  const std::string next = ReadFileBytes(dir.Path() / "log" / "Log_2006_12_08.txt");
  EXPECT_NE(next.find("08/12/2006 \t 00:00:01\r\n"), std::string::npos);
  EXPECT_EQ(next.size(), one.size());
}

// Lowers the file size limit so that the next append is taken only in part,
// as on a disk with little room left; restored at the end of the scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_DFL);
  }

 private:
  rlimit saved_{};
};

TEST(DailyLog, AFailedWriteIsReportedAndLeavesNoPartOfARecord) {
  const std::tm when = At(2006, 12, 7, 1, 0, 0);
  const struct {
    const char* name;
    bool logIsAFile, readOnlyLog, nearlyFull;
    const char* reason;
  } cases[] = {
      {"log is a plain file", true, false, false, "Not a directory"},
      {"log is read-only", false, true, false, "Permission denied"},
      {"200 bytes left", false, false, true, "File too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.readOnlyLog && geteuid() == 0) continue;  // root writes anyway
    TempDirectory dir;
    const fs::path file = LogFilePath(dir.Path().string(), when);
    CommandRecord record;
    record.title = "T";
    record.formattedReturn = std::string(400, 'x');
    std::string before;
    if (c.logIsAFile) std::ofstream(dir.Path() / "log") << "a file where the directory should be";
    if (c.readOnlyLog) {
      fs::create_directory(dir.Path() / "log");
      fs::permissions(dir.Path() / "log", fs::perms::owner_read | fs::perms::owner_exec);
    }
    if (c.nearlyFull) {
      ASSERT_EQ(WriteLogRecord(record, dir.Path().string(), when), 0);
      before = ReadFileBytes(file);
    }

    std::string failure;
    int result = 0;
    {
      FileSizeLimit limit(c.nearlyFull ? before.size() + 200 : RLIM_INFINITY);
      result = WriteLogRecord(record, dir.Path().string(), when, &failure);
    }
    EXPECT_EQ(result, -1);
    EXPECT_NE(failure.find(file.string()), std::string::npos) << failure;
    EXPECT_NE(failure.find(c.reason), std::string::npos) << failure;
    if (c.nearlyFull) {
      EXPECT_EQ(ReadFileBytes(file), before) << "the half record was cut off again";
      ASSERT_EQ(WriteLogRecord(record, dir.Path().string(), when), 0);
      EXPECT_EQ(ReadFileBytes(file), before + before) << "the next record follows a whole one";
    }
  }
}

}  // namespace
}  // namespace taloven
