// The records read from comandos.xml and sequencias.xml, every field of them,
// against dumps kept beside the documents: any change in how the files are
// read (order, texts, numbers, defaults, the damaged-file report) shows as a
// difference in one line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/catalogue.h"
#include "sequences/sequences_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDirectory;

const fs::path kDocuments = fs::path(TALOVEN_SOURCE_DIR) / "tests/sequences/loaded_records";

// Printable ASCII as is, every other byte as \xNN: the dumps stay plain text
// and still show each Windows-1252 byte.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out + "\"";
}

void DumpRecord(const CommandRecord& record, std::string& out) {
  out += "  cmd group=" + Quoted(record.group) + " title=" + Quoted(record.title) +
         " escape=" + Quoted(record.escapeText) + " bytes=";
  for (int i = 0; i < record.escapeLength; ++i)
    out += (i ? "," : "") + std::to_string(record.escapeBytes[static_cast<size_t>(i)]);
  out += " tooLong=" + std::to_string(record.escapeTooLong) +
         " mask=" + std::to_string(record.equipmentMask) +
         " returnSize=" + std::to_string(record.returnSize) +
         " returnType=" + Quoted(record.returnType) +
         " parameters=" + std::to_string(record.parameterCount) +
         " returns=" + std::to_string(record.returnFieldCount) + "\n";
  for (const CommandParameter& p : record.parameters)
    out += "    parameter title=" + Quoted(p.title) + " size=" + std::to_string(p.size) +
           " type=" + Quoted(p.type) + " mandatory=" + std::to_string(p.mandatory) +
           " value=" + Quoted(p.value) + "\n";
  for (const ReturnField& f : record.returnFields)
    out += "    return title=" + Quoted(f.title) + " size=" + std::to_string(f.size) +
           " type=" + Quoted(f.type) + " value=" + Quoted(f.value) + "\n";
}

// The reason names the file by its full path; the folder is a fresh one.
std::string Failure(const std::string& reason, const std::string& directory) {
  std::string text = reason;
  for (size_t at = text.find(directory); at != std::string::npos; at = text.find(directory))
    text.replace(at, directory.size(), "DIR");
  return "failed " + Quoted(text) + "\n";
}

std::string LoadedCatalogue(const std::string& directory) {
  CommandCatalogue catalogue;
  const Status loaded = LoadCatalogue(directory, catalogue);
  std::string out = loaded.ok() ? "read\n" : Failure(loaded.message(), directory);
  for (const CommandRecord& record : catalogue.Records()) DumpRecord(record, out);
  return out;
}

std::string LoadedSequences(const std::string& directory) {
  SavedSequences list;
  const Result<RecordFile> loaded = LoadSequences(SequencesFilePath(directory), list);
  std::string out = !loaded.ok() ? Failure(loaded.status().message(), directory)
                    : loaded.value() == RecordFile::Missing ? "missing\n"
                                                            : "read\n";
  out += "unreadable=" + std::to_string(list.FileUnreadable()) + "\n";
  for (const CommandSequence& sequence : list.Sequences()) {
    out += "sequence " + Quoted(sequence.name) +
           " commands=" + std::to_string(sequence.commandCount) + "\n";
    for (const CommandRecord& record : sequence.commands) DumpRecord(record, out);
  }
  return out;
}

struct LoadCase {
  const char* name;
  fs::path document;  // empty: no file at all
  bool catalogue;     // read as comandos.xml, else as sequencias.xml
};

class LoadedRecords : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadedRecords, MatchTheirDump) {
  const LoadCase& c = GetParam();
  TempDirectory dir;
  const std::string directory = dir.Path().string();
  // An external entity may name this file; its words must never be read in.
  std::ofstream(dir.Path() / "segredo.txt") << "SEGREDO";
  if (!c.document.empty())
    fs::copy_file(c.document, dir.Path() / (c.catalogue ? "comandos.xml" : "sequencias.xml"));
  const std::string loaded = c.catalogue ? LoadedCatalogue(directory) : LoadedSequences(directory);
  EXPECT_EQ(loaded.find("SEGREDO"), std::string::npos);
  EXPECT_EQ(loaded, ReadFileBytes(kDocuments / (std::string(c.name) + ".dump")));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, LoadedRecords,
    ::testing::Values(
        LoadCase{"data_catalogue", fs::path(TALOVEN_SOURCE_DIR) / "data/comandos.xml", true},
        LoadCase{"edges_catalogue", kDocuments / "edges.comandos.xml", true},
        LoadCase{"unclosed_catalogue", kDocuments / "unclosed.comandos.xml", true},
        LoadCase{"missing_catalogue", {}, true},
        LoadCase{"empty_file_catalogue", kDocuments / "empty_file.comandos.xml", true},
        LoadCase{"short_catalogue", kDocuments / "short.comandos.xml", true},
        LoadCase{"comment_fault_catalogue", kDocuments / "comment_fault.comandos.xml", true},
        LoadCase{"entity_fault_catalogue", kDocuments / "entity_fault.comandos.xml", true},
        LoadCase{"entity_markup_catalogue", kDocuments / "entity_markup.sequencias.xml", true},
        LoadCase{"nested_titles_catalogue", kDocuments / "nested_titles.sequencias.xml", true},
        LoadCase{"saved", kDocuments / "saved.sequencias.xml", false},
        LoadCase{"empty_elements", kDocuments / "empty_elements.sequencias.xml", false},
        LoadCase{"entities", kDocuments / "entities.sequencias.xml", false},
        LoadCase{"entity_markup", kDocuments / "entity_markup.sequencias.xml", false},
        LoadCase{"nested_titles", kDocuments / "nested_titles.sequencias.xml", false},
        LoadCase{"equipment_mask", kDocuments / "equipment_mask.sequencias.xml", false},
        LoadCase{"carriage_returns", kDocuments / "carriage_returns.sequencias.xml", false},
        LoadCase{"whitespace_and_nesting", kDocuments / "whitespace_and_nesting.sequencias.xml",
                 false},
        LoadCase{"windows1252", kDocuments / "windows1252.sequencias.xml", false},
        LoadCase{"utf8", kDocuments / "utf8.sequencias.xml", false},
        LoadCase{"unclosed", kDocuments / "unclosed.sequencias.xml", false},
        LoadCase{"bare_ampersand", kDocuments / "bare_ampersand.sequencias.xml", false},
        LoadCase{"two_roots", kDocuments / "two_roots.sequencias.xml", false},
        LoadCase{"empty_file", kDocuments / "empty_file.sequencias.xml", false},
        LoadCase{"blank", kDocuments / "blank.sequencias.xml", false},
        LoadCase{"declaration_only", kDocuments / "declaration_only.sequencias.xml", false},
        LoadCase{"missing", {}, false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace taloven
