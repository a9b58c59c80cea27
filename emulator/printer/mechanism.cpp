// The printer's mechanism: drawer, cheques, authentication.
#include "printer/printer.h"

namespace taloven::emulator {

void Printer::OpenDrawer(Exchange& x) {
  std::string time;
  int64_t ms = 0;
  if (!x.parameters.Take(3, time) || x.parameters.Remaining() != 0) return x.RefuseParameterCount();
  if (!ReadDigits(time, ms)) return x.RefuseParameterType();
}

void Printer::PrintCheque(Exchange& x) {
  std::string positions, value, payee, place, date;
  int64_t amount = 0, day = 0;
  if (!x.parameters.Take(13, positions) || !x.parameters.Take(14, value) ||
      !x.parameters.Take(45, payee) || !x.parameters.Take(27, place) ||
      !x.parameters.Take(6, date) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadDigits(value, amount) || !ReadDigits(date, day)) return x.RefuseParameterType();
  if (!RequireNoDocument(x)) return;
  if (amount == 0) return x.RefuseNotExecuted(178);
  state_.printedLines += 4;
}

void Printer::AuthenticationCharacter(Exchange& x) {
  std::string pattern;
  if (!x.parameters.Take(18, pattern) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
}

}  // namespace taloven::emulator
