#include "programming/programming_commands.h"

#include <string_view>

#include "base/encoding.h"
#include "base/printer_models.h"
#include "catalogue/parameter_type.h"
#include "link/frame_builder.h"
#include "link/parameter_encoding.h"
#include "resources/strings.h"
#include "sequences/sequence_runner.h"
#include "ui/ui.h"

namespace taloven {
namespace {

struct Parameter {
  const char* title;
  int size;
  const char* type;
  std::string value;
};

bool Blank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

// A first-generation reading leaves IM and UF empty, and an owner may have
// neither; GT is blanks by design. Every other text must be filled in.
bool MayGoBlank(std::string_view title) {
  return title == "IM" || title == "UF" || title == "GT";
}

CommandRecord Command(const std::string& title, const char* escape,
                      const std::vector<Parameter>& parameters) {
  CommandRecord record;
  record.group = "Intervencao tecnica";
  record.SetTitle(title);
  record.SetEscapeText(escape);
  record.SetReturnSize(0);
  for (const Parameter& p : parameters) {
    CommandParameter parameter;
    parameter.title = W(p.title);
    parameter.size = p.size;
    parameter.type = p.type;
    parameter.mandatory = 1;
    parameter.value = p.value;
    // A reading gives an unset text as blanks: it is as empty as one never
    // typed.
    if (TypeOf(parameter) == ParameterType::kString && Blank(parameter.value)) {
      parameter.value.clear();
      if (MayGoBlank(p.title)) parameter.value.assign(static_cast<size_t>(p.size), ' ');
    }
    record.AppendParameter(parameter);
  }
  return record;
}

std::string Digit(bool set) {
  return set ? "1" : "0";
}

void Tell(MessageUi& ui, const std::string& text) {
  ui.Message(text, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

// The field a frame could not be built for: the first parameter that does
// not encode, else the command as a whole.
std::string FailingField(const CommandRecord& command) {
  for (CommandParameter parameter : command.parameters) {
    std::string bytes;
    const EncodeOutcome outcome = EncodeParameter(parameter, bytes);
    if (outcome == EncodeOutcome::WrongSize || outcome == EncodeOutcome::TooLong)
      return parameter.title;
  }
  return command.title;
}

bool PasswordFits(const EquipmentConfiguration& c, const AppSettings& settings) {
  return c.password.size() == static_cast<size_t>(PasswordLength(settings.modelMask));
}

}  // namespace

CommandSequence BuildProgrammingSequence(const EquipmentConfiguration& c,
                                         const AppSettings& settings) {
  std::vector<CommandRecord> commands;
  const std::string ticket = c.passengerTicket ? "B" : "X";
  if (PasswordLength(settings.modelMask) == 0) {
    commands.push_back(Command("Programa CGC/IE/IM", "4",
                               {{"CGC", 18, "STRING", c.cnpj},
                                {"IE", 15, "STRING", c.ie},
                                {"BP, B para bilhete de passagem", 1, "STRING", ticket},
                                {"IM", 15, "STRING", c.im}}));
  } else {
    const std::string password = PasswordFits(c, settings) ? c.password : std::string();
    commands.push_back(Command("Programa CNPJ/IE/IM", "4",
                               {{"CNPJ", 20, "STRING", c.cnpj},
                                {"IE", 20, "STRING", c.ie},
                                {"IM", 20, "STRING", c.im},
                                {"GT", 10, "STRING", std::string(10, ' ')},
                                {"BP, B para bilhete de passagem", 1, "STRING", ticket},
                                {"UF", 2, "STRING", c.uf},
                                {"SENHA", 10, "DIG_HEX", password}}));
  }
  commands.push_back(
      Command("Programacao Data e Hora", "2",
              {{"Data", 6, "DATA", c.date},
               {"Hora", 6, "HORA", c.time},
               {"Horario de verao (0=n/1=s)", 1, "BINARIO", Digit(c.daylightSaving)}}));
  commands.push_back(Command("Cliche do proprietario", "3", {{"Cliche", 186, "CLICHE", c.cliche}}));
  commands.push_back(
      Command("Programacao de ECF e Loja", "17",
              {{"ECF", 3, "STRING", c.registerNumber}, {"Loja", 4, "STRING", c.storeNumber}}));
  std::string rates = "16";
  for (const std::string& rate : c.taxRates) rates += rate;
  commands.push_back(Command("Troca de Situacoes Tributarias", "36",
                             {{"Sequencia de parametros", 65, "TROCA_SIT_TRIB", rates}}));
  commands.push_back(Command("Vinculacao ao ISS", "38", {{"Vinc", 16, "STRING", c.issLinkage}}));

  // The last two names are the printer's own: they are edited and kept but
  // never programmed. A name is numbered by its place, not by the commands.
  const int sent = UsableTotalizerNames(settings.modelMask) - 2;
  for (int k = 0; k < sent; ++k) {
    const std::string& name = c.totalizerNames[static_cast<size_t>(k)];
    // Read from a printer, an unnamed totalizer comes as blanks.
    if (Blank(name)) continue;
    std::string number;
    if (k + 1 < 10) number += '0';
    number += std::to_string(k + 1);
    commands.push_back(Command(W("Nomeia tot. para Compr. não Fiscais não Vinculados"), "40",
                               {{"Numero do totalizador", 2, "INTEGER", number},
                                {"Nome do totalizador", 19, "STRING", name}}));
  }

  // Odd enables the first two, even enables the other three.
  commands.push_back(
      Command("Habilita/Desabilita Cupom adicional", "68",
              {{"Par desabilita impar habilita", 1, "INTEGER", Digit(c.additionalCoupon)}}));
  commands.push_back(
      Command("Habilita/Desabilita Desconto em ISS", "123",
              {{"Par desabilita impar habilita", 1, "INTEGER", Digit(c.issDiscount)}}));
  commands.push_back(
      Command("Habilita/Desabilita Vinculado a CNF", "80 64",
              {{"Par Habilita impar desabilita", 1, "INTEGER", Digit(!c.linkedToNonFiscal)}}));
  commands.push_back(
      Command("Habilita/Desabilita RV na conferencia", "80 65",
              {{"Par habilita impar desabilita", 1, "INTEGER", Digit(!c.rvInConference)}}));
  commands.push_back(
      Command(W("Habilita/Desabilita RZ Automática"), "84",
              {{"Par habilita impar desabilita", 1, "INTEGER", Digit(!c.automaticZ)}}));

  if (HasRestaurantPage(settings.modelName)) {
    // An empty field reads as 0, as the restaurant page reads it.
    const int option = ReadLeadingNumber(c.restaurantOrShop);
    const int parameter = ReadLeadingNumber(c.conferenceCoupon);
    commands.push_back(Command("Parametriza para Restaurante ou Loja", "80 63",
                               {{"Restaurante ou loja", 1, "STRING", std::to_string(option)}}));
    if (parameter >= 0)
      commands.push_back(Command("Parametriza Cupom de Conferencia", "80 57",
                                 {{"Parametro", 1, "STRING", std::to_string(parameter)}}));
  }
  CommandSequence sequence;
  sequence.name = "Programa maquina";
  sequence.stepByStep = 0;
  sequence.waitMilliseconds = 0;
  for (const CommandRecord& command : commands) sequence.InsertCommand(command);
  return sequence;
}

int CheckProgrammingRun(const EquipmentConfiguration& configuration,
                        const CommandSequence& sequence, const AppSettings& settings,
                        MessageUi& ui) {
  if (PasswordLength(settings.modelMask) != 0 && !PasswordFits(configuration, settings)) {
    Tell(ui, "Senha com tamanho errado");
    return kExecuteWrongSize;
  }
  for (const CommandRecord& command : sequence.commands) {
    for (const CommandParameter& parameter : command.parameters) {
      if (parameter.mandatory && parameter.value.empty()) {
        Tell(ui, Str(StrId::kMandatoryParameterEmpty) + " : " + parameter.title);
        return kExecuteMandatoryEmpty;
      }
    }
  }
  for (const CommandRecord& command : sequence.commands) {
    CommandRecord built = command;
    const int result = BuildCommandFrame(built, settings.extendedReturn != 0);
    if (result != kExecuteOk) {
      Tell(ui, built.formattedReturn + " : " + FailingField(command));
      return result;
    }
  }
  return kExecuteOk;
}

ProgrammingResults ProgramPrinter(const EquipmentConfiguration& configuration,
                                  ExecutionContext& context) {
  ProgrammingResults results;
  CommandSequence sequence = BuildProgrammingSequence(configuration, context.settings);
  results.result = CheckProgrammingRun(configuration, sequence, context.settings, context.ui);
  if (results.result != kExecuteOk) return results;
  results.ran = true;
  {
    // Only while the printer is programmed: the check's messages came
    // before, the results window comes after.
    auto wait = context.ui.ShowWait(Str(StrId::kPleaseWait));
    results.result = RunSequence(sequence, context);
  }
  results.message = sequence.messageText;
  if (results.result != kExecuteOk) AppendRunError(results.message, results.result);
  results.dump = sequence.dumpText;
  return results;
}

}  // namespace taloven
