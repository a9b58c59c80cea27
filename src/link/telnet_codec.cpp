#include "link/telnet_codec.h"

namespace taloven {
namespace {

constexpr uint8_t kIac = 255;
constexpr uint8_t kDont = 254;
constexpr uint8_t kDo = 253;
constexpr uint8_t kWont = 252;
constexpr uint8_t kWill = 251;
constexpr uint8_t kSb = 250;
constexpr uint8_t kSe = 240;

constexpr uint8_t kBinary = 0;
constexpr uint8_t kSuppressGoAhead = 3;
constexpr uint8_t kComPortOption = 44;

constexpr uint8_t kSetBaudRate = 1;
constexpr uint8_t kSetDataSize = 2;
constexpr uint8_t kSetParity = 3;
constexpr uint8_t kSetStopSize = 4;
constexpr uint8_t kSetControl = 5;
constexpr uint8_t kPurgeData = 12;

constexpr uint8_t kNoFlowControl = 1;
constexpr uint8_t kHardwareFlowControl = 3;
constexpr uint8_t kDtrOn = 8;
constexpr uint8_t kDtrOff = 9;
constexpr uint8_t kRtsOn = 11;
constexpr uint8_t kRtsOff = 12;
constexpr uint8_t kPurgeBothBuffers = 3;

bool WeOffer(uint8_t option) {
  return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

bool WeAccept(uint8_t option) {
  return option == kBinary || option == kSuppressGoAhead;
}

void Append(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
  out.insert(out.end(), bytes);
}

void Subnegotiation(std::vector<uint8_t>& out, uint8_t command,
                    std::initializer_list<uint8_t> value) {
  Append(out, {kIac, kSb, kComPortOption, command});
  TelnetCodec::AppendData(value.begin(), value.size(), out);
  Append(out, {kIac, kSe});
}

}  // namespace

TelnetCodec::TelnetCodec() {
  // The greeting asked for these; their answers are acknowledgements.
  local_[kBinary] = local_[kSuppressGoAhead] = local_[kComPortOption] = Option::Asked;
  remote_[kBinary] = remote_[kSuppressGoAhead] = Option::Asked;
}

std::vector<uint8_t> TelnetCodec::Greeting() {
  return {kIac, kWill, kComPortOption,   kIac, kWill, kBinary,         kIac, kDo, kBinary,
          kIac, kWill, kSuppressGoAhead, kIac, kDo,   kSuppressGoAhead};
}

std::vector<uint8_t> TelnetCodec::SetLine(const LineSettings& line) {
  std::vector<uint8_t> out;
  const auto rate = static_cast<uint32_t>(line.baudRate);
  Subnegotiation(out, kSetBaudRate,
                 {static_cast<uint8_t>(rate >> 24), static_cast<uint8_t>(rate >> 16),
                  static_cast<uint8_t>(rate >> 8), static_cast<uint8_t>(rate)});
  Subnegotiation(out, kSetDataSize, {static_cast<uint8_t>(line.dataBits)});
  Subnegotiation(out, kSetParity, {static_cast<uint8_t>(line.parity)});
  Subnegotiation(out, kSetStopSize, {static_cast<uint8_t>(line.stopBits)});
  Subnegotiation(out, kSetControl, {line.hardwareFlow ? kHardwareFlowControl : kNoFlowControl});
  Subnegotiation(out, kSetControl, {line.dtr ? kDtrOn : kDtrOff});
  // With hardware flow the server's line drives RTS itself.
  if (!line.hardwareFlow) Subnegotiation(out, kSetControl, {line.rts ? kRtsOn : kRtsOff});
  return out;
}

std::vector<uint8_t> TelnetCodec::PurgeBoth() {
  std::vector<uint8_t> out;
  Subnegotiation(out, kPurgeData, {kPurgeBothBuffers});
  return out;
}

void TelnetCodec::AppendData(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out) {
  for (size_t i = 0; i < count; ++i) {
    out.push_back(bytes[i]);
    if (bytes[i] == kIac) out.push_back(kIac);
  }
}

void TelnetCodec::Negotiate(uint8_t verb, uint8_t option, std::vector<uint8_t>& answers) {
  const bool aboutUs = verb == kDo || verb == kDont;
  const bool wanted = verb == kDo || verb == kWill;
  Option& state = aboutUs ? local_[option] : remote_[option];
  const bool supported = aboutUs ? WeOffer(option) : WeAccept(option);
  const uint8_t yes = aboutUs ? kWill : kDo;
  const uint8_t no = aboutUs ? kWont : kDont;
  if (wanted) {
    if (state == Option::Off) {
      if (supported) {
        state = Option::On;
        Append(answers, {kIac, yes, option});
      } else {
        Append(answers, {kIac, no, option});
      }
    } else {
      state = Option::On;
    }
  } else if (state != Option::Off) {
    // A refusal of what this side asked for is final and needs no answer; an
    // option that was on is acknowledged off.
    if (state == Option::On) Append(answers, {kIac, no, option});
    state = Option::Off;
  }
  if (aboutUs && option == kComPortOption)
    comPort_ = state == Option::On ? ComPort::Agreed : ComPort::Refused;
}

void TelnetCodec::Take(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data,
                       std::vector<uint8_t>& answers) {
  for (size_t i = 0; i < count; ++i) {
    const uint8_t byte = bytes[i];
    switch (state_) {
      case State::Data:
        if (byte == kIac)
          state_ = State::Command;
        else
          data.push_back(byte);
        break;
      case State::Command:
        if (byte == kIac) {
          data.push_back(byte);
          state_ = State::Data;
        } else if (byte >= kWill) {
          verb_ = byte;
          state_ = State::Option;
        } else if (byte == kSb) {
          state_ = State::Subnegotiation;
        } else {
          state_ = State::Data;  // NOP, go-ahead and the like mean nothing here
        }
        break;
      case State::Option:
        Negotiate(verb_, byte, answers);
        state_ = State::Data;
        break;
      case State::Subnegotiation:
        // The server's answers and notices (line and modem state) change
        // nothing on this side.
        if (byte == kIac) state_ = State::SubnegotiationCommand;
        break;
      case State::SubnegotiationCommand:
        state_ = byte == kSe ? State::Data : State::Subnegotiation;
        break;
    }
  }
}

}  // namespace taloven
