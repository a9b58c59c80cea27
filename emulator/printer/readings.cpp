// Readings and reductions: X, Z, fiscal memory, detail tape.
#include "printer/bcd.h"
#include "printer/printer.h"
#include "printer/reports.h"

namespace taloven::emulator {
namespace {

void AppendCount(std::vector<uint8_t>& out, int count) {
  out.push_back(static_cast<uint8_t>(count & 0xFF));
  out.push_back(static_cast<uint8_t>((count >> 8) & 0xFF));
}

// DDMMYY on the printer's calendar as a day number; false when no date.
bool DayOf(const std::string& ddmmyy, int64_t& day) {
  int64_t digits = 0;
  if (!ReadDigits(ddmmyy, digits)) return false;
  int64_t when = 0;
  if (!FromCalendar(static_cast<int>(digits / 10000), static_cast<int>(digits / 100 % 100),
                    2000 + static_cast<int>(digits % 100), 0, 0, 0, when))
    return false;
  day = when / 86400;
  return true;
}

}  // namespace

void Printer::PrintXReading(Exchange& x) {
  if (x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  if (!RequireNoDocument(x)) return;
  state_.coo++;
  state_.printedLines += 60;
}

void Printer::SendXReading(Exchange& x) {
  x.parameters.Rest();
  if (!RequireNoDocument(x)) return;
  state_.coo++;
  x.text = XReadingText(state_, Now());
}

void Printer::ZReduction(Exchange& x) {
  const std::string clock = x.parameters.Rest();
  int64_t newTime = 0;
  if (!clock.empty()) {
    int64_t date = 0, time = 0;
    if (clock.size() != 14) return x.RefuseParameterCount();
    if (!ReadDigits(clock.substr(0, 8), date) || !ReadDigits(clock.substr(8), time) ||
        !FromCalendar(static_cast<int>(date / 1000000), static_cast<int>(date / 10000 % 100),
                      static_cast<int>(date % 10000), static_cast<int>(time / 10000),
                      static_cast<int>(time / 100 % 100), static_cast<int>(time % 100), newTime))
      return x.Refuse(ext::kDateTimeInvalid, 0, st2::kWrongParameterType);
  }
  if (!RequireNoDocument(x)) return;
  if (state_.zDay == Today()) return x.RefuseNotExecuted(ext::kBlockedByZ);
  state_.crz++;
  state_.coo++;
  state_.zHistory.push_back({state_.crz, state_.coo, Now(), state_.day.gross, state_.grandTotal});
  state_.day = DayTotals{};
  for (auto& rate : state_.taxRates) rate.total = 0;
  for (auto& totalizer : state_.nonFiscal) totalizer.total = 0;
  for (auto& form : state_.payments) form.total = form.lastCoupon = 0;
  state_.movementDay = 0;
  state_.zDay = Today();
  state_.lastDocument = LastDocument::kOther;
  state_.printedLines += 70;
  if (!clock.empty()) state_.clockOffset = newTime - hostClock_();
}

void Printer::FiscalMemoryReading(Exchange& x) {
  std::string interval, destination;
  if (!x.parameters.Take(12, interval) || !x.parameters.Take(1, destination) ||
      x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  const bool toPort = destination == "R" || destination == "r";
  if (!toPort && destination != "I" && destination != "i") return x.RefuseParameterType();
  std::vector<ZRecord> chosen;
  if (interval.compare(0, 2, "00") == 0 && interval.compare(6, 2, "00") == 0) {
    int64_t first = 0, last = 0;
    if (!ReadDigits(interval.substr(2, 4), first) || !ReadDigits(interval.substr(8, 4), last))
      return x.RefuseParameterType();
    for (const auto& z : state_.zHistory)
      if (z.crz >= first && z.crz <= last) chosen.push_back(z);
  } else {
    int64_t first = 0, last = 0;
    if (!DayOf(interval.substr(0, 6), first) || !DayOf(interval.substr(6, 6), last))
      return x.Refuse(ext::kDateTimeInvalid, 0, st2::kWrongParameterType);
    for (const auto& z : state_.zHistory)
      if (z.when / 86400 >= first && z.when / 86400 <= last) chosen.push_back(z);
  }
  if (!RequireNoDocument(x)) return;
  state_.coo++;
  if (toPort)
    x.text = FiscalMemoryText(state_, chosen, Now());
  else
    state_.printedLines += 20 + 6 * static_cast<int>(chosen.size());
}

void Printer::DetailTape(Exchange& x) {
  const std::string interval = x.parameters.Rest();
  int64_t digits = 0;
  if (interval.size() < 2 || (interval[0] != 'D' && interval[0] != 'X') ||
      !ReadDigits(interval.substr(1), digits) || (interval[0] == 'D' && interval.size() != 13))
    return x.RefuseParameterType();
  if (!RequireNoDocument(x)) return;
  state_.coo++;
  state_.cfd++;
  state_.printedLines += 30;
}

void Printer::FiscalMemoryData(Exchange& x) {
  const std::string amount = x.parameters.Rest();
  if (amount != "MF" && amount != "MF2") return x.RefuseParameterType();
  RequireNoDocument(x);
}

void Printer::FiscalMemoryCheck(Exchange& x) {
  const std::string kind = x.parameters.Rest();
  if (kind != "\x01" && kind != "\x02") return x.RefuseParameterType();
  // Cells: the start-up cells, one per reduction, one per serial number and
  // one per software version; this printer's memory is sound.
  const int reductions = static_cast<int>(state_.zHistory.size());
  if (kind == "\x01") {
    const int written = 2 + reductions;
    AppendCount(x.data, written);
    AppendCount(x.data, written);
    AppendCount(x.data, 0);
    return;
  }
  for (int cells : {1, 1, reductions, 0, 1}) {
    AppendCount(x.data, cells);
    AppendCount(x.data, cells);
    AppendCount(x.data, 0);
  }
}

}  // namespace taloven::emulator
