#include "journal_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "formats/mfd_file.h"
#include "journal_file.h"
#include "kovo_mfd.h"
#include "support/temp_directory.h"

namespace kovo {
namespace {

using taloven::JournalEntry;

JournalEntry Entry(uint32_t coo, uint8_t user, std::string_view when) {
  JournalEntry entry;
  entry.coo = coo;
  entry.user = user;
  entry.when = when;
  return entry;
}

TEST(JournalSelection, DatesAreCheckedAndBoundBothEnds) {
  struct Case {
    const char* start;
    const char* end;
    bool valid;
    int first, last;
  };
  const std::vector<Case> cases{
      {"010326", "310326", true, 20260301, 20260331},
      {"311299", "010100", true, 19991231, 20000101},  // 99 is 1999, 00 is 2000
      {"290224", "290224", true, 20240229, 20240229},
      {"290225", "010325", false, 0, 0},  // no 29 February in 2025
      {"310426", "010526", false, 0, 0},
      {"010326", "0103", false, 0, 0},
      {"01032a", "010326", false, 0, 0},
      {nullptr, "010326", false, 0, 0},
      {"010326", nullptr, false, 0, 0},
  };
  for (const Case& c : cases) {
    JournalSelection selection;
    const bool valid = SelectDates(c.start, c.end, selection);
    EXPECT_EQ(valid, c.valid) << (c.start ? c.start : "null") << " " << (c.end ? c.end : "null");
    if (!c.valid) continue;
    EXPECT_EQ(selection.firstDate, c.first);
    EXPECT_EQ(selection.lastDate, c.last);
  }

  JournalSelection march;
  ASSERT_TRUE(SelectDates("010326", "310326", march));
  const std::vector<std::pair<std::string_view, bool>> days{
      {"28022026235959", false}, {"01032026000000", true},  {"31032026235959", true},
      {"01042026000000", false}, {"xx032026000000", false},
  };
  for (const auto& [when, taken] : days) EXPECT_EQ(march.Takes(Entry(1, 1, when)), taken) << when;
}

TEST(JournalSelection, UserAndCooRangeTakesOnlyThatUsersDocuments) {
  const JournalSelection selection = SelectUserAndCoos(2, 10, 20);
  struct Case {
    uint32_t coo;
    uint8_t user;
    bool taken;
  };
  const std::vector<Case> cases{
      {9, 2, false},  {10, 2, true},  {15, 2, true},  {20, 2, true},
      {21, 2, false}, {15, 1, false}, {15, 3, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(selection.Takes(Entry(c.coo, c.user, "01032026000000")), c.taken)
        << c.coo << "/" << int(c.user);
  EXPECT_TRUE(JournalSelection{}.Takes(Entry(1, 9, "")));
}

TEST(JournalFile, ResultsForEachKindOfFile) {
  taloven::testing::TempDirectory directory;
  const auto Path = [&](const char* name) { return (directory.Path() / name).string(); };
  std::string payload;
  taloven::AppendJournalRecord(payload,
                               {7, taloven::JournalKind::kXReading, 1, "07122026101112", "x\n"});
  ASSERT_TRUE(
      taloven::WriteFileAtomically(Path("good.mfd"), taloven::MfdFileBytes("TV1", payload)).ok());
  ASSERT_TRUE(
      taloven::WriteFileAtomically(Path("nameless.mfd"), taloven::MfdFileBytes("", payload)).ok());
  ASSERT_TRUE(taloven::WriteFileAtomically(Path("short.mfd"), "MFD?").ok());
  // Larger than any download: refused by its size alone, before it is read.
  ASSERT_TRUE(taloven::WriteFileAtomically(Path("huge.mfd"), "").ok());
  std::filesystem::resize_file(Path("huge.mfd"), taloven::kLargestMfdFileBytes + 1);

  struct Case {
    std::string path;
    int result;
  };
  const std::vector<Case> cases{
      {Path("good.mfd"), KOVO_OK},
      {Path("nameless.mfd"), KOVO_NO_SERIAL_NUMBER},
      {Path("short.mfd"), KOVO_NO_VALID_DATA},
      {Path("missing.mfd"), KOVO_NO_VALID_DATA},
      {Path("huge.mfd"), KOVO_NO_VALID_DATA},
      {directory.Path().string(), KOVO_NO_VALID_DATA},
  };
  for (const Case& c : cases) {
    JournalFile journal;
    EXPECT_EQ(journal.Open(c.path.c_str()), c.result) << c.path;
  }
  JournalFile none;
  EXPECT_EQ(none.Open(nullptr), KOVO_NO_VALID_DATA);

  JournalFile journal;
  ASSERT_EQ(journal.Open(Path("good.mfd").c_str()), KOVO_OK);
  EXPECT_EQ(journal.Source(), "TV1");
  std::vector<uint32_t> coos;
  auto take = [&](const JournalEntry& e) {
    coos.push_back(e.coo);
    return true;
  };
  InputProgress progress(static_cast<long long>(journal.Size()));
  EXPECT_TRUE(journal.ForEach({}, progress, take));
  EXPECT_TRUE(journal.ForEach(SelectUserAndCoos(1, 8, 9), progress, take));
  EXPECT_EQ(coos, std::vector<uint32_t>{7});
}

// The file is read a stretch at a time into room for the largest record:
// records that end on, straddle or dwarf a stretch come out whole.
TEST(JournalFile, RecordsOfEverySizeComeOutWholeAndInOrder) {
  taloven::testing::TempDirectory directory;
  const std::string path = (directory.Path() / "sizes.mfd").string();
  const std::vector<size_t> sizes{
      1,       (64u << 10) - 40, (64u << 10) + 1,           taloven::kJournalMaxLines,
      3 << 10, 200u << 10,       taloven::kJournalMaxLines, 1,
  };
  std::string payload;
  for (size_t i = 0; i < sizes.size(); ++i) {
    std::string lines(sizes[i] - 1, static_cast<char>('a' + i));
    lines += '\n';
    taloven::AppendJournalRecord(payload,
                                 {static_cast<uint32_t>(i + 1), taloven::JournalKind::kNonFiscal, 1,
                                  "07122026101112", lines});
  }
  ASSERT_TRUE(taloven::WriteFileAtomically(path, taloven::MfdFileBytes("TV1", payload)).ok());

  JournalFile journal;
  ASSERT_EQ(journal.Open(path.c_str()), KOVO_OK);
  size_t seen = 0;
  InputProgress progress(static_cast<long long>(journal.Size()));
  EXPECT_TRUE(journal.ForEach({}, progress, [&](const JournalEntry& e) {
    EXPECT_LT(seen, sizes.size());
    if (seen >= sizes.size()) return false;
    EXPECT_EQ(e.coo, seen + 1);
    EXPECT_EQ(e.lines.size(), sizes[seen]) << e.coo;
    EXPECT_EQ(e.lines.find_first_not_of(static_cast<char>('a' + seen)), sizes[seen] - 1) << e.coo;
    ++seen;
    return true;
  }));
  EXPECT_EQ(seen, sizes.size());
  EXPECT_EQ(journal.DamagedRecords(), 0u);
}

}  // namespace
}  // namespace kovo
