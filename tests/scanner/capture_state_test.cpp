#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "formats/symbol_record.h"
#include "scanner/capture_state.h"

namespace taloven {
namespace {

std::string Journal(size_t size) {
  std::string journal;
  for (size_t i = 0; i < size; ++i) journal += static_cast<char>('A' + i % 23);
  return journal;
}

std::string Symbol(const std::string& journal, size_t offset,
                   std::string_view trailer = "\x55\xAA") {
  return MakeSymbolRecord(static_cast<uint32_t>(journal.size()), static_cast<uint32_t>(offset),
                          std::string_view(journal).substr(offset, kSymbolPayloadBytes), trailer);
}

// Symbols fed one after another, as a person scans them, with what the
// window shows after each and the payload left at the end.
TEST(CaptureState, SymbolsAreJudgedAndTheirPayloadsKeptInOffsetOrder) {
  const std::string set = Journal(1500);  // 668 + 668 + 164
  const std::string other = Journal(2000);
  const std::string cutShort = MakeSymbolRecord(1500, 668, std::string_view(set).substr(668, 600));
  const std::string tenBytes = MakeSymbolRecord(1500, 1336, "");
  struct Step {
    std::string bytes;
    SymbolVerdict verdict;
    const char* status;
    const char* readCount;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string payload;
    bool allRead;
  };
  const Case cases[] = {
      {"the whole set, last first",
       {{Symbol(set, 1336), SymbolVerdict::Stored, "Símbolo lido: 3/3", "1"},
        {Symbol(set, 0), SymbolVerdict::Stored, "Símbolo lido: 1/3", "2"},
        {Symbol(set, 668), SymbolVerdict::Stored, "Símbolo lido: 2/3", "3"}},
       set,
       true},
      {"a repeated symbol counts once",
       {{Symbol(set, 668), SymbolVerdict::Stored, "Símbolo lido: 2/3", "1"},
        {Symbol(set, 668), SymbolVerdict::Repeated, "Símbolo já foi lido", "1"}},
       set.substr(668, 668),
       false},
      {"two of three back to back",
       {{Symbol(set, 0), SymbolVerdict::Stored, "Símbolo lido: 1/3", "1"},
        {Symbol(set, 1336), SymbolVerdict::Stored, "Símbolo lido: 3/3", "2"}},
       set.substr(0, 668) + set.substr(1336),
       false},
      {"a record of head and trailer only adds nothing",
       {{tenBytes, SymbolVerdict::Stored, "Símbolo lido: 3/3", "1"},
        {Symbol(set, 0), SymbolVerdict::Stored, "Símbolo lido: 1/3", "2"}},
       set.substr(0, 668),
       false},
      {"whatever the trailer holds",
       {{Symbol(set, 0, "\xFF\xFF"), SymbolVerdict::Stored, "Símbolo lido: 1/3", "1"},
        {Symbol(set, 668, "\x12\x34"), SymbolVerdict::Stored, "Símbolo lido: 2/3", "2"},
        {Symbol(set, 1336, ""), SymbolVerdict::Stored, "Símbolo lido: 3/3", "3"}},
       set,
       true},
      {"bad symbols are reported and never stored",
       {{"\x01\x02\x03\x04\x05", SymbolVerdict::TooShort, "Símbolo incompleto: descartado", ""},
        {cutShort, SymbolVerdict::TooShort, "Símbolo incompleto: descartado", ""},
        {Symbol(set, 0) + "x", SymbolVerdict::OtherSet, "Símbolo de outro conjunto: descartado",
         ""},
        {MakeSymbolRecord(1500, 1500, "x"), SymbolVerdict::OtherSet,
         "Símbolo de outro conjunto: descartado", ""},
        {MakeSymbolRecord(1500, 5, "x"), SymbolVerdict::OtherSet,
         "Símbolo de outro conjunto: descartado", ""},
        {Symbol(set, 0), SymbolVerdict::Stored, "Símbolo lido: 1/3", "1"},
        // Same offsets, another journal: it would have passed for symbol 2.
        {Symbol(other, 668), SymbolVerdict::OtherSet, "Símbolo de outro conjunto: descartado",
         "1"}},
       set.substr(0, 668),
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CaptureState state;
    for (const Step& step : c.steps) {
      EXPECT_EQ(state.Accept(step.bytes), step.verdict);
      EXPECT_EQ(state.Display().status, W(step.status));
      EXPECT_EQ(state.Display().readCount, step.readCount);
      EXPECT_EQ(state.Display().dump, DumpText(step.bytes));
    }
    EXPECT_EQ(state.Payload(), c.payload);
    EXPECT_EQ(state.AllRead(), c.allRead);
    EXPECT_EQ(state.Display().setSize, state.SetKnown() ? "3" : "");
  }
}

TEST(CaptureState, DumpShowsEightBytesALineLedByTheOffset) {
  std::string bytes;
  for (int i = 0; i < 19; ++i) bytes += static_cast<char>(i == 18 ? 0xAB : i);
  EXPECT_EQ(DumpText(bytes),
            "000000  00 01 02 03 04 05 06 07 \n"
            "000008  08 09 0A 0B 0C 0D 0E 0F \n"
            "000010  10 11 AB \n");
  EXPECT_EQ(DumpText(""), "");
}

}  // namespace
}  // namespace taloven
