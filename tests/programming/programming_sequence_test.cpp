// The "Programa maquina" sequence built for each kind of model.
#include <gtest/gtest.h>

#include "base/encoding.h"
#include "programming/programming_commands.h"
#include "programming/programming_session.h"
#include "support/scripted_ui.h"

namespace taloven {
namespace {

using testing::ScriptedUi;

AppSettings Model(const std::string& name, uint32_t mask) {
  AppSettings settings;
  settings.modelName = name;
  settings.modelName.resize(20, ' ');
  settings.modelMask = mask;
  return settings;
}

EquipmentConfiguration Filled() {
  EquipmentConfiguration c;
  c.cnpj = "11.222.333/0001-44";
  c.ie = "IE1";
  c.im = "IM1";
  c.uf = "RJ";
  c.storeNumber = "0007";
  c.registerNumber = "012";
  c.date = "311226";
  c.time = "235959";
  c.cliche = "CLICHE_SUB_INI_XMLA\r\n";
  c.taxRates[0] = "1800";
  c.issLinkage = "1000000000000000";
  return c;
}

// One line per command: its escape and its parameter values.
std::vector<std::string> Lines(const CommandSequence& sequence) {
  std::vector<std::string> lines;
  for (const CommandRecord& r : sequence.commands) {
    std::string line = r.escapeText;
    for (const CommandParameter& p : r.parameters) line += "|" + p.value;
    lines.push_back(line);
  }
  return lines;
}

const std::string kFlagsOff[] = {"68|0", "123|0", "80 64|1", "80 65|1", "84|1"};

std::vector<std::string> Common(std::vector<std::string> owner, std::vector<std::string> names,
                                std::vector<std::string> tail) {
  std::vector<std::string> lines = std::move(owner);
  lines.push_back("2|311226|235959|0");
  lines.push_back("3|CLICHE_SUB_INI_XMLA\r\n");
  lines.push_back("17|012|0007");
  lines.push_back("36|161800" + std::string(60, '0'));
  lines.push_back("38|1000000000000000");
  lines.insert(lines.end(), names.begin(), names.end());
  lines.insert(lines.end(), tail.begin(), tail.end());
  return lines;
}

TEST(ProgrammingSequence, FollowsTheModelThePasswordAndTheNames) {
  const std::string firstOwner = "4|11.222.333/0001-44|IE1|X|IM1";
  const std::string secondOwner = "4|11.222.333/0001-44|IE1|IM1|" + std::string(10, ' ') + "|X|RJ|";
  const std::string password = "00112233445566778899";
  std::vector<std::string> flags(std::begin(kFlagsOff), std::end(kFlagsOff));
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> lines = flags;
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
  };
  struct Case {
    const char* name;
    AppSettings settings;
    std::function<void(EquipmentConfiguration&)> edit;
    std::vector<std::string> expected;
    bool passwordMessage;
  } cases[] = {
      {"first generation, names 48 to 50", Model("ECF-T01", 0x0001),
       [](EquipmentConfiguration& c) {
         c.totalizerNames[2] = "TROCO";
         c.totalizerNames[47] = "N48";
         c.totalizerNames[48] = "N49";
         c.totalizerNames[49] = "N50";
       },
       Common({firstOwner}, {"40|03|TROCO", "40|48|N48"}, flags), false},
      {"second generation with its password", Model("ECF-T08", 0x0400),
       [&](EquipmentConfiguration& c) {
         c.password = password;
         c.totalizerNames[9] = "DEZ";
         c.totalizerNames[27] = "N28";
         c.totalizerNames[28] = "N29";
         c.totalizerNames[29] = "N30";
         c.totalizerNames[30] = "N31";
       },
       Common({secondOwner + password}, {"40|10|DEZ", "40|28|N28"}, flags), false},
      {"second generation, stored password of ten blanks, blank names", Model("ECF-T10", 0x1000),
       [](EquipmentConfiguration& c) { c.totalizerNames[0] = std::string(19, ' '); },
       Common({secondOwner}, {}, flags), true},
      {"unknown model counts as second generation", Model("", 0xFFFF),
       [&](EquipmentConfiguration& c) { c.password = password; },
       Common({secondOwner + password}, {}, flags), false},
      {"flags set, empty IM sent as blanks", Model("ECF-T02", 0x0004),
       [](EquipmentConfiguration& c) {
         c.im.clear();
         c.passengerTicket = c.daylightSaving = true;
         c.additionalCoupon = c.issDiscount = c.linkedToNonFiscal = true;
         c.rvInConference = c.automaticZ = true;
       },
       [&] {
         auto lines = Common({"4|11.222.333/0001-44|IE1|B|" + std::string(15, ' ')}, {},
                             {"68|1", "123|1", "80 64|0", "80 65|0", "84|0"});
         lines[1] = "2|311226|235959|1";
         return lines;
       }(),
       false},
      {"ECF-T03 without the conference coupon", Model("ECF-T03", 0x0002),
       [](EquipmentConfiguration& c) {
         c.restaurantOrShop = "1";
         c.conferenceCoupon = "-1";
       },
       Common({firstOwner}, {}, with({"80 63|1"})), false},
      {"ECF-T04 with parameter 2", Model("ECF-T04", 0x0008),
       [](EquipmentConfiguration& c) {
         c.restaurantOrShop = "0";
         c.conferenceCoupon = "2";
       },
       Common({firstOwner}, {}, with({"80 63|0", "80 57|2"})), false},
      {"ECF-T03 fresh restaurant fields read as 0", Model("ECF-T03", 0x0002),
       [](EquipmentConfiguration&) {}, Common({firstOwner}, {}, with({"80 63|0", "80 57|0"})),
       false},
      {"ECF-T03 short of its padding is another model", Model("ECF-T03", 0x0002),
       [](EquipmentConfiguration& c) { c.conferenceCoupon = "1"; }, Common({firstOwner}, {}, flags),
       false},
  };
  cases[std::size(cases) - 1].settings.modelName = "ECF-T03";
  for (Case& c : cases) {
    EquipmentConfiguration configuration = Filled();
    c.edit(configuration);
    const CommandSequence sequence = BuildProgrammingSequence(configuration, c.settings);
    EXPECT_EQ(Lines(sequence), c.expected) << c.name;
    EXPECT_EQ(sequence.name, "Programa maquina");
    EXPECT_EQ(sequence.commandCount, static_cast<int>(sequence.commands.size()));
    ScriptedUi ui;
    const int checked = CheckProgrammingRun(configuration, sequence, c.settings, ui);
    EXPECT_EQ(checked, c.passwordMessage ? kExecuteWrongSize : kExecuteOk) << c.name;
    const bool told = !ui.Prompts().empty() && ui.Prompts()[0].text == "Senha com tamanho errado";
    EXPECT_EQ(told, c.passwordMessage) << c.name;
    for (const CommandRecord& r : sequence.commands) {
      EXPECT_EQ(r.group, "Intervencao tecnica");
      EXPECT_EQ(r.returnSize, 0);
      for (const CommandParameter& p : r.parameters) EXPECT_EQ(p.mandatory, 1);
    }
  }
}

// Nothing may go out unless all of it can: the first gap is told once, by
// the name of its field, and the run is held back.
TEST(ProgrammingSequence, TheCheckNamesTheFirstFieldThatCannotGo) {
  const AppSettings first = Model("ECF-T01", 0x0001), second = Model("ECF-T08", 0x0400);
  const std::string mandatory = W("Parâmetro obrigatório não preenchido : ");
  struct Case {
    const char* name;
    AppSettings settings;
    std::function<void(EquipmentConfiguration&)> edit;
    int result;
    std::string told;  // empty when the run may go
  } cases[] = {
      {"first generation as read: no IM", first, [](EquipmentConfiguration& c) { c.im.clear(); },
       kExecuteOk, ""},
      {"second generation without IM and UF", second,
       [](EquipmentConfiguration& c) {
         c.im = std::string(20, ' ');
         c.uf.clear();
       },
       kExecuteOk, ""},
      {"no CNPJ", first, [](EquipmentConfiguration& c) { c.cnpj.clear(); }, kExecuteMandatoryEmpty,
       mandatory + "CGC"},
      {"CNPJ of blanks, as read from a printer never programmed", second,
       [](EquipmentConfiguration& c) { c.cnpj = std::string(20, ' '); }, kExecuteMandatoryEmpty,
       mandatory + "CNPJ"},
      {"no cliché", first, [](EquipmentConfiguration& c) { c.cliche.clear(); },
       kExecuteMandatoryEmpty, mandatory + "Cliche"},
      {"a short password goes before an empty field", second,
       [](EquipmentConfiguration& c) {
         c.password = "0011";
         c.cnpj.clear();
       },
       kExecuteWrongSize, "Senha com tamanho errado"},
      {"a password that is no hexadecimal", second,
       [](EquipmentConfiguration& c) { c.password = std::string(20, 'x'); }, kExecuteWrongSize,
       W("Parâmetro com tamanho errado : SENHA")},
      // The second command: the owner's registration would have gone before it.
      {"a date too short", first, [](EquipmentConfiguration& c) { c.date = "3112"; },
       kExecuteWrongSize, W("Parâmetro com tamanho errado : Data")},
  };
  for (const Case& c : cases) {
    EquipmentConfiguration configuration = Filled();
    configuration.password = "00112233445566778899";
    c.edit(configuration);
    const CommandSequence sequence = BuildProgrammingSequence(configuration, c.settings);
    ScriptedUi ui;
    EXPECT_EQ(CheckProgrammingRun(configuration, sequence, c.settings, ui), c.result) << c.name;
    std::vector<std::string> told;
    for (const auto& prompt : ui.Prompts()) told.push_back(prompt.text);
    EXPECT_EQ(told, c.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.told})
        << c.name;
  }
}

