#include <gtest/gtest.h>

#include "formats/crc32.h"
#include "formats/journal_record.h"
#include "formats/little_endian.h"
#include "formats/mf_image.h"
#include "memories/download.h"
#include "printer/bcd.h"
#include "printer_fixture.h"
#include "scanner/symbol_export.h"

namespace taloven::emulator::testing {
namespace {

std::string Owner(const std::string& cnpj) {
  return Fit(cnpj, 20) + Fit("IE", 20) + Fit("IM", 20) + std::string(10, '0') + "C" + "SP" +
         std::string(10, ' ');
}

const std::string kItem = "7891000100103" + Fit("Cafe", 29) + "01" + "0002000" + "00001000";

TEST(Memories, EveryPrintedDocumentIsFiledOnce) {
  PrinterFixture f;
  f.Send({29}, "00000000010000");  // supply
  f.Send({0});
  f.Send({9}, kItem);
  f.Send({33}, "01");
  f.Send({14});  // the finished receipt cancelled
  f.Send({6});
  f.Send({20}, std::string("\x01\x00", 2) + "primeira linha");
  f.Send({20}, std::string("\x01\x00", 2) + "segunda linha");
  f.Send({21});
  f.Send({5});
  f.printer.MutableState().intervention = true;
  ASSERT_EQ(f.Send({4}, Owner("98.765.432/0001-10")).st2, 0);
  f.printer.MutableState().intervention = false;
  f.hostTime += 86400;
  f.Send({6});

  const PrinterState& state = f.printer.State();
  const JournalScan scan = ScanJournal(state.journal);
  EXPECT_EQ(scan.damagedBytes, 0u);
  const struct {
    JournalKind kind;
    uint32_t coo;
    uint8_t user;
    const char* text;  // code page 850
  } expected[] = {
      {JournalKind::kNonFiscal, 1, 1, "SUPRIMENTO"},
      {JournalKind::kFiscalReceipt, 2, 1, "TOTAL R$"},
      {JournalKind::kReceiptCancellation, 3, 1, "CUPOM FISCAL CANCELADO"},
      {JournalKind::kXReading, 4, 1, "LEITURA X"},
      {JournalKind::kManagementReport, 5, 1, "primeira linha\nsegunda linha\n"},
      {JournalKind::kZReduction, 6, 1, "       REDU\x80\xC7O Z        "},
      {JournalKind::kUserChange, 7, 1, "ALTERA\x80\xC7O DE USU\xB5RIO"},
      {JournalKind::kXReading, 1, 2, "LEITURA X"},
  };
  ASSERT_EQ(scan.entries.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const JournalEntry& e = scan.entries[i];
    EXPECT_EQ(e.kind, expected[i].kind) << i;
    EXPECT_EQ(e.coo, expected[i].coo) << i;
    EXPECT_EQ(e.user, expected[i].user) << i;
    EXPECT_NE(e.lines.find(expected[i].text), std::string::npos) << i << "\n" << e.lines;
    EXPECT_NE(e.lines.find(" COO:" + FormatCounter(e.coo, 6) + "\n"), std::string::npos) << i;
    const size_t fab = e.lines.find("FAB:");
    ASSERT_NE(fab, std::string::npos) << i;
    EXPECT_EQ(e.lines.substr(fab + 28, 10), i < 7 ? "07/12/2026" : "08/12/2026") << i;
  }

  MfImage image;
  ASSERT_TRUE(DecodeMfImage(FiscalMemoryImage(state), image));
  EXPECT_EQ(image.identity.serialNumber, state.serialNumber);
  ASSERT_EQ(image.reductions.size(), 1u);
  EXPECT_EQ(image.reductions[0].crz, 1u);
  EXPECT_EQ(image.reductions[0].gross, 2000);
  EXPECT_EQ(image.reductions[0].grandTotal, state.grandTotal);
  EXPECT_EQ(image.reductions[0].rates[0].cents, 0) << "the cancelled receipt's sale is gone";
}

TEST(Memories, TheTenthModelPrintsItsMakersHeaderForm) {
  PrinterFixture f(DefaultPrinterState("ECF-T10"));
  f.Send({6});
  const JournalScan scan = ScanJournal(f.printer.State().journal);
  ASSERT_EQ(scan.entries.size(), 1u);
  const std::string_view lines = scan.entries[0].lines;
  const size_t header = lines.find("DRAVELIN        ECF-T10              ECF-IF");
  ASSERT_NE(header, std::string::npos);
  const size_t second = lines.find('\n', lines.find('\n', header) + 1) + 1;
  EXPECT_EQ(lines.substr(second + 28, 19), "07/12/2026 10:00:00");
  EXPECT_GE(lines.find('\n', header) - header, 46u);
}

TEST(Memories, DownloadCommandsServeTheImageInCheckedBlocks) {
  PrinterFixture f;
  for (int i = 0; i < 40; ++i) f.Send({6});
  const std::string& journal = f.printer.State().journal;
  const Answer info = f.Send({80, 90}, "20000000000000000");
  ASSERT_EQ(info.st2, 0);
  const std::string data(info.data.begin(), info.data.end());
  ASSERT_EQ(data.size(), static_cast<size_t>(kDownloadInfoSize));
  EXPECT_EQ(std::stoul(data.substr(0, 10)), journal.size());
  EXPECT_EQ(std::stoul(data.substr(10, 6)), (journal.size() + 4095) / 4096);
  EXPECT_EQ(std::stoul(data.substr(36, 8), nullptr, 16), Crc32(journal));
  EXPECT_EQ(std::stoul(data.substr(44, 8), nullptr, 16), Crc32(data.substr(0, 44)));

  std::string image;
  for (size_t block = 0; block * 4096 < journal.size(); ++block) {
    const Answer a = f.Send({80, 91}, FormatCounter(static_cast<int64_t>(block), 6));
    const std::string reply(a.data.begin(), a.data.end());
    ASSERT_EQ(reply.size(), static_cast<size_t>(kDownloadBlockReplySize));
    EXPECT_EQ(GetLittleEndian(reply, 0, 4), block);
    EXPECT_EQ(GetLittleEndian(reply, 4100, 4), Crc32(std::string_view(reply).substr(0, 4100)));
    image += reply.substr(4, 4096);
  }
  EXPECT_EQ(image.substr(0, journal.size()), journal);
  EXPECT_EQ(f.Send({80, 91}, "000999").extended, 150) << "a block past the image";
  EXPECT_EQ(f.Send({80, 90}, "21320126010226000").extended, 100) << "no such date";
}

TEST(Memories, ScannerRecordsCarryTheWholeJournal) {
  std::string journal(1500, 'j');
  const std::vector<std::string> records = SymbolRecords(journal);
  ASSERT_EQ(records.size(), 3u);
  const size_t payloads[] = {668, 668, 164};
  std::string joined;
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string& r = records[i];
    EXPECT_EQ(GetLittleEndian(r, 0, 4), 1500u);
    EXPECT_EQ(GetLittleEndian(r, 4, 4), i * 668);
    EXPECT_EQ(r.size(), 8 + payloads[i] + 2);
    EXPECT_EQ(r.substr(r.size() - 2), "\x55\xAA") << "two fixed bytes, no check";
    joined += r.substr(8, r.size() - 10);
  }
  EXPECT_EQ(joined, journal);
}

}  // namespace
}  // namespace taloven::emulator::testing
