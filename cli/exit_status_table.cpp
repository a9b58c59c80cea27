#include "exit_status_table.h"

namespace taloven {

// A new exit status is one line here; the manual page and the help file are
// built from this table.
const std::vector<ExitStatusEntry>& ExitStatusTable() {
  static const std::vector<ExitStatusEntry> table = {
      {"0", "Tudo deu certo."},
      {"1", "Uso errado, ou um arquivo que não pôde ser lido ou escrito."},
      {"2 a 6",
       "O comando não foi executado: parâmetro obrigatório vazio (2), parâmetro de tamanho "
       "errado (3), sem resposta da impressora (4), cancelado (5), sequência cancelada (6)."},
      {"2 a 7",
       "Nos comandos mfd, os resultados da biblioteca de memória fiscal: arquivo sem número de "
       "série (2), data inválida (3), arquivo .txt (4) ou .mdb (5) que não pôde ser aberto, "
       "arquivos sem dados válidos (6), comando não executado (7)."},
      {"8",
       "O registro diário (pasta log) não pôde ser escrito; a mensagem traz o resultado do "
       "comando."},
      {"9",
       "A verificação de totais (verify check ou compare) encontrou diferenças, ou o teste de "
       "laço de uma porta perdeu ou alterou bytes."},
      {"10",
       "O comando foi até o fim, mas a impressora recusou algum comando (NAK, ou bits de estado "
       "que dizem que ele não foi executado), ou partes danificadas da entrada foram puladas; a "
       "saída de erro diz o que foi recusado ou pulado. Um resultado de 2 a 6 nunca dá lugar a "
       "10."},
  };
  return table;
}

}  // namespace taloven