TEST(ProgrammingPages, LoadAndReadBackTheRestaurantChoicesAndTheSerial) {
  struct Case {
    const char* model;
    std::string option, coupon;
    bool page, ticked;
    int parameter;
    std::string storedOption, storedCoupon;
  } cases[] = {
      {"ECF-T03", "", "", true, true, 0, "0", "0"},
      {"ECF-T04", "1", "-1", true, false, 0, "1", "-1"},
      {"ECF-T04", "0", "3", true, true, 3, "0", "3"},
      {"ECF-T08", "1", "2", false, false, 0, "1", "2"},  // kept as they were
  };
  for (const Case& c : cases) {
    EquipmentConfiguration configuration;
    configuration.serialNumber = " TV 08 ";
    configuration.restaurantOrShop = c.option;
    configuration.conferenceCoupon = c.coupon;
    const ProgrammingPages pages = PagesFor(configuration, Model(c.model, 0x0002));
    EXPECT_EQ(pages.restaurantPage, c.page) << c.model << c.coupon;
    EXPECT_EQ(pages.conferenceCoupon, c.ticked) << c.model << c.coupon;
    EXPECT_EQ(pages.conferenceParameter, c.parameter) << c.model << c.coupon;
    const EquipmentConfiguration back = ConfigurationFromPages(pages);
    EXPECT_EQ(back.serialNumber, "TV08");
    EXPECT_EQ(back.restaurantOrShop, c.storedOption) << c.model << c.coupon;
    EXPECT_EQ(back.conferenceCoupon, c.storedCoupon) << c.model << c.coupon;
  }
  EXPECT_EQ(PagesFor({}, Model("ECF-T01", 0x0001)).usableNames, 50);
  EXPECT_EQ(PagesFor({}, Model("ECF-T12", 0x4000)).usableNames, 30);
}

}  // namespace
}  // namespace taloven
