#include "report_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kovo {
namespace {

TEST(ReportFigures, MoneyGroupsThousandsAndKeepsTheSign) {
  const std::vector<std::pair<Cents, std::string>> cases{
      {0, "0,00"},
      {5, "0,05"},
      {99, "0,99"},
      {100, "1,00"},
      {123456, "1.234,56"},
      {100000000, "1.000.000,00"},
      {-1, "-0,01"},
      {-123456, "-1.234,56"},
      {99999999, "999.999,99"},
      {INT64_MIN, "-92.233.720.368.547.758,08"},
      {Cents{INT64_MAX} * 3, "276.701.161.105.643.274,21"},
  };
  for (const auto& [cents, text] : cases) EXPECT_EQ(Money(cents), text) << text;
}

TEST(ReportFigures, DatesOfThePrintersTimeStamps) {
  struct Case {
    std::string when, date, dateTime;
  };
  const std::vector<Case> cases{
      {"07122026101112", "07/12/2026", "07/12/2026 10:11:12"},
      {"01012000000000", "01/01/2000", "01/01/2000 00:00:00"},
      // Without a time, or cut short, as much as there is.
      {"07122026", "07/12/2026", "07/12/2026"},
      {"0712202610", "07/12/2026", "07/12/2026"},
      {"0712", "0712", "0712"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateText(c.when), c.date) << c.when;
    EXPECT_EQ(DateTimeText(c.when), c.dateTime) << c.when;
  }
}

TEST(ReportText, RowsEndAtTheRightEdgeAndLinesEndInCrLf) {
  ReportText text;
  text.Row("COO", "000123");
  text.Row(std::string(45, 'L'), "VALOR");  // too long: one blank between
  text.Line();
  text.Line("fim");
  EXPECT_EQ(text.Bytes(), "COO" + std::string(39, ' ') + "000123\r\n" + std::string(45, 'L') +
                              " VALOR\r\n\r\nfim\r\n");
}

TEST(ReportText, PrinterLinesAreTranslatedAndGetCrLf) {
  struct Case {
    std::string cp850, cp1252;
  };
  const std::vector<Case> cases{
      {"", ""},
      {"A\nB\n", "A\r\nB\r\n"},
      // ç, ã, É and º of code page 850.
      {"\x87\xC6\x90\xA7\n", "\xE7\xE3\xC9\xBA\r\n"},
      // Nothing but line ends: the text grows past its first guess.
      {std::string(100, '\n'),
       [] {
         std::string crlf;
         for (int i = 0; i < 100; ++i) crlf += "\r\n";
         return crlf;
       }()},
  };
  for (const Case& c : cases) {
    ReportText text;
    text.Line("antes");
    text.PrinterLines(c.cp850);
    EXPECT_EQ(text.Bytes(), "antes\r\n" + c.cp1252) << c.cp850.size();
  }
}

}  // namespace
}  // namespace kovo
