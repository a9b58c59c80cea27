// What the printer tells about itself: identity, owner, clock, flags,
// tables, counters and totals.
#include "printer/bcd.h"
#include "printer/printer.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

constexpr uint8_t kYes = 'U';

uint8_t Bits(std::initializer_list<bool> bits) {
  uint8_t value = 0;
  int bit = 0;
  for (bool set : bits) {
    if (set) value |= static_cast<uint8_t>(1 << bit);
    ++bit;
  }
  return value;
}

}  // namespace

void Printer::Identity(Exchange& x) {
  x.Append(Fit(state_.maker, 15));
  x.Append(Fit(state_.model, 20));
  x.Append(Fit(state_.type, 7));
}

void Printer::OperatingMode(Exchange& x) {
  x.AppendByte(state_.intervention ? 'I' : kYes);
}
void Printer::SerialNumber15(Exchange& x) {
  x.Append(Fit(state_.serialNumber, 15));
}
void Printer::SerialNumber20(Exchange& x) {
  x.Append(Fit(state_.serialNumber, 20));
}

void Printer::OwnerFirstGeneration(Exchange& x) {
  x.Append(Fit(state_.cnpj, 18));
  x.Append(Fit(state_.ie, 15));
}

void Printer::Cnpj(Exchange& x) {
  x.Append(Fit(state_.cnpj, 20));
}
void Printer::Ie(Exchange& x) {
  x.Append(Fit(state_.ie, 20));
}
void Printer::Im(Exchange& x) {
  x.Append(Fit(state_.im, 20));
}
void Printer::Uf(Exchange& x) {
  x.Append(Fit(state_.uf, 2));
}
void Printer::StoreNumber(Exchange& x) {
  AppendBcd(x.data, state_.storeNumber, 2);
}
void Printer::RegisterNumber(Exchange& x) {
  AppendBcd(x.data, state_.registerNumber, 2);
}

void Printer::DateTime(Exchange& x) {
  const int64_t now = Now();
  AppendBcdDate(x.data, now);
  AppendBcdTime(x.data, now);
}

void Printer::MovementDate(Exchange& x) {
  AppendBcdDate(x.data, state_.movementDay != 0 ? state_.movementDay * 86400 : Now());
}

void Printer::LastZ(Exchange& x) {
  const ZRecord last = state_.zHistory.empty() ? ZRecord{} : state_.zHistory.back();
  AppendBcd(x.data, last.crz, 2);
  AppendBcdDate(x.data, last.when);
  AppendBcdTime(x.data, last.when);
  AppendBcd(x.data, last.gross, 7);
}

void Printer::FiscalFlags(Exchange& x) {
  const bool paying =
      state_.document == Document::kReceiptTotalized || state_.document == Document::kReceiptPaid;
  const bool canCancel = ReceiptOpen() || state_.lastDocument == LastDocument::kReceipt;
  x.AppendByte(Bits({ReceiptOpen(), paying, state_.daylightSaving, state_.zDay == Today(),
                     state_.automaticZ && !state_.zHistory.empty(), canCancel, false, false}));
}

void Printer::FiscalFlags2(Exchange& x) {
  x.AppendByte(Bits({false, false, state_.document == Document::kManagementReport,
                     state_.document == Document::kReceiptTotalized, false,
                     state_.lastDocument == LastDocument::kNonFiscal, false, false}));
}

void Printer::FiscalFlags3(Exchange& x) {
  x.AppendByte(Bits({false, true, false}));
}

void Printer::Cliche(Exchange& x) {
  x.Append(state_.cliche.substr(0, kClicheBytes));
  x.data.resize(kClicheBytes, 0);
}

void Printer::TaxRates(Exchange& x) {
  x.AppendByte(static_cast<uint8_t>(state_.taxRateCount));
  for (const auto& rate : state_.taxRates) AppendBcd(x.data, rate.hundredths, 2);
}

void Printer::TaxRateCount(Exchange& x) {
  x.AppendByte(static_cast<uint8_t>(state_.taxRateCount));
}

void Printer::OneTaxRate(Exchange& x) {
  std::string number;
  int64_t index = 0;
  if (!x.parameters.Take(2, number) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadDigits(number, index)) return x.RefuseParameterType();
  if (index < 1 || index > state_.taxRateCount)
    return x.Refuse(ext::kTaxRateNotProgrammed, 0, st2::kTaxRateNotProgrammed);
  const TaxRate& rate = state_.taxRates[static_cast<size_t>(index - 1)];
  AppendBcd(x.data, rate.hundredths, 2);
  AppendBcd(x.data, rate.total, 7);
}

