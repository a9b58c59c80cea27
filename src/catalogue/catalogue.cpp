#include "catalogue/catalogue.h"

#include <cstdio>
#include <string_view>

#include "base/read_file.h"
#include "catalogue/xml_document.h"

namespace taloven {
namespace {

// Runs store on the text of the first child named name, if there is one;
// otherwise the field keeps the default of a new record.
template <typename Store>
void IfChild(const XmlNode& parent, const char* name, Store store) {
  XmlNode child = parent.Child(name);
  if (!child.IsNull()) store(child.Text());
}

CommandParameter ParameterFromNode(const XmlNode& node) {
  CommandParameter parameter;
  IfChild(node, "titulo", [&](std::string text) { parameter.title = std::move(text); });
  IfChild(node, "tamanho",
          [&](const std::string& text) { parameter.size = ReadLeadingNumber(text); });
  IfChild(node, "formato", [&](std::string text) { parameter.type = std::move(text); });
  IfChild(node, "obrigatorio",
          [&](const std::string& text) { parameter.mandatory = text == "S" ? 1 : 0; });
  IfChild(node, "valor", [&](std::string text) { parameter.value = std::move(text); });
  return parameter;
}

ReturnField ReturnFieldFromNode(const XmlNode& node) {
  ReturnField field;
  IfChild(node, "titulo", [&](std::string text) { field.title = std::move(text); });
  IfChild(node, "tamanho", [&](const std::string& text) { field.size = ReadLeadingNumber(text); });
  IfChild(node, "formato", [&](std::string text) { field.type = std::move(text); });
  return field;
}

std::string CataloguePath(const std::string& directory) {
  if (directory.empty()) return "comandos.xml";
  return directory.back() == '/' ? directory + "comandos.xml" : directory + "/comandos.xml";
}

}  // namespace

CommandRecord RecordFromCmdNode(const XmlNode& cmd, bool readEquipmentMask) {
  CommandRecord record;
  IfChild(cmd, "tipo", [&](std::string text) { record.group = std::move(text); });
  if (readEquipmentMask) {
    IfChild(cmd, "equipamentos_hab", [&](const std::string& text) {
      record.equipmentMask = static_cast<uint32_t>(ReadLeadingNumber(text));
    });
  }
  IfChild(cmd, "titulo", [&](std::string text) { record.SetTitle(std::move(text)); });
  IfChild(cmd, "escape", [&](std::string text) { record.SetEscapeText(std::move(text)); });
  IfChild(cmd, "tamanho_retorno",
          [&](const std::string& text) { record.SetReturnSize(ReadLeadingNumber(text)); });
  IfChild(cmd, "tipo_retorno", [&](std::string text) { record.returnType = std::move(text); });
  for (const XmlNode& node : cmd.Children("parametro"))
    record.AppendParameter(ParameterFromNode(node));
  for (const XmlNode& node : cmd.Children("retorno"))
    record.AppendReturnField(ReturnFieldFromNode(node));
  return record;
}

namespace {

// An upper bound of the commands in the file, to size the list once.
size_t CountCommandTags(std::string_view bytes) {
  size_t count = 0;
  for (size_t at = bytes.find("<cmd"); at != std::string_view::npos;
       at = bytes.find("<cmd", at + 4))
    ++count;
  return count;
}

}  // namespace

Status LoadCatalogue(const std::string& directory, CommandCatalogue& catalogue) {
  catalogue.Clear();
  const std::string path = CataloguePath(directory);
  std::string bytes;
  // Commands are built as the file is read, element by element: a catalogue
  // of a hundred thousand commands never stands as one tree beside them.
  Status read = ReadWholeFile(path, bytes);
  if (read.ok()) {
    catalogue.Reserve(CountCommandTags(bytes));
    read = ForEachElement(bytes, path, "cmd", [&catalogue](const XmlNode& cmd) {
      catalogue.Append(RecordFromCmdNode(cmd, true));
    });
  }
  if (!read.ok()) {
    catalogue.Clear();
    // On the error stream, so that a script reading a command's output on
    // standard output never takes the diagnostic for a result.
    std::fputs("Failed to instantiate an XML DOM.\n", stderr);
  }
  return read;
}

}  // namespace taloven
