#include "replies/hex_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace taloven {
namespace {

// A dump line as the exchange writes it: "CMD: " and " %02X" per byte.
std::string DumpLine(const char* label, const std::vector<int>& bytes) {
  std::string line = std::string(label) + ": ";
  for (int b : bytes) {
    char pair[8];
    std::snprintf(pair, sizeof pair, " %02X", b);
    line += pair;
  }
  return line + "\r\n";
}

std::string Pairs(int from, int count) {
  std::string text;
  for (int b = from; b < from + count; ++b) {
    char pair[8];
    std::snprintf(pair, sizeof pair, "%02X ", b);
    text += pair;
  }
  return text;
}

std::string Characters(int from, int count) {
  std::string text;
  for (int b = from; b < from + count; ++b) text += static_cast<char>(b);
  return text;
}

TEST(HexDump, SixteenBytesMakeOneLine) {
  std::vector<int> bytes;
  for (int b = 0x41; b < 0x51; ++b) bytes.push_back(b);
  const std::string dump = DumpLine("CMD", bytes) + DumpLine("RET", {0x06});
  EXPECT_EQ(HexDumpText(dump), "CMD:\r\n0000  " + Pairs(0x41, 16) + Characters(0x41, 16) +
                                   "\r\nRET:\r\n0000  06" + std::string(46, ' ') + "\x06\r\n\r\n");
}

TEST(HexDump, SeventeenthByteStartsTheSecondLine) {
  std::vector<int> bytes;
  for (int b = 0x41; b < 0x52; ++b) bytes.push_back(b);
  const std::string dump = DumpLine("CMD", bytes) + DumpLine("RET", {});
  EXPECT_EQ(HexDumpText(dump), "CMD:\r\n0000  " + Pairs(0x41, 16) + Characters(0x41, 16) +
                                   "\r\n0010  51" + std::string(46, ' ') + "Q\r\nRET:\r\n\r\n");
}

TEST(HexDump, ZeroByteIsADotAndOtherControlsStay) {
  const std::string dump = DumpLine("CMD", {0x00, 0x0A, 0x1B}) + DumpLine("RET", {0x06, 0x00});
  EXPECT_EQ(HexDumpText(dump), "CMD:\r\n0000  00 0A 1B" + std::string(40, ' ') + ".\n\x1B\r\n" +
                                   "RET:\r\n0000  06 00" + std::string(43, ' ') + "\x06.\r\n\r\n");
}

TEST(HexDump, EveryExchangeOfASequenceIsShown) {
  const std::string dump = DumpLine("CMD", {0x31}) + DumpLine("RET", {0x32}) +
                           DumpLine("CMD", {0x33}) + DumpLine("RET", {0x34});
  const std::string pad(46, ' ');
  EXPECT_EQ(HexDumpText(dump), "CMD:\r\n0000  31" + pad + "1\r\nRET:\r\n0000  32" + pad +
                                   "2\r\n\r\nCMD:\r\n0000  33" + pad + "3\r\nRET:\r\n0000  34" +
                                   pad + "4\r\n\r\n");
}

TEST(HexDump, OffsetsCountOnPastTheFourthDigit) {
  std::vector<int> bytes(0x10010, 0x55);
  const std::string text = HexDumpText(DumpLine("CMD", bytes) + DumpLine("RET", {}));
  EXPECT_NE(text.find("\r\nfff0  55 "), std::string::npos);
  EXPECT_NE(text.find("\r\n10000  55 "), std::string::npos);
}

TEST(HexDump, EmptyOrTruncatedDumpsStayHarmless) {
  EXPECT_EQ(HexDumpText(""), "CMD:\r\nRET:\r\n\r\n");
  EXPECT_EQ(HexDumpText("CMD:  4"), "CMD:\r\n0000  4" + std::string(47, ' ') + "\r\nRET:\r\n\r\n");
  EXPECT_EQ(HexDumpText("CMD:  41 4"),
            "CMD:\r\n0000  41 4" + std::string(44, ' ') + "A\r\nRET:\r\n\r\n");
}

}  // namespace
}  // namespace taloven
