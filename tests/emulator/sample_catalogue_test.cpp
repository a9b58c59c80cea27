#include <gtest/gtest.h>

#include <set>

#include "catalogue/catalogue.h"
#include "emulator/catalogue_fill.h"
#include "printer/printer.h"

namespace taloven::emulator::testing {
namespace {

const CommandCatalogue& Sample() {
  static const CommandCatalogue catalogue = [] {
    CommandCatalogue c;
    const Status loaded = LoadCatalogue(TALOVEN_SOURCE_DIR "/data", c);
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    return c;
  }();
  return catalogue;
}

const CommandRecord* Find(const std::string& escape, const std::string& title = "") {
  for (const CommandRecord& r : Sample().Records())
    if (r.escapeText == escape && (title.empty() || r.title == title)) return &r;
  return nullptr;
}

TEST(SampleCatalogue, UsesEveryTypeAndItsSizesAddUp) {
  const std::set<std::string> parameterTypes = {"STRING",
                                                "STRING_VAR_SIZE",
                                                "BIG_STRING",
                                                "BIG_STRING_VAR_SIZE",
                                                "CUPOM_OU_BILHETE_CONV_156",
                                                "DIG_HEX",
                                                "DIG_HEX_NOT_EDITABLE",
                                                "NOT_EDITABLE",
                                                "BINARIO",
                                                "INTEGER",
                                                "BCD_INTEGER",
                                                "DATA",
                                                "DATA_2_2_4",
                                                "HORA",
                                                "FINANCE",
                                                "FINANCE_3",
                                                "PERCENTAGE",
                                                "DISCOUNT",
                                                "AC_OU_DESC_SUB",
                                                "AC_OU_DESC_ITEM",
                                                "FECHA_CUPOM",
                                                "DESCR_FORMA_PAGAMENTO",
                                                "TROCA_SIT_TRIB",
                                                "CHEQUE_POS",
                                                "CLICHE",
                                                "OPTIONS",
                                                "IMPR_FITA_DETALHE",
                                                "LEIT_MEM_FISCAL",
                                                "LEIT_DADOS_MEM_FISCAL",
                                                "BILHETE_PASSAGEM",
                                                "CAR_GRAF_AUTENTICACAO",
                                                "VINC_ISS"};
  const std::set<std::string> returnTypes = {"ASCII",
                                             "INTEGER",
                                             "BCD_INTEGER",
                                             "BCD_DATA",
                                             "BCD_HORA",
                                             "BCD_FINANCE",
                                             "BCD_PERCENTAGE",
                                             "BCD_FLAG_PAYMENT_MODE",
                                             "BCD_FLAG_INT_TEC",
                                             "BCD_FLAG_EPROM_CONECT",
                                             "FLAG_GAVETA",
                                             "FLAG_RED_AUT_COM",
                                             "FLAG_CUTTER_AUTENTIC",
                                             "FLAG_PRESENTER_GAVETA",
                                             "FLAG_BP_CF",
                                             "FLAG_ALINHAMENTO",
                                             "FLAG_CORTE",
                                             "FLAG_TRUNCAMENTO",
                                             "FLAG_CHEQUE",
                                             "FLAG_SENSORES",
                                             "ASCII_FLAGS_FISCAIS",
                                             "ASCII_FLAGS_FISCAIS_II",
                                             "ASCII_FLAGS_FISCAIS_III",
                                             "ASCII_FLAG_VINC_ISS",
                                             "STATUS_PAPEL",
                                             "ALIQUOTAS",
                                             "TOT_PARCIAIS",
                                             "TOT_NAO_SUJ_ICMS",
                                             "DEPARTAMENTOS",
                                             "FORMAS_DE_PAGAMENTO",
                                             "RELAT_GER",
                                             "VER_INT_MEM_FISCAL",
                                             "VER_INT_MEM_FISCAL_COMP"};
  ASSERT_EQ(parameterTypes.size(), 32u);
  ASSERT_EQ(returnTypes.size(), 33u);

  std::set<std::string> usedParameters, usedReturns, groups;
  bool disabledSomewhere = false, partial = false;
  for (const CommandRecord& r : Sample().Records()) {
    groups.insert(r.group);
    disabledSomewhere = disabledSomewhere || r.equipmentMask == 0;
    partial = partial || (r.equipmentMask != 0 && r.equipmentMask != 0xFFFF);
    int sum = 0;
    for (const ReturnField& f : r.returnFields) {
      EXPECT_TRUE(returnTypes.count(f.type)) << r.title << ": " << f.type;
      usedReturns.insert(f.type);
      sum += f.size;
    }
    if (!r.returnType.empty()) {
      EXPECT_TRUE(returnTypes.count(r.returnType)) << r.title;
      usedReturns.insert(r.returnType);
    }
    if (r.returnSize >= 0) {
      EXPECT_EQ(sum, r.returnSize) << r.title;
    }
    for (const CommandParameter& p : r.parameters) {
      EXPECT_TRUE(parameterTypes.count(p.type)) << r.title << ": " << p.type;
      EXPECT_GT(p.size, 0) << r.title << ": " << p.title;
      usedParameters.insert(p.type);
    }
  }
  EXPECT_EQ(usedParameters, parameterTypes);
  EXPECT_EQ(usedReturns, returnTypes);
  EXPECT_GE(groups.size(), 5u);
  EXPECT_TRUE(disabledSomewhere);
  EXPECT_TRUE(partial);
}

TEST(SampleCatalogue, HoldsTheCommandsTheProgramItselfUses) {
  const CommandRecord* identity = Find("35 60");
  ASSERT_NE(identity, nullptr);
  EXPECT_EQ(identity->title, "Marca, Modelo e Tipo");
  EXPECT_EQ(identity->returnSize, 42);
  ASSERT_EQ(identity->returnFields.size(), 3u);
  EXPECT_EQ(identity->returnFields[1].title, "Modelo");
  EXPECT_EQ(identity->returnFields[1].size, 20);

  const CommandRecord* xReading = Find("69");
  ASSERT_NE(xReading, nullptr);
  EXPECT_EQ(xReading->returnSize, -1);
  const CommandRecord* rates = Find("26");
  ASSERT_NE(rates, nullptr);
  EXPECT_EQ(rates->returnSize, 33);
  EXPECT_EQ(rates->returnFields.at(0).type, "ALIQUOTAS");
  // The fiscal-memory reading: its 13th parameter byte is frame byte 17.
  const CommandRecord* memory = Find("8");
  ASSERT_NE(memory, nullptr);
  ASSERT_EQ(memory->parameters.size(), 1u);
  EXPECT_EQ(memory->parameters[0].size, 13);
  EXPECT_EQ(memory->escapeLength, 1);

  for (const char* code :
       {"35 0",  "35 40", "35 2",  "35 42", "35 43", "35 44", "35 70", "35 15", "35 14", "35 23",
        "35 17", "35 13", "35 29", "35 25", "35 48", "4",     "2",     "3",     "17",    "36",
        "38",    "40",    "68",    "123",   "80 64", "80 65", "84",    "80 63", "80 57", "0",
        "9",     "32",    "72",    "34",    "14",    "5",     "77",    "20"})
    EXPECT_NE(Find(code), nullptr) << code;
}

// A title reaches one command: "send TITLE" and sequences find commands by
// their titles.
TEST(SampleCatalogue, EveryTitleNamesOneCommand) {
  std::set<std::string> titles;
  for (const CommandRecord& r : Sample().Records())
    EXPECT_TRUE(titles.insert(r.title).second) << r.title << " (" << r.escapeText << ")";
}

// The printer answers every command of the catalogue with exactly the reply
// the catalogue announces, whatever it thinks of the values.
TEST(SampleCatalogue, EveryCommandGetsAReplyOfItsSize) {
  for (bool intervention : {false, true}) {
    PrinterState state = DefaultPrinterState("ECF-T08");
    state.intervention = intervention;
    Printer printer(state);
    for (CommandRecord record : Sample().Records()) {
      FillParameters(record);
      std::vector<uint8_t> body(record.escapeBytes.begin(),
                                record.escapeBytes.begin() + record.escapeLength);
      std::string parameters;
      for (const CommandParameter& p : record.parameters) {
        if (p.type == "DIG_HEX_NOT_EDITABLE") {
          for (size_t i = 0; i + 1 < p.value.size(); i += 2)
            parameters.push_back(static_cast<char>(std::stoi(p.value.substr(i, 2), nullptr, 16)));
        } else {
          parameters += p.value;
        }
      }
      body.insert(body.end(), parameters.begin(), parameters.end());
      const Reply reply = printer.Answer(Frame{kEsc, body});
      const bool variable = record.returnSize < 0 || (body[0] == 8 && body.size() > 13 &&
                                                      (body[13] == 'R' || body[13] == 'r'));
      if (variable) {
        EXPECT_EQ(reply.bytes.back(), kEtx) << record.title;
        continue;
      }
      ASSERT_EQ(reply.bytes.size(), static_cast<size_t>(record.returnSize) + 3) << record.title;
      EXPECT_EQ(reply.bytes[reply.statusAt] & st1::kUnknownCommand, 0) << record.title;
    }
  }
}

}  // namespace
}  // namespace taloven::emulator::testing
