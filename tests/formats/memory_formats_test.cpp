#include <gtest/gtest.h>

#include "formats/crc32.h"
#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "formats/mfd_file.h"

namespace taloven {
namespace {

JournalRecord Record(uint32_t coo, const std::string& lines) {
  JournalRecord r;
  r.coo = coo;
  r.when = "07122026101112";
  r.lines = lines;
  return r;
}

TEST(Crc32, IsTheCommonCheckInPiecesAndWhole) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  const std::string text(1000, 'k');
  EXPECT_EQ(Crc32(std::string_view(text).substr(3), Crc32(std::string_view(text).substr(0, 3))),
            Crc32(text));
}

TEST(MfdFile, LayoutOfACapturedFile) {
  const std::string bytes = MfdFileBytes(kMfdCaptureSource, "ABC");
  ASSERT_EQ(bytes.size(), 525824u + 3 + 256);
  EXPECT_EQ(bytes.find_first_not_of('\xFF'), 524288u);
  const struct {
    size_t at;
    uint8_t kind, tail0, tail1;
  } blocks[] = {{524288, 0, 0x42, 0x55}, {524544, 0, 0x42, 0x55}, {524800, 0, 0x42, 0x55},
                {525056, 1, 0x3C, 0x40}, {525312, 1, 0x3C, 0x40}, {525568, 1, 0x3C, 0x40}};
  for (const auto& b : blocks) {
    const std::string block = bytes.substr(b.at, 256);
    EXPECT_EQ(static_cast<uint8_t>(block[0]), b.kind) << b.at;
    EXPECT_EQ(block.substr(1, 7), "PDF-417") << b.at;
    EXPECT_EQ(block.substr(8, 246), std::string(246, '\0')) << b.at;
    EXPECT_EQ(static_cast<uint8_t>(block[254]), b.tail0) << b.at;
    EXPECT_EQ(static_cast<uint8_t>(block[255]), b.tail1) << b.at;
  }
  EXPECT_EQ(bytes.substr(525824, 3), "ABC");
  EXPECT_EQ(bytes.substr(525827), std::string(256, '\xFF'));
}

TEST(MfdFile, PayloadsComeBackWhateverTheirEnd) {
  const struct {
    const char* name;
    std::string file;
    bool ok;
    std::string source, payload;
  } cases[] = {
      {"downloaded", MfdFileBytes("TV0800000000000001", "data"), true, "TV0800000000000001",
       "data"},
      {"payload ending in FFh", MfdFileBytes("PDF-417", "x\xFF\xFF"), true, "PDF-417", "x\xFF\xFF"},
      {"empty payload", MfdFileBytes("PDF-417", ""), true, "PDF-417", ""},
      {"cut short in the trailer", MfdFileBytes("S", "data").substr(0, 525824 + 4 + 100), true, "S",
       "data"},
      {"too short", std::string(1000, '\xFF'), false, "", ""},
      {"no marker block", std::string(525824 + 256, '\xFF'), false, "", ""},
  };
  for (const auto& c : cases) {
    MfdContents contents;
    ASSERT_EQ(ParseMfdFile(c.file, contents), c.ok) << c.name;
    if (!c.ok) continue;
    EXPECT_EQ(contents.source, c.source) << c.name;
    EXPECT_EQ(contents.payload, c.payload) << c.name;
  }
}

TEST(MfdFile, OneSoundMarkerCopyStillNamesTheSource) {
  std::string bytes = MfdFileBytes("TV1", "p");
  for (size_t i = 0; i < 5; ++i) bytes[kMfdErasedBytes + i * 256 + 255] = 0;
  MfdContents contents;
  ASSERT_TRUE(ParseMfdFile(bytes, contents));
  EXPECT_EQ(contents.source, "TV1");
}

TEST(Journal, DamageCostsOnlyTheRecordsItTouches) {
  std::string payload;
  for (uint32_t coo = 1; coo <= 5; ++coo)
    AppendJournalRecord(payload, Record(coo, "COO:" + std::to_string(coo) + "\nline\n"));
  const size_t recordSize = payload.size() / 5;
  const struct {
    const char* name;
    size_t at;  // byte flipped
    std::vector<uint32_t> coos;
  } cases[] = {
      {"sound", std::string::npos, {1, 2, 3, 4, 5}},
      {"lines of the third", 2 * recordSize + 40, {1, 2, 4, 5}},
      {"mark of the first", 0, {2, 3, 4, 5}},
      {"length of the fourth", 3 * recordSize + 3, {1, 2, 3, 5}},
      {"check of the last", 4 * recordSize + 29, {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    std::string damaged = payload;
    if (c.at != std::string::npos) damaged[c.at] ^= 0x40;
    std::vector<uint32_t> coos;
    const JournalScan scan = ScanJournal(damaged);
    for (const JournalEntry& e : scan.entries) coos.push_back(e.coo);
    EXPECT_EQ(coos, c.coos) << c.name;
    EXPECT_EQ(scan.damagedBytes == 0, c.at == std::string::npos) << c.name;
  }
}

// A reader holds only part of a payload at a time: read in pieces of any
// size, a payload gives the records and counts the damage it gives whole.
TEST(Journal, ScannedInPiecesAsWhole) {
  std::string payload;
  for (uint32_t coo = 1; coo <= 5; ++coo)
    AppendJournalRecord(payload, Record(coo, "COO:" + std::to_string(coo) + "\nline\n"));
  const size_t record = payload.size() / 5;
  std::string flipped = payload;
  flipped[2 * record + 40] ^= 0x40;
  std::string garbage = payload;
  garbage.insert(2 * record, "xxJRyy");
  const struct {
    const char* name;
    std::string payload;
    std::vector<uint32_t> coos;
    size_t damagedRecords, damagedBytes;
  } cases[] = {
      {"sound", payload, {1, 2, 3, 4, 5}, 0, 0},
      {"lines of the third", flipped, {1, 2, 4, 5}, 1, record},
      // The false mark in the stretch is a place of its own.
      {"bytes between records", garbage, {1, 2, 3, 4, 5}, 2, 6},
      {"last cut short", payload.substr(0, payload.size() - 10), {1, 2, 3, 4}, 1, record - 10},
      {"tail shorter than a header", payload + "JR\x01", {1, 2, 3, 4, 5}, 1, 3},
      {"nothing but damage", std::string(100, 'J'), {}, 1, 100},
  };
  for (const auto& c : cases) {
    for (size_t piece :
         {size_t{1}, size_t{2}, size_t{7}, size_t{32}, size_t{33}, record, c.payload.size()}) {
      JournalScanner scanner(c.payload.size());
      std::vector<uint32_t> coos;
      std::string held;
      for (size_t next = 0; !scanner.Done();) {
        const size_t more = std::min(piece, c.payload.size() - next);
        held += c.payload.substr(next, more);
        next += more;
        const size_t used = scanner.Scan(held, [&](const JournalEntry& e) {
          coos.push_back(e.coo);
          return true;
        });
        held.erase(0, used);
        ASSERT_TRUE(used > 0 || more > 0) << c.name << " stuck in pieces of " << piece;
      }
      EXPECT_EQ(coos, c.coos) << c.name << " in pieces of " << piece;
      EXPECT_EQ(scanner.DamagedRecords(), c.damagedRecords) << c.name << " in pieces of " << piece;
      EXPECT_EQ(scanner.DamagedBytes(), c.damagedBytes) << c.name << " in pieces of " << piece;
    }
  }
}

TEST(Journal, DatesAreCheckedAsCalendarDates) {
  const struct {
    const char* text;
    bool ok;
    int key;
  } cases[] = {{"010126", true, 20260101}, {"290224", true, 20240229}, {"290225", false, 0},
               {"311299", true, 19991231}, {"000126", false, 0},       {"01012", false, 0},
               {"0101a6", false, 0},       {"011326", false, 0}};
  for (const auto& c : cases) {
    int key = 0;
    EXPECT_EQ(DateKeyFromDdmmyy(c.text, key), c.ok) << c.text;
    EXPECT_EQ(key, c.ok ? c.key : 0) << c.text;
  }
}

TEST(MfImage, ReductionsSurviveTheirBlocksAndDamageIsCounted) {
  MfIdentity id;
  id.serialNumber = "TV0800000000000001";
  id.cnpj = "12.345.678/0001-95";
  id.registerNumber = 7;
  MfReduction z;
  z.crz = 12;
  z.coo = 345;
  z.when = "07122026220000";
  z.grandTotal = 123456789012;
  z.gross = 98765;
  z.rateCount = 16;
  for (int k = 0; k < 16; ++k)
    z.rates[static_cast<size_t>(k)] = {100 * k, k % 2 == 1, 1000000LL * k};
  std::string image = EncodeMfIdentity(id) + EncodeMfReduction(z) + EncodeMfReduction(z);
  image[kMfBlockSize + 100] ^= 1;
  MfImage decoded;
  ASSERT_TRUE(DecodeMfImage(image, decoded));
  EXPECT_EQ(decoded.identity.serialNumber, id.serialNumber);
  EXPECT_EQ(decoded.identity.registerNumber, 7);
  EXPECT_EQ(decoded.damagedBlocks, 1u);
  ASSERT_EQ(decoded.reductions.size(), 1u);
  const MfReduction& r = decoded.reductions[0];
  EXPECT_EQ(r.crz, 12u);
  EXPECT_EQ(r.grandTotal, z.grandTotal);
  EXPECT_EQ(r.DateKey(), 20261207);
  EXPECT_EQ(r.rates[15].cents, 15000000);
  EXPECT_TRUE(r.rates[15].iss);
  image[5] ^= 1;
  EXPECT_FALSE(DecodeMfImage(image, decoded)) << "an image without its identity is refused";
}

}  // namespace
}  // namespace taloven
