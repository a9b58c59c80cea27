#include "printer/simulation.h"

#include <cstdio>

#include "printer/printer.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

// A small deterministic generator: repeatable days without any global state.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed | 1) {}
  int Roll(int low, int high) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return low + static_cast<int>(state_ % static_cast<uint32_t>(high - low + 1));
  }

 private:
  uint32_t state_;
};

struct Product {
  const char* code;
  const char* description;  // UTF-8
  const char* tax;
  int cents;
};

constexpr Product kProducts[] = {
    {"7891000100103", "Café torrado e moído 500g", "01", 1890},
    {"7891910000197", "Açúcar refinado 1kg", "02", 469},
    {"7896004000015", "Arroz tipo 1 5kg", "03", 2590},
    {"7891149101016", "Feijão carioca 1kg", "03", 899},
    {"7891000053508", "Leite integral 1L", "II", 549},
    {"7894900011517", "Refrigerante cola 2L", "FF", 999},
    {"7891024134702", "Sabão em pó 1kg", "01", 1450},
    {"7896036090244", "Óleo de soja 900ml", "02", 789},
    {"7891080400148", "Biscoito recheado 140g", "01", 329},
    {"0000000000017", "Serviço de entrega", "04", 800},
};

class Driver {
 public:
  Driver(PrinterState state, int64_t& clock)
      : printer_(std::move(state), [&clock] { return clock; }) {}

  bool Send(std::initializer_list<uint8_t> code, const std::string& parameters = "") {
    Frame frame;
    frame.body.assign(code);
    frame.body.insert(frame.body.end(), parameters.begin(), parameters.end());
    const Reply reply = printer_.Answer(frame);
    // An open receipt is reported in ST1 and is no failure.
    return reply.bytes.size() > reply.statusAt + 1 &&
           (reply.bytes[reply.statusAt] & ~st1::kReceiptOpen) == 0 &&
           reply.bytes[reply.statusAt + 1] == 0;
  }
  Printer& Device() { return printer_; }

 private:
  Printer printer_;
};

std::string Number(int64_t value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(value));
  return buffer;
}

}  // namespace

void SimulateDays(PrinterState& state, int days, int64_t hostNow) {
  // The printer's clock is the host's plus the state's offset; the driver's
  // host clock is set so that the printer sees the simulated moment.
  const int64_t offset = state.clockOffset;
  int64_t host = 0;
  Driver driver(std::move(state), host);
  const int64_t today = (hostNow + offset) / 86400;
  auto at = [&](int64_t day, int64_t seconds) { host = day * 86400 + seconds - offset; };
  for (int64_t day = today - days; day < today; ++day) {
    Dice dice(static_cast<uint32_t>(day * 2654435761u));
    PrinterState& s = driver.Device().MutableState();
    at(day, 7 * 3600);
    if (s.movementDay != 0 && s.movementDay < day) driver.Send({5});
    at(day, 7 * 3600 + 1800);
    driver.Send({29}, Number(dice.Roll(100, 300) * 100, 14));
    const int receipts = dice.Roll(40, 80);
    for (int r = 0; r < receipts; ++r) {
      at(day, 8 * 3600 + r * (13 * 3600) / receipts + dice.Roll(0, 300));
      if (r == receipts / 2) driver.Send({6});
      if (!driver.Send({0})) continue;
      const int items = dice.Roll(1, 8);
      for (int i = 0; i < items; ++i) {
        const Product& p = kProducts[dice.Roll(0, static_cast<int>(std::size(kProducts)) - 1)];
        driver.Send({9}, std::string(p.code) + Fit(Utf8To850(p.description), 29) + p.tax +
                             Number(dice.Roll(1, 3) * 1000, 7) + Number(p.cents, 8));
      }
      if (!driver.Send({33}, Number(dice.Roll(1, 3), 2))) driver.Send({14});
      if (dice.Roll(0, 49) == 0) driver.Send({14});
    }
    at(day, 22 * 3600);
    driver.Send({5});
  }
  state = driver.Device().State();
}

}  // namespace taloven::emulator
