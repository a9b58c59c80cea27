#include "sequences/sequences_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "catalogue/xml_document.h"
#include "sequences/sequence_name.h"
#include "sequences/sequence_store.h"
#include "support/record_builders.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::MakeCommand;
using testing::MakeParameter;
using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::TempDirectory;

const std::string kHead =
    "<?xml version='1.0' encoding='Windows-1252'?>\n"
    "<?xml-stylesheet type='text/xml' href='style.xsl'?>\n";

CommandSequence Named(const std::string& name, std::vector<CommandRecord> commands = {}) {
  CommandSequence sequence;
  sequence.name = name;
  for (const CommandRecord& command : commands) sequence.InsertCommand(command);
  return sequence;
}

CommandRecord SaleCommand() {
  CommandRecord sale = MakeCommand(W("Venda de ítem"), "9",
                                   {MakeParameter("ALFANUM", 13, W("Código"), true, "7891234"),
                                    MakeParameter("ALIQUOTA", 2, W("Alíquota"), false, "")});
  sale.group = W("Cupom Fiscal");
  sale.returnType = "NENHUM";
  ReturnField field;
  field.title = "Item";
  field.size = 3;
  field.type = "BCD";
  sale.AppendReturnField(field);
  return sale;
}

struct FileCase {
  const char* name;
  std::vector<CommandSequence> sequences;
  std::string bytes;  // laid out by hand
};

class SequencesFileBytes : public ::testing::TestWithParam<FileCase> {};

