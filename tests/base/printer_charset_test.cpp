#include "base/printer_charset.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>
#include <string>

namespace taloven {
namespace {

// glibc's converters are the reference, not a table of ours.
std::string Convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return "";
  out.resize(out.size() - dstLeft);
  return out;
}

// The letters the printer prints, as UTF-8.
std::set<std::string> PrinterLetters() {
  const char* letters[] = {"ª", "º", "À", "Á", "Â", "Ã", "Ä", "Ç", "È", "É", "Ê", "Ì",
                           "Í", "Ï", "Ñ", "Ò", "Ó", "Ô", "Õ", "Ù", "Ú", "Û", "Ü", "à",
                           "á", "â", "ã", "ä", "ç", "è", "é", "ê", "ë", "ì", "í", "ï",
                           "ñ", "ò", "ó", "ô", "õ", "ö", "ù", "ú", "û", "ü", "ÿ"};
  return {std::begin(letters), std::end(letters)};
}

std::string Byte(int b) {
  return std::string(1, static_cast<char>(b));
}

// Every byte in the source code page that is one of the letters must become
// the reference's byte for it in the target code page; every other byte,
// the zero byte aside, must pass unchanged.
void ExpectLettersOnly(const char* from, const char* to, void (*convert)(std::string&)) {
  const auto letters = PrinterLetters();
  int mapped = 0;
  for (int b = 1; b < 256; ++b) {
    const std::string utf8 = Convert("UTF-8", from, Byte(b));
    std::string text = Byte(b);
    convert(text);
    if (letters.count(utf8)) {
      EXPECT_EQ(text, Convert(to, "UTF-8", utf8)) << from << " byte " << b;
      ++mapped;
    } else {
      EXPECT_EQ(text, Byte(b)) << from << " byte " << b << " must pass unchanged";
    }
  }
  EXPECT_EQ(mapped, 47) << from;
}

TEST(PrinterCharset, BothDirectionsMatchTheReferenceForTheLettersOnly) {
  ExpectLettersOnly("CP1252", "CP850", ToPrinterCharset);
  ExpectLettersOnly("CP850", "CP1252", PrinterTextToWindows);
}

TEST(PrinterCharset, IncomingTextStopsAtTheFirstZeroByte) {
  std::string text("\x87\x00\x87", 3);
  PrinterTextToWindows(text);
  EXPECT_EQ(text, std::string("\xE7\x00\x87", 3));
}

TEST(ReplyTextByte, LowBytesAndLettersPass) {
  for (int b = 0; b < 0x60; ++b) EXPECT_EQ(ReplyTextByte(b), static_cast<char>(b)) << b;
  for (int b = 0x61; b < 0x7F; ++b) EXPECT_EQ(ReplyTextByte(b), static_cast<char>(b)) << b;
  EXPECT_EQ(ReplyTextByte(0x60), ' ');
  EXPECT_EQ(ReplyTextByte(0x7F), ' ');
}

TEST(ReplyTextByte, HighBytesShowTheCodePageLetterOrAPlainStandIn) {
  const struct {
    char standIn;
    std::set<int> bytes;
  } standIns[] = {
      {' ', {0x8F, 0x9F, 0xFF}},
      {'i', {0xD5}},
      {'_', {0xB0, 0xB1, 0xB2, 0xDB, 0xDC, 0xDF, 0xF2, 0xFE}},
      {'\xA6', {0xB3, 0xB4, 0xB9, 0xBA, 0xCC}},
      {'+', {0xBB, 0xBC, 0xBF, 0xC0, 0xC3, 0xC5, 0xC8, 0xC9, 0xCE, 0xD9, 0xDA}},
      {'-', {0xC1, 0xC2, 0xC4, 0xCA, 0xCB, 0xCD}},
  };
  for (int b = 0x80; b < 0x100; ++b) {
    char expected = 0;
    for (const auto& s : standIns)
      if (s.bytes.count(b)) expected = s.standIn;
    if (expected == 0) {
      const std::string reference = Convert("CP1252", "CP850", Byte(b));
      ASSERT_EQ(reference.size(), 1u) << "byte " << b << " has no Windows-1252 letter";
      expected = reference[0];
    }
    EXPECT_EQ(ReplyTextByte(b), expected) << "byte " << b;
  }
  EXPECT_EQ(ReplyTextByte(0x87), '\xE7');  // ç
  EXPECT_EQ(ReplyTextByte(0xC4), '-');
}

}  // namespace
}  // namespace taloven
