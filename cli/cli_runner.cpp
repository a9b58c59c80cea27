#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/model_detection.h"
#include "base/encoding.h"
#include "base/printer_models.h"
#include "cli_command.h"
#include "link/byte_trace.h"
#include "link/clock.h"
#include "resources/strings.h"
#include "usb/default_port_factory.h"
#include "version_text.h"

namespace taloven {
namespace {

constexpr const char* kProgram = "taloven-cli";
constexpr const char* kSynopsis =
    "uso: taloven-cli [-C DIR] [-p PORTA] [-x] [--raw] [--model NOME] [--model-mask M] [--timeout "
    "S] [--trace ARQUIVO] COMANDO [ARGUMENTOS]";

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string UsageLine(const CliCommand& command) {
  std::string line = std::string("uso: ") + kProgram + " [opções] " + command.name;
  if (*command.arguments) line += std::string(" ") + command.arguments;
  return W(line);
}

std::string Help(const std::vector<CliCommand>& table) {
  std::string text =
      W(kSynopsis) +
      W("\n\n"
        "Opções:\n"
        "  -C DIR      pasta de trabalho, onde está o comandos.xml (padrão: a pasta atual)\n"
        "  -p PORTA    porta da impressora: COM1: a COM8:, USB, FILE, um dispositivo serial,\n"
        "              tcp://HOST:PORTA ou rfc2217://HOST:PORTA (padrão: COM1:)\n"
        "  -x          retorno estendido (5 bytes de cabeçalho na resposta)\n"
        "  --raw       textos em bytes Windows-1252 em vez de UTF-8\n"
        "  --model NOME       modelo da impressora (ECF-T01 a ECF-T13), sem detecção\n"
        "  --model-mask M     máscara do modelo (0x0400, decimal ou hexadecimal), sem detecção\n"
        "  --timeout S        limite de S segundos para cada troca com a impressora (resultado "
        "-4)\n"
        "  --trace ARQUIVO    acrescenta ao ARQUIVO os bytes trocados com a impressora, em\n"
        "                     hexadecimal e com a hora (- para a saída de erros)\n"
        "  -h, --help  mostra esta ajuda; COMANDO --help mostra a do comando\n"
        "  --version   mostra a versão do programa e das bibliotecas KovoMFD\n"
        "\n"
        "Comandos:\n");
  for (const CliCommand& command : table) {
    std::string name = command.name;
    if (*command.arguments) name += std::string(" ") + W(command.arguments);
    if (name.size() < 22) name.resize(22, ' ');
    text += "  " + name + " " + W(command.summary) + "\n";
  }
  text +=
      W("\n"
        "Códigos de retorno:\n"
        "  0    tudo deu certo\n"
        "  1    uso errado, ou arquivo que não pôde ser lido ou escrito\n"
        "  2-6  comando não executado: parâmetro obrigatório vazio (2), tamanho errado (3),\n"
        "       sem resposta (4), cancelado (5), sequência cancelada (6)\n"
        "  2-7  em mfd: o resultado da biblioteca de memória fiscal\n"
        "  8    o registro diário não pôde ser escrito\n"
        "  9    a verificação de totais encontrou diferenças\n"
        "  10   foi até o fim, mas a impressora recusou algum comando ou partes\n"
        "       danificadas da entrada foram puladas\n");
  return text;
}

// A whole number of seconds, 1 to a day, as milliseconds.
bool ParseSeconds(const std::string& text, int* ms) {
  constexpr long kDaySeconds = 86400;
  if (text.empty() || text.size() > 6) return false;
  if (text.find_first_not_of("0123456789") != std::string::npos) return false;
  const long seconds = std::strtol(text.c_str(), nullptr, 10);
  if (seconds < 1 || seconds > kDaySeconds) return false;
  *ms = static_cast<int>(seconds * 1000);
  return true;
}

// Every port the command opens, in this program or in the fiscal-memory
// libraries it loads, finds the trace in the environment while it runs.
class TraceForCommand {
 public:
  explicit TraceForCommand(const std::string& path) {
    if (const char* before = std::getenv(kTraceVariable)) before_ = before;
    ::setenv(kTraceVariable, path.c_str(), 1);
  }
  ~TraceForCommand() {
    if (before_) {
      ::setenv(kTraceVariable, before_->c_str(), 1);
    } else {
      ::unsetenv(kTraceVariable);
    }
  }
  TraceForCommand(const TraceForCommand&) = delete;
  TraceForCommand& operator=(const TraceForCommand&) = delete;

