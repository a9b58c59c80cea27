#include "replies/return_format.h"

#include <algorithm>
#include <string_view>

#include "replies/return_rules.h"
#include "replies/status_text.h"

namespace taloven {
namespace {

struct NamedRule {
  std::string_view type;
  ReturnRule rule;
};

constexpr NamedRule kRules[] = {
    {"ASCII", FormatAscii},
    {"BCD_FLAG_PAYMENT_MODE", FormatPaymentMode},
    {"INTEGER", FormatInteger},
    {"BCD_INTEGER", FormatBcdInteger},
    {"BCD_PERCENTAGE", FormatBcdPercentage},
    {"BCD_FINANCE", FormatBcdFinance},
    {"BCD_DATA", FormatBcdDate},
    {"BCD_HORA", FormatBcdTime},
    {"STATUS_PAPEL", FormatPaperStatus},
    {"ASCII_FLAGS_FISCAIS", FormatBitTable},
    {"ASCII_FLAGS_FISCAIS_II", FormatBitTable},
    {"ASCII_FLAGS_FISCAIS_III", FormatBitTable},
    {"FLAG_SENSORES", FormatBitTable},
    {"FLAG_CHEQUE", FormatBitTable},
    {"ASCII_FLAG_VINC_ISS", FormatIssBinding},
    {"BCD_FLAG_INT_TEC", FormatTwoState},
    {"BCD_FLAG_EPROM_CONECT", FormatTwoState},
    {"FLAG_TRUNCAMENTO", FormatTwoState},
    {"FLAG_CORTE", FormatTwoState},
    {"FLAG_ALINHAMENTO", FormatTwoState},
    {"FLAG_BP_CF", FormatTwoState},
    {"FLAG_PRESENTER_GAVETA", FormatTwoState},
    {"FLAG_GAVETA", FormatTwoState},
    {"FLAG_CUTTER_AUTENTIC", FormatTwoState},
    {"FLAG_RED_AUT_COM", FormatTwoState},
    {"FORMAS_DE_PAGAMENTO", FormatPaymentForms},
    {"DEPARTAMENTOS", FormatDepartments},
    {"TOT_NAO_SUJ_ICMS", FormatNonIcmsTotals},
    {"RELAT_GER", FormatManagementReports},
    {"ALIQUOTAS", FormatTaxRates},
    {"TOT_PARCIAIS", FormatPartialTotals},
    {"VER_INT_MEM_FISCAL", FormatMemoryCheck},
    {"VER_INT_MEM_FISCAL_COMP", FormatFullMemoryCheck},
};

// A negative size in a catalogue counts as an empty field.
size_t FieldSize(const ReturnField& field) {
  return field.size > 0 ? static_cast<size_t>(field.size) : 0;
}

}  // namespace

ReturnRule FindReturnRule(const std::string& type) {
  auto found = std::find_if(std::begin(kRules), std::end(kRules),
                            [&](const NamedRule& named) { return named.type == type; });
  return found == std::end(kRules) ? nullptr : found->rule;
}

int FormatReturnData(CommandRecord& record, bool extendedReturn) {
  const std::vector<uint8_t>& reply = record.replyBytes;
  size_t dataSize = 0;
  for (const ReturnField& field : record.returnFields) dataSize += FieldSize(field);
  record.formattedReturn += ReplyVerdict(reply, dataSize, extendedReturn);

  size_t position = 1;
  for (ReturnField& field : record.returnFields) {
    const ReturnRule rule = FindReturnRule(field.type);
    if (rule == nullptr) continue;  // unknown types take no room
    const size_t size = FieldSize(field);
    if (position + size <= reply.size()) {
      rule(FieldBytes{reply.data() + position, size}, field, record.returnSize,
           record.formattedReturn);
    } else {
      // The reply ended before this field: the verdict already says how many
      // bytes came, and an old value must not pass for a fresh one.
      field.value.clear();
    }
    position += size;
  }
  return 0;
}

std::optional<RefusedCommand> RecordRefusal(const CommandRecord& record, bool variableLength) {
  size_t dataSize = 0;
  if (!variableLength)
    for (const ReturnField& field : record.returnFields) dataSize += FieldSize(field);
  std::optional<std::string> status = ReplyRefusal(record.replyBytes, dataSize + 1);
  if (!status) return std::nullopt;
  // A command made up on the spot, as a reading, has no title of its own.
  std::string title = record.title.empty() ? "comando " + record.escapeText : record.title;
  return RefusedCommand{std::move(title), std::move(*status)};
}

}  // namespace taloven
