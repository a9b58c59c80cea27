#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven::emulator {

// Status byte 1 and 2 bits the printer reports.
namespace st1 {
constexpr uint8_t kWrongParameterCount = 0x01;
constexpr uint8_t kReceiptOpen = 0x02;
constexpr uint8_t kUnknownCommand = 0x04;
constexpr uint8_t kFirstByteNotEsc = 0x08;
}  // namespace st1
namespace st2 {
constexpr uint8_t kNotExecuted = 0x01;
constexpr uint8_t kOwnerNotProgrammed = 0x02;
constexpr uint8_t kCancelNotAllowed = 0x04;
constexpr uint8_t kTaxRatesFull = 0x08;
constexpr uint8_t kTaxRateNotProgrammed = 0x10;
constexpr uint8_t kWrongParameterType = 0x80;
}  // namespace st2

// Extended return codes the printer uses.
namespace ext {
constexpr uint16_t kInvalidCommand = 1;
constexpr uint16_t kWrongParameterCount = 3;
constexpr uint16_t kWrongParameterType = 4;
constexpr uint16_t kAllTaxRatesProgrammed = 5;
constexpr uint16_t kReceiptOpen = 7;
constexpr uint16_t kReceiptNotOpen = 8;
constexpr uint16_t kTaxRateNotProgrammed = 14;
constexpr uint16_t kAdjustmentOverTotal = 16;
constexpr uint16_t kReceiptWithoutItem = 17;
constexpr uint16_t kNoRoomForPaymentForms = 19;
constexpr uint16_t kPaymentFormNotProgrammed = 20;
constexpr uint16_t kPaymentsClosed = 22;
constexpr uint16_t kReceiptNotTotalized = 23;
constexpr uint16_t kCancelNotRightAfter = 26;
constexpr uint16_t kNonFiscalNotProgrammed = 34;
constexpr uint16_t kPaymentsBelowTotal = 38;
constexpr uint16_t kNonFiscalOpen = 48;
constexpr uint16_t kNotInIntervention = 59;
constexpr uint16_t kMovementInDay = 62;
constexpr uint16_t kBlockedByZ = 63;
constexpr uint16_t kAwaitingZ = 66;
constexpr uint16_t kZeroSale = 85;
constexpr uint16_t kDateTimeInvalid = 100;
constexpr uint16_t kNoReportOpen = 101;
constexpr uint16_t kReportNumberInvalid = 105;
constexpr uint16_t kItemMissing = 115;
constexpr uint16_t kSurchargeOverItem = 118;
constexpr uint16_t kDiscountOverItem = 119;
constexpr uint16_t kItemSurchargeDone = 121;
constexpr uint16_t kItemDiscountDone = 122;
constexpr uint16_t kFirstByteNotEsc = 141;
constexpr uint16_t kAlreadyTotalized = 170;
constexpr uint16_t kSubtotalSurchargeDone = 172;
constexpr uint16_t kSubtotalDiscountDone = 173;
}  // namespace ext

// Parameter bytes of one command, taken from the front in the order the
// command defines them.
class ParameterReader {
 public:
  explicit ParameterReader(std::string bytes) : bytes_(std::move(bytes)) {}

  size_t Remaining() const { return bytes_.size() - position_; }
  // The next count bytes; false (taking nothing) when fewer are left.
  bool Take(size_t count, std::string& out);
  // Everything that is left.
  std::string Rest();

 private:
  std::string bytes_;
  size_t position_ = 0;
};

// One command being answered: its parameters in, its reply data and status
// out. A refusal keeps the reply's size but sends zeros for its data.
struct Exchange {
  explicit Exchange(std::string parameters) : parameters(std::move(parameters)) {}

  ParameterReader parameters;
  std::vector<uint8_t> data;
  int replySize = 0;      // data bytes of a fixed-length reply
  bool variable = false;  // reply is text ended by ETX
  std::string text;
  uint8_t status1 = 0;
  uint8_t status2 = 0;
  uint16_t extended = 0;
  bool refused = false;

  void Refuse(uint16_t code, uint8_t bits1, uint8_t bits2);
  void RefuseNotExecuted(uint16_t code) { Refuse(code, 0, st2::kNotExecuted); }
  void RefuseParameterCount() { Refuse(ext::kWrongParameterCount, st1::kWrongParameterCount, 0); }
  void RefuseParameterType() { Refuse(ext::kWrongParameterType, 0, st2::kWrongParameterType); }

  void Append(std::string_view bytes) { data.insert(data.end(), bytes.begin(), bytes.end()); }
  void AppendByte(uint8_t byte) { data.push_back(byte); }
};

// Digits only, read as a number; false for anything else (also empty).
bool ReadDigits(std::string_view text, int64_t& value);

}  // namespace taloven::emulator