 private:
  std::optional<std::string> before_;
};

const CliCommand* FindCommand(const std::vector<CliCommand>& table, const std::string& name) {
  for (const CliCommand& command : table)
    if (name == command.name) return &command;
  return nullptr;
}

}  // namespace

std::string CommandContext::ToCore(const std::string& typed) const {
  return options.raw ? typed : Utf8ToCp1252(typed);
}

int CommandContext::Fail(const std::string& message) const {
  err << kProgram << ": " << Out(message) << std::endl;
  return 1;
}

int CommandContext::UsageError(const std::string& message) const {
  Fail(message);
  err << Out(UsageLine(command)) << std::endl;
  return 1;
}

bool CommandContext::LoadCatalogue(CommandCatalogue& catalogue) const {
  const Status loaded = taloven::LoadCatalogue(settings.workingDirectory, catalogue);
  if (loaded.ok()) return true;
  std::string message = Str(StrId::kCatalogueNotLoaded);
  while (!message.empty() && message.back() == ' ') message.pop_back();
  Fail(message + ": " + loaded.message());
  return false;
}

bool CommandContext::ResolveModel() {
  if (options.modelName.empty() && options.modelMask.empty()) {
    DefaultPortFactory ports;
    const std::string named = settings.portName;
    // A port named with -p is where the command goes, also when the printer
    // did not answer there in time.
    if (!DetectModel(settings, ui, ports, RealClock()) && !named.empty()) settings.portName = named;
    return true;
  }
  if (!options.modelName.empty()) {
    std::string name = ToCore(options.modelName);
    if (name.size() > static_cast<size_t>(kModelNameLength)) {
      Fail(W("nome de modelo longo demais: ") + name);
      return false;
    }
    name.resize(kModelNameLength, ' ');
    settings.modelName = name;
    settings.modelMask = MaskForModelName(name);
  }
  if (!options.modelMask.empty()) {
    errno = 0;
    char* end = nullptr;
    unsigned long mask = std::strtoul(options.modelMask.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || mask > 0xFFFF || options.modelMask[0] == '-') {
      Fail(W("máscara de modelo inválida: ") + ToCore(options.modelMask));
      return false;
    }
    settings.modelMask = static_cast<uint32_t>(mask);
  }
  return true;
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const std::vector<CliCommand>& table) {
  GlobalOptions options;
  // Messages before the command is known follow --raw only once it is seen.
  auto fail = [&](const std::string& message) {
    TerminalUi ui(in, err, options.raw);
    err << kProgram << ": " << ui.Out(message) << "\n"
        << ui.Out(W(kSynopsis)) << "\n"
        << ui.Out(W("\"taloven-cli --help\" lista os comandos.")) << std::endl;
    return 1;
  };

  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.empty() || arg[0] != '-') break;
    if (arg == "-h" || arg == "--help") {
      TerminalUi ui(in, err, options.raw);
      out << ui.Out(Help(table)) << std::flush;
      return 0;
    } else if (arg == "--version") {
      TerminalUi ui(in, err, options.raw);
      out << ui.Out(CliVersionText()) << std::flush;
      return 0;
    } else if (arg == "--raw") {
      options.raw = true;
    } else if (arg == "-x") {
      options.extendedReturn = true;
    } else if (arg == "--timeout") {
      if (i + 1 >= args.size()) return fail(W("falta o valor da opção ") + arg);
      if (!ParseSeconds(args[++i], &options.timeoutMs))
        return fail(W("tempo inválido para --timeout: ") + args[i]);
    } else if (arg == "-C" || arg == "-p" || arg == "--model" || arg == "--model-mask" ||
               arg == "--trace") {
      if (i + 1 >= args.size()) return fail(W("falta o valor da opção ") + arg);
      std::string value = args[++i];
      if (value.empty()) return fail(W("valor vazio para a opção ") + arg);
      if (arg == "-C") options.directory = value;
      if (arg == "-p") options.portName = value;
      if (arg == "--model") options.modelName = value;
      if (arg == "--model-mask") options.modelMask = value;
      if (arg == "--trace") options.tracePath = value;
    } else {
      return fail(W("opção desconhecida: ") + arg);
    }
  }
  if (i >= args.size()) return fail(W("falta o comando"));

  const CliCommand* command = FindCommand(table, args[i]);
  if (!command) return fail(W("comando desconhecido: ") + args[i]);

  TerminalUi ui(in, err, options.raw);
  CommandContext context{
      *command, options,      {args.begin() + static_cast<long>(i) + 1, args.end()}, in, out, err,
      ui,       AppSettings{}};
  context.settings.portName = options.raw ? options.portName : Utf8ToCp1252(options.portName);
  context.settings.extendedReturn = options.extendedReturn ? 1 : 0;
  context.settings.workingDirectory =
      options.directory.empty() ? CurrentDirectory() : options.directory;

  if (context.arguments.size() == 1 &&
      (context.arguments[0] == "--help" || context.arguments[0] == "-h")) {
    out << ui.Out(UsageLine(*command) + "\n" + W(command->summary) + "\n") << std::flush;
    return 0;
  }
  if (options.tracePath.empty()) return command->run(context);
  std::string failure;
  if (!ByteTrace::Open(options.tracePath, &failure))
    return context.Fail(W("não foi possível abrir o arquivo de --trace ") + failure);
  TraceForCommand trace(options.tracePath);
  return command->run(context);
}

}  // namespace taloven
