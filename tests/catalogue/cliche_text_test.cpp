#include "catalogue/cliche_text.h"

#include <gtest/gtest.h>

#include <string>

namespace taloven {
namespace {

ClicheAnswer Lines(ClicheLine first, ClicheLine second = {}, ClicheLine third = {},
                   bool centred = false) {
  return ClicheAnswer{{first, second, third}, centred};
}

ClicheLine Styled(std::string text, bool u, bool i, bool e, bool x) {
  return ClicheLine{std::move(text), u, i, e, x};
}

std::string Spaces(size_t n) {
  return std::string(n, ' ');
}
const std::string kEmptyTail = "\r\n\r\n";

TEST(BuildClicheText, StylesCutAndCentre) {
  const std::string long60(60, 'x');
  const struct {
    const char* name;
    ClicheAnswer answer;
    std::string expected;
  } cases[] = {
      {"nothing typed", Lines({}), "\r\n\r\n\r\n"},
      {"plain line cut to 47", Lines({long60}), std::string(47, 'x') + "\r\n" + kEmptyTail},
      {"all styles in order", Lines(Styled("Loja", true, true, true, true)),
       "CLICHE_SUB_INI_XMLCLICHE_IT_INI_XMLCLICHE_ENF_INI_XMLCLICHE_EXP_INI_XMLLoja"
       "CLICHE_SUB_END_XMLCLICHE_IT_END_XMLCLICHE_ENF_END_XMLCLICHE_EXP_END_XML\r\n" +
           kEmptyTail},
      {"underline and expanded keep 35", Lines(Styled(long60, true, false, false, true)),
       "CLICHE_SUB_INI_XMLCLICHE_EXP_INI_XML" + std::string(35, 'x') +
           "CLICHE_SUB_END_XMLCLICHE_EXP_END_XML\r\n" + kEmptyTail},
      {"italic and emphasis keep 39", Lines(Styled(long60, false, true, true, false)),
       "CLICHE_IT_INI_XMLCLICHE_ENF_INI_XML" + std::string(39, 'x') +
           "CLICHE_IT_END_XMLCLICHE_ENF_END_XML\r\n" + kEmptyTail},
      {"empty styled line keeps its tokens", Lines(Styled("", false, true, false, false)),
       "CLICHE_IT_INI_XMLCLICHE_IT_END_XML\r\n" + kEmptyTail},
      {"centred plain", Lines({"1234567"}, {}, {}, true),
       Spaces(20) + "1234567\r\n" + Spaces(23) + "\r\n" + Spaces(23) + "\r\n"},
      {"centred expanded, blanks before the tokens",
       Lines(Styled("1234567", false, false, false, true), {}, {}, true),
       Spaces(16) + "CLICHE_EXP_INI_XML1234567CLICHE_EXP_END_XML\r\n" + Spaces(23) + "\r\n" +
           Spaces(23) + "\r\n"},
      {"centred line too wide for blanks", Lines({std::string(47, 'y')}, {"ab"}, {}, true),
       std::string(47, 'y') + "\r\n" + Spaces(22) + "ab\r\n" + Spaces(23) + "\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildClicheText(c.answer), c.expected) << c.name;
}

TEST(BuildClicheText, ThirdLine) {
  const std::string long100(100, 'z');
  const std::string threeStyles = "CLICHE_SUB_INI_XMLCLICHE_IT_INI_XMLCLICHE_ENF_INI_XML";
  const std::string threeStylesOff = "CLICHE_SUB_END_XMLCLICHE_IT_END_XMLCLICHE_ENF_END_XML";
  const struct {
    const char* name;
    ClicheLine line;
    bool centred;
    std::string expected;
  } cases[] = {
      // Cut like the other lines: a break counts among its 47 characters.
      {"cut to 47", {long100}, false, std::string(47, 'z') + "\r\n"},
      {"styled cut to 41", Styled(long100, true, false, false, false), false,
       "CLICHE_SUB_INI_XML" + std::string(41, 'z') + "CLICHE_SUB_END_XML\r\n"},
      {"two printed lines", {"primeira\r\nsegunda"}, false, "primeira\r\nsegunda\r\n"},
      {"a break cut in half goes",
       {std::string(46, 'a') + "\r\nb"},
       false,
       std::string(46, 'a') + "\r\n"},
      // 10 characters before the break: (47 - 10) / 2 = 18, under the cap (79 - 17) / 2 = 31;
      // the second printed line (47 - 5) / 2 = 21.
      {"centred on both printed lines",
       {"0123456789\r\nabcde"},
       true,
       Spaces(18) + "0123456789\r\n" + Spaces(21) + "abcde\r\n"},
      // 60 characters without a break, cut to 47: (47 - 47) / 2, no blanks.
      {"first printed line too long", {std::string(60, 'q')}, true, std::string(47, 'q') + "\r\n"},
      // 2 characters but 47 in all: capped at (79 - 47) / 2 = 16; 16 + 46 + 1 bytes leave the
      // second printed line no blanks within the line's 62.
      {"capped by the whole length",
       {"ab\r\n" + std::string(66, 'r')},
       true,
       Spaces(16) + "ab\r\n" + std::string(43, 'r') + "\r\n"},
      // Expanded: (47 - 2*4 - 1) / 2 = 19, cap (79 - 2*11) / 2 = 28; second line (47 - 2*5) / 4
      // = 9.
      {"expanded", Styled("abcd\r\nefghi", false, false, false, true), true,
       Spaces(19) + "CLICHE_EXP_INI_XMLabcd\r\n" + Spaces(9) + "efghiCLICHE_EXP_END_XML\r\n"},
      // 23 blanks, 32 bytes of text and 14 of styles: the line's share is spent.
      {"second printed line held to the line's share",
       Styled("\r\n" + std::string(31, 'b'), true, true, true, false), true,
       Spaces(23) + threeStyles + "\r\n" + std::string(31, 'b') + threeStylesOff + "\r\n"},
  };
  for (const auto& c : cases) {
    ClicheAnswer answer = Lines({}, {}, c.line, c.centred);
    std::string head = c.centred ? Spaces(23) + "\r\n" + Spaces(23) + "\r\n" : "\r\n\r\n";
    EXPECT_EQ(BuildClicheText(answer), head + c.expected) << c.name;
  }
}

}  // namespace
}  // namespace taloven
