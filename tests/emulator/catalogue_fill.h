#pragma once

#include <string>

#include "catalogue/command_record.h"

namespace taloven::emulator::testing {

// Gives every parameter of a catalogue command a value a technician could
// have entered, in the stored form parameter entry produces: the catalogue
// default when there is one, else something of the right shape.
inline void FillParameters(CommandRecord& record) {
  for (CommandParameter& p : record.parameters) {
    if (!p.value.empty() || p.type == "NOT_EDITABLE") continue;
    const size_t size = static_cast<size_t>(p.size);
    const std::string& t = p.type;
    if (t == "STRING" || t == "BIG_STRING")
      p.value = std::string("TESTE").substr(0, size) + std::string(size > 5 ? size - 5 : 0, ' ');
    else if (t == "FINANCE" || t == "FINANCE_3" || t == "INTEGER" || t == "BCD_INTEGER")
      p.value = std::string(size - 1, '0') + "1";
    else if (t == "DATA")
      p.value = "071226";
    else if (t == "DATA_2_2_4")
      p.value = "08122026";
    else if (t == "HORA")
      p.value = "103000";
    else if (t == "PERCENTAGE")
      p.value = "1250";
    else if (t == "OPTIONS")
      p.value = "1";
    else if (t == "DIG_HEX" || t == "DIG_HEX_NOT_EDITABLE")
      p.value = std::string(2 * size, 'A');
    else if (t == "CAR_GRAF_AUTENTICACAO")
      p.value = "804020100804020102040810204080808080";
    else if (t == "CHEQUE_POS")
      p.value = std::string(2 * size, '1');
    else if (t == "AC_OU_DESC_ITEM")
      p.value = "D0010500";
    else if (t == "AC_OU_DESC_SUB" || t == "FECHA_CUPOM")
      p.value = "D0500";
    else if (t == "DESCR_FORMA_PAGAMENTO")
      p.value = "Vale            1";
    else if (t == "TROCA_SIT_TRIB")
      p.value =
          "04"
          "1800"
          "1200"
          "0700"
          "0500" +
          std::string(48, '0');
    else if (t == "VINC_ISS")
      p.value = "0001000000000000";
    else if (t == "LEIT_MEM_FISCAL")
      p.value = "000001000009R";
    else if (t == "IMPR_FITA_DETALHE")
      p.value = "D071226071226";
    else if (t == "LEIT_DADOS_MEM_FISCAL")
      p.value = "MF";
    else if (t == "BILHETE_PASSAGEM")
      p.value = "3SP" + std::string(60, 'X') + "Rua A";
    else if (t == "CUPOM_OU_BILHETE_CONV_156")
      p.value = "C";
    else if (p.mandatory)
      p.value = "TESTE";
  }
}

}  // namespace taloven::emulator::testing
