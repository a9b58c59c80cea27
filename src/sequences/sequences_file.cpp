#include "sequences/sequences_file.h"

#include "base/atomic_file.h"
#include "catalogue/catalogue.h"
#include "catalogue/xml_document.h"

namespace taloven {
namespace {

// The declaration as the file has always carried it; the XML library would
// write it with double quotes.
constexpr const char* kDeclaration = "<?xml version='1.0' encoding='Windows-1252'?>";
constexpr const char* kStylesheetTarget = "xml-stylesheet";
constexpr const char* kStylesheetData = "type='text/xml' href='style.xsl'";

void AppendParameter(XmlNode& cmd, const CommandParameter& parameter) {
  cmd.AppendText("\n\t\t\t");
  XmlNode node = cmd.AppendElement("parametro");
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("titulo", parameter.title);
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("valor", parameter.value);
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("tamanho", std::to_string(parameter.size));
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("formato", parameter.type);
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("obrigatorio", parameter.mandatory ? "S" : "N");
  node.AppendText("\n\t\t\t");
}

void AppendReturnField(XmlNode& cmd, const ReturnField& field) {
  cmd.AppendText("\n\t\t\t");
  XmlNode node = cmd.AppendElement("retorno");
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("titulo", field.title);
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("tamanho", std::to_string(field.size));
  node.AppendText("\n\t\t\t\t");
  node.AppendElement("formato", field.type);
  node.AppendText("\n\t\t\t");
}

void AppendCommand(XmlNode& sequence, const CommandRecord& record) {
  sequence.AppendText("\n\t\t");
  XmlNode cmd = sequence.AppendElement("cmd");
  cmd.AppendText("\n\t\t\t");
  cmd.AppendElement("tipo", record.group);
  cmd.AppendText("\n\t\t\t");
  cmd.AppendElement("titulo", record.title);
  cmd.AppendText("\n\t\t\t");
  cmd.AppendElement("escape", record.escapeText);
  cmd.AppendText("\n\t\t\t");
  cmd.AppendElement("tamanho_retorno", std::to_string(record.returnSize));
  cmd.AppendText("\n\t\t\t");
  cmd.AppendElement("tipo_retorno", record.returnType);
  for (const CommandParameter& parameter : record.parameters) AppendParameter(cmd, parameter);
  for (const ReturnField& field : record.returnFields) AppendReturnField(cmd, field);
  cmd.AppendText("\n\t\t");
}

}  // namespace

std::string SequencesFilePath(const std::string& directory) {
  if (directory.empty()) return "sequencias.xml";
  return directory.back() == '/' ? directory + "sequencias.xml" : directory + "/sequencias.xml";
}

bool LoadSequences(const std::string& path, SavedSequences& list) {
  XmlDocument document;
  if (!document.Load(path)) return false;
  for (const XmlNode& node : document.SelectNodes("//sequencia")) {
    CommandSequence sequence;
    sequence.name = node.Child("titulo").Text();
    for (const XmlNode& cmd : node.Children("cmd"))
      sequence.InsertCommand(RecordFromCmdNode(cmd, false));
    list.Append(std::move(sequence));
  }
  return true;
}

std::string SequencesDocument(const SavedSequences& list) {
  XmlDocument document;
  document.Create();
  document.AppendProcessingInstruction(kStylesheetTarget, kStylesheetData);
  XmlNode root = document.CreateRoot("sequencias");
  root.SetAttribute("xml:space", "preserve");
  for (const CommandSequence& sequence : list.Sequences()) {
    root.AppendText("\n\t");
    XmlNode node = root.AppendElement("sequencia");
    node.AppendText("\n\t\t");
    node.AppendElement("titulo", sequence.name);
    for (const CommandRecord& record : sequence.commands) AppendCommand(node, record);
    node.AppendText("\n\t");
  }
  root.AppendText("\n");

  std::string bytes = document.SaveToMemory();
  const size_t declarationEnd = bytes.find("?>");
  if (bytes.rfind("<?xml ", 0) == 0 && declarationEnd != std::string::npos)
    bytes.replace(0, declarationEnd + 2, kDeclaration);
  return bytes;
}

int SaveSequences(const SavedSequences& list, const std::string& path, std::string* error) {
  const std::string bytes = SequencesDocument(list);
  std::string reason;
  XmlDocument check;
  if (bytes.empty() || !check.LoadFromMemory(bytes, &reason, path)) {
    if (error) *error = "not written, it would not read back: " + reason;
    return 1;
  }
  if (!WriteFileAtomically(path, bytes, &reason)) {
    if (error) *error = "cannot write " + path + ": " + reason;
    return 2;
  }
  return 0;
}

}  // namespace taloven
