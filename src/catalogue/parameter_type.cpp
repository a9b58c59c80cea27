#include "catalogue/parameter_type.h"

#include <utility>

namespace taloven {
namespace {

constexpr std::pair<std::string_view, ParameterType> kNames[] = {
    {"NOT_EDITABLE", ParameterType::kNotEditable},
    {"DIG_HEX_NOT_EDITABLE", ParameterType::kDigHexNotEditable},
    {"STRING", ParameterType::kString},
    {"STRING_VAR_SIZE", ParameterType::kStringVarSize},
    {"BIG_STRING", ParameterType::kBigString},
    {"BIG_STRING_VAR_SIZE", ParameterType::kBigStringVarSize},
    {"CUPOM_OU_BILHETE_CONV_156", ParameterType::kTicketOrCoupon},
    {"DIG_HEX", ParameterType::kDigHex},
    {"INTEGER", ParameterType::kInteger},
    {"BCD_INTEGER", ParameterType::kBcdInteger},
    {"BINARIO", ParameterType::kBinary},
    {"DATA", ParameterType::kDate},
    {"DATA_2_2_4", ParameterType::kDateFourDigitYear},
    {"HORA", ParameterType::kTime},
    {"FINANCE", ParameterType::kFinance},
    {"FINANCE_3", ParameterType::kFinance3},
    {"PERCENTAGE", ParameterType::kPercentage},
    {"DISCOUNT", ParameterType::kDiscount},
    {"AC_OU_DESC_SUB", ParameterType::kSubtotalAdjustment},
    {"FECHA_CUPOM", ParameterType::kCloseCoupon},
    {"AC_OU_DESC_ITEM", ParameterType::kItemAdjustment},
    {"DESCR_FORMA_PAGAMENTO", ParameterType::kPaymentDescription},
    {"TROCA_SIT_TRIB", ParameterType::kTaxRateChange},
    {"VINC_ISS", ParameterType::kServiceTaxLinkage},
    {"IMPR_FITA_DETALHE", ParameterType::kDetailTapeInterval},
    {"LEIT_MEM_FISCAL", ParameterType::kFiscalMemoryReading},
    {"LEIT_DADOS_MEM_FISCAL", ParameterType::kFiscalMemoryAmount},
    {"BILHETE_PASSAGEM", ParameterType::kPassengerTicket},
    {"CAR_GRAF_AUTENTICACAO", ParameterType::kAuthenticationCharacter},
    {"OPTIONS", ParameterType::kOptions},
    {"CHEQUE_POS", ParameterType::kChequePositions},
    {"CLICHE", ParameterType::kCliche},
};

}  // namespace

ParameterType ParseParameterType(std::string_view name) {
  for (const auto& [text, type] : kNames)
    if (text == name) return type;
  return ParameterType::kOther;
}

}  // namespace taloven
