#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::TempDirectory;

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n";

// Loads a catalogue written from the given bytes; fails the test on error.
CommandCatalogue LoadFrom(const std::string& bytes) {
  TempDirectory dir;
  std::ofstream(dir.Path() / "comandos.xml", std::ios::binary) << bytes;
  CommandCatalogue catalogue;
  const Status loaded = LoadCatalogue(dir.Path().string(), catalogue);
  EXPECT_TRUE(loaded.ok()) << loaded.message();
  return catalogue;
}

// One record from the inside of a single cmd element.
CommandRecord RecordFrom(const std::string& inside) {
  CommandCatalogue catalogue =
      LoadFrom(std::string(kDeclaration) + "<comandos>\n<cmd>" + inside + "</cmd>\n</comandos>");
  EXPECT_EQ(catalogue.Count(), 1);
  return catalogue.Count() == 1 ? catalogue.At(0) : CommandRecord();
}

TEST(LoadCatalogue, ReadsEveryFieldOfACommand) {
  CommandRecord record = RecordFrom(
      "\n  <tipo>Leituras</tipo>\n  <equipamentos_hab>65535</equipamentos_hab>"
      "\n  <titulo>Marca, Modelo e Tipo</titulo>\n  <escape>35 60</escape>"
      "\n  <tamanho_retorno>42</tamanho_retorno>\n  <tipo_retorno>ASCII</tipo_retorno>"
      "\n  <parametro>\n    <titulo>Descri\xE7\xE3o</titulo>\n    <tamanho>29</tamanho>"
      "\n    <formato>STRING</formato>\n    <obrigatorio>N</obrigatorio>"
      "\n    <valor>Caf\xE9</valor>\n  </parametro>"
      "\n  <retorno>\n    <titulo>Marca</titulo>\n    <tamanho>20</tamanho>"
      "\n    <formato>ASCII</formato>\n  </retorno>\n");
  EXPECT_EQ(record.group, "Leituras");
  EXPECT_EQ(record.equipmentMask, 0xFFFFu);
  EXPECT_EQ(record.title, "Marca, Modelo e Tipo");
  EXPECT_EQ(record.escapeText, "35 60");
  ASSERT_EQ(record.escapeLength, 2);
  EXPECT_EQ(record.escapeBytes[0], 35);
  EXPECT_EQ(record.escapeBytes[1], 60);
  EXPECT_EQ(record.returnSize, 42);
  EXPECT_EQ(record.returnType, "ASCII");
  ASSERT_EQ(record.parameterCount, 1);
  const CommandParameter& parameter = record.parameters[0];
  EXPECT_EQ(parameter.title, "Descri\xE7\xE3o");
  EXPECT_EQ(parameter.size, 29);
  EXPECT_EQ(parameter.type, "STRING");
  EXPECT_EQ(parameter.mandatory, 0);
  EXPECT_EQ(parameter.value, "Caf\xE9");
  ASSERT_EQ(record.returnFieldCount, 1);
  EXPECT_EQ(record.returnFields[0].title, "Marca");
  EXPECT_EQ(record.returnFields[0].size, 20);
  EXPECT_EQ(record.returnFields[0].type, "ASCII");
}