TEST_P(SequencesFileBytes, AreWrittenAsLaidOutAndReadBack) {
  TempDirectory dir;
  const std::string path = SequencesFilePath(dir.Path().string());
  SavedSequences list;
  for (const CommandSequence& sequence : GetParam().sequences) list.Append(sequence);
  const Status saved = SaveSequences(list, path);
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(ReadFileBytes(path), GetParam().bytes);

  SavedSequences reread;
  ASSERT_EQ(LoadSequences(path, reread).value(), RecordFile::Read);
  ASSERT_EQ(reread.Count(), list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(reread.At(i).name, list.At(i).name);
    EXPECT_EQ(reread.At(i).commandCount, list.At(i).commandCount);
  }
  // What was read writes the very same bytes again.
  EXPECT_EQ(SequencesDocument(reread), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    HandWritten, SequencesFileBytes,
    ::testing::Values(
        FileCase{"NoSequences", {}, kHead + "<sequencias xml:space=\"preserve\">\n</sequencias>\n"},
        FileCase{"EmptySequence",
                 {Named("VAZIA               ")},
                 kHead +
                     "<sequencias xml:space=\"preserve\">\n"
                     "\t<sequencia>\n\t\t<titulo>VAZIA               </titulo>\n\t</sequencia>\n"
                     "</sequencias>\n"},
        FileCase{"WithParameters",
                 {Named("VENDA               ", {SaleCommand()})},
                 kHead + W("<sequencias xml:space=\"preserve\">\n"
                           "\t<sequencia>\n"
                           "\t\t<titulo>VENDA               </titulo>\n"
                           "\t\t<cmd>\n"
                           "\t\t\t<tipo>Cupom Fiscal</tipo>\n"
                           "\t\t\t<titulo>Venda de ítem</titulo>\n"
                           "\t\t\t<escape>9</escape>\n"
                           "\t\t\t<tamanho_retorno>0</tamanho_retorno>\n"
                           "\t\t\t<tipo_retorno>NENHUM</tipo_retorno>\n"
                           "\t\t\t<parametro>\n"
                           "\t\t\t\t<titulo>Código</titulo>\n"
                           "\t\t\t\t<valor>7891234</valor>\n"
                           "\t\t\t\t<tamanho>13</tamanho>\n"
                           "\t\t\t\t<formato>ALFANUM</formato>\n"
                           "\t\t\t\t<obrigatorio>S</obrigatorio>\n"
                           "\t\t\t</parametro>\n"
                           "\t\t\t<parametro>\n"
                           "\t\t\t\t<titulo>Alíquota</titulo>\n"
                           "\t\t\t\t<valor/>\n"
                           "\t\t\t\t<tamanho>2</tamanho>\n"
                           "\t\t\t\t<formato>ALIQUOTA</formato>\n"
                           "\t\t\t\t<obrigatorio>N</obrigatorio>\n"
                           "\t\t\t</parametro>\n"
                           "\t\t\t<retorno>\n"
                           "\t\t\t\t<titulo>Item</titulo>\n"
                           "\t\t\t\t<tamanho>3</tamanho>\n"
                           "\t\t\t\t<formato>BCD</formato>\n"
                           "\t\t\t</retorno>\n"
                           "\t\t</cmd>\n"
                           "\t</sequencia>\n"
                           "</sequencias>\n")}),
    [](const auto& info) { return info.param.name; });

TEST(SequencesFile, AccentsAndEveryFieldSurviveARoundTrip) {
  TempDirectory dir;
  const std::string path = SequencesFilePath(dir.Path().string());
  CommandRecord sale = SaleCommand();
  sale.parameters[1].value = W("Ação \"1\" <&> é\r\n'x'\t]]>");
  sale.SetEscapeText("62 51");
  sale.SetReturnSize(-1);
  SavedSequences list;
  list.Append(Named("A                   ", {sale, SaleCommand()}));
  list.Append(Named("B                   "));
  ASSERT_TRUE(SaveSequences(list, path).ok());

  SavedSequences reread;
  ASSERT_EQ(LoadSequences(path, reread).value(), RecordFile::Read);
  ASSERT_EQ(reread.Count(), 2);
  const CommandRecord& back = reread.At(0).commands.at(0);
  EXPECT_EQ(back.group, sale.group);
  EXPECT_EQ(back.title, sale.title);
  EXPECT_EQ(back.escapeLength, 2);
  EXPECT_EQ(back.escapeBytes[1], 51);
  EXPECT_EQ(back.returnSize, -1);
  EXPECT_EQ(back.returnType, "NENHUM");
  ASSERT_EQ(back.parameterCount, 2);
  EXPECT_EQ(back.parameters[0].mandatory, 1);
  EXPECT_EQ(back.parameters[1].mandatory, 0);
  EXPECT_EQ(back.parameters[1].value, sale.parameters[1].value);
  EXPECT_EQ(back.parameters[0].size, 13);
  ASSERT_EQ(back.returnFieldCount, 1);
  EXPECT_EQ(back.returnFields[0].type, "BCD");
  EXPECT_EQ(reread.At(0).commandCount, 2);
  EXPECT_EQ(reread.At(1).commands.size(), 0u);

  // The XML library lays the same document out byte for byte, but for the
  // quotes of its declaration.
  XmlDocument document;
  ASSERT_TRUE(document.Load(path).ok());
  const std::string library = document.SaveToMemory(), written = ReadFileBytes(path);
  EXPECT_EQ(written.substr(written.find('\n')), library.substr(library.find('\n')));
}

TEST(SequencesFile, ADamagedFileIsReportedAndNotReplacedUntilMovedAway) {
  TempDirectory dir;
  const fs::path path = dir.Path() / "sequencias.xml";
  SavedSequences list;
  const Result<RecordFile> missing = LoadSequences(path.string(), list);
  EXPECT_TRUE(missing.ok() && missing.value() == RecordFile::Missing);
  EXPECT_FALSE(list.FileUnreadable()) << "a missing file is no damage";
  const std::string broken = "<sequencias>\n<sequencia><titulo>X</titulo>";
  std::ofstream(path) << broken;
  const Result<RecordFile> damaged = LoadSequences(path.string(), list);
  EXPECT_FALSE(damaged.ok());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_NE(damaged.status().message().find("XML malformado na linha 2 ("), std::string::npos)
      << damaged.status().message();

  ScriptedUi ui;
  EXPECT_FALSE(StoreSequence(list, Named("NOVA"), path.string(), ui).ok());
  EXPECT_EQ(ReadFileBytes(path), broken);
  EXPECT_NE(ui.Prompts().back().text.find("movido para outro lugar"), std::string::npos);
  fs::rename(path, dir.Path() / "guardado.xml");
  ASSERT_TRUE(StoreSequence(list, Named("NOVA"), path.string(), ui, ReplaceAnswer::Yes).ok());
  list.Clear();
  ASSERT_EQ(LoadSequences(path.string(), list).value(), RecordFile::Read);
  EXPECT_EQ(list.Count(), 1);
}

TEST(SequencesFile, AValueThatWouldNotReadBackKeepsTheOldFile) {
  TempDirectory dir;
  const std::string path = SequencesFilePath(dir.Path().string());
  SavedSequences list;
  list.Append(Named("OK                  "));
  ASSERT_TRUE(SaveSequences(list, path).ok());
  const std::string before = ReadFileBytes(path);

  CommandRecord bad = SaleCommand();
  bad.parameters[0].value = std::string("12\x01", 3);
  ScriptedUi ui;
  const Status refused = StoreSequence(list, Named("RUIM                ", {bad}), path, ui);
  EXPECT_EQ(refused.message(), path + W(" não foi gravado: não poderia ser lido de volta (um texto "
                                        "contém um caractere de controle)"));
  EXPECT_EQ(ui.Prompts().back().text, W("Registro não salvo\r\n\r\n") + refused.message());
  EXPECT_EQ(ReadFileBytes(path), before);
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename(), "sequencias.xml") << "no temporary file left behind";
}

