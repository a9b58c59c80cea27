// Each read of the printer's configuration as bytes on the line: the frame
// that goes out and the reply that comes back, both written out by hand,
// and where the reply's fields land.
#include <gtest/gtest.h>

#include <map>

#include "programming/printer_configuration_read.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using namespace std::string_literals;
using testing::ScriptedLine;
using Frame = std::vector<uint8_t>;

struct Read {
  Frame frame;       // STX, length, ESC, command, checksum
  std::string data;  // the reply between ACK and the status bytes
};

std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width - text.size(), ' ');
}

// Reads common to both generations, in their order.
std::vector<Read> CommonReads() {
  return {
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x0F, 0x4D, 0x00}, "\x00\x42"s},  // 35 15 store
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x0E, 0x4C, 0x00}, "\x10\x07"s},  // 35 14 register
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x17, 0x55, 0x00}, "\x08\x12\x26\x15\x30\x00"s},  // 35 23
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x11, 0x4F, 0x00}, "\x04"},  // 35 17 flags
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x0D, 0x4B, 0x00},           // 35 13 cliché
       Padded("\x1BW\x01LOJA\x1BW\x02\x1B-\x01RUA\x1B-0", 186)},
      {{0x02, 0x04, 0x00, 0x1B, 0x1A, 0x35, 0x00},  // 26 tax rates: count, then 16 rates
       "\x02\x18\x00\x05\x00"s + std::string(28, '\0')},
      {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x1D, 0x5B, 0x00}, "\x40\x01"s},  // 35 29 ISS linkage
  };
}

std::string Names(int count) {
  std::string names;
  for (int k = 1; k <= count; ++k) names += Padded("TOTAL " + std::to_string(k), 19);
  return names;
}

TEST(ConfigurationReadBytes, EachReadSendsItsCommandAndTakesItsFields) {
  const struct {
    const char* name;
    uint32_t mask;
    std::vector<Read> first, last;
  } generations[] = {
      {"first",
       0x0008,
       {{{0x02, 0x05, 0x00, 0x1B, 0x23, 0x00, 0x3E, 0x00}, "TV0400000000001"},  // 35 0
        {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x02, 0x40, 0x00},                      // 35 2
         "12.345.678/0001-95123.456.789.110"}},
       {{{0x02, 0x05, 0x00, 0x1B, 0x23, 0x19, 0x57, 0x00}, Names(9)}}},  // 35 25
      {"second",
       0x0400,
       {{{0x02, 0x05, 0x00, 0x1B, 0x23, 0x28, 0x66, 0x00}, "TV0800000000000001  "},  // 35 40
        {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x2A, 0x68, 0x00}, "12.345.678/0001-95  "},  // 35 42
        {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x2B, 0x69, 0x00}, "123.456.789.110     "},  // 35 43
        {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x2C, 0x6A, 0x00}, "9876543             "},  // 35 44
        {{0x02, 0x05, 0x00, 0x1B, 0x23, 0x46, 0x84, 0x00}, "SP"}},                   // 35 70
       {{{0x02, 0x05, 0x00, 0x1B, 0x23, 0x30, 0x6E, 0x00}, Names(30)}}},             // 35 48
  };
  for (auto g : generations) {
    SCOPED_TRACE(g.name);
    std::vector<Read> reads = g.first;
    for (const Read& r : CommonReads()) reads.push_back(r);
    reads.insert(reads.end(), g.last.begin(), g.last.end());
    std::map<Frame, std::string> replies;
    for (const Read& r : reads) replies[r.frame] = r.data;

    testing::TestClock clock;
    testing::ScriptedUi ui(&clock);
    ScriptedLine line;
    line.clock = &clock;
    line.onWrite = [&replies](ScriptedLine& l, const Frame& frame) {
      const auto found = replies.find(frame);
      if (found == replies.end()) return l.Silence(1);
      Frame reply{0x06};
      reply.insert(reply.end(), found->second.begin(), found->second.end());
      reply.insert(reply.end(), {0x00, 0x00});
      l.Answer(reply);
    };
    testing::ScriptedPortFactory ports(line);
    testing::TempDirectory directory;
    AppSettings settings;
    settings.portName = "COM1:";
    settings.workingDirectory = directory.Path().string();
    settings.modelMask = g.mask;
    ExecutionContext context{settings, ui, ports, clock};

    EquipmentConfiguration c;
    c.im = "STALE";
    c.uf = "RJ";
    c.totalizerNames[30] = "KEPT";
    ASSERT_EQ(ReadPrinterConfiguration(c, context), 0);

    std::vector<Frame> sent;
    for (const Read& r : reads) sent.push_back(r.frame);
    EXPECT_EQ(line.frames, sent);
    const bool first = g.mask < 0x100;
    EXPECT_EQ(c.serialNumber, first ? "TV0400000000001" : "TV0800000000000001  ");
    EXPECT_EQ(c.cnpj, first ? "12.345.678/0001-95" : "12.345.678/0001-95  ");
    EXPECT_EQ(c.ie, first ? "123.456.789.110" : "123.456.789.110     ");
    EXPECT_EQ(c.im, first ? "" : "9876543             ");
    EXPECT_EQ(c.uf, first ? "" : "SP");
    EXPECT_EQ(c.storeNumber, "0042");
    EXPECT_EQ(c.registerNumber, "007");
    EXPECT_EQ(c.date, "081226");
    EXPECT_EQ(c.time, "153000");
    EXPECT_TRUE(c.daylightSaving);
    // 19 bytes of text and escapes, then 167 blanks.
    EXPECT_EQ(c.cliche,
              "CLICHE_EXP_INI_XMLLOJACLICHE_EXP_END_XMLCLICHE_SUB_INI_XMLRUACLICHE_SUB_END_XML" +
                  std::string(167, ' '));
    EXPECT_EQ(c.taxRates[0], "1800");
    EXPECT_EQ(c.taxRates[1], "0500");
    EXPECT_EQ(c.taxRates[2], "0000");
    EXPECT_EQ(c.issLinkage, "0100000000000001");
    const size_t names = first ? 9 : 30;
    EXPECT_EQ(c.totalizerNames[0], Padded("TOTAL 1", 19));
    EXPECT_EQ(c.totalizerNames[names - 1], Padded("TOTAL " + std::to_string(names), 19));
    EXPECT_EQ(c.totalizerNames[names], first ? "" : "KEPT");
  }
}

}  // namespace
}  // namespace taloven
