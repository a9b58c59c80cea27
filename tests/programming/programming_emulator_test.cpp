// Reading, saving and programming a configuration against the virtual
// printer, for both printer generations, in and out of technical
// intervention.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "base/encoding.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "programming/configuration_file.h"
#include "programming/printer_configuration_read.h"
#include "programming/programming_session.h"
#include "resources/strings.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;

// Pauses really pass, a tenth as long: the printer answers in microseconds.
class QuickPausingUi : public testing::ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms / 10 + 1));
  }
};

struct Bench {
  Bench(const std::string& model, uint32_t mask, bool intervention,
        std::vector<std::string> extra = {})
      : emulator(Arguments(dir.Path().string() + "/ttyECF", model, intervention, extra)) {
    settings.portName = dir.Path().string() + "/ttyECF";
    settings.extendedReturn = 1;
    settings.workingDirectory = dir.Path().string();
    settings.modelName = model;
    settings.modelName.resize(20, ' ');
    settings.modelMask = mask;
  }
  static std::vector<std::string> Arguments(const std::string& link, const std::string& model,
                                            bool intervention, std::vector<std::string> extra) {
    std::vector<std::string> a = {"--pty", "--link", link, "--model", model};
    if (intervention) a.push_back("--intervention");
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
  ExecutionContext Context() { return {settings, ui, ports, RealClock()}; }

  testing::TempDirectory dir;
  EmulatorProcess emulator;
  AppSettings settings;
  QuickPausingUi ui;
  DefaultPortFactory ports;
};

// The edits a technician makes on the pages before programming.
bool Edit(ProgrammingPages& pages) {
  EquipmentConfiguration& c = pages.configuration;
  c.client = W("Padaria São João");
  c.cnpj = "99.888.777/0001-66";
  c.ie = "ISENTO";
  c.storeNumber = "0042";
  c.registerNumber = "007";
  c.daylightSaving = true;
  c.cliche =
      W("CLICHE_EXP_INI_XMLPADARIA SÃO JOÃOCLICHE_EXP_END_XML\r\n"
        "CLICHE_SUB_INI_XMLCLICHE_ENF_INI_XMLRua B, 2CLICHE_ENF_END_XMLCLICHE_SUB_END_XML\r\n"
        "CLICHE_IT_INI_XMLVolte sempreCLICHE_IT_END_XML\r\n");
  c.taxRates[4] = "0325";
  c.issLinkage = "0001100000000000";
  c.totalizerNames[3] = "TAXA DE ENTREGA";
  c.totalizerNames[7] = "GORJETA";
  c.password = "00112233445566778899";
  return true;
}

// What a reading cannot give back as typed: the clock moved on, and texts
// come padded with blanks to their fields' widths.
EquipmentConfiguration Comparable(EquipmentConfiguration c) {
  c.time.clear();
  c.date.clear();
  for (const ConfigurationField& field : StoredFields(c))
    if (field.text && field.element != "cliche")
      while (!field.text->empty() && field.text->back() == ' ') field.text->pop_back();
  return c;
}

// The stored fields in which two configurations differ, with both values.
std::string Differences(EquipmentConfiguration a, EquipmentConfiguration b) {
  std::string out;
  const auto fa = StoredFields(a), fb = StoredFields(b);
  for (size_t i = 0; i < fa.size(); ++i)
    if (StoredValue(fa[i]) != StoredValue(fb[i]))
      out += fa[i].element + ": [" + StoredValue(fa[i]) + "] [" + StoredValue(fb[i]) + "]\n";
  return Cp1252ToUtf8(out);
}

TEST(ProgrammingAgainstTheVirtualPrinter, ReadSaveProgramReadGivesTheSameConfiguration) {
  struct Case {
    const char* model;
    uint32_t mask;
  } cases[] = {{"ECF-T08", 0x0400}, {"ECF-T04", 0x0008}};
  for (const Case& m : cases) {
    Bench bench(m.model, m.mask, true);
    ExecutionContext context = bench.Context();
    EquipmentConfiguration dialog;
    bench.ui.Push(MessageAnswer::Yes);  // save the edited configuration
    ASSERT_TRUE(ReadEditAndProgram(dialog, context, Edit)) << m.model;
    ASSERT_EQ(bench.ui.Results().size(), 1u);
    const std::string& message = bench.ui.Results()[0].first;
    EXPECT_EQ(message.find(W("NÃO EM INTERVEN")), std::string::npos) << Cp1252ToUtf8(message);
    EXPECT_NE(message.find(Str(StrId::kSequenceEndBanner)), std::string::npos) << "ran to its end";

    ConfigurationList saved;
    ASSERT_TRUE(
        LoadConfigurations(ConfigurationsPath(bench.settings.workingDirectory), saved).ok());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].client, W("Padaria São João"));
    EXPECT_EQ(saved[0].serialNumber, WithoutSpaces(saved[0].serialNumber));

