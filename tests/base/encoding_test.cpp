#include "base/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>
#include <string>

#include "resources/strings.h"

namespace taloven {
namespace {

// The reference is glibc's own code-page converter, not a table of ours.
std::string IconvCp1252ToUtf8(const std::string& in) {
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return "<unconvertible>";
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(Encoding, EveryAssignedCp1252ByteMatchesIconvBothWays) {
  for (int b = 1; b < 256; ++b) {
    std::string byte(1, static_cast<char>(b));
    std::string reference = IconvCp1252ToUtf8(byte);
    if (reference == "<unconvertible>") continue;  // the five unassigned codes
    EXPECT_EQ(Cp1252ToUtf8(byte), reference) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1252(reference), byte) << "byte " << b;
  }
}

TEST(Encoding, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks) {
  const struct {
    std::string utf8;
    std::string cp1252;
  } cases[] = {
      {"\xE4\xB8\xAD", "?"},  // a CJK character
      {"a\xC3", "a?"},        // cut in the middle of a character
      {"\x80z", "?z"},        // a stray continuation byte
      {"\xC3\xA7\xC3\xA3o", "\xE7\xE3o"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(Strings, NumberedTextsAreServedInWindows1252) {
  EXPECT_EQ(Str(StrId::kError), "ERRO");
  EXPECT_EQ(Str(StrId::kOperationsMenu),
            "Opera\xE7\xF5"
            "es");
  EXPECT_EQ(Str(StrId::kConnectedNormal), "Impressora Fiscal conectada \xE0 porta %s\nModo Normal");
}

// Two names with one number would compile and one of their texts would be
// lost; every name must serve its own text.
TEST(Strings, EveryNameHasItsOwnNumberAndText) {
  struct Row {
    StrId id;
    int number;
    const char* text;
  };
#define TALOVEN_STRING_ROW(name, number, text) {StrId::name, number, text},
  const Row rows[] = {TALOVEN_STRING_TABLE(TALOVEN_STRING_ROW)};
#undef TALOVEN_STRING_ROW
  std::set<int> numbers;
  for (const Row& row : rows) {
    EXPECT_TRUE(numbers.insert(row.number).second) << row.number;
    EXPECT_EQ(static_cast<int>(row.id), row.number);
    EXPECT_FALSE(Str(row.id).empty()) << row.number;
    EXPECT_EQ(Str(row.id), Utf8ToCp1252(row.text)) << row.number;
  }
}

}  // namespace
}  // namespace taloven
