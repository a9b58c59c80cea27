#include "cli_command.h"

namespace taloven {

// A new command: its file cli/command_<name>.cpp defines the function, and it
// gets one declaration and one table line here, both in alphabetical order.
int RunCaptureCommand(CommandContext& context);
int RunConfigCommand(CommandContext& context);
int RunDecodeCommand(CommandContext& context);
int RunDetectCommand(CommandContext& context);
int RunFrameCommand(CommandContext& context);
int RunListCommand(CommandContext& context);
int RunMfdCommand(CommandContext& context);
int RunMonitorCommand(CommandContext& context);
int RunPortTestCommand(CommandContext& context);
int RunRawCommand(CommandContext& context);
int RunSendCommand(CommandContext& context);
int RunSequenceCommand(CommandContext& context);
int RunVerifyCommand(CommandContext& context);

const std::vector<CliCommand>& CommandTable() {
  static const std::vector<CliCommand> table = {
      {"capture",
       "-o ARQUIVO.mfd [-s PORTA] [--timeout S] [--save-partial] [--dump] [--rearm MS] "
       "[--baud N] [--bits 5-8] [--parity none|even|odd] [--stop 1|1,5|2] "
       "[--handshake none|rts]",
       "lê os símbolos PDF-417 de um scanner serial para um arquivo MFD", RunCaptureCommand},
      {"config",
       "list | show SERIE | read [--save] | program SERIE [--password HEX] [--dry-run] | delete "
       "SERIE",
       "configurações de equipamento salvas no equipamentos.xml: lista, mostra, lê da impressora, "
       "programa a impressora (ou só mostra os quadros) e exclui",
       RunConfigCommand},
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
      {"mfd", "download|report|db|mf-report|from-bitmaps|diagnose [ARGUMENTOS...]",
       "baixa MF, MFD e SB, gera relatórios e bancos de dados, diagnostica relatórios da MFD",
       RunMfdCommand},
      {"monitor", "--link CAMINHO [--save ARQUIVO]",
       "fica entre um programa e a impressora (-p): oferece ao programa um pseudoterminal em "
       "CAMINHO, passa todos os bytes sem mudá-los e mostra cada troca como o send (-x: com o "
       "dump); Ctrl-C termina com um resumo",
       RunMonitorCommand},
      {"port-test", "PORTA",
       "testa um adaptador serial com um plugue de laço (TX ligado ao RX): envia padrões em "
       "cada velocidade e conta os bytes perdidos ou alterados",
       RunPortTestCommand},
      {"raw", "HEX... [--reply-size N] [--bytes]",
       "envia os bytes dados em hexadecimal num quadro (STX, tamanho, ESC ou FS com -x, soma), "
       "ou como estão com --bytes, e mostra a resposta em hexadecimal e seus bytes de estado; "
       "--reply-size N lê N bytes de dados após o cabeçalho, sem ele até o ETX",
       RunRawCommand},
      {"send", "CMD [VALOR...]",
       "envia o comando pela porta e mostra o retorno formatado (registrado no log do dia)",
       RunSendCommand},
      {"sequence",
       "list | new NOME [--replace] | add NOME CMD [VALOR...] [--at K] | remove NOME K | "
       "delete NOME | show NOME | run NOME [-n REPS] [-w SEGUNDOS] [--step]",
       "lista, cria, edita, exclui, mostra e executa as sequências salvas no sequencias.xml",
       RunSequenceCommand},
      {"verify", "train|check NOME [-n REPS] [-w SEGUNDOS] | compare",
       "leituras X antes e depois da sequência NOME (train: LX1/LX2, check: LX1B/LX2B); "
       "compare confere LX1B + (LX2 - LX1) com LX2B",
       RunVerifyCommand},
  };
  return table;
}

}  // namespace taloven