    // A second reading into the stored record, its IM and UF spoilt, gives
    // the record back: the second generation reads both again, the first
    // empties them.
    EquipmentConfiguration again = saved[0];
    again.im = "1234567";
    again.uf = "RJ";
    ASSERT_EQ(ReadPrinterConfiguration(again, context), 0);
    if (m.mask < 0x100) {
      EXPECT_EQ(again.im, "");
      EXPECT_EQ(again.uf, "");
    }
    EXPECT_EQ(Differences(Comparable(again), Comparable(saved[0])), "") << m.model;
    EXPECT_EQ(again.cliche, saved[0].cliche) << Cp1252ToUtf8(again.cliche);
    EXPECT_EQ(again.storeNumber, "0042");
    EXPECT_EQ(again.registerNumber, "007");
    EXPECT_TRUE(again.daylightSaving);
    if (m.mask < 0x100) {
      EXPECT_EQ(again.totalizerNames[7], "GORJETA" + std::string(12, ' '));
    }
    EXPECT_TRUE(bench.ui.AllAnswered());
  }
}

TEST(ProgrammingAgainstTheVirtualPrinter, OutsideInterventionTheRefusalsShowAndTheRunEnds) {
  Bench bench("ECF-T08", 0x0400, false);
  ExecutionContext context = bench.Context();
  EquipmentConfiguration before;
  ASSERT_EQ(ReadPrinterConfiguration(before, context), 0);

  EquipmentConfiguration dialog = before;
  bench.ui.Push(MessageAnswer::No);  // do not save
  ASSERT_TRUE(EditAndProgram(dialog, context, Edit));
  ASSERT_EQ(bench.ui.Results().size(), 1u);
  const std::string& message = bench.ui.Results()[0].first;
  size_t refusals = 0;
  for (size_t at = message.find(W("NÃO EM INTERVENÇÃO TECNICA")); at != std::string::npos;
       at = message.find(W("NÃO EM INTERVENÇÃO TECNICA"), at + 1))
    ++refusals;
  EXPECT_GE(refusals, 10u) << Cp1252ToUtf8(message);
  EXPECT_NE(message.find(Str(StrId::kSequenceEndBanner)), std::string::npos) << "ran to its end";

  EquipmentConfiguration after = before;
  ASSERT_EQ(ReadPrinterConfiguration(after, context), 0);
  EXPECT_EQ(after.cnpj, before.cnpj);
  EXPECT_EQ(after.cliche, before.cliche);
  EXPECT_EQ(after.totalizerNames, before.totalizerNames);
}

TEST(ProgrammingAgainstTheVirtualPrinter, AnIncompleteConfigurationSendsNothing) {
  struct Case {
    const char* model;
    uint32_t mask;
    void (*spoil)(EquipmentConfiguration&);
    std::string told;
  } cases[] = {
      {"ECF-T04", 0x0008, [](EquipmentConfiguration& c) { c.ie.clear(); },
       W("Parâmetro obrigatório não preenchido : IE")},
      {"ECF-T08", 0x0400, [](EquipmentConfiguration& c) { c.password = "0011"; },
       "Senha com tamanho errado"},
  };
  for (const Case& m : cases) {
    Bench bench(m.model, m.mask, true);
    ExecutionContext context = bench.Context();
    EquipmentConfiguration before;
    ASSERT_EQ(ReadPrinterConfiguration(before, context), 0) << m.model;

    EquipmentConfiguration dialog = before;
    bench.ui.Push(MessageAnswer::No);  // do not save
    static void (*spoil)(EquipmentConfiguration&);
    spoil = m.spoil;
    ASSERT_TRUE(EditAndProgram(dialog, context, [](ProgrammingPages& pages) {
      Edit(pages);
      spoil(pages.configuration);
      return true;
    }));
    std::vector<std::string> told;
    for (const auto& p : bench.ui.Prompts())
      if (p.kind == "message" && p.text != W("Deseja salvar as alterações?"))
        told.push_back(p.text);
    EXPECT_EQ(told, std::vector<std::string>{m.told}) << m.model;
    EXPECT_TRUE(bench.ui.Results().empty()) << "no run, no results";

    EquipmentConfiguration after = before;
    ASSERT_EQ(ReadPrinterConfiguration(after, context), 0);
    EXPECT_EQ(Differences(Comparable(after), Comparable(before)), "") << m.model;
    EXPECT_EQ(after.cliche, before.cliche) << m.model;
  }
}

