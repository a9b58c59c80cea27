#include "catalogue/parameter_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "resources/strings.h"
#include "support/record_builders.h"
#include "support/scripted_ui.h"

namespace taloven {
namespace {

using testing::ScriptedUi;
using Answers = std::vector<ScriptedUi::Answer>;
constexpr ScriptedUi::Cancel kCancel{};

CommandParameter Param(const std::string& type, int size, const std::string& value = "",
                       const std::string& title = "Valor") {
  return testing::MakeParameter(type, size, title, true, value);
}

struct Case {
  const char* name;
  CommandParameter parameter;
  Answers answers;
  std::string expected;
  std::vector<std::string> kinds;  // the dialogs shown, in order
};

std::string S(std::string text) {
  return text;
}
std::string Blanks(size_t n) {
  return std::string(n, ' ');
}

TaxRates Rates(const std::string& linkage = std::string(16, '0')) {
  TaxRates rates;
  for (size_t i = 0; i < 16; ++i) rates.rates[i] = std::to_string(i + 1);
  rates.linkage = linkage;
  return rates;
}

std::vector<Case> Cases() {
  const std::string erro = Str(StrId::kError);
  const auto yes = MessageAnswer::Yes;
  const auto no = MessageAnswer::No;
  return {
      {"string padded", Param("STRING", 5), {S("AB")}, "AB   ", {"text"}},
      {"string empty stays empty", Param("STRING", 5), {S("")}, "", {"text"}},
      {"string cancel", Param("STRING", 5), {kCancel}, erro, {"text"}},
      {"variable string unpadded", Param("STRING_VAR_SIZE", 5), {S("AB")}, "AB", {"text"}},
      {"ticket or receipt padded", Param("CUPOM_OU_BILHETE_CONV_156", 1), {S("B")}, "B", {"text"}},
      {"hex upper-cased and never padded", Param("DIG_HEX", 2), {S("0a1")}, "0A1", {"text"}},
      {"hex cancel", Param("DIG_HEX", 2), {kCancel}, erro, {"text"}},
      {"long text as typed", Param("BIG_STRING", 20), {S("a\r\nb")}, "a\r\nb", {"longtext"}},
      {"long text cancel", Param("BIG_STRING_VAR_SIZE", 20), {kCancel}, erro, {"longtext"}},
      {"integer padded", Param("INTEGER", 4), {S("12")}, "0012", {"number"}},
      {"bcd integer padded", Param("BCD_INTEGER", 2), {S("7")}, "07", {"number"}},
      {"binary in three digits", Param("BINARIO", 1), {S("7")}, "007", {"number"}},
      {"integer cancel", Param("INTEGER", 4), {kCancel}, erro, {"number"}},
      {"date", Param("DATA", 6), {Date{7, 3, 2025}}, "070325", {"date"}},
      {"date four-digit year", Param("DATA_2_2_4", 8), {Date{7, 3, 2025}}, "07032025", {"date"}},
      {"date cancel", Param("DATA", 6), {kCancel}, erro, {"date"}},
      {"time", Param("HORA", 6), {TimeAnswer{{}, {9, 5, 3}, true}}, "090503", {"time"}},
      {"time cancel", Param("HORA", 6), {kCancel}, erro, {"time"}},
      {"finance", Param("FINANCE", 10), {S("1234")}, "0000001234", {"amount"}},
      {"finance 3", Param("FINANCE_3", 10), {S("12345")}, "0000012345", {"amount"}},
      {"finance cancel", Param("FINANCE", 10), {kCancel}, erro, {"amount"}},
      {"percentage", Param("PERCENTAGE", 4), {PercentAnswer{"5", "5"}}, "0550", {"percent"}},
      {"percentage cancel", Param("PERCENTAGE", 4), {kCancel}, erro, {"percent"}},
      {"discount percent",
       Param("DISCOUNT", 8),
       {1, PercentAnswer{"10", ""}},
       "1000",
       {"options", "percent"}},
      {"discount amount", Param("DISCOUNT", 8), {2, S("150")}, "00000150", {"options", "amount"}},
      {"discount cancelled choice", Param("DISCOUNT", 8), {kCancel}, erro, {"options"}},
      {"discount cancelled amount",
       Param("DISCOUNT", 8),
       {2, kCancel},
       erro,
       {"options", "amount"}},
      {"subtotal discount percent",
       Param("AC_OU_DESC_SUB", 15),
       {2, 1, PercentAnswer{"10", "0"}},
       "D1000",
       {"options", "options", "percent"}},
      {"subtotal surcharge amount",
       Param("AC_OU_DESC_SUB", 15),
       {1, 2, S("150")},
       "a00000000000150",
       {"options", "options", "amount"}},
      {"subtotal second choice cancelled",
       Param("AC_OU_DESC_SUB", 15),
       {1, kCancel},
       erro,
       {"options", "options"}},
      {"closing both in percent",
       Param("FECHA_CUPOM", 30),
       {3, 1, PercentAnswer{"1", "5"}, PercentAnswer{"2", ""}},
       "X01500200",
       {"options", "options", "percent", "percent"}},
      {"closing both as amounts",
       Param("FECHA_CUPOM", 30),
       {3, 2, S("1"), S("2")},
       "X0000000000000100000000000002",
       {"options", "options", "amount", "amount"}},
      {"closing second amount cancelled",
       Param("FECHA_CUPOM", 30),
       {3, 2, S("1"), kCancel},
       erro,
       {"options", "options", "amount", "amount"}},
      {"item surcharge amount",
       Param("AC_OU_DESC_ITEM", 12),
       {1, S("3"), 1, S("250")},
       "A00300000250",
       {"options", "number", "options", "amount"}},
      {"item discount percent",
       Param("AC_OU_DESC_ITEM", 12),
       {2, S("12"), 2, PercentAnswer{"5", ""}},
       "D0120500",
       {"options", "number", "options", "percent"}},
      {"item number cancelled",
       Param("AC_OU_DESC_ITEM", 12),
       {1, kCancel},
       erro,
       {"options", "number"}},
      {"item percent cancelled",
       Param("AC_OU_DESC_ITEM", 12),
       {1, S("3"), 2, kCancel},
       erro,
       {"options", "number", "options", "percent"}},
      {"payment one description, no TEF",
       Param("DESCR_FORMA_PAGAMENTO", 400),
       {S("Dinheiro"), no, no},
       "Dinheiro" + Blanks(8) + "2",
       {"text", "message", "message"}},
      {"payment two, second cancelled",
       Param("DESCR_FORMA_PAGAMENTO", 400),
       {S("Cheque"), yes, yes, kCancel, no},
       "Cheque" + Blanks(10) + "1",
       {"text", "message", "message", "text", "message"}},
      {"payment empty description skipped",
       Param("DESCR_FORMA_PAGAMENTO", 400),
       {S(""), no},
       "",
       {"text", "message"}},
      {"tax rates",
       Param("TROCA_SIT_TRIB", 65),
       {S("3"), ScriptedUi::TaxPageAnswer{Rates(), false}},
       "03000100020003000400050006000700080009001000110012001300140015"
       "0016",
       {"number", "taxrates"}},
      {"tax rate count cancelled keeps the value",
       Param("TROCA_SIT_TRIB", 65, "keep"),
       {kCancel},
       "keep",
       {"number"}},
      {"linkage",
       Param("VINC_ISS", 16),
       {ScriptedUi::TaxPageAnswer{Rates("0010000000000002"), true}},
       "0010000000000001",
       {"taxrates"}},
      {"linkage cancelled",
       Param("VINC_ISS", 16),
       {ScriptedUi::TaxPageAnswer{Rates("1111111111111111"), false}},
       "",
       {"taxrates"}},
      {"detail tape by dates",
       Param("IMPR_FITA_DETALHE", 13),
       {1, Date{1, 2, 2024}, Date{3, 4, 2024}},
       "D010224030424",
       {"options", "date", "date"}},
      {"detail tape by COO as typed",
       Param("IMPR_FITA_DETALHE", 20),
       {2, S("1"), S("22"), S("5")},
       "X1225",
       {"options", "number", "number", "number"}},
      {"detail tape choice cancelled", Param("IMPR_FITA_DETALHE", 13), {kCancel}, "", {"options"}},
      {"detail tape end date cancelled",
       Param("IMPR_FITA_DETALHE", 13),
       {1, Date{1, 2, 2024}, kCancel},
       erro,
       {"options", "date", "date"}},
      {"fiscal memory by reductions, printed",
       Param("LEIT_MEM_FISCAL", 13),
       {2, S("1"), S("20"), 1},
       "000001000020I",
       {"options", "number", "number", "options"}},
      {"fiscal memory by dates, no output choice",
       Param("LEIT_MEM_FISCAL", 13),
       {1, Date{1, 2, 2024}, Date{3, 4, 2024}, kCancel},
       "010224030424",
       {"options", "date", "date", "options"}},
      {"fiscal memory to the port",
       Param("LEIT_MEM_FISCAL", 13),
       {1, Date{1, 2, 2024}, Date{3, 4, 2024}, 2},
       "010224030424R",
       {"options", "date", "date", "options"}},
      {"fiscal memory first choice cancelled",
       Param("LEIT_MEM_FISCAL", 13),
       {kCancel},
       "",
       {"options"}},
      {"fiscal memory reduction cancelled",
       Param("LEIT_MEM_FISCAL", 13),
       {2, kCancel},
       erro,
       {"options", "number"}},
      {"fiscal memory data 512 KB", Param("LEIT_DADOS_MEM_FISCAL", 3), {1}, "MF", {"options"}},
      {"fiscal memory data 32 KB", Param("LEIT_DADOS_MEM_FISCAL", 3), {2}, "MF2", {"options"}},
      {"fiscal memory data cancelled",
       Param("LEIT_DADOS_MEM_FISCAL", 3),
       {kCancel},
       "",
       {"options"}},
      {"passenger ticket complete",
       Param("BILHETE_PASSAGEM", 200),
       {4, S("SP"), S("123"), S("Ana"), S("Rua 1")},
       "3SP123" + Blanks(27) + "Ana" + Blanks(27) + "Rua 1",
       {"options", "text", "text", "text", "longtext"}},
      {"passenger ticket pieces so far",
       Param("BILHETE_PASSAGEM", 200),
       {9, S("RJ"), kCancel},
       "8RJ",
       {"options", "text", "text"}},
      {"passenger ticket choice cancelled",
       Param("BILHETE_PASSAGEM", 200),
       {kCancel},
       "",
       {"options"}},
      {"authentication character 2",
       Param("CAR_GRAF_AUTENTICACAO", 18),
       {2},
       "208020100820020101020408102040808080",
       {"options"}},
      {"authentication cancelled", Param("CAR_GRAF_AUTENTICACAO", 18), {kCancel}, "", {"options"}},
      {"options second",
       Param("OPTIONS", 1, "", W("Impressão(1) ou Envio(0)")),
       {2},
       "0",
       {"options"}},
      {"options cancelled", Param("OPTIONS", 1, "", "A(1) ou B(0)"), {kCancel}, "", {"options"}},
      {"options title without choices is typed",
       Param("OPTIONS", 1, "", "Modo"),
       {S("1")},
       "1",
       {"text"}},
      {"cheque positions reordered",
       Param("CHEQUE_POS", 13),
       {ChequeFields{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}},
       "01030507091112130204060810",
       {"cheque"}},
      {"cheque cancelled", Param("CHEQUE_POS", 13), {kCancel}, erro, {"cheque"}},
      {"cliche built", Param("CLICHE", 186), {ClicheAnswer{}}, "\r\n\r\n\r\n", {"cliche"}},
      {"cliche cancelled", Param("CLICHE", 186), {kCancel}, erro, {"cliche"}},
      {"not editable asks nothing", Param("NOT_EDITABLE", 2, "AB"), {}, "AB", {}},
      {"fixed hex asks nothing", Param("DIG_HEX_NOT_EDITABLE", 1, "1F"), {}, "1F", {}},
      {"cliche token type asks nothing", Param("CLICHE_SUB_INI_XML", 0, "x"), {}, "x", {}},
  };
}

TEST(CollectParameterValue, EveryTypeThroughItsDialogs) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    ScriptedUi ui;
    for (const auto& answer : c.answers) ui.Push(answer);
    EXPECT_EQ(CollectParameterValue(c.parameter, ui), c.expected);
    EXPECT_EQ(ui.PromptKinds(), c.kinds);
    EXPECT_TRUE(ui.AllAnswered());
  }
}

