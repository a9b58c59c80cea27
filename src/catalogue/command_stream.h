#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "catalogue/command_record.h"
#include "catalogue/xml_document.h"

namespace taloven {

// Builds command records from a streamed read, as comandos.xml and
// sequencias.xml have always been read: the first child of each field's name
// gives that field, with its whole text; parametro and retorno children give
// parameters and return fields in document order; anything else is passed
// over. Where a cmd element is a command is for the file's own reader, the
// subclass, to say.
class CommandStream : public XmlStreamHandler {
 public:
  // The names told apart; the subclass's own follow from kHostNames on.
  enum Name : int {
    kCmd,
    kTipo,
    kEquipamentosHab,
    kTitulo,
    kEscape,
    kTamanhoRetorno,
    kTipoRetorno,
    kParametro,
    kRetorno,
    kTamanho,
    kFormato,
    kObrigatorio,
    kValor,
    kHostNames
  };

  bool Start(int name) final;
  void End(std::string text) final;

 protected:
  enum class Role : uint8_t { kOther, kCommand, kParameter, kReturn, kField, kHost };
  // An open element and what it is to the reader.
  struct Element {
    Role role = Role::kOther;
    int name = -1;
    uint32_t namesSeen = 0;  // of its children, one bit per name
    size_t slot = 0;         // the subclass's own
    // True for the first child named name; later ones are passed over.
    bool FirstChild(int name);
  };

  explicit CommandStream(bool readEquipmentMask) : readEquipmentMask_(readEquipmentMask) {}

  // Reads the file at path, hostNames being the subclass's names; fails as
  // ReadXmlFile does.
  Status ReadFile(const std::string& path, const std::vector<const char*>& hostNames);

  // An element that is no part of an open command starts inside parent (null
  // for the root): the subclass says whether it is a command, one of its own
  // elements (kHost) or a field of one (kField), or nothing (kOther).
  virtual Element HostStart(int name, Element* parent) = 0;
  // A command the subclass started is read whole.
  virtual void CommandRead(const Element& command, Element* parent, CommandRecord record) = 0;
  // One of the subclass's own elements ends; text for a field.
  virtual void HostEnd(const Element& element, Element* parent, std::string text) = 0;

 private:
  Role PartRole(Element& parent, int name) const;
  // The innermost command, read whole, taken off the stack.
  CommandRecord Finished();

  // A command being read, and where its parameters and return fields begin
  // among those read.
  struct OpenCommand {
    CommandRecord record;
    size_t parametersFrom = 0;
    size_t returnsFrom = 0;
  };

  bool readEquipmentMask_;
  std::vector<Element> open_;
  // Innermost last, as a command may stand inside another. A command's
  // parameters and return fields gather here, the one being read last, and
  // move into it at its end, each list sized once.
  std::vector<OpenCommand> commands_;
  std::vector<CommandParameter> parameters_;
  std::vector<ReturnField> returns_;
};

}  // namespace taloven