struct NameCase {
  std::string typed;
  SequenceNameCheck check;
  std::string stored;
};

TEST(SequenceName, FollowsTheNamingRules) {
  const NameCase cases[] = {
      {"teste", SequenceNameCheck::Ok, "TESTE               "},
      {"a.b", SequenceNameCheck::Ok, "AB                 "},
      {"Venda 1 <x>", SequenceNameCheck::Ok, "VENDA 1 X         "},
      {"abcdefghijklmnopqrst", SequenceNameCheck::Ok, "ABCDEFGHIJKLMNOPQRST"},
      {W("ção"), SequenceNameCheck::Invalid, ""},
      {"abcdefghijklmnopqrstu", SequenceNameCheck::Invalid, ""},
      {"...", SequenceNameCheck::Empty, ""},
      {"<>", SequenceNameCheck::Empty, ""},
      {"", SequenceNameCheck::Empty, ""},
      {"   ", SequenceNameCheck::Empty, ""},
  };
  for (const NameCase& c : cases) {
    const SequenceName result = CleanSequenceName(c.typed);
    EXPECT_EQ(result.check, c.check) << c.typed;
    EXPECT_EQ(result.name, c.stored) << c.typed;
  }
}

TEST(SavedSequences, AddAndRemoveFollowTheirResults) {
  SavedSequences list;
  CommandSequence one = Named("UM"), two = Named("DOIS"), otherOne = Named("UM", {SaleCommand()});
  EXPECT_EQ(list.Add(one, false), AddResult::Added);
  EXPECT_EQ(list.Add(two, false), AddResult::Added);
  EXPECT_EQ(list.Add(otherOne, false), AddResult::Exists);
  EXPECT_EQ(list.At(0).commandCount, 0) << "nothing changes without replace";
  EXPECT_EQ(list.Add(otherOne, true), AddResult::Added);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At(0).name, "DOIS");
  EXPECT_EQ(list.At(1).commandCount, 1) << "a replaced sequence moves to the end";
  EXPECT_EQ(list.Remove("um"), -1) << "names compare byte for byte";
  EXPECT_EQ(list.Remove("UM"), 0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(CommandSequence, InsertAndRemoveKeepTheCount) {
  CommandSequence sequence;
  const CommandRecord a = MakeCommand("A", "1", {}), b = MakeCommand("B", "2", {}),
                      c = MakeCommand("C", "3", {});
  EXPECT_TRUE(sequence.InsertCommand(a, -1));
  EXPECT_TRUE(sequence.InsertCommand(c, 1));
  EXPECT_TRUE(sequence.InsertCommand(b, 1));
  EXPECT_FALSE(sequence.InsertCommand(a, 4));
  EXPECT_FALSE(sequence.InsertCommand(a, -2));
  EXPECT_FALSE(sequence.RemoveCommand(3));
  EXPECT_EQ(sequence.commandCount, 3);
  EXPECT_EQ(sequence.commands[1].title, "B");
  EXPECT_TRUE(sequence.RemoveCommand(0));
  EXPECT_EQ(sequence.commands[0].title, "B");
  EXPECT_EQ(sequence.commandCount, 2);
}

TEST(SequenceStore, AskToReplaceAndDeleteOnlyWhatExists) {
  TempDirectory dir;
  const std::string path = SequencesFilePath(dir.Path().string());
  SavedSequences list;
  ScriptedUi ui;
  ASSERT_TRUE(StoreSequence(list, Named("X", {SaleCommand()}), path, ui).ok());

  ui.Push(MessageAnswer::No);
  EXPECT_FALSE(StoreSequence(list, Named("X"), path, ui).ok());
  EXPECT_EQ(ui.Prompts().back().text, W("Registro não salvo"));
  ui.Push(MessageAnswer::Yes);
  EXPECT_TRUE(StoreSequence(list, Named("X"), path, ui).ok());
  SavedSequences reread;
  ASSERT_EQ(LoadSequences(path, reread).value(), RecordFile::Read);
  ASSERT_EQ(reread.Count(), 1);
  EXPECT_EQ(reread.At(0).commandCount, 0) << "Yes replaces it with the empty one";

  const auto written = fs::last_write_time(path);
  fs::last_write_time(path, written - std::chrono::hours(1));
  EXPECT_FALSE(DeleteSequence(list, "Y", path, ui).ok());
  EXPECT_EQ(ui.Prompts().back().text, W("Registro não excluído"));
  EXPECT_EQ(fs::last_write_time(path), written - std::chrono::hours(1)) << "nothing written";
  EXPECT_TRUE(DeleteSequence(list, "X", path, ui).ok());
  EXPECT_TRUE(ui.AllAnswered());
}

}  // namespace
}  // namespace taloven