TEST(CollectParameterValue, PresetsPromptsAndLimits) {
  struct Expectation {
    CommandParameter parameter;
    ScriptedUi::Answer answer;
    std::string prompt;
    std::vector<std::string> details;
  };
  const Expectation expectations[] = {
      {Param("STRING", 5, "abc", "Nome"), S("x"), "Nome", {"5", "abc"}},
      {Param("DIG_HEX", 3, "0A"), S("x"), "Valor", {"6", "0A"}},
      {Param("BINARIO", 1, "9"), S("x"), "Valor", {"3", "9"}},
      {Param("FINANCE", 10, "5"), S("1"), "Valor", {"8", "2", "5"}},
      {Param("FINANCE_3", 10, "123"), S("1"), "Valor", {"7", "3", ""}},
      {Param("FINANCE_3", 10, "1234"), S("1"), "Valor", {"7", "3", "1234"}},
      {Param("DATA", 6), Date{}, Str(StrId::kSelectDate), {}},
      {Param("HORA", 6), TimeAnswer{}, Str(StrId::kSelectTime), {""}},
      {Param("CHEQUE_POS", 13, "01030507091112130204060810"),
       kCancel,
       "",
       {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12", "13"}},
      {Param("CHEQUE_POS", 13, "0103"), kCancel, "", std::vector<std::string>(13)},
  };
  for (const auto& e : expectations) {
    SCOPED_TRACE(e.parameter.type);
    ScriptedUi ui;
    ui.Push(e.answer);
    CollectParameterValue(e.parameter, ui);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts()[0].text, e.prompt);
    EXPECT_EQ(ui.Prompts()[0].details, e.details);
  }
}

TEST(CollectParameterValue, OptionLabelsAndTaxPagePresets) {
  ScriptedUi ui;
  ui.Push(1);
  EXPECT_EQ(CollectParameterValue(Param("OPTIONS", 1, "", W("Impressão(1) ou Envio(0)")), ui), "1");
  EXPECT_EQ(ui.Prompts()[0].details, (std::vector<std::string>{W("Impressão"), " Envio"}));

  // A 66-character value presets the sixteen rates; any other starts from zeros.
  std::string value = "02";
  for (int i = 0; i < 16; ++i) value += "12" + std::string(i < 10 ? "0" : "") + std::to_string(i);
  ScriptedUi sheet;
  sheet.PushAll(S("2"), kCancel, S("1"), kCancel);
  CollectParameterValue(Param("TROCA_SIT_TRIB", 65, value), sheet);
  CollectParameterValue(Param("TROCA_SIT_TRIB", 65, "short"), sheet);
  EXPECT_EQ(sheet.Prompts()[1].details[0], "1200");
  EXPECT_EQ(sheet.Prompts()[1].details[15], "1215");
  EXPECT_EQ(sheet.Prompts()[3].details[0], "0000");
}

TEST(CollectParameterValue, PaymentDescriptionsStopAtTwenty) {
  ScriptedUi ui;
  for (int n = 1; n <= 20; ++n) {
    ui.Push(S("D" + std::to_string(n)));
    ui.Push(MessageAnswer::No);
    if (n < 20) ui.Push(MessageAnswer::Yes);
  }
  std::string text = CollectParameterValue(Param("DESCR_FORMA_PAGAMENTO", 400), ui);
  EXPECT_EQ(text.size(), 20u * 17u);
  EXPECT_EQ(ui.Prompts().back().text, Str(StrId::kAllowTef));
  EXPECT_EQ(ui.Prompts()[0].text, Str(StrId::kPaymentDescription) + " 1");
  EXPECT_TRUE(ui.AllAnswered());
}

}  // namespace
}  // namespace taloven
