// The save rule after editing and the "Configurações" dialog's logic, on
// real files in a temporary folder.
#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "programming/configuration_chooser.h"
#include "programming/configuration_file.h"
#include "programming/save_edited_configuration.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ScriptedUi;
using testing::TempDirectory;

EquipmentConfiguration Record(const std::string& serial, const std::string& client) {
  EquipmentConfiguration c;
  c.serialNumber = serial;
  c.client = client;
  c.cnpj = "CNPJ-" + serial;
  return c;
}

std::string Serials(const ConfigurationList& list) {
  std::string out;
  for (const auto& c : list) out += c.serialNumber + "/" + c.client + " ";
  return out;
}

std::vector<std::string> Messages(const ScriptedUi& ui) {
  std::vector<std::string> texts;
  for (const auto& p : ui.Prompts())
    if (p.kind == "message") texts.push_back(p.text);
  return texts;
}

TEST(SaveEditedConfiguration, FollowsEachBranchOfTheRule) {
  const std::string save = W("Deseja salvar as alterações?");
  const std::string replace = W("Deseja substituir o registro já existente?");
  const std::string noSerial =
      W("Para salvar o registro, é necessário informar um número de série.");
  const std::string notSaved = W("Registro não salvo");
  struct Case {
    const char* name;
    std::string serial;
    std::vector<MessageAnswer> answers;
    EditedSaveOutcome outcome;
    std::vector<std::string> messages;
    std::string file;
  } cases[] = {
      {"declined", "N1", {MessageAnswer::No}, EditedSaveOutcome::Declined, {save}, "A/a B/b "},
      {"blank serial",
       "   ",
       {MessageAnswer::Yes},
       EditedSaveOutcome::NoSerial,
       {save, noSerial},
       "A/a B/b "},
      {"new, inner blanks dropped",
       " N 1 ",
       {MessageAnswer::Yes},
       EditedSaveOutcome::Saved,
       {save},
       "A/a B/b N1/new "},
      {"replaced moves to the end",
       "A",
       {MessageAnswer::Yes, MessageAnswer::Yes},
       EditedSaveOutcome::Saved,
       {save, replace},
       "B/b A/new "},
      {"kept",
       "A",
       {MessageAnswer::Yes, MessageAnswer::No},
       EditedSaveOutcome::NotSaved,
       {save, replace, notSaved},
       "A/a B/b "},
  };
  for (const Case& c : cases) {
    TempDirectory dir;
    const std::string path = ConfigurationsPath(dir.Path().string());
    ASSERT_TRUE(SaveConfigurations(path, {Record("A", "a"), Record("B", "b")}).ok());
    ScriptedUi ui;
    for (MessageAnswer a : c.answers) ui.Push(a);
    EquipmentConfiguration edited = Record(c.serial, "new");
    edited.password = "00112233445566778899";
    EXPECT_EQ(SaveEditedConfiguration(edited, dir.Path().string(), ui), c.outcome) << c.name;
    EXPECT_EQ(Messages(ui), c.messages) << c.name;
    ConfigurationList list;
    ASSERT_TRUE(LoadConfigurations(path, list).ok());
    EXPECT_EQ(Serials(list), c.file) << c.name;
    for (const auto& stored : list) EXPECT_EQ(stored.password, std::string(10, ' ')) << c.name;
  }
}

TEST(SaveEditedConfiguration, CreatesAMissingFileButNeverOverwritesAnUnreadableOne) {
  TempDirectory dir;
  const std::string path = ConfigurationsPath(dir.Path().string());
  ScriptedUi ui;
  ui.Push(MessageAnswer::Yes);
  EquipmentConfiguration edited = Record("N1", "new");
  EXPECT_EQ(SaveEditedConfiguration(edited, dir.Path().string(), ui), EditedSaveOutcome::Saved);
  ConfigurationList list;
  ASSERT_TRUE(LoadConfigurations(path, list).ok());
  EXPECT_EQ(Serials(list), "N1/new ");

  const std::string broken = "<equipamentos><equipamento>";
  ASSERT_TRUE(WriteFileAtomically(path, broken).ok());
  ui.Push(MessageAnswer::Yes);
  EXPECT_EQ(SaveEditedConfiguration(edited, dir.Path().string(), ui), EditedSaveOutcome::NotSaved);
  EXPECT_EQ(testing::ReadFileBytes(path), broken);
  EXPECT_EQ(Messages(ui).back().rfind(W("Registro não salvo"), 0), 0u);
}

class ChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SaveConfigurations(ConfigurationsPath(dir.Path().string()),
                                   {Record("S1", "Ana"), Record("S2", "ana"), Record("S3", "Bia"),
                                    Record("S4", ""), Record("S1", "Caio")})
                    .ok());
    chooser.Open();
  }
  TempDirectory dir;
  ScriptedUi ui;
  ConfigurationChooser chooser{dir.Path().string(), ui};
};

TEST_F(ChooserTest, OpensWithEachClientOnceAndEverySerial) {
  EXPECT_EQ(ui.WaitTexts(), std::vector<std::string>{W("Por favor, aguarde.....")});
  EXPECT_EQ(chooser.Clients(), (std::vector<std::string>{"Ana", "Bia", "Caio"}));
  EXPECT_EQ(chooser.Serials(), (std::vector<std::string>{"S1", "S1", "S2", "S3", "S4"}));
  chooser.ClientLeft("ana");
  EXPECT_EQ(chooser.Serials(), std::vector<std::string>{"S2"});
  chooser.ClientLeft("");
  EXPECT_EQ(chooser.Serials(), std::vector<std::string>{"S2"});
}

TEST_F(ChooserTest, SearchListsByClientSerialOrBoth) {
  struct Case {
    std::string client, serial;
    std::vector<std::string> found;
  } cases[] = {
      {"", "", {}},           {"", "S1", {"S1", "S1"}}, {"Ana", "", {"S1"}}, {"ANA", "", {}},
      {"Caio", "S1", {"S1"}}, {"Bia", "S1", {}},        {"Ana", "S9", {}},
  };
  for (const Case& c : cases) {
    chooser.Select("S3");
    chooser.Search(c.client, c.serial);
    EXPECT_EQ(chooser.Found(), c.found) << c.client << "/" << c.serial;
    EXPECT_EQ(chooser.Serials().size(), 5u);
    EXPECT_FALSE(chooser.Chosen().has_value());
    EXPECT_EQ(chooser.Description(), "");
  }
}

TEST_F(ChooserTest, SelectingDescribesTheLastMatchAndConfirmNeedsAChoice) {
  EXPECT_FALSE(chooser.Confirm());
  EXPECT_EQ(Messages(ui), std::vector<std::string>{W("Por favor, escolha um registro.")});
  chooser.Select("S1");
  EXPECT_EQ(chooser.Description(),
            W("Número de série: S1\r\nCliente: Caio\r\nCNPJ: CNPJ-S1\r\nIE: \r\nIM: "));
  EXPECT_TRUE(chooser.Confirm());
  EXPECT_EQ(chooser.Chosen()->client, "Caio");
  EXPECT_EQ(chooser.Chosen()->password, std::string(10, ' '));
}

TEST_F(ChooserTest, DeletingSavesOnYesAndAsksAgainWhenConfirming) {
  const std::string path = ConfigurationsPath(dir.Path().string());
  ui.Push(MessageAnswer::No);
  chooser.Delete("S1");
  ConfigurationList list;
  ASSERT_TRUE(LoadConfigurations(path, list).ok());
  EXPECT_EQ(list.size(), 5u);  // not saved
  EXPECT_EQ(Serials(chooser.Records()), "S2/ana S3/Bia S4/ ");
  EXPECT_EQ(chooser.Clients(), (std::vector<std::string>{"ana", "Bia"}));

  chooser.Select("S3");
  ui.Push(MessageAnswer::Yes);  // the deletion is still unsaved
  EXPECT_TRUE(chooser.Confirm());
  ASSERT_TRUE(LoadConfigurations(path, list).ok());
  EXPECT_EQ(Serials(list), "S2/ana S3/Bia S4/ ");
  EXPECT_TRUE(ui.AllAnswered());
}

TEST_F(ChooserTest, AFailedDeletionSaveIsReported) {
  // The folder is gone: the file cannot be written.
  std::filesystem::remove_all(dir.Path());
  ui.Push(MessageAnswer::Yes);
  chooser.Delete("S4");
  ASSERT_FALSE(Messages(ui).empty());
  EXPECT_EQ(Messages(ui).back().rfind(W("Registro não excluído"), 0), 0u);
}

}  // namespace
}  // namespace taloven
