#pragma once

#include <string_view>

#include "catalogue/command_record.h"

namespace taloven {

// The parameter types the catalogue's "formato" names; the names are spelt
// once, in parameter_type.cpp.
enum class ParameterType {
  kNotEditable,
  kDigHexNotEditable,
  kString,
  kStringVarSize,
  kBigString,
  kBigStringVarSize,
  kTicketOrCoupon,  // CUPOM_OU_BILHETE_CONV_156
  kDigHex,
  kInteger,
  kBcdInteger,
  kBinary,
  kDate,
  kDateFourDigitYear,
  kTime,
  kFinance,
  kFinance3,
  kPercentage,
  kDiscount,
  kSubtotalAdjustment,
  kCloseCoupon,
  kItemAdjustment,
  kPaymentDescription,
  kTaxRateChange,
  kServiceTaxLinkage,
  kDetailTapeInterval,
  kFiscalMemoryReading,
  kFiscalMemoryAmount,
  kPassengerTicket,
  kAuthenticationCharacter,
  kOptions,
  kChequePositions,
  kCliche,
  kOther,  // a name of no type: asks nothing and sends nothing
};

ParameterType ParseParameterType(std::string_view name);
inline ParameterType TypeOf(const CommandParameter& parameter) {
  return ParseParameterType(parameter.type);
}

}  // namespace taloven
