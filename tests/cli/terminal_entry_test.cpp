#include <gtest/gtest.h>

#include <sstream>

#include "base/encoding.h"
#include "catalogue/parameter_entry.h"
#include "resources/strings.h"
#include "support/record_builders.h"
#include "terminal_ui.h"

namespace taloven {
namespace {

CommandParameter Param(const std::string& type, int size, const std::string& value = "",
                       const std::string& title = "Valor") {
  return testing::MakeParameter(type, size, title, true, value);
}

struct Typed {
  std::string value;
  std::string prompts;
};

Typed Collect(const CommandParameter& parameter, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream err;
  TerminalUi ui(in, err, false);
  std::string value = CollectParameterValue(parameter, ui);
  return {value, err.str()};
}

TEST(TerminalEntry, ChainsAnsweredByTyping) {
  const std::string erro = Str(StrId::kError);
  const struct {
    const char* name;
    CommandParameter parameter;
    const char* input;
    std::string expected;
  } cases[] = {
      {"Enter accepts the preset", Param("STRING", 4, "AB"), "\n", "AB  "},
      {"empty answer without preset cancels", Param("STRING", 4), "\n", erro},
      {"end of input cancels", Param("INTEGER", 4), "", erro},
      {"too long is asked again", Param("STRING", 2), "ABC\nAB\n", "AB"},
      {"digits only", Param("INTEGER", 4), "1a\n12\n", "0012"},
      {"amount with a comma", Param("FINANCE", 10), "12,3\n", "0000001230"},
      {"amount without a comma", Param("FINANCE", 10), "1234\n", "0000001234"},
      {"preset amount by Enter", Param("FINANCE", 10, "150"), "\n", "0000000150"},
      {"percent", Param("PERCENTAGE", 4), "5,5\n", "0550"},
      {"date confirmed after a No", Param("DATA", 6), "31/02/2025\n07/03/2025\nn\n08/03/2025\ns\n",
       "080325"},
      {"time", Param("HORA", 6), "9:05:03\n", "090503"},
      {"numbered options", Param("DISCOUNT", 8), "3\n2\n1,5\n", "00000150"},
      {"options title", Param("OPTIONS", 1, "", "Loja(1) ou Restaurante(0)"), "2\n", "0"},
      {"long text with a line break", Param("BIG_STRING_VAR_SIZE", 20), "a\\nb\n", "a\r\nb"},
  };
  for (const auto& c : cases) EXPECT_EQ(Collect(c.parameter, c.input).value, c.expected) << c.name;
}

TEST(TerminalEntry, PromptsShowPresetsAndPlainOptionTexts) {
  Typed typed = Collect(Param("AC_OU_DESC_SUB", 15), "2\n1\n10\n");
  EXPECT_EQ(typed.value, "D1000");
  EXPECT_NE(typed.prompts.find("  1) Acréscimo\n  2) Desconto\n"), std::string::npos);
  EXPECT_NE(typed.prompts.find("[00,00]"), std::string::npos);
  EXPECT_EQ(typed.prompts.find('&'), std::string::npos);
}

TEST(TerminalEntry, ClicheAndTaxRates) {
  Typed cliche = Collect(Param("CLICHE", 186), "Loja\nS\n\n-\nFim\n-\nn\n");
  EXPECT_EQ(cliche.value, "CLICHE_SUB_INI_XMLLojaCLICHE_SUB_END_XML\r\n\r\nFim\r\n");
  std::string rates = "1800\n";
  for (int i = 1; i < 16; ++i) rates += "\n";
  rates += "0100000000000000\n";
  EXPECT_EQ(Collect(Param("VINC_ISS", 16), rates).value, "0100000000000000");
}

}  // namespace
}  // namespace taloven
