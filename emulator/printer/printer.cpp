#include "printer/printer.h"

#include "memories/download.h"

#include <ctime>

namespace taloven::emulator {
namespace {

constexpr uint16_t Code(uint8_t first, uint8_t second = 0) {
  return static_cast<uint16_t>((first << 8) | second);
}

bool TwoByteFamily(uint8_t first) {
  return first == 35 || first == 80;
}

// The fixed reply sizes that depend on a parameter.
constexpr uint16_t kFiscalMemoryCheck = Code(81);
constexpr uint16_t kFiscalMemoryReading = Code(8);

}  // namespace

Printer::Printer(PrinterState state, std::function<int64_t()> hostClock)
    : state_(std::move(state)), hostClock_(std::move(hostClock)) {
  if (!hostClock_) {
    // The printer keeps wall-clock time: the host's local time, counted as
    // seconds since the epoch so that its calendar needs no time zone.
    hostClock_ = [] {
      const std::time_t now = std::time(nullptr);
      std::tm local{};
      localtime_r(&now, &local);
      return static_cast<int64_t>(now) + local.tm_gmtoff;
    };
  }
}

int64_t Printer::Now() const {
  return hostClock_() + state_.clockOffset;
}

const std::vector<Printer::Command>& Printer::Commands() {
  static const std::vector<Command> commands = {
      // Day of sales.
      {Code(0), 0, &Printer::OpenReceipt},
      {Code(9), 0, &Printer::SellItem},
      {Code(62), 0, &Printer::AdjustItem},
      {Code(31), 0, &Printer::CancelItem},
      {Code(35, 30), 7, &Printer::Subtotal},
      {Code(32), 0, &Printer::StartClosing},
      {Code(72), 0, &Printer::Pay},
      {Code(34), 0, &Printer::FinishClosing},
      {Code(33), 0, &Printer::CloseQuick},
      {Code(14), 0, &Printer::CancelReceipt},
      {Code(10), 0, &Printer::OpenPassengerTicket},
      // Non-fiscal documents.
      {Code(25), 0, &Printer::Withdrawal},
      {Code(29), 0, &Printer::Supply},
      {Code(77), 0, &Printer::NonFiscalReceipt},
      {Code(78), 0, &Printer::CancelNonFiscal},
      {Code(20), 0, &Printer::ManagementReportText},
      {Code(21), 0, &Printer::CloseManagementReport},
      // Readings.
      {Code(6), 0, &Printer::PrintXReading},
      {Code(69), -1, &Printer::SendXReading},
      {Code(5), 0, &Printer::ZReduction},
      {kFiscalMemoryReading, 0, &Printer::FiscalMemoryReading},
      {Code(65), 0, &Printer::DetailTape},
      {Code(80, 50), 0, &Printer::FiscalMemoryData},
      {kFiscalMemoryCheck, 6, &Printer::FiscalMemoryCheck},
      // Information.
      {Code(35, 60), 42, &Printer::Identity},
      {Code(35, 20), 1, &Printer::OperatingMode},
      {Code(35, 0), 15, &Printer::SerialNumber15},
      {Code(35, 40), 20, &Printer::SerialNumber20},
      {Code(35, 2), 33, &Printer::OwnerFirstGeneration},
      {Code(35, 42), 20, &Printer::Cnpj},
      {Code(35, 43), 20, &Printer::Ie},
      {Code(35, 44), 20, &Printer::Im},
      {Code(35, 70), 2, &Printer::Uf},
      {Code(35, 15), 2, &Printer::StoreNumber},
      {Code(35, 14), 2, &Printer::RegisterNumber},
      {Code(35, 23), 6, &Printer::DateTime},
      {Code(35, 26), 3, &Printer::MovementDate},
      {Code(35, 27), 15, &Printer::LastZ},
      {Code(35, 17), 1, &Printer::FiscalFlags},
      {Code(35, 18), 1, &Printer::FiscalFlags2},
      {Code(35, 37), 1, &Printer::FiscalFlags3},
      {Code(35, 13), kClicheBytes, &Printer::Cliche},
      {Code(26), 33, &Printer::TaxRates},
      {Code(35, 36), 1, &Printer::TaxRateCount},
      {Code(35, 28), 9, &Printer::OneTaxRate},
      {Code(35, 29), 2, &Printer::IssLinkage},
      {Code(35, 25), 9 * 19, &Printer::NonFiscalNames9},
      {Code(35, 48), 30 * 19, &Printer::NonFiscalNames30},
      {Code(35, 45), 780, &Printer::NonFiscalTotals},
      {Code(35, 7), 219, &Printer::PartialTotals},
      {Code(35, 3), 9, &Printer::GrandTotal},
      {Code(35, 6), 3, &Printer::Coo},
      {Code(35, 10), 2, &Printer::Crz},
      {Code(35, 11), 2, &Printer::Cro},
      {Code(35, 32), 620, &Printer::PaymentForms},
      {Code(35, 33), 600, &Printer::Departments},
      {Code(35, 34), 570, &Printer::ManagementReports},
      {Code(35, 38), 1, &Printer::Sensors},
      {Code(35, 22), 2, &Printer::PrintedLines},
      {Code(35, 39), 1, &Printer::Eprom},
      {Code(35, 21), 1, &Printer::Truncation},
      {Code(35, 50), 1, &Printer::DrawerSensor},
      {Code(35, 51), 1, &Printer::ZMode},
      {Code(35, 52), 1, &Printer::CutterOrAuthentication},
      {Code(35, 53), 1, &Printer::PresenterOrDrawer},
      {Code(35, 54), 1, &Printer::DocumentKind},
      {Code(35, 55), 1, &Printer::Alignment},
      {Code(35, 56), 1, &Printer::Cut},
      {Code(35, 57), 1, &Printer::ChequeStatus},
      // Mechanism.
      {Code(22), 0, &Printer::OpenDrawer},
      {Code(57), 0, &Printer::PrintCheque},
      {Code(64), 0, &Printer::AuthenticationCharacter},
      // Programming.
      {Code(2), 0, &Printer::SetClock},
      {Code(7), 0, &Printer::AddTaxRate},
      {Code(73), 3, &Printer::AddPaymentForm},
      {Code(71), 0, &Printer::SetPaymentForms},
      {Code(24), 0, &Printer::SetPromotionalMessage},
      {Code(4), 0, &Printer::SetOwner},
      {Code(3), 0, &Printer::SetCliche},
      {Code(17), 0, &Printer::SetRegisterAndStore},
      {Code(36), 0, &Printer::SetTaxRates},
      {Code(38), 0, &Printer::SetIssLinkage},
      {Code(40), 0, &Printer::NameNonFiscal},
      {Code(68), 0, &Printer::SetAdditionalCoupon},
      {Code(123), 0, &Printer::SetIssDiscount},
      {Code(80, 64), 0, &Printer::SetLinkedToNonFiscal},
      {Code(80, 65), 0, &Printer::SetRvInConference},
      {Code(84), 0, &Printer::SetAutomaticZ},
      {Code(80, 63), 0, &Printer::SetRestaurant},
      {Code(80, 57), 0, &Printer::SetConferenceCoupon},
      // Memory downloads.
      {Code(80, 90), kDownloadInfoSize, &Printer::PrepareDownload},
      {Code(80, 91), kDownloadBlockReplySize, &Printer::DownloadBlock},
  };
  return commands;
}

const Printer::Command* Printer::Find(const std::vector<uint8_t>& body, size_t* codeLength) {
  if (body.empty()) return nullptr;
  uint16_t code = Code(body[0]);
  *codeLength = 1;
  if (TwoByteFamily(body[0])) {
    if (body.size() < 2) return nullptr;
    code = Code(body[0], body[1]);
    *codeLength = 2;
  }
  for (const auto& command : Commands())
    if (command.code == code) return &command;
  return nullptr;
}

size_t Printer::CodeLength(const std::vector<uint8_t>& body) {
  return !body.empty() && TwoByteFamily(body[0]) ? 2 : 1;
}

int Printer::ReplySizeOf(const std::vector<uint8_t>& code, const std::string& parameters) {
  size_t codeLength = 0;
  const Command* command = Find(code, &codeLength);
  if (!command || codeLength != code.size()) return -2;
  if (command->code == kFiscalMemoryCheck) return parameters == "\x02" ? 30 : 6;
  if (command->code == kFiscalMemoryReading)
    return parameters.size() >= 13 && (parameters[12] == 'R' || parameters[12] == 'r') ? -1 : 0;
  return command->replySize;
}

Reply Printer::Answer(const Frame& frame) {
  size_t codeLength = 0;
  const Command* command = Find(frame.body, &codeLength);
  std::string parameters;
  if (command)
    parameters.assign(frame.body.begin() + static_cast<long>(codeLength), frame.body.end());
  Exchange x(parameters);

  if (frame.startByte != kEsc && frame.startByte != kExtendedStart) {
    x.Refuse(ext::kFirstByteNotEsc, st1::kFirstByteNotEsc, 0);
  } else if (!command) {
    x.Refuse(ext::kInvalidCommand, st1::kUnknownCommand, 0);
  } else {
    x.replySize = ReplySizeOf(
        {frame.body.begin(), frame.body.begin() + static_cast<long>(codeLength)}, parameters);
    x.variable = x.replySize == -1;
    const JournalMark mark = MarkJournal();
    (this->*command->handler)(x);
    if (!x.refused) Journalise(mark, command->code, parameters);
  }
  if (ReceiptOpen()) x.status1 |= st1::kReceiptOpen;

  Reply answer;
  std::vector<uint8_t>& reply = answer.bytes;
  reply.push_back(kAck);
  auto appendStatus = [&] {
    answer.statusAt = reply.size();
    reply.push_back(x.status1);
    reply.push_back(x.status2);
    if (frame.startByte == kExtendedStart) {
      reply.push_back(static_cast<uint8_t>(x.extended & 0xFF));
      reply.push_back(static_cast<uint8_t>(x.extended >> 8));
    }
  };
  if (x.variable) {
    appendStatus();
    if (!x.refused)
      for (char c : x.text)
        if (static_cast<uint8_t>(c) != kEtx) reply.push_back(static_cast<uint8_t>(c));
    reply.push_back(kEtx);
    return answer;
  }
  if (x.refused) x.data.clear();
  x.data.resize(static_cast<size_t>(x.replySize > 0 ? x.replySize : 0), 0);
  reply.insert(reply.end(), x.data.begin(), x.data.end());
  appendStatus();
  return answer;
}

bool Printer::ReceiptOpen() const {
  return state_.document == Document::kReceiptSelling ||
         state_.document == Document::kReceiptTotalized ||
         state_.document == Document::kReceiptPaid;
}

bool Printer::RequireIntervention(Exchange& x) {
  if (state_.intervention) return true;
  x.RefuseNotExecuted(ext::kNotInIntervention);
  return false;
}

bool Printer::RequireNoDocument(Exchange& x) {
  if (ReceiptOpen()) {
    x.RefuseNotExecuted(ext::kReceiptOpen);
    return false;
  }
  if (state_.document == Document::kManagementReport) {
    x.RefuseNotExecuted(ext::kNonFiscalOpen);
    return false;
  }
  return true;
}

bool Printer::RequireSalesDay(Exchange& x) {
  if (state_.zDay == Today()) {
    x.RefuseNotExecuted(ext::kBlockedByZ);
    return false;
  }
  if (state_.movementDay != 0 && state_.movementDay < Today()) {
    x.RefuseNotExecuted(ext::kAwaitingZ);
    return false;
  }
  if (!HasOwner()) {
    x.Refuse(ext::kInvalidCommand, 0, st2::kOwnerNotProgrammed | st2::kNotExecuted);
    return false;
  }
  return true;
}

void Printer::StartMovement() {
  if (state_.movementDay == 0) state_.movementDay = Today();
}

}  // namespace taloven::emulator
