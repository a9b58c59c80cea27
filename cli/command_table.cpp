#include "cli_command.h"

namespace taloven {

// A new command: its file cli/command_<name>.cpp defines the function, and it
// gets one declaration and one table line here, both in alphabetical order.
int RunDecodeCommand(CommandContext& context);
int RunDetectCommand(CommandContext& context);
int RunFrameCommand(CommandContext& context);
int RunListCommand(CommandContext& context);
int RunMfdCommand(CommandContext& context);
int RunSendCommand(CommandContext& context);

const std::vector<CliCommand>& CommandTable() {
  static const std::vector<CliCommand> table = {
      {"decode", "CMD HEX...",
       "mostra o retorno formatado que a resposta dada em hexadecimal produziria",
       RunDecodeCommand},
      {"detect", "[--probe PORTA]",
       "procura a impressora (PORTA primeiro, depois USB, COM1: a COM8: e adaptadores) e "
       "mostra porta, modelo e máscara",
       RunDetectCommand},
      {"frame", "CMD [VALOR...]", "mostra em hexadecimal o quadro do comando, sem enviá-lo",
       RunFrameCommand},
      {"list", "", "lista os comandos do catálogo: índice, grupo, título e escape", RunListCommand},
      {"mfd", "diagnose RELATÓRIO",
       "diagnostica um relatório da MFD (perdas de documentos, alterações de usuário, reduções Z a "
       "criar) e grava diagnotico_mfd.txt na pasta de trabalho",
       RunMfdCommand},
      {"send", "CMD [VALOR...]",
       "envia o comando pela porta e mostra o retorno formatado (registrado no log do dia)",
       RunSendCommand},
  };
  return table;
}

}  // namespace taloven
