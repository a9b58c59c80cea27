#include "catalogue/command_record.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace taloven {
namespace {

TEST(ReadLeadingNumber, ReadsLikeAtoi) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"42", 42},
      {"  42abc", 42},
      {"-1", -1},
      {"+7", 7},
      {"\t\n 9", 9},
      {"", 0},
      {"abc", 0},
      {"- 1", 0},
      {"0035", 35},
      {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLeadingNumber(c.text), c.expected) << c.text;
}

TEST(CommandRecordEscape, ParsesPiecesCutAtSingleBlanks) {
  const struct {
    const char* text;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"35 60", {35, 60}},           {"27", {27}},     {"", {0}},
      {"35  60", {35, 0, 60}},       {"35 ", {35, 0}}, {"300", {300 & 0xFF}},
      {"0000000000000000035", {35}},  // a long piece is read whole, not cut
  };
  for (const auto& c : cases) {
    CommandRecord record;
    record.SetEscapeText(c.text);
    ASSERT_EQ(record.escapeLength, static_cast<int32_t>(c.bytes.size())) << c.text;
    for (size_t i = 0; i < c.bytes.size(); ++i) EXPECT_EQ(record.escapeBytes[i], c.bytes[i]);
    EXPECT_FALSE(record.escapeTooLong);
    EXPECT_EQ(record.escapeText, c.text);
  }
}

TEST(CommandRecordEscape, MoreThanTwelveValuesKeepsTwelveAndMarksTheRecord) {
  CommandRecord record;
  record.SetEscapeText("1 2 3 4 5 6 7 8 9 10 11 12 13");
  EXPECT_EQ(record.escapeLength, 12);
  EXPECT_EQ(record.escapeBytes[11], 12);
  EXPECT_TRUE(record.escapeTooLong);
  record.SetEscapeText("35 60");
  EXPECT_FALSE(record.escapeTooLong);
}

TEST(CommandRecord, AppendsKeepCountsEqualToTheLists) {
  CommandRecord record;
  record.AppendParameter({});
  record.AppendParameter({});
  record.AppendReturnField({});
  EXPECT_EQ(record.parameterCount, 2);
  EXPECT_EQ(record.returnFieldCount, 1);
  CommandRecord copy = record;
  copy.parameters[0].value = "changed";
  EXPECT_TRUE(record.parameters[0].value.empty());
}

}  // namespace
}  // namespace taloven
