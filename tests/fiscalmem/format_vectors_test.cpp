// The memory formats against bytes written out by hand from kovomfd's
// FORMATS.md (offsets counted there, checks worked out apart from this
// code): a field moved in the readers and writers alike fails here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "formats/symbol_record.h"
#include "memories/download.h"

namespace taloven {
namespace {

using namespace std::string_literals;

// A block of the fiscal memory: 252 bytes of 00h with the pieces laid at
// their offsets, then the check as written.
struct Piece {
  size_t at;
  std::string bytes;
};
std::string Block(const std::vector<Piece>& pieces, const std::string& check) {
  std::string block(252, '\0');
  for (const Piece& p : pieces) block.replace(p.at, p.bytes.size(), p.bytes);
  return block + check;
}

TEST(FormatVectors, JournalRecords) {
  const std::string payload = "JR"s + "\x03\x00\x00\x00"s + "\x07\x00\x00\x00"s + "\x05\x02"s +
                              "08122026153000" + "\x00\x00"s + "\x3F\x02\x74\xF0"s + "AB\n" +  //
                              "JR"s + "\x04\x00\x00\x00"s + "\x08\x00\x00\x00"s + "\x01\x02"s +
                              "08122026153105" + "\x00\x00"s + "\x10\xC2\x65\x67"s + "X\nY\n";
  const struct {
    uint32_t coo;
    JournalKind kind;
    uint8_t user;
    const char* when;
    const char* lines;
  } records[] = {{7, JournalKind::kZReduction, 2, "08122026153000", "AB\n"},
                 {8, JournalKind::kFiscalReceipt, 2, "08122026153105", "X\nY\n"}};

  const JournalScan scan = ScanJournal(payload);
  ASSERT_EQ(scan.entries.size(), 2u);
  EXPECT_EQ(scan.damagedBytes, 0u);
  std::string written;
  for (size_t i = 0; i < 2; ++i) {
    const JournalEntry& e = scan.entries[i];
    EXPECT_EQ(e.coo, records[i].coo);
    EXPECT_EQ(e.kind, records[i].kind);
    EXPECT_EQ(e.user, records[i].user);
    EXPECT_EQ(e.when, records[i].when);
    EXPECT_EQ(e.lines, records[i].lines);
    AppendJournalRecord(written, {records[i].coo, records[i].kind, records[i].user, records[i].when,
                                  records[i].lines});
  }
  EXPECT_EQ(written, payload);
}

TEST(FormatVectors, FiscalMemoryImage) {
  const std::string identity = Block({{0, "KVMF\x01"},
                                      {8, "TV0800000000000001"},
                                      {28, "TALOVEN"},
                                      {44, "ECF-T08"},
                                      {64, "ECF-IF"},
                                      {71, "01.02.03"},
                                      {81, "12.345.678/0001-95"},
                                      {101, "123.456.789.110"},
                                      {121, "9876543"},
                                      {141, "SP"},
                                      {143, "\x07\x00\x2A\x00"s}},
                                     "\x29\x9E\xDA\x9C"s);
  const std::string reduction =
      Block({{0, "RZ"},
             {2, "\x0C\x00\x00\x00"s},
             {6, "\x59\x01\x00\x00"s},
             {10, "\x03\x00\x00\x00"s},
             {14, "07122026220000"},
             {28, "\x14\x1A\x99\xBE\x1C\x00\x00\x00"s},  // 123456789012
             {36, "\xCD\x81\x01\x00\x00\x00\x00\x00"s},  // 98765
             {44, "\x6A\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s},  // -150
             {52, "\xC8\x00\x00\x00\x00\x00\x00\x00"s},
             {60, "\x32\x00\x00\x00\x00\x00\x00\x00"s},
             {68, "\xE8\x03\x00\x00\x00\x00\x00\x00"s},
             {76, "\xD0\x07\x00\x00\x00\x00\x00\x00"s},
             {84, "\xB8\x0B\x00\x00\x00\x00\x00\x00"s},
             {92, "\x02"},
             {93, "\x08\x07\x00\x50\xC3\x00\x00\x00\x00"s},    // 18,00 % ICMS, 500,00
             {102, "\xF4\x01\x01\x7D\xBE\x00\x00\x00\x00"s}},  // 5,00 % ISS, 487,65
            "\x06\x9F\xCD\xBB"s);
  MfIdentity id;
  id.serialNumber = "TV0800000000000001";
  id.maker = "TALOVEN";
  id.model = "ECF-T08";
  id.type = "ECF-IF";
  id.firmware = "01.02.03";
  id.cnpj = "12.345.678/0001-95";
  id.ie = "123.456.789.110";
  id.im = "9876543";
  id.uf = "SP";
  id.registerNumber = 7;
  id.storeNumber = 42;
  MfReduction z;
  z.crz = 12;
  z.coo = 345;
  z.cro = 3;
  z.when = "07122026220000";
  z.grandTotal = 123456789012;
  z.gross = 98765;
  z.cancellations = -150;
  z.discounts = 200;
  z.surcharges = 50;
  z.exempt = 1000;
  z.nonIncidence = 2000;
  z.substitution = 3000;
  z.rateCount = 2;
  z.rates[0] = {1800, false, 50000};
  z.rates[1] = {500, true, 48765};

  EXPECT_EQ(EncodeMfIdentity(id), identity);
  EXPECT_EQ(EncodeMfReduction(z), reduction);
  MfImage image;
  ASSERT_TRUE(DecodeMfImage(identity + reduction, image));
  EXPECT_EQ(image.damagedBlocks, 0u);
  const MfIdentity& i = image.identity;
  EXPECT_EQ(std::vector<std::string>(
                {i.serialNumber, i.maker, i.model, i.type, i.firmware, i.cnpj, i.ie, i.im, i.uf}),
            std::vector<std::string>({id.serialNumber, id.maker, id.model, id.type, id.firmware,
                                      id.cnpj, id.ie, id.im, id.uf}));
  EXPECT_EQ(i.registerNumber, 7);
  EXPECT_EQ(i.storeNumber, 42);
  ASSERT_EQ(image.reductions.size(), 1u);
  const MfReduction& r = image.reductions[0];
  EXPECT_EQ(
      std::vector<int64_t>({r.crz, r.coo, r.cro, r.grandTotal, r.gross, r.cancellations,
                            r.discounts, r.surcharges, r.exempt, r.nonIncidence, r.substitution,
                            r.rateCount}),
      std::vector<int64_t>({12, 345, 3, 123456789012, 98765, -150, 200, 50, 1000, 2000, 3000, 2}));
  EXPECT_EQ(r.when, "07122026220000");
  EXPECT_EQ(r.rates[0].hundredths, 1800);
  EXPECT_FALSE(r.rates[0].iss);
  EXPECT_EQ(r.rates[0].cents, 50000);
  EXPECT_EQ(r.rates[1].hundredths, 500);
  EXPECT_TRUE(r.rates[1].iss);
  EXPECT_EQ(r.rates[1].cents, 48765);
  EXPECT_EQ(r.rates[2].hundredths, 0);
}

TEST(FormatVectors, BasicSoftwareImage) {
  const std::string image = "KVSB01.02.03\x00\x00\x00\x00"s + "ECF-T08" + std::string(13, '\0') +
                            "\x03\x00\x00\x00"s + "\xAA\xBB\xCC" + "\xB4\xD2\xCD\x68"s;
  EXPECT_EQ(emulator::BasicSoftwareBytes("01.02.03", "ECF-T08", "\xAA\xBB\xCC"), image);
}

TEST(FormatVectors, SymbolRecords) {
  const struct {
    const char* name;
    std::string bytes;
    SymbolCheck check;
    uint32_t total, offset;
    std::string payload;
  } rows[] = {
      {"the last of a 1500-byte set, any trailer",
       "\xDC\x05\x00\x00\x38\x05\x00\x00"s + std::string(164, 'p') + "\x55\xAA"s,
       SymbolCheck::Sound, 1500, 1336, std::string(164, 'p')},
      {"the first, a trailer of 00h",
       "\xDC\x05\x00\x00\x00\x00\x00\x00"s + std::string(668, 'q') + "\x00\x00"s,
       SymbolCheck::Sound, 1500, 0, std::string(668, 'q')},
      {"head and trailer alone", "\xDC\x05\x00\x00\x9C\x02\x00\x00\xFF\xFF"s, SymbolCheck::Sound,
       1500, 668, ""},
      {"less than its share",
       "\xDC\x05\x00\x00\x9C\x02\x00\x00"s + std::string(667, 'r') + "\x01\x02",
       SymbolCheck::TooShort, 1500, 668, std::string(667, 'r')},
      {"more than its share",
       "\xDC\x05\x00\x00\x38\x05\x00\x00"s + std::string(165, 's') + "\x01\x02",
       SymbolCheck::OutOfSet, 1500, 1336, std::string(165, 's')},
      {"an offset between symbols", "\xDC\x05\x00\x00\x05\x00\x00\x00xy\x01\x02"s,
       SymbolCheck::OutOfSet, 1500, 5, "xy"},
      {"an offset past the total", "\xDC\x05\x00\x00\xDC\x05\x00\x00xy\x01\x02"s,
       SymbolCheck::OutOfSet, 1500, 1500, "xy"},
      {"nine bytes", "\xDC\x05\x00\x00\x00\x00\x00\x00\x01"s, SymbolCheck::TooShort, 0, 0, ""},
  };
  for (const auto& row : rows) {
    SymbolRecord record;
    EXPECT_EQ(ReadSymbolRecord(row.bytes, record), row.check) << row.name;
    EXPECT_EQ(record.total, row.total) << row.name;
    EXPECT_EQ(record.offset, row.offset) << row.name;
    EXPECT_EQ(record.payload, row.payload) << row.name;
  }
  EXPECT_EQ(MakeSymbolRecord(1500, 1336, std::string(164, 'p'), "\x55\xAA"), rows[0].bytes);
}

}  // namespace
}  // namespace taloven
