#include "printer/exchange.h"

namespace taloven::emulator {

bool ParameterReader::Take(size_t count, std::string& out) {
  if (Remaining() < count) return false;
  out = bytes_.substr(position_, count);
  position_ += count;
  return true;
}

std::string ParameterReader::Rest() {
  std::string out = bytes_.substr(position_);
  position_ = bytes_.size();
  return out;
}

void Exchange::Refuse(uint16_t code, uint8_t bits1, uint8_t bits2) {
  refused = true;
  extended = code;
  status1 |= bits1;
  status2 |= bits2;
}

bool ReadDigits(std::string_view text, int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  int64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  value = result;
  return true;
}

}  // namespace taloven::emulator
