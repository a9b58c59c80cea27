#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/command_record.h"

namespace taloven {

// The bytes of one return field. Reading past the field's end gives 0, so a
// field the catalogue declares smaller than its layout never reads the
// status bytes or the next field.
struct FieldBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
  uint8_t operator[](size_t i) const { return i < size ? data[i] : 0; }
};

// Formats one field: appends its text to out and, for the types that keep
// one, stores its plain value in field.value.
using ReturnRule = void (*)(const FieldBytes& d, ReturnField& field, int32_t returnSize,
                            std::string& out);

// The rule for a return type, or nullptr for a name the formatter does not know.
ReturnRule FindReturnRule(const std::string& type);

// Digit rule: two characters per byte, '0' plus each nibble, high first.
std::string BcdDigits(const FieldBytes& d, size_t from, size_t count);
// Money rule: the digits of all bytes but the last, ",", the last byte's two.
std::string MoneyText(const FieldBytes& d, size_t from, size_t count);
// Text rule: bytes as characters up to the first zero byte, LF as CR LF,
// then from the printer's code page to Windows-1252.
std::string PrinterText(const FieldBytes& d, size_t from, size_t count);
// "sim" or "não".
const std::string& YesNo(bool yes);

// The rules, by family.
void FormatAscii(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatPaymentMode(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatInteger(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatBcdInteger(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatBcdPercentage(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatBcdFinance(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatBcdDate(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatBcdTime(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatPaperStatus(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);

void FormatBitTable(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatIssBinding(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);
void FormatTwoState(const FieldBytes& d, ReturnField& field, int32_t, std::string& out);

void FormatPaymentForms(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatDepartments(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatNonIcmsTotals(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatManagementReports(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatTaxRates(const FieldBytes& d, ReturnField&, int32_t returnSize, std::string& out);
void FormatPartialTotals(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatMemoryCheck(const FieldBytes& d, ReturnField&, int32_t, std::string& out);
void FormatFullMemoryCheck(const FieldBytes& d, ReturnField&, int32_t, std::string& out);

}  // namespace taloven
