#include "programming/equipment_configuration.h"

#include <algorithm>

namespace taloven {

std::vector<ConfigurationField> StoredFields(EquipmentConfiguration& c) {
  std::vector<ConfigurationField> fields = {
      {"numero_de_serie", &c.serialNumber},
      {"cliente", &c.client},
      {"CNPJ", &c.cnpj},
      {"IE", &c.ie},
      {"IM", &c.im},
      {"UF", &c.uf},
      {"numero_da_loja", &c.storeNumber},
      {"numero_do_caixa", &c.registerNumber},
      {"data", &c.date},
      {"hora", &c.time},
      {"horario_de_verao", nullptr, &c.daylightSaving},
      {"cliche", &c.cliche},
      {"cupom_adicional", nullptr, &c.additionalCoupon},
      {"desc_ISS", nullptr, &c.issDiscount},
      {"vinc_CNF", nullptr, &c.linkedToNonFiscal},
      {"RV_na_conferencia", nullptr, &c.rvInConference},
      {"RZ_automatica", nullptr, &c.automaticZ},
      {"Bilhete_passagem", nullptr, &c.passengerTicket},
  };
  for (int k = 0; k < kConfigurationTaxRates; ++k)
    fields.push_back({"aliquota" + std::to_string(k + 1), &c.taxRates[static_cast<size_t>(k)]});
  fields.push_back({"vinc", &c.issLinkage});
  fields.push_back({"Restaurante_Loja", &c.restaurantOrShop});
  fields.push_back({"Parametriza_Cupom_Conferencia", &c.conferenceCoupon});
  for (int k = 0; k < kConfigurationTotalizerNames; ++k)
    fields.push_back(
        {"tot_nao_suj" + std::to_string(k + 1), &c.totalizerNames[static_cast<size_t>(k)]});
  return fields;
}

std::string StoredValue(const ConfigurationField& field) {
  if (field.flag) return *field.flag ? "1" : "0";
  return *field.text;
}

std::string WithoutSpaces(const std::string& text) {
  std::string out = text;
  out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
  return out;
}

}  // namespace taloven
