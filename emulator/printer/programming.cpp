// Programming: clock, tables and the configuration that only technical
// intervention may change.
#include <cstdio>

#include "printer/bcd.h"
#include "printer/printer.h"

namespace taloven::emulator {
namespace {

constexpr uint16_t kSameDescription = 155;
constexpr uint16_t kBlankOwner = 167;

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

bool TakeDigits(Exchange& x, size_t count, int64_t& value) {
  std::string text;
  if (!x.parameters.Take(count, text)) {
    x.RefuseParameterCount();
    return false;
  }
  if (!ReadDigits(text, value)) {
    x.RefuseParameterType();
    return false;
  }
  return true;
}

// The one-digit parameter of the on/off commands, and nothing after it.
bool TakeSwitch(Exchange& x, int64_t& value) {
  if (!TakeDigits(x, 1, value)) return false;
  if (x.parameters.Remaining() != 0) {
    x.RefuseParameterCount();
    return false;
  }
  return true;
}

}  // namespace

void Printer::SetClock(Exchange& x) {
  std::string date, time, summer;
  if (!x.parameters.Take(6, date) || !x.parameters.Take(6, time) || !x.parameters.Take(1, summer) ||
      x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  int64_t d = 0, t = 0, when = 0;
  if (!ReadDigits(date, d) || !ReadDigits(time, t) ||
      !FromCalendar(static_cast<int>(d / 10000), static_cast<int>(d / 100 % 100),
                    2000 + static_cast<int>(d % 100), static_cast<int>(t / 10000),
                    static_cast<int>(t / 100 % 100), static_cast<int>(t % 100), when))
    return x.Refuse(ext::kDateTimeInvalid, 0, st2::kWrongParameterType);
  if (!RequireNoDocument(x)) return;
  // Outside technical intervention the clock moves only before the day's
  // first document.
  if (!state_.intervention && state_.movementDay != 0)
    return x.RefuseNotExecuted(ext::kMovementInDay);
  state_.clockOffset = when - hostClock_();
  state_.daylightSaving = static_cast<uint8_t>(summer[0]) % 2 == 1;
}

void Printer::AddTaxRate(Exchange& x) {
  int64_t hundredths = 0, kind = 0;
  if (!TakeDigits(x, 4, hundredths) || !TakeDigits(x, 1, kind)) return;
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  if (kind > 1) return x.RefuseParameterType();
  if (!RequireNoDocument(x)) return;
  if (state_.taxRateCount >= kTaxRateSlots)
    return x.Refuse(ext::kAllTaxRatesProgrammed, 0, st2::kTaxRatesFull | st2::kNotExecuted);
  TaxRate& rate = state_.taxRates[static_cast<size_t>(state_.taxRateCount++)];
  rate.hundredths = static_cast<int>(hundredths);
  rate.iss = kind == 1;
  rate.total = 0;
}

void Printer::AddPaymentForm(Exchange& x) {
  std::string name;
  int64_t tef = 0;
  if (!x.parameters.Take(16, name) || !TakeDigits(x, 1, tef)) {
    if (!x.refused) x.RefuseParameterCount();
    return;
  }
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  name = TrimRight(name);
  if (name.empty()) return x.RefuseParameterType();
  for (const auto& form : state_.payments)
    if (form.name == name) return x.RefuseNotExecuted(kSameDescription);
  for (int k = 0; k < kPaymentSlots; ++k) {
    PaymentForm& form = state_.payments[static_cast<size_t>(k)];
    if (!form.name.empty()) continue;
    form = PaymentForm{name, tef == 1, 0, 0};
    char number[8];
    std::snprintf(number, sizeof number, "%03d", k + 1);
    x.Append(number);
    return;
  }
  // The reply still names a form: 255 tells there was no room.
  x.Append("255");
  x.status2 |= st2::kNotExecuted;
  x.extended = ext::kNoRoomForPaymentForms;
}

void Printer::SetPaymentForms(Exchange& x) {
  const std::string list = x.parameters.Rest();
  constexpr size_t kEntry = 17;
  if (list.empty() || list.size() % kEntry != 0 || list.size() > kEntry * kPaymentSlots)
    return x.RefuseParameterCount();
  for (size_t at = 0; at < list.size(); at += kEntry)
    if (list[at + 16] != '1' && list[at + 16] != '2') return x.RefuseParameterType();
  for (size_t at = 0; at < list.size(); at += kEntry) {
    const std::string name = TrimRight(list.substr(at, 16));
    bool known = name.empty();
    for (const auto& form : state_.payments) known = known || form.name == name;
    if (known) continue;
    bool placed = false;
    for (auto& form : state_.payments) {
      if (!form.name.empty()) continue;
      form = PaymentForm{name, list[at + 16] == '1', 0, 0};
      placed = true;
      break;
    }
    if (!placed) return x.RefuseNotExecuted(ext::kNoRoomForPaymentForms);
  }
}

void Printer::SetPromotionalMessage(Exchange& x) {
  std::string message;
  if (!x.parameters.Take(96, message) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  state_.promotionalMessage = TrimRight(message);
}

void Printer::SetOwner(Exchange& x) {
  const std::string p = x.parameters.Rest();
  if (p.size() != 49 && p.size() != 83) return x.RefuseParameterCount();
  if (!RequireIntervention(x) || !RequireNoDocument(x)) return;
  // The first generation sends CGC 18, IE 15, BP 1, IM 15; the second CNPJ,
  // IE and IM of 20, GT 10, BP 1, UF 2 and a 10-byte password.
  const bool first = p.size() == 49;
  const std::string cnpj = TrimRight(first ? p.substr(0, 18) : p.substr(0, 20));
  if (cnpj.empty()) return x.RefuseNotExecuted(kBlankOwner);
  state_.cnpj = cnpj;
  if (first) {
    state_.ie = TrimRight(p.substr(18, 15));
    state_.passengerTicket = p[33] == 'B' || p[33] == 'b';
    state_.im = TrimRight(p.substr(34, 15));
    state_.uf.clear();
  } else {
    state_.ie = TrimRight(p.substr(20, 20));
    state_.im = TrimRight(p.substr(40, 20));
    state_.passengerTicket = p[70] == 'B' || p[70] == 'b';
    state_.uf = TrimRight(p.substr(71, 2));
  }
}

void Printer::SetCliche(Exchange& x) {
  std::string cliche = x.parameters.Rest();
  if (cliche.size() > static_cast<size_t>(kClicheBytes)) return x.RefuseParameterCount();
  if (!RequireIntervention(x) || !RequireNoDocument(x)) return;
  // The closing line feed only ends the text; it is not kept, so that a
  // cliché read back and programmed again stays the same.
  if (!cliche.empty() && cliche.back() == '\n') cliche.pop_back();
  state_.cliche = cliche;
}

void Printer::SetRegisterAndStore(Exchange& x) {
  int64_t ecf = 0, store = 0;
  if (!TakeDigits(x, 3, ecf) || !TakeDigits(x, 4, store)) return;
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  if (!RequireIntervention(x)) return;
  state_.registerNumber = static_cast<int>(ecf);
  state_.storeNumber = static_cast<int>(store);
}

void Printer::SetTaxRates(Exchange& x) {
  std::string count, rates;
  if (!x.parameters.Take(1, count) || !x.parameters.Take(64, rates) ||
      x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  const int n = static_cast<uint8_t>(count[0]);
  if (n > kTaxRateSlots) return x.RefuseParameterType();
  std::array<int64_t, kTaxRateSlots> values{};
  for (int k = 0; k < kTaxRateSlots; ++k)
    if (!ReadDigits(rates.substr(static_cast<size_t>(k) * 4, 4), values[static_cast<size_t>(k)]))
      return x.RefuseParameterType();
  if (!RequireIntervention(x) || !RequireNoDocument(x)) return;
  state_.taxRateCount = n;
  for (int k = 0; k < kTaxRateSlots; ++k) {
    TaxRate& rate = state_.taxRates[static_cast<size_t>(k)];
    rate.hundredths = k < n ? static_cast<int>(values[static_cast<size_t>(k)]) : 0;
  }
}

void Printer::SetIssLinkage(Exchange& x) {
  std::string flags;
  if (!x.parameters.Take(16, flags) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  for (char c : flags)
    if (c != '0' && c != '1') return x.RefuseParameterType();
  if (!RequireIntervention(x) || !RequireNoDocument(x)) return;
  for (int k = 0; k < kTaxRateSlots; ++k)
    state_.taxRates[static_cast<size_t>(k)].iss = flags[static_cast<size_t>(k)] == '1';
}

void Printer::NameNonFiscal(Exchange& x) {
  int64_t number = 0;
  std::string name;
  if (!TakeDigits(x, 2, number)) return;
  if (!x.parameters.Take(19, name) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (number < 1 || number > kNonFiscalSlots) return x.RefuseParameterType();
  if (!RequireIntervention(x)) return;
  name = TrimRight(name);
  if (name.empty()) return x.RefuseNotExecuted(111);
  state_.nonFiscal[static_cast<size_t>(number - 1)].name = name;
}

bool Printer::SetOddEvenFlag(Exchange& x, bool& flag, bool oddEnables) {
  int64_t value = 0;
  if (!TakeSwitch(x, value) || !RequireIntervention(x)) return false;
  flag = (value % 2 == 1) == oddEnables;
  return true;
}

void Printer::SetAdditionalCoupon(Exchange& x) {
  SetOddEvenFlag(x, state_.additionalCoupon, true);
}
void Printer::SetIssDiscount(Exchange& x) {
  SetOddEvenFlag(x, state_.issDiscount, true);
}
void Printer::SetLinkedToNonFiscal(Exchange& x) {
  SetOddEvenFlag(x, state_.linkedToNonFiscal, false);
}
void Printer::SetRvInConference(Exchange& x) {
  SetOddEvenFlag(x, state_.rvInConference, false);
}
void Printer::SetAutomaticZ(Exchange& x) {
  SetOddEvenFlag(x, state_.automaticZ, false);
}

void Printer::SetRestaurant(Exchange& x) {
  int64_t value = 0;
  if (!TakeSwitch(x, value)) return;
  if (value > 1) return x.RefuseParameterType();
  if (!RequireIntervention(x)) return;
  state_.restaurant = value == 0;
}

void Printer::SetConferenceCoupon(Exchange& x) {
  int64_t value = 0;
  if (!TakeSwitch(x, value)) return;
  if (value > 3) return x.RefuseParameterType();
  if (!RequireIntervention(x)) return;
  state_.conferenceParameter = static_cast<int>(value);
}

}  // namespace taloven::emulator
