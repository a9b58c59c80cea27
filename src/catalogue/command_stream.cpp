#include "catalogue/command_stream.h"

#include <initializer_list>
#include <iterator>

namespace taloven {
namespace {

using Name = CommandStream::Name;

constexpr const char* kNames[] = {
    "cmd",          "tipo",      "equipamentos_hab", "titulo",  "escape",  "tamanho_retorno",
    "tipo_retorno", "parametro", "retorno",          "tamanho", "formato", "obrigatorio",
    "valor"};
static_assert(std::size(kNames) == CommandStream::kHostNames);

constexpr uint32_t Bits(std::initializer_list<Name> names) {
  uint32_t bits = 0;
  for (Name name : names) bits |= 1u << name;
  return bits;
}

constexpr uint32_t kCommandFields =
    Bits({Name::kTipo, Name::kTitulo, Name::kEscape, Name::kTamanhoRetorno, Name::kTipoRetorno});
constexpr uint32_t kParameterFields =
    Bits({Name::kTitulo, Name::kTamanho, Name::kFormato, Name::kObrigatorio, Name::kValor});
constexpr uint32_t kReturnFields = Bits({Name::kTitulo, Name::kTamanho, Name::kFormato});

bool IsOneOf(int name, uint32_t names) {
  return name >= 0 && name < 32 && (names >> name & 1u) != 0;
}

void Store(CommandRecord& record, int name, std::string text) {
  switch (name) {
    case Name::kTipo:
      record.group = std::move(text);
      break;
    case Name::kEquipamentosHab:
      record.equipmentMask = static_cast<uint32_t>(ReadLeadingNumber(text));
      break;
    case Name::kTitulo:
      record.SetTitle(std::move(text));
      break;
    case Name::kEscape:
      record.SetEscapeText(std::move(text));
      break;
    case Name::kTamanhoRetorno:
      record.SetReturnSize(ReadLeadingNumber(text));
      break;
    case Name::kTipoRetorno:
      record.returnType = std::move(text);
      break;
  }
}

void Store(CommandParameter& parameter, int name, std::string text) {
  switch (name) {
    case Name::kTitulo:
      parameter.title = std::move(text);
      break;
    case Name::kTamanho:
      parameter.size = ReadLeadingNumber(text);
      break;
    case Name::kFormato:
      parameter.type = std::move(text);
      break;
    case Name::kObrigatorio:
      parameter.mandatory = text == "S" ? 1 : 0;
      break;
    case Name::kValor:
      parameter.value = std::move(text);
      break;
  }
}

void Store(ReturnField& field, int name, std::string text) {
  switch (name) {
    case Name::kTitulo:
      field.title = std::move(text);
      break;
    case Name::kTamanho:
      field.size = ReadLeadingNumber(text);
      break;
    case Name::kFormato:
      field.type = std::move(text);
      break;
  }
}

}  // namespace

bool CommandStream::Element::FirstChild(int name) {
  const uint32_t bit = 1u << name;
  const bool first = (namesSeen & bit) == 0;
  namesSeen |= bit;
  return first;
}

Status CommandStream::ReadFile(const std::string& path, const std::vector<const char*>& hostNames) {
  std::vector<const char*> names(std::begin(kNames), std::end(kNames));
  names.insert(names.end(), hostNames.begin(), hostNames.end());
  return ReadXmlFile(path, names, *this);
}

CommandStream::Role CommandStream::PartRole(Element& parent, int name) const {
  uint32_t fields = 0;
  switch (parent.role) {
    case Role::kCommand:
      if (name == kParametro) return Role::kParameter;
      if (name == kRetorno) return Role::kReturn;
      fields = kCommandFields | (readEquipmentMask_ ? Bits({kEquipamentosHab}) : 0);
      break;
    case Role::kParameter:
      fields = kParameterFields;
      break;
    case Role::kReturn:
      fields = kReturnFields;
      break;
    default:
      return Role::kOther;
  }
  return IsOneOf(name, fields) && parent.FirstChild(name) ? Role::kField : Role::kOther;
}

bool CommandStream::Start(int name) {
  Element* parent = open_.empty() ? nullptr : &open_.back();
  Element element;
  if (parent) element.role = PartRole(*parent, name);
  if (element.role == Role::kOther) element = HostStart(name, parent);
  element.name = name;
  switch (element.role) {
    case Role::kCommand: {
      OpenCommand& command = commands_.emplace_back();
      command.parametersFrom = parameters_.size();
      command.returnsFrom = returns_.size();
      break;
    }
    case Role::kParameter:
      parameters_.emplace_back();
      break;
    case Role::kReturn:
      returns_.emplace_back();
      break;
    default:
      break;
  }
  open_.push_back(element);
  return element.role == Role::kField;
}

void CommandStream::End(std::string text) {
  const Element element = open_.back();
  open_.pop_back();
  Element* parent = open_.empty() ? nullptr : &open_.back();
  switch (element.role) {
    case Role::kField:
      if (parent->role == Role::kCommand)
        Store(commands_.back().record, element.name, std::move(text));
      else if (parent->role == Role::kParameter)
        Store(parameters_.back(), element.name, std::move(text));
      else if (parent->role == Role::kReturn)
        Store(returns_.back(), element.name, std::move(text));
      else
        HostEnd(element, parent, std::move(text));
      break;
    case Role::kCommand:
      CommandRead(element, parent, Finished());
      break;
    case Role::kHost:
      HostEnd(element, parent, {});
      break;
    default:
      break;
  }
}

CommandRecord CommandStream::Finished() {
  OpenCommand& open = commands_.back();
  CommandRecord record = std::move(open.record);
  const auto parameters = parameters_.begin() + static_cast<ptrdiff_t>(open.parametersFrom);
  record.parameters.reserve(static_cast<size_t>(parameters_.end() - parameters));
  for (auto p = parameters; p != parameters_.end(); ++p) record.AppendParameter(std::move(*p));
  parameters_.erase(parameters, parameters_.end());
  const auto returns = returns_.begin() + static_cast<ptrdiff_t>(open.returnsFrom);
  record.returnFields.reserve(static_cast<size_t>(returns_.end() - returns));
  for (auto r = returns; r != returns_.end(); ++r) record.AppendReturnField(std::move(*r));
  returns_.erase(returns, returns_.end());
  commands_.pop_back();
  return record;
}

}  // namespace taloven
