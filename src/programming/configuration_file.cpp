#include "programming/configuration_file.h"

#include <algorithm>
#include <string_view>

#include "base/atomic_file.h"
#include "catalogue/record_file.h"
#include "catalogue/xml_document.h"

namespace taloven {
namespace {

constexpr const char* kFileName = "equipamentos.xml";
// The declaration is written as the file has always carried it, with
// single quotes; the XML layer would write double ones.
constexpr const char* kDeclaration = "<?xml version='1.0' encoding='Windows-1252'?>";

// The parser hands CR LF over as a bare line feed (and a CR written as a
// character reference as CR LF); either way the cliché keeps CR LF lines.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') out += '\r';
    out += text[i];
  }
  return out;
}

EquipmentConfiguration ReadRecord(const XmlNode& element) {
  EquipmentConfiguration record;
  for (const ConfigurationField& field : StoredFields(record)) {
    const XmlNode child = element.Child(field.element);
    if (child.IsNull()) continue;
    const std::string text = child.Text();
    if (field.flag)
      *field.flag = text != "0";
    else
      *field.text = field.element == "cliche" ? WithCrLf(text) : text;
  }
  return record;
}

}  // namespace

std::string ConfigurationsPath(const std::string& workingDirectory) {
  if (workingDirectory.empty()) return kFileName;
  return workingDirectory.back() == '/' ? workingDirectory + kFileName
                                        : workingDirectory + "/" + kFileName;
}

Result<RecordFile> LoadConfigurations(const std::string& path, ConfigurationList& list) {
  list.clear();
  XmlDocument document;
  const Result<RecordFile> found = LoadRecordFile(path, document);
  if (!found.ok() || found.value() == RecordFile::Missing) return found;
  for (const XmlNode& element : document.SelectNodes("//equipamento"))
    list.push_back(ReadRecord(element));
  return RecordFile::Read;
}

int AddConfiguration(ConfigurationList& list, const EquipmentConfiguration& record, bool replace) {
  auto found = std::find_if(list.begin(), list.end(), [&](const EquipmentConfiguration& c) {
    return c.serialNumber == record.serialNumber;
  });
  if (found != list.end()) {
    if (!replace) return 1;
    list.erase(found);
  }
  list.push_back(record);
  return 0;
}

std::string ConfigurationsFileBytes(const ConfigurationList& list) {
  XmlDocument document;
  document.Create();
  document.AppendProcessingInstruction("xml-stylesheet", "type='text/xml' href='style.xsl'");
  XmlNode root = document.CreateRoot("equipamentos");
  root.SetAttribute("xml:space", "preserve");
  for (EquipmentConfiguration record : list) {
    root.AppendText("\n\t");
    XmlNode element = root.AppendElement("equipamento");
    for (const ConfigurationField& field : StoredFields(record)) {
      element.AppendText("\n\t\t");
      element.AppendElement(field.element, StoredValue(field));
    }
    element.AppendText("\n\t");
  }
  root.AppendText("\n");
  std::string bytes = document.SaveToMemory();
  const size_t end = bytes.find("?>");
  if (bytes.rfind("<?xml ", 0) == 0 && end != std::string::npos)
    bytes.replace(0, end + 2, kDeclaration);
  // The cliché's line breaks go into the file as they are held, CR LF; the
  // XML layer would write each CR as a character reference. A CR without its
  // LF keeps the reference: written bare, the parser would read it as a line
  // feed and the cliché would come back changed.
  constexpr std::string_view kReference = "&#13;";
  std::string file;
  file.reserve(bytes.size());
  size_t start = 0;
  for (size_t at = bytes.find(kReference); at != std::string::npos;
       at = bytes.find(kReference, at + kReference.size())) {
    const size_t after = at + kReference.size();
    if (after >= bytes.size() || bytes[after] != '\n') continue;
    file.append(bytes, start, at - start).append(1, '\r');
    start = after;
  }
  file.append(bytes, start);
  return file;
}

Status SaveConfigurations(const std::string& path, const ConfigurationList& list) {
  const std::string bytes = ConfigurationsFileBytes(list);
  // A text the file cannot carry (a control character in a cliché) must not
  // leave a file that no longer loads.
  XmlDocument check;
  if (const Status readBack = check.LoadFromMemory(bytes, path); !readBack.ok())
    return Status::Failure(NotReadableBack(path, readBack.message()));
  const Status written = WriteFileAtomically(path, bytes);
  if (written.ok()) return {};
  return Status::Failure(CannotWrite(path, written.message()), written.systemError());
}

}  // namespace taloven
