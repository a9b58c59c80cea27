// The fiscal receipt: open, sell, adjust, totalize, pay, close, cancel.
#include <map>

#include "printer/bcd.h"
#include "printer/printer.h"

namespace taloven::emulator {
namespace {

bool IssTax(const std::string& tax, const PrinterState& state) {
  if (tax == "IS" || tax == "NS" || tax == "FS") return true;
  int64_t index = 0;
  if (ReadDigits(tax, index) && index >= 1 && index <= kTaxRateSlots)
    return state.taxRates[static_cast<size_t>(index - 1)].iss;
  return false;
}

Cents& Totalizer(const std::string& tax, PrinterState& state) {
  if (tax == "II") return state.day.icmsExempt;
  if (tax == "NN") return state.day.icmsNonIncidence;
  if (tax == "FF") return state.day.icmsSubstitution;
  if (tax == "IS") return state.day.issExempt;
  if (tax == "NS") return state.day.issNonIncidence;
  if (tax == "FS") return state.day.issSubstitution;
  return state.taxRates[static_cast<size_t>(std::stoi(tax) - 1)].total;
}

bool KnownTax(const std::string& tax, const PrinterState& state) {
  static const char* const kFixed[] = {"II", "NN", "FF", "IS", "NS", "FS"};
  for (const char* fixed : kFixed)
    if (tax == fixed) return true;
  int64_t index = 0;
  return ReadDigits(tax, index) && index >= 1 && index <= state.taxRateCount;
}

// Percent in hundredths applied to an amount, rounded or truncated as the
// printer is set.
Cents PercentOf(Cents amount, int64_t hundredths, bool truncate) {
  const int64_t scaled = amount * hundredths;
  return truncate ? scaled / 10000 : (scaled + 5000) / 10000;
}

// A subtotal adjustment is shared out over the tax totalizers of the
// receipt's items of the family it was booked on, in proportion to their
// values, so that the totalizers still add up to the net sales. The cents
// that do not divide evenly go to the largest share.
void SpreadAdjustment(PrinterState& state, Cents amount, bool icms) {
  std::map<std::string, Cents> byTax;
  Cents base = 0;
  for (const auto& item : state.items)
    if (!item.cancelled && IssTax(item.tax, state) != icms) {
      byTax[item.tax] += item.Net();
      base += item.Net();
    }
  if (base <= 0 || amount == 0) return;
  Cents given = 0;
  const std::string* largest = nullptr;
  for (const auto& [tax, net] : byTax) {
    const Cents share = amount * net / base;
    Totalizer(tax, state) += share;
    given += share;
    if (!largest || net > byTax[*largest]) largest = &tax;
  }
  Totalizer(*largest, state) += amount - given;
}

std::string WithoutLineFeed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

Cents Printer::ReceiptNet() const {
  Cents net = 0;
  for (const auto& item : state_.items)
    if (!item.cancelled) net += item.Net();
  return net;
}

Cents Printer::ReceiptTotal() const {
  return ReceiptNet() - state_.subtotalDiscount + state_.subtotalSurcharge;
}

void Printer::OpenReceipt(Exchange& x) {
  const std::string consumer = WithoutLineFeed(x.parameters.Rest());
  if (!RequireNoDocument(x) || !RequireSalesDay(x)) return;
  state_.coo++;
  state_.ccf++;
  state_.document = Document::kReceiptSelling;
  state_.items.clear();
  state_.subtotalDiscount = state_.subtotalSurcharge = 0;
  state_.paid = 0;
  state_.receiptPayments.fill(0);
  state_.consumer = consumer;
  state_.ticketOpen = false;
  state_.printedLines += 8;
  StartMovement();
}

void Printer::OpenPassengerTicket(Exchange& x) {
  std::string kind;
  if (!x.parameters.Take(1, kind) || x.parameters.Remaining() == 0) return x.RefuseParameterCount();
  const std::string passenger = x.parameters.Rest();
  if (passenger[0] < '0' || passenger[0] > '8') return x.RefuseParameterType();
  OpenReceipt(x);
  if (!x.refused) state_.ticketOpen = static_cast<uint8_t>(kind[0]) == 0xFF;
}

void Printer::SellItem(Exchange& x) {
  std::string code, description, tax, quantityText, priceText;
  if (!x.parameters.Take(13, code) || !x.parameters.Take(29, description) ||
      !x.parameters.Take(2, tax) || !x.parameters.Take(7, quantityText) ||
      !x.parameters.Take(8, priceText))
    return x.RefuseParameterCount();
  const std::string discountText = x.parameters.Rest();
  int64_t quantity = 0, price = 0, discount = 0;
  if (!ReadDigits(quantityText, quantity) || !ReadDigits(priceText, price))
    return x.RefuseParameterType();
  if (!discountText.empty() && ((discountText.size() != 4 && discountText.size() != 8) ||
                                !ReadDigits(discountText, discount)))
    return x.RefuseParameterType();
  if (state_.document == Document::kReceiptTotalized || state_.document == Document::kReceiptPaid)
    return x.RefuseNotExecuted(ext::kAlreadyTotalized);
  if (state_.document != Document::kReceiptSelling)
    return x.RefuseNotExecuted(ext::kReceiptNotOpen);
  if (!KnownTax(tax, state_))
    return x.Refuse(ext::kTaxRateNotProgrammed, 0, st2::kTaxRateNotProgrammed);

  SoldItem item;
  item.code = code;
  item.description = description;
  item.tax = tax;
  item.quantity = quantity;
  item.unitPrice = price;
  const int64_t scaled = quantity * price;
  item.gross = state_.truncation ? scaled / 1000 : (scaled + 500) / 1000;
  if (item.gross == 0) return x.RefuseNotExecuted(ext::kZeroSale);
  if (discountText.size() == 4) discount = PercentOf(item.gross, discount, state_.truncation);
  if (discount > item.gross) return x.RefuseNotExecuted(ext::kDiscountOverItem);
  item.discount = discount;

  const bool iss = IssTax(tax, state_);
  state_.day.gross += item.gross;
  state_.grandTotal += item.gross;
  (iss ? state_.day.issDiscount : state_.day.icmsDiscount) += item.discount;
  Totalizer(tax, state_) += item.Net();
  state_.items.push_back(item);
  state_.printedLines += 2;
}

void Printer::AdjustItem(Exchange& x) {
  const std::string value = x.parameters.Rest();
  int64_t number = 0, amount = 0;
  if ((value.size() != 8 && value.size() != 12) || (value[0] != 'A' && value[0] != 'D') ||
      !ReadDigits(value.substr(1, 3), number) || !ReadDigits(value.substr(4), amount))
    return x.RefuseParameterType();
  if (state_.document != Document::kReceiptSelling)
    return x.RefuseNotExecuted(ReceiptOpen() ? ext::kAlreadyTotalized : ext::kReceiptNotOpen);
  if (number < 1 || number > static_cast<int64_t>(state_.items.size()) ||
      state_.items[static_cast<size_t>(number - 1)].cancelled)
    return x.RefuseNotExecuted(ext::kItemMissing);
  SoldItem& item = state_.items[static_cast<size_t>(number - 1)];
  if (value.size() == 8) amount = PercentOf(item.gross, amount, state_.truncation);
  const bool iss = IssTax(item.tax, state_);
  if (value[0] == 'D') {
    if (item.discount > 0) return x.RefuseNotExecuted(ext::kItemDiscountDone);
    if (amount > item.gross) return x.RefuseNotExecuted(ext::kDiscountOverItem);
    item.discount = amount;
    (iss ? state_.day.issDiscount : state_.day.icmsDiscount) += amount;
    Totalizer(item.tax, state_) -= amount;
  } else {
    if (item.surcharge > 0) return x.RefuseNotExecuted(ext::kItemSurchargeDone);
    if (amount > item.gross) return x.RefuseNotExecuted(ext::kSurchargeOverItem);
    item.surcharge = amount;
    (iss ? state_.day.issSurcharge : state_.day.icmsSurcharge) += amount;
    Totalizer(item.tax, state_) += amount;
  }
  state_.printedLines += 1;
}

void Printer::CancelItem(Exchange& x) {
  std::string numberText;
  int64_t number = 0;
  if (!x.parameters.Take(3, numberText) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadDigits(numberText, number)) return x.RefuseParameterType();
  if (state_.document != Document::kReceiptSelling)
    return x.RefuseNotExecuted(ReceiptOpen() ? ext::kAlreadyTotalized : ext::kReceiptNotOpen);
  if (number < 1 || number > static_cast<int64_t>(state_.items.size()) ||
      state_.items[static_cast<size_t>(number - 1)].cancelled)
    return x.RefuseNotExecuted(ext::kItemMissing);
  SoldItem& item = state_.items[static_cast<size_t>(number - 1)];
  item.cancelled = true;
  BookItem(item, -1);
  state_.printedLines += 2;
}

// Takes an item's value out of the day's totalizers and books it as cancelled.
void Printer::BookItem(const SoldItem& item, int sign) {
  const bool iss = IssTax(item.tax, state_);
  Totalizer(item.tax, state_) += sign * item.Net();
  (iss ? state_.day.issCancelled : state_.day.icmsCancelled) -= sign * item.Net();
}

void Printer::Subtotal(Exchange& x) {
  AppendBcd(x.data, ReceiptOpen() ? ReceiptTotal() : 0, 7);
}

bool Printer::ApplySubtotalAdjustment(Exchange& x, const std::string& value) {
  if (value.empty()) return true;
  int64_t amount = 0;
  const char kind = value[0];
  const bool percent = kind == 'A' || kind == 'D';
  const bool money = kind == 'a' || kind == 'd';
  if ((!percent && !money) || value.size() != (percent ? 5u : 15u) ||
      !ReadDigits(value.substr(1), amount)) {
    x.RefuseParameterType();
    return false;
  }
  const Cents net = ReceiptNet();
  if (percent) amount = PercentOf(net, amount, state_.truncation);
  const bool discount = kind == 'D' || kind == 'd';
  if (discount && state_.subtotalDiscount > 0) {
    x.RefuseNotExecuted(ext::kSubtotalDiscountDone);
    return false;
  }
  if (!discount && state_.subtotalSurcharge > 0) {
    x.RefuseNotExecuted(ext::kSubtotalSurchargeDone);
    return false;
  }
  if (discount && amount >= net) {
    x.RefuseNotExecuted(ext::kAdjustmentOverTotal);
    return false;
  }
  // A receipt of services only books its adjustment on the service tax.
  bool anyIcms = false;
  for (const auto& item : state_.items)
    if (!item.cancelled && !IssTax(item.tax, state_)) anyIcms = true;
  if (discount) {
    state_.subtotalDiscount = amount;
    (anyIcms ? state_.day.icmsDiscount : state_.day.issDiscount) += amount;
  } else {
    state_.subtotalSurcharge = amount;
    (anyIcms ? state_.day.icmsSurcharge : state_.day.issSurcharge) += amount;
  }
  SpreadAdjustment(state_, discount ? -amount : amount, anyIcms);
  return true;
}

void Printer::StartClosing(Exchange& x) {
  const std::string value = x.parameters.Rest();
  if (state_.document == Document::kReceiptTotalized || state_.document == Document::kReceiptPaid)
    return x.RefuseNotExecuted(ext::kAlreadyTotalized);
  if (state_.document != Document::kReceiptSelling)
    return x.RefuseNotExecuted(ext::kReceiptNotOpen);
  if (ReceiptNet() == 0) return x.RefuseNotExecuted(ext::kReceiptWithoutItem);
  if (!ApplySubtotalAdjustment(x, value)) return;
  state_.document = Document::kReceiptTotalized;
  state_.printedLines += 2;
}

bool Printer::TakePayment(Exchange& x, int form, Cents value) {
  if (form < 1 || form > kPaymentSlots ||
      state_.payments[static_cast<size_t>(form - 1)].name.empty()) {
    x.RefuseNotExecuted(ext::kPaymentFormNotProgrammed);
    return false;
  }
  if (value <= 0) {
    x.RefuseNotExecuted(90);
    return false;
  }
  state_.receiptPayments[static_cast<size_t>(form - 1)] += value;
  state_.payments[static_cast<size_t>(form - 1)].total += value;
  state_.paid += value;
  const Cents total = ReceiptTotal();
  if (state_.paid >= total) {
    state_.day.change += state_.paid - total;
    state_.document = Document::kReceiptPaid;
  }
  state_.printedLines += 1;
  return true;
}

void Printer::Pay(Exchange& x) {
  std::string formText, valueText;
  int64_t form = 0, value = 0;
  if (!x.parameters.Take(2, formText) || !x.parameters.Take(14, valueText) ||
      x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadDigits(formText, form) || !ReadDigits(valueText, value)) return x.RefuseParameterType();
  if (state_.document == Document::kReceiptSelling)
    return x.RefuseNotExecuted(ext::kReceiptNotTotalized);
  if (state_.document == Document::kReceiptPaid) return x.RefuseNotExecuted(ext::kPaymentsClosed);
  if (state_.document != Document::kReceiptTotalized)
    return x.RefuseNotExecuted(ext::kReceiptNotOpen);
  TakePayment(x, static_cast<int>(form), value);
}

void Printer::CloseReceipt() {
  for (int k = 0; k < kPaymentSlots; ++k)
    state_.payments[static_cast<size_t>(k)].lastCoupon =
        state_.receiptPayments[static_cast<size_t>(k)];
  state_.lastReceiptTotal = ReceiptTotal();
  state_.document = Document::kNone;
  state_.lastDocument = LastDocument::kReceipt;
  state_.ticketOpen = false;
  state_.printedLines += 6;
}

void Printer::FinishClosing(Exchange& x) {
  x.parameters.Rest();
  if (state_.document == Document::kReceiptSelling)
    return x.RefuseNotExecuted(ext::kReceiptNotTotalized);
  if (state_.document == Document::kReceiptTotalized)
    return x.RefuseNotExecuted(ext::kPaymentsBelowTotal);
  if (state_.document != Document::kReceiptPaid) return x.RefuseNotExecuted(ext::kReceiptNotOpen);
  CloseReceipt();
}

void Printer::CloseQuick(Exchange& x) {
  std::string formText;
  int64_t form = 0;
  if (!x.parameters.Take(2, formText)) return x.RefuseParameterCount();
  if (!ReadDigits(formText, form)) return x.RefuseParameterType();
  const std::string value = x.parameters.Rest();
  if (state_.document == Document::kReceiptTotalized || state_.document == Document::kReceiptPaid)
    return x.RefuseNotExecuted(ext::kAlreadyTotalized);
  if (state_.document != Document::kReceiptSelling)
    return x.RefuseNotExecuted(ext::kReceiptNotOpen);
  if (ReceiptNet() == 0) return x.RefuseNotExecuted(ext::kReceiptWithoutItem);
  if (form < 1 || form > kPaymentSlots ||
      state_.payments[static_cast<size_t>(form - 1)].name.empty())
    return x.RefuseNotExecuted(ext::kPaymentFormNotProgrammed);
  // "X" carries a surcharge and then a discount, both in percent or both
  // as amounts.
  std::string first = value, second;
  if (!value.empty() && value[0] == 'X') {
    if (value.size() == 9) {
      first.assign(1, 'A').append(value, 1, 4);
      second.assign(1, 'D').append(value, 5, 4);
    } else if (value.size() == 29) {
      first.assign(1, 'a').append(value, 1, 14);
      second.assign(1, 'd').append(value, 15, 14);
    } else {
      return x.RefuseParameterType();
    }
  }
  // The memories run to megabytes and no adjustment touches them: they stay
  // out of the copy kept for undoing.
  std::string journal = std::move(state_.journal);
  std::string fiscalMemory = std::move(state_.fiscalMemory);
  const PrinterState before = state_;
  const bool adjusted = ApplySubtotalAdjustment(x, first) && ApplySubtotalAdjustment(x, second);
  if (!adjusted) state_ = before;
  state_.journal = std::move(journal);
  state_.fiscalMemory = std::move(fiscalMemory);
  if (!adjusted) return;
  state_.document = Document::kReceiptTotalized;
  TakePayment(x, static_cast<int>(form), ReceiptTotal());
  CloseReceipt();
}

void Printer::CancelReceipt(Exchange& x) {
  const bool open = ReceiptOpen();
  if (!open && state_.lastDocument != LastDocument::kReceipt)
    return x.Refuse(ext::kCancelNotRightAfter, 0, st2::kCancelNotAllowed | st2::kNotExecuted);
  // The subtotal adjustments' shares leave the totalizers with the items,
  // each spread back exactly as it was spread.
  bool bookedOnIcms = false;
  for (const auto& item : state_.items)
    if (!item.cancelled && !IssTax(item.tax, state_)) bookedOnIcms = true;
  SpreadAdjustment(state_, -state_.subtotalSurcharge, bookedOnIcms);
  SpreadAdjustment(state_, state_.subtotalDiscount, bookedOnIcms);
  for (const auto& item : state_.items)
    if (!item.cancelled) BookItem(item, -1);
  // Adjustments stay booked; the cancellation takes the receipt's whole
  // value out of the net sales.
  bool anyIcms = false;
  for (const auto& item : state_.items)
    if (!IssTax(item.tax, state_)) anyIcms = true;
  (anyIcms ? state_.day.icmsCancelled : state_.day.issCancelled) +=
      state_.subtotalSurcharge - state_.subtotalDiscount;
  for (int k = 0; k < kPaymentSlots; ++k)
    state_.payments[static_cast<size_t>(k)].total -= state_.receiptPayments[static_cast<size_t>(k)];
  if (state_.paid > ReceiptTotal()) state_.day.change -= state_.paid - ReceiptTotal();
  state_.items.clear();
  state_.subtotalDiscount = state_.subtotalSurcharge = 0;
  state_.paid = 0;
  state_.receiptPayments.fill(0);
  state_.cfc++;
  if (!open) state_.coo++;  // the cancellation of a finished receipt is a document of its own
  state_.document = Document::kNone;
  state_.lastDocument = LastDocument::kOther;
  state_.ticketOpen = false;
  state_.printedLines += 6;
}

}  // namespace taloven::emulator
