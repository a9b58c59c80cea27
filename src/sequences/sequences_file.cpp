#include "sequences/sequences_file.h"

#include <string_view>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "catalogue/command_stream.h"

namespace taloven {
namespace {

// The file is written out directly rather than through a document tree: a
// thousand sequences are a million nodes, whose building and freeing cost
// ten times the writing. The layout is the one the file has always had, so
// the reader (the same as the catalogue's) and older copies agree with it.
constexpr const char* kHead =
    "<?xml version='1.0' encoding='Windows-1252'?>\n"
    "<?xml-stylesheet type='text/xml' href='style.xsl'?>\n"
    "<sequencias xml:space=\"preserve\">";

// XML 1.0 has no way to carry these, not even as references.
bool IsForbidden(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

class Writer {
 public:
  void Raw(std::string_view text) { bytes_ += text; }

  // An element holding text, or an empty one. A text that could not be read
  // back marks the whole document unwritable.
  void Element(std::string_view indent, std::string_view name, std::string_view text) {
    bytes_ += indent;
    bytes_ += '<';
    bytes_ += name;
    if (text.empty()) {
      bytes_ += "/>";
      return;
    }
    bytes_ += '>';
    for (char c : text) {
      switch (c) {
        case '<':
          bytes_ += "&lt;";
          break;
        case '>':
          bytes_ += "&gt;";
          break;
        case '&':
          bytes_ += "&amp;";
          break;
        case '\r':
          bytes_ += "&#13;";
          break;
        default:
          if (IsForbidden(c)) unwritable_ = true;
          bytes_ += c;
      }
    }
    bytes_ += "</";
    bytes_ += name;
    bytes_ += '>';
  }

  bool Unwritable() const { return unwritable_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
  bool unwritable_ = false;
};

void WriteParameter(Writer& out, const CommandParameter& parameter) {
  out.Raw("\n\t\t\t<parametro>");
  out.Element("\n\t\t\t\t", "titulo", parameter.title);
  out.Element("\n\t\t\t\t", "valor", parameter.value);
  out.Element("\n\t\t\t\t", "tamanho", std::to_string(parameter.size));
  out.Element("\n\t\t\t\t", "formato", parameter.type);
  out.Element("\n\t\t\t\t", "obrigatorio", parameter.mandatory ? "S" : "N");
  out.Raw("\n\t\t\t</parametro>");
}

void WriteReturnField(Writer& out, const ReturnField& field) {
  out.Raw("\n\t\t\t<retorno>");
  out.Element("\n\t\t\t\t", "titulo", field.title);
  out.Element("\n\t\t\t\t", "tamanho", std::to_string(field.size));
  out.Element("\n\t\t\t\t", "formato", field.type);
  out.Raw("\n\t\t\t</retorno>");
}

void WriteCommand(Writer& out, const CommandRecord& record) {
  out.Raw("\n\t\t<cmd>");
  out.Element("\n\t\t\t", "tipo", record.group);
  out.Element("\n\t\t\t", "titulo", record.title);
  out.Element("\n\t\t\t", "escape", record.escapeText);
  out.Element("\n\t\t\t", "tamanho_retorno", std::to_string(record.returnSize));
  out.Element("\n\t\t\t", "tipo_retorno", record.returnType);
  for (const CommandParameter& parameter : record.parameters) WriteParameter(out, parameter);
  for (const ReturnField& field : record.returnFields) WriteReturnField(out, field);
  out.Raw("\n\t\t</cmd>");
}

// The document's bytes; false when a text holds a character XML cannot carry.
bool Render(const SavedSequences& list, std::string* bytes) {
  Writer out;
  out.Raw(kHead);
  for (const CommandSequence& sequence : list.Sequences()) {
    out.Raw("\n\t<sequencia>");
    out.Element("\n\t\t", "titulo", sequence.name);
    for (const CommandRecord& record : sequence.commands) WriteCommand(out, record);
    out.Raw("\n\t</sequencia>");
  }
  out.Raw("\n</sequencias>\n");
  *bytes = out.Take();
  return !out.Unwritable();
}

// Every sequencia element is a sequence, at any depth, in the order the
// sequences start; its first titulo child names it and its cmd children are
// its commands.
class SequencesStream final : public CommandStream {
 public:
  explicit SequencesStream(std::vector<CommandSequence>& read)
      : CommandStream(false), read_(read) {}

  Status ReadFile(const std::string& path) { return CommandStream::ReadFile(path, {"sequencia"}); }

 private:
  static constexpr int kSequencia = kHostNames;

  Element HostStart(int name, Element* parent) override {
    if (name == kSequencia) {
      read_.emplace_back();
      commandsFrom_.push_back(commands_.size());
      return {Role::kHost, name, 0, read_.size() - 1};
    }
    if (!parent || parent->role != Role::kHost) return {};
    if (name == kCmd) return {Role::kCommand};
    if (name == kTitulo && parent->FirstChild(kTitulo)) return {Role::kField};
    return {};
  }

  void CommandRead(const Element&, Element*, CommandRecord record) override {
    commands_.push_back(std::move(record));
  }

  void HostEnd(const Element& element, Element* parent, std::string text) override {
    if (element.role == Role::kField) {
      read_[parent->slot].name = std::move(text);
      return;
    }
    CommandSequence& sequence = read_[element.slot];
    const auto first = commands_.begin() + static_cast<ptrdiff_t>(commandsFrom_.back());
    commandsFrom_.pop_back();
    sequence.commands.reserve(static_cast<size_t>(commands_.end() - first));
    for (auto command = first; command != commands_.end(); ++command)
      sequence.InsertCommand(std::move(*command));
    commands_.erase(first, commands_.end());
  }

  std::vector<CommandSequence>& read_;
  // The commands of the sequences being read, the innermost's last, moved
  // into their sequence at its end so that its list is sized once.
  std::vector<CommandRecord> commands_;
  std::vector<size_t> commandsFrom_;
};

// The file's sequences, in document order, into read.
Result<RecordFile> ReadSequences(const std::string& path, std::vector<CommandSequence>& read) {
  return ReadRecordFile(path, [&] { return SequencesStream(read).ReadFile(path); });
}

// A list read from a damaged file replaces nothing but a file moved away:
// the damaged one, or one put there since, holds sequences the list lacks.
Status MayReplace(const std::string& path) {
  std::vector<CommandSequence> ignored;
  const Result<RecordFile> found = ReadSequences(path, ignored);
  if (!found.ok()) return Status::Failure(DamagedFileKept(found.status().message()));
  if (found.value() == RecordFile::Missing) return {};
  return Status::Failure(
      Utf8ToCp1252(path) +
      W(" mudou desde que foi lido; abra as sequências de novo antes de salvar"));
}

}  // namespace

std::string SequencesFilePath(const std::string& directory) {
  if (directory.empty()) return "sequencias.xml";
  return directory.back() == '/' ? directory + "sequencias.xml" : directory + "/sequencias.xml";
}

Result<RecordFile> LoadSequences(const std::string& path, SavedSequences& list) {
  // Held apart until the whole file has read: a damaged file adds nothing.
  std::vector<CommandSequence> read;
  const Result<RecordFile> found = ReadSequences(path, read);
  if (!found.ok()) {
    list.SetFileUnreadable(true);
    return found;
  }
  for (CommandSequence& sequence : read) list.Append(std::move(sequence));
  return found;
}

std::string SequencesDocument(const SavedSequences& list) {
  std::string bytes;
  Render(list, &bytes);
  return bytes;
}

Status SaveSequences(const SavedSequences& list, const std::string& path) {
  std::string bytes;
  if (!Render(list, &bytes))
    return Status::Failure(NotReadableBack(path, W("um texto contém um caractere de controle")));
  if (list.FileUnreadable()) {
    if (const Status may = MayReplace(path); !may.ok()) return may;
  }
  const Status written = WriteFileAtomically(path, bytes);
  if (written.ok()) return {};
  return Status::Failure(CannotWrite(path, written.message()), written.systemError());
}

}  // namespace taloven
