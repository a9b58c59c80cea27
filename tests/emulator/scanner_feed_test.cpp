#include <gtest/gtest.h>

#include "formats/symbol_record.h"
#include "scanner/scanner_feed.h"
#include "scanner/symbol_export.h"

namespace taloven::emulator {
namespace {

TEST(ScannerFeed, AStreamIsCutIntoTheRecordsItWasMadeOf) {
  const std::string journal(1500, 'j');
  const std::vector<std::string> made = SymbolRecords(journal);
  std::string stream;
  for (const std::string& record : made) stream += record;
  const struct {
    const char* name;
    std::string stream;
    size_t records;
    const char* error;
  } cases[] = {
      {"the whole journal", stream, 3, ""},
      {"nothing", "", 0, ""},
      {"cut in the last record", stream.substr(0, stream.size() - 1), 0,
       "a record cut short at byte 1356"},
      {"no record", std::string(20, '\0'), 0, "no symbol record at byte 0"},
      {"a stray byte after", stream + "x", 0, "a record cut short at byte 1530"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> records;
    const Status split = SplitScannerStream(c.stream, records);
    EXPECT_EQ(split.ok(), *c.error == '\0');
    EXPECT_EQ(split.message(), c.error);
    if (*c.error == '\0') {
      EXPECT_EQ(records.size(), c.records);
      for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i], made[i]);
    }
  }
}

}  // namespace
}  // namespace taloven::emulator
