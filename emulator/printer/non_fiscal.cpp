// Non-fiscal documents: withdrawals, supplies, receipts and management reports.
#include "printer/printer.h"

namespace taloven::emulator {
namespace {

constexpr int kWithdrawalSlot = 0;
constexpr int kSupplySlot = 1;
constexpr uint16_t kNullNonFiscalValue = 70;

bool TakeAmount(Exchange& x, Cents& value) {
  std::string text;
  if (!x.parameters.Take(14, text)) {
    x.RefuseParameterCount();
    return false;
  }
  if (!ReadDigits(text, value)) {
    x.RefuseParameterType();
    return false;
  }
  return true;
}

}  // namespace

void Printer::BookNonFiscal(Exchange& x, int slot, Cents value, int form) {
  if (!RequireNoDocument(x) || !RequireSalesDay(x)) return;
  if (slot < 0 || slot >= kNonFiscalSlots ||
      state_.nonFiscal[static_cast<size_t>(slot)].name.empty())
    return x.RefuseNotExecuted(ext::kNonFiscalNotProgrammed);
  if (form >= 0 &&
      (form >= kPaymentSlots || state_.payments[static_cast<size_t>(form)].name.empty()))
    return x.RefuseNotExecuted(ext::kPaymentFormNotProgrammed);
  if (value <= 0) return x.RefuseNotExecuted(kNullNonFiscalValue);
  state_.coo++;
  state_.gnf++;
  state_.nonFiscal[static_cast<size_t>(slot)].count++;
  state_.nonFiscal[static_cast<size_t>(slot)].total += value;
  if (form >= 0) state_.payments[static_cast<size_t>(form)].total += value;
  state_.lastDocument = LastDocument::kNonFiscal;
  state_.lastNonFiscalSlot = slot;
  state_.lastNonFiscalValue = value;
  state_.lastNonFiscalPayment = form;
  state_.printedLines += 7;
  StartMovement();
}

void Printer::Withdrawal(Exchange& x) {
  Cents value = 0;
  if (!TakeAmount(x, value)) return;
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  BookNonFiscal(x, kWithdrawalSlot, value, -1);
}

void Printer::Supply(Exchange& x) {
  Cents value = 0;
  if (!TakeAmount(x, value)) return;
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  BookNonFiscal(x, kSupplySlot, value, -1);
}

void Printer::NonFiscalReceipt(Exchange& x) {
  std::string slotText, formText;
  int64_t slot = 0, form = 0;
  Cents value = 0;
  if (!x.parameters.Take(2, slotText)) return x.RefuseParameterCount();
  if (!TakeAmount(x, value)) return;
  if (!x.parameters.Take(2, formText) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadDigits(slotText, slot) || !ReadDigits(formText, form)) return x.RefuseParameterType();
  if (form < 1) return x.RefuseNotExecuted(ext::kPaymentFormNotProgrammed);
  BookNonFiscal(x, static_cast<int>(slot) - 1, value, static_cast<int>(form) - 1);
}

void Printer::CancelNonFiscal(Exchange& x) {
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  if (!RequireNoDocument(x)) return;
  if (state_.lastDocument != LastDocument::kNonFiscal)
    return x.Refuse(ext::kCancelNotRightAfter, 0, st2::kCancelNotAllowed | st2::kNotExecuted);
  auto& totalizer = state_.nonFiscal[static_cast<size_t>(state_.lastNonFiscalSlot)];
  totalizer.total -= state_.lastNonFiscalValue;
  if (state_.lastNonFiscalPayment >= 0)
    state_.payments[static_cast<size_t>(state_.lastNonFiscalPayment)].total -=
        state_.lastNonFiscalValue;
  state_.day.nonFiscalCancelled += state_.lastNonFiscalValue;
  state_.ncn++;
  state_.coo++;
  state_.lastDocument = LastDocument::kOther;
  state_.printedLines += 5;
}

void Printer::ManagementReportText(Exchange& x) {
  std::string number;
  if (!x.parameters.Take(2, number)) return x.RefuseParameterCount();
  x.parameters.Rest();
  const int report = static_cast<uint8_t>(number[0]);
  if (ReceiptOpen()) return x.RefuseNotExecuted(ext::kReceiptOpen);
  if (report < 1 || report > kReportSlots ||
      state_.reports[static_cast<size_t>(report - 1)].name.empty())
    return x.RefuseNotExecuted(ext::kReportNumberInvalid);
  if (state_.document == Document::kManagementReport) {
    if (state_.openReport != report) return x.RefuseNotExecuted(ext::kNonFiscalOpen);
    state_.printedLines += 4;
    return;
  }
  if (!RequireSalesDay(x)) return;
  state_.coo++;
  state_.grg++;
  state_.reports[static_cast<size_t>(report - 1)].count++;
  state_.document = Document::kManagementReport;
  state_.openReport = report;
  state_.printedLines += 8;
  StartMovement();
}

void Printer::CloseManagementReport(Exchange& x) {
  if (state_.document != Document::kManagementReport)
    return x.RefuseNotExecuted(ext::kNoReportOpen);
  state_.document = Document::kNone;
  state_.lastDocument = LastDocument::kOther;
  state_.openReport = -1;
  state_.printedLines += 3;
}

}  // namespace taloven::emulator