TEST(LoadCatalogue, AppliesTheFileRulesToSingleFields) {
  const struct {
    const char* name;
    const char* inside;
    std::function<void(const CommandRecord&)> check;
  } cases[] = {
      {"absent children keep a new record's values", "<outro>1</outro>",
       [](const CommandRecord& r) {
         EXPECT_EQ(r.group, "");
         EXPECT_EQ(r.equipmentMask, 0u);
         EXPECT_EQ(r.title, "");
         EXPECT_EQ(r.escapeLength, 0);
         EXPECT_EQ(r.returnSize, 0);
         EXPECT_EQ(r.returnType, "");
         EXPECT_EQ(r.parameterCount, 0);
         EXPECT_EQ(r.returnFieldCount, 0);
       }},
      {"the first child of a name wins", "<titulo>A</titulo><titulo>B</titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, "A"); }},
      {"only direct children count", "<grupo><titulo>fundo</titulo></grupo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, ""); }},
      {"names are case-sensitive", "<Titulo>A</Titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, ""); }},
      {"white space inside a text is kept", "<titulo>\n  Abre  </titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, "\n  Abre  "); }},
      {"attributes are not read", "<titulo titulo=\"X\">A</titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, "A"); }},
      {"comments between children", "<!-- x --><titulo>A<!-- y -->B</titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, "AB"); }},
      {"a negative reply size marks a variable reply", "<tamanho_retorno>-1</tamanho_retorno>",
       [](const CommandRecord& r) { EXPECT_EQ(r.returnSize, -1); }},
      {"numbers read from their leading digits", "<tamanho_retorno> 12 bytes</tamanho_retorno>",
       [](const CommandRecord& r) { EXPECT_EQ(r.returnSize, 12); }},
      {"a text without a number counts 0", "<equipamentos_hab>todos</equipamentos_hab>",
       [](const CommandRecord& r) { EXPECT_EQ(r.equipmentMask, 0u); }},
      {"an empty escape is one 0 byte", "<escape></escape>",
       [](const CommandRecord& r) {
         EXPECT_EQ(r.escapeLength, 1);
         EXPECT_EQ(r.escapeBytes[0], 0);
       }},
      {"two blanks give an empty piece", "<escape>35  60</escape>",
       [](const CommandRecord& r) {
         ASSERT_EQ(r.escapeLength, 3);
         EXPECT_EQ(r.escapeBytes[1], 0);
         EXPECT_EQ(r.escapeBytes[2], 60);
       }},
      {"too many escape values never overrun the record",
       "<escape>1 2 3 4 5 6 7 8 9 10 11 12 13 14</escape>",
       [](const CommandRecord& r) {
         EXPECT_EQ(r.escapeLength, CommandRecord::kMaxEscapeBytes);
         EXPECT_TRUE(r.escapeTooLong);
       }},
      {"character references reach the core as Windows-1252",
       "<titulo>Fun&#231;&#xE3;o &#8364;</titulo>",
       [](const CommandRecord& r) { EXPECT_EQ(r.title, "Fun\xE7\xE3o \x80"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.check(RecordFrom(c.inside));
  }
}

TEST(LoadCatalogue, OnlyAnUpperCaseSIsMandatoryAndAbsenceIsMandatory) {
  const struct {
    const char* element;
    int32_t mandatory;
  } cases[] = {
      {"", 1},
      {"<obrigatorio>S</obrigatorio>", 1},
      {"<obrigatorio>N</obrigatorio>", 0},
      {"<obrigatorio>s</obrigatorio>", 0},
      {"<obrigatorio> S</obrigatorio>", 0},
      {"<obrigatorio></obrigatorio>", 0},
  };
  for (const auto& c : cases) {
    CommandRecord record = RecordFrom(std::string("<parametro>") + c.element + "</parametro>");
    ASSERT_EQ(record.parameterCount, 1) << c.element;
    EXPECT_EQ(record.parameters[0].mandatory, c.mandatory) << c.element;
    EXPECT_EQ(record.parameters[0].size, 0);
    EXPECT_EQ(record.parameters[0].value, "");
  }
}

TEST(LoadCatalogue, ParametersAndReturnFieldsKeepDocumentOrder) {
  CommandRecord record = RecordFrom(
      "<parametro><titulo>p1</titulo></parametro><retorno><titulo>r1</titulo></retorno>"
      "<titulo>T</titulo>\n<parametro><titulo>p2</titulo><titulo>x</titulo></parametro>"
      "<outro><parametro><titulo>fundo</titulo></parametro></outro>"
      "<retorno><tamanho>3</tamanho><titulo>r2</titulo></retorno>"
      "<parametro><tamanho>7</tamanho></parametro>");
  ASSERT_EQ(record.parameterCount, 3);
  EXPECT_EQ(record.parameters[0].title, "p1");
  EXPECT_EQ(record.parameters[1].title, "p2");
  EXPECT_EQ(record.parameters[2].title, "");
  EXPECT_EQ(record.parameters[2].size, 7);
  ASSERT_EQ(record.returnFieldCount, 2);
  EXPECT_EQ(record.returnFields[0].title, "r1");
  EXPECT_EQ(record.returnFields[1].title, "r2");
  EXPECT_EQ(record.returnFields[1].size, 3);
}

TEST(LoadCatalogue, TakesCmdElementsAtAnyDepthInDocumentOrder) {
  CommandCatalogue catalogue = LoadFrom(
      "<raiz><cmd><titulo>1</titulo><cmd><titulo>2</titulo></cmd></cmd>"
      "<grupo><sub><cmd><titulo>3</titulo></cmd></sub></grupo><cmd><titulo>4</titulo></cmd>"
      "<Cmd><titulo>nunca</titulo></Cmd></raiz>");
  ASSERT_EQ(catalogue.Count(), 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(catalogue.At(k).title, std::to_string(k + 1));
  EXPECT_EQ(LoadFrom("<cmd/>").Count(), 1) << "the root itself may be a command";
  EXPECT_EQ(LoadFrom("<comandos>\n</comandos>").Count(), 0);
}

TEST(LoadCatalogue, AnUnloadableFileFailsWithAReasonAndLeavesTheCatalogueEmpty) {
  const struct {
    const char* name;
    const char* bytes;  // nullptr: no file at all
  } cases[] = {
      {"missing file", nullptr},
      {"not well-formed", "<comandos><cmd><titulo>A</titulo></comandos>"},
      {"empty file", ""},
      {"bytes that do not match the declared encoding",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><comandos>\xE9</comandos>"},
  };
  for (const auto& c : cases) {
    TempDirectory dir;
    if (c.bytes) std::ofstream(dir.Path() / "comandos.xml", std::ios::binary) << c.bytes;
    CommandCatalogue catalogue;
    catalogue.Append(CommandRecord());
    ::testing::internal::CaptureStderr();
    const Status loaded = LoadCatalogue(dir.Path().string(), catalogue);
    EXPECT_FALSE(loaded.ok()) << c.name;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Failed to instantiate an XML DOM.\n");
    EXPECT_EQ(catalogue.Count(), 0) << c.name;
    EXPECT_NE(loaded.message().find("comandos.xml"), std::string::npos)
        << c.name << ": " << loaded.message();
  }
}

TEST(LoadCatalogue, FindsCommandsAtAnyDepthInDocumentOrder) {
  const struct {
    const char* body;
    const char* titles;  // of the records, in order, joined by '|'
  } cases[] = {
      {"<cmd><titulo>A</titulo></cmd><cmd><titulo>B</titulo></cmd>", "A|B"},
      {"<grupo><cmd><titulo>A</titulo></cmd></grupo><cmd><titulo>B</titulo></cmd>", "A|B"},
      // A command inside another is a command too, after the one around it.
      {"<cmd><titulo>A</titulo><x><cmd><titulo>B</titulo></cmd></x></cmd><cmd><titulo>C</titulo>"
       "</cmd>",
       "A|B|C"},
      {"<cmd><titulo>A</titulo></cmd><!-- <cmd><titulo>X</titulo></cmd> --><cmdx/>"
       "<cmd><titulo><![CDATA[B&]]></titulo></cmd>",
       "A|B&"},
      {"", ""},
  };
  for (const auto& c : cases) {
    const CommandCatalogue catalogue =
        LoadFrom(std::string(kDeclaration) + "<comandos>" + c.body + "</comandos>");
    std::string titles;
    for (const CommandRecord& record : catalogue.Records())
      titles += (titles.empty() ? "" : "|") + record.title;
    EXPECT_EQ(titles, c.titles) << c.body;
  }
}

TEST(LoadCatalogue, AFaultAfterSomeCommandsStillLoadsNone) {
  TempDirectory dir;
  std::ofstream(dir.Path() / "comandos.xml", std::ios::binary)
      << kDeclaration << "<comandos>\n<cmd><titulo>A</titulo></cmd>\n<cmd><titulo>B</cmd>\n";
  CommandCatalogue catalogue;
  ::testing::internal::CaptureStderr();
  const Status loaded = LoadCatalogue(dir.Path().string(), catalogue);
  ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(loaded.ok());
  EXPECT_EQ(catalogue.Count(), 0);
  EXPECT_NE(loaded.message().find("comandos.xml: XML malformado na linha 4 ("), std::string::npos)
      << loaded.message();
}

// Read in pieces, a file cuts commands and texts anywhere: every command
// still loads whole and in its place.
TEST(LoadCatalogue, ALargeFileLoadsEveryCommandWholeAndInOrder) {
  std::string body, titles;
  for (int k = 0; k < 6000; ++k) {
    const std::string title = std::to_string(k) + std::string(static_cast<size_t>(k % 61), '\xE9');
    body += "<cmd><titulo>" + title + "</titulo><parametro><valor>" + title +
            "</valor></parametro></cmd>\n";
    titles += title + "|" + title + "\n";
  }
  const CommandCatalogue catalogue =
      LoadFrom(std::string(kDeclaration) + "<comandos>\n" + body + "</comandos>\n");
  std::string loaded;
  for (const CommandRecord& record : catalogue.Records())
    loaded +=
        record.title + "|" + (record.parameters.empty() ? "" : record.parameters[0].value) + "\n";
  EXPECT_EQ(loaded, titles);
}

TEST(LoadCatalogue, TheSampleCatalogueLoads) {
  CommandCatalogue catalogue;
  const Status loaded = LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  ASSERT_GT(catalogue.Count(), 0);
  bool found = false;
  for (const CommandRecord& record : catalogue.Records())
    found = found || (record.escapeText == "35 60" && record.title == "Marca, Modelo e Tipo");
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace taloven