void Printer::IssLinkage(Exchange& x) {
  uint16_t word = 0;
  for (int k = 0; k < kTaxRateSlots; ++k)
    if (state_.taxRates[static_cast<size_t>(k)].iss) word |= static_cast<uint16_t>(1 << (15 - k));
  x.AppendByte(static_cast<uint8_t>(word >> 8));
  x.AppendByte(static_cast<uint8_t>(word & 0xFF));
}

void Printer::NonFiscalNames9(Exchange& x) {
  for (int k = 0; k < 9; ++k) x.Append(Fit(state_.nonFiscal[static_cast<size_t>(k)].name, 19));
}

void Printer::NonFiscalNames30(Exchange& x) {
  for (const auto& totalizer : state_.nonFiscal) x.Append(Fit(totalizer.name, 19));
}

void Printer::NonFiscalTotals(Exchange& x) {
  for (const auto& totalizer : state_.nonFiscal) x.Append(Fit(totalizer.name, 19));
  for (const auto& totalizer : state_.nonFiscal) AppendBcd(x.data, totalizer.total, 7);
}

void Printer::PartialTotals(Exchange& x) {
  for (const auto& rate : state_.taxRates) AppendBcd(x.data, rate.total, 7);
  AppendBcd(x.data, state_.day.icmsExempt, 7);
  AppendBcd(x.data, state_.day.icmsNonIncidence, 7);
  AppendBcd(x.data, state_.day.icmsSubstitution, 7);
  for (int k = 0; k < 9; ++k) AppendBcd(x.data, state_.nonFiscal[static_cast<size_t>(k)].total, 7);
  AppendBcd(x.data, state_.nonFiscal[0].total, 7);  // Sangria
  AppendBcd(x.data, state_.nonFiscal[1].total, 7);  // Suprimentos
  AppendBcd(x.data, state_.grandTotal, 9);
}

void Printer::GrandTotal(Exchange& x) {
  AppendBcd(x.data, state_.grandTotal, 9);
}
void Printer::Coo(Exchange& x) {
  AppendBcd(x.data, state_.coo, 3);
}
void Printer::Crz(Exchange& x) {
  AppendBcd(x.data, state_.crz, 2);
}
void Printer::Cro(Exchange& x) {
  AppendBcd(x.data, state_.cro, 2);
}

void Printer::PaymentForms(Exchange& x) {
  for (const auto& form : state_.payments) x.Append(Fit(form.name, 16));
  for (const auto& form : state_.payments) AppendBcd(x.data, form.total, 7);
  for (const auto& form : state_.payments) AppendBcd(x.data, form.lastCoupon, 7);
  for (const auto& form : state_.payments) x.AppendByte(form.tef ? kYes : 'N');
}

void Printer::Departments(Exchange& x) {
  // This printer sells without departments: the table is empty.
  for (int k = 0; k < 20; ++k) {
    x.Append(std::string(10, ' '));
    AppendBcd(x.data, 0, 10);
  }
  for (int k = 0; k < 20; ++k) AppendBcd(x.data, 0, 10);
}

void Printer::ManagementReports(Exchange& x) {
  for (const auto& report : state_.reports) AppendBcd(x.data, report.count, 2);
  for (const auto& report : state_.reports) x.Append(Fit(report.name, 17));
}

void Printer::Sensors(Exchange& x) {
  x.AppendByte(state_.intervention ? 0x80 : 0x00);
}

void Printer::PrintedLines(Exchange& x) {
  x.AppendByte(static_cast<uint8_t>(state_.printedLines & 0xFF));
  x.AppendByte(static_cast<uint8_t>((state_.printedLines >> 8) & 0xFF));
}

void Printer::Eprom(Exchange& x) {
  x.AppendByte(kYes);
}
void Printer::Truncation(Exchange& x) {
  x.AppendByte(state_.truncation ? 0x00 : 0x01);
}
void Printer::DrawerSensor(Exchange& x) {
  x.AppendByte(0x00);
}
void Printer::ZMode(Exchange& x) {
  x.AppendByte(state_.automaticZ ? 0x01 : 0x00);
}
void Printer::CutterOrAuthentication(Exchange& x) {
  x.AppendByte(0x00);
}
void Printer::PresenterOrDrawer(Exchange& x) {
  x.AppendByte(0x01);
}
void Printer::DocumentKind(Exchange& x) {
  x.AppendByte(state_.ticketOpen ? 0x00 : 0x01);
}
void Printer::Alignment(Exchange& x) {
  x.AppendByte('0');
}
void Printer::Cut(Exchange& x) {
  x.AppendByte('0');
}
void Printer::ChequeStatus(Exchange& x) {
  x.AppendByte(0x01);
}

}  // namespace taloven::emulator