// A wait window announces the reading or the programming alone: none is
// open while the pages are edited, nor under a question or the results.
TEST(ProgrammingAgainstTheVirtualPrinter, NoWaitWindowCoversThePagesOrWhatIsAsked) {
  const struct {
    const char* name;
    bool read;
    bool spoilPassword;
    MessageAnswer save;
    std::vector<std::string> asked;  // the kinds of what is asked and shown
  } cases[] = {
      {"read, saved and programmed", true, false, MessageAnswer::Yes, {"message", "results"}},
      {"read, wrong password", true, true, MessageAnswer::No, {"message", "message"}},
      {"stored, programmed", false, false, MessageAnswer::No, {"message", "results"}},
  };
  for (const auto& c : cases) {
    Bench bench("ECF-T08", 0x0400, true);
    ExecutionContext context = bench.Context();
    EquipmentConfiguration dialog;
    // A stored configuration is one read and saved before.
    if (!c.read) {
      ASSERT_EQ(ReadPrinterConfiguration(dialog, context), 0);
    }
    bench.ui.Push(c.save);
    int waitsWhileEditing = -1;
    const bool spoil = c.spoilPassword;
    auto edit = [&](ProgrammingPages& pages) {
      waitsWhileEditing = bench.ui.OpenWaits();
      Edit(pages);
      if (spoil) pages.configuration.password = "0011";
      return true;
    };
    ASSERT_TRUE(c.read ? ReadEditAndProgram(dialog, context, edit)
                       : EditAndProgram(dialog, context, edit))
        << c.name;
    EXPECT_EQ(waitsWhileEditing, 0) << c.name;
    std::vector<std::string> asked;
    for (const auto& p : bench.ui.Prompts()) {
      if (p.kind != "message" && p.kind != "results") continue;
      asked.push_back(p.kind);
      EXPECT_FALSE(p.underWait) << c.name << ": " << Cp1252ToUtf8(p.text.substr(0, 40));
    }
    EXPECT_EQ(asked, c.asked) << c.name;
    EXPECT_EQ(bench.ui.OpenWaits(), 0) << c.name;
  }
}

TEST(ProgrammingAgainstTheVirtualPrinter, CancellingAReadEndsTheReading) {
  // A slow printer, and a user who cancels the first progress window.
  Bench bench("ECF-T08", 0x0400, true, {"--fault-slow", "20"});
  bench.ui.onProgressPump = [](testing::ScriptedUi::ProgressRecord&) {
    ProgressEvents events;
    events.cancelClicked = true;
    return events;
  };
  ExecutionContext context = bench.Context();
  EquipmentConfiguration configuration;
  EXPECT_EQ(ReadPrinterConfiguration(configuration, context), kExecuteCancelled);
  EXPECT_EQ(configuration, EquipmentConfiguration());
  EXPECT_EQ(bench.ui.Progress().size(), 1u) << "no read after the cancelled one";
}

TEST(ProgrammingAgainstTheVirtualPrinter, ASilentPrinterIsReportedOnceAndChangesNothing) {
  testing::TempDirectory dir;
  AppSettings settings;
  settings.portName = dir.Path().string() + "/nothing-here";
  settings.workingDirectory = dir.Path().string();  // the daily log goes there
  settings.modelMask = 0x0400;
  QuickPausingUi ui;
  DefaultPortFactory ports;
  ExecutionContext context{settings, ui, ports, RealClock()};
  EquipmentConfiguration configuration;
  configuration.client = "X";
  EXPECT_EQ(ReadPrinterConfiguration(configuration, context), kExecuteNoReply);
  EquipmentConfiguration expected;
  expected.client = "X";
  EXPECT_EQ(configuration, expected);
  std::vector<std::string> messages;
  for (const auto& p : ui.Prompts())
    if (p.kind == "message") messages.push_back(p.text);
  EXPECT_EQ(messages, std::vector<std::string>{Str(StrId::kSendFailed)});
}

}  // namespace
}  // namespace taloven
