#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/journal_record.h"
#include "printer/exchange.h"
#include "printer/printer_state.h"
#include "printer/wire_frame.h"

namespace taloven::emulator {

// A reply as the printer would put it on the line, and where its two status
// bytes sit in it.
struct Reply {
  std::vector<uint8_t> bytes;
  size_t statusAt = 0;
};

// The emulated fiscal printer: answers one decoded frame at a time and keeps
// its state between frames.
class Printer {
 public:
  // hostClock gives the host's wall-clock time (local time read as seconds
  // since the epoch); the printer's own clock runs at an offset from it.
  explicit Printer(PrinterState state, std::function<int64_t()> hostClock = nullptr);

  // The complete reply to a frame: ACK, data, ST1, ST2 (and the extended
  // code for a 0x1C frame), or ACK, ST1, ST2, text and ETX.
  Reply Answer(const Frame& frame);

  const PrinterState& State() const { return state_; }
  PrinterState& MutableState() { return state_; }
  // The printer's clock, seconds since the epoch.
  int64_t Now() const;
  // Days since the epoch on the printer's clock.
  int64_t Today() const { return Now() / 86400; }

  // Data bytes of the fixed reply a command code has (-1: variable-length,
  // -2: unknown code). Codes of two bytes are 35 and 80 followed by one more.
  // How many leading bytes of a frame body are the command code.
  static size_t CodeLength(const std::vector<uint8_t>& body);

  static int ReplySizeOf(const std::vector<uint8_t>& code, const std::string& parameters);

 private:
  using Handler = void (Printer::*)(Exchange&);
  struct Command {
    uint16_t code;
    int replySize;
    Handler handler;
  };
  static const std::vector<Command>& Commands();
  static const Command* Find(const std::vector<uint8_t>& body, size_t* codeLength);

  bool RequireIntervention(Exchange& x);
  bool RequireNoDocument(Exchange& x);
  bool RequireSalesDay(Exchange& x);
  void StartMovement();
  bool ReceiptOpen() const;
  bool HasOwner() const { return !state_.cnpj.empty(); }

  // Day of sales.
  void OpenReceipt(Exchange& x);
  void OpenPassengerTicket(Exchange& x);
  void SellItem(Exchange& x);
  void AdjustItem(Exchange& x);
  void CancelItem(Exchange& x);
  void Subtotal(Exchange& x);
  void StartClosing(Exchange& x);
  void Pay(Exchange& x);
  void FinishClosing(Exchange& x);
  void CloseQuick(Exchange& x);
  void CancelReceipt(Exchange& x);
  bool ApplySubtotalAdjustment(Exchange& x, const std::string& value);
  bool TakePayment(Exchange& x, int form, Cents value);
  void CloseReceipt();
  Cents ReceiptNet() const;
  Cents ReceiptTotal() const;
  void BookItem(const SoldItem& item, int sign);

  // Non-fiscal documents.
  void Withdrawal(Exchange& x);
  void Supply(Exchange& x);
  void NonFiscalReceipt(Exchange& x);
  void CancelNonFiscal(Exchange& x);
  void ManagementReportText(Exchange& x);
  void CloseManagementReport(Exchange& x);
  void BookNonFiscal(Exchange& x, int slot, Cents value, int form);

  // Readings.
  void PrintXReading(Exchange& x);
  void SendXReading(Exchange& x);
  void ZReduction(Exchange& x);
  void FiscalMemoryReading(Exchange& x);
  void DetailTape(Exchange& x);
  void FiscalMemoryData(Exchange& x);
  void FiscalMemoryCheck(Exchange& x);

  // Information reads ("35" and "26").
  void Identity(Exchange& x);
  void OperatingMode(Exchange& x);
  void SerialNumber15(Exchange& x);
  void SerialNumber20(Exchange& x);
  void OwnerFirstGeneration(Exchange& x);
  void Cnpj(Exchange& x);
  void Ie(Exchange& x);
  void Im(Exchange& x);
  void Uf(Exchange& x);
  void StoreNumber(Exchange& x);
  void RegisterNumber(Exchange& x);
  void DateTime(Exchange& x);
  void MovementDate(Exchange& x);
  void LastZ(Exchange& x);
  void FiscalFlags(Exchange& x);
  void FiscalFlags2(Exchange& x);
  void FiscalFlags3(Exchange& x);
  void Cliche(Exchange& x);
  void TaxRates(Exchange& x);
  void TaxRateCount(Exchange& x);
  void OneTaxRate(Exchange& x);
  void IssLinkage(Exchange& x);
  void NonFiscalNames9(Exchange& x);
  void NonFiscalNames30(Exchange& x);
  void NonFiscalTotals(Exchange& x);
  void PartialTotals(Exchange& x);
  void GrandTotal(Exchange& x);
  void Coo(Exchange& x);
  void Crz(Exchange& x);
  void Cro(Exchange& x);
  void PaymentForms(Exchange& x);
  void Departments(Exchange& x);
  void ManagementReports(Exchange& x);
  void Sensors(Exchange& x);
  void PrintedLines(Exchange& x);
  void Eprom(Exchange& x);
  void Truncation(Exchange& x);
  void DrawerSensor(Exchange& x);
  void ZMode(Exchange& x);
  void CutterOrAuthentication(Exchange& x);
  void PresenterOrDrawer(Exchange& x);
  void DocumentKind(Exchange& x);
  void Alignment(Exchange& x);
  void Cut(Exchange& x);
  void ChequeStatus(Exchange& x);

  // Mechanism.
  void OpenDrawer(Exchange& x);
  void PrintCheque(Exchange& x);
  void AuthenticationCharacter(Exchange& x);

  // Programming.
  void SetClock(Exchange& x);
  void AddTaxRate(Exchange& x);
  void AddPaymentForm(Exchange& x);
  void SetPaymentForms(Exchange& x);
  void SetPromotionalMessage(Exchange& x);
  void SetOwner(Exchange& x);
  void SetCliche(Exchange& x);
  void SetRegisterAndStore(Exchange& x);
  void SetTaxRates(Exchange& x);
  void SetIssLinkage(Exchange& x);
  void NameNonFiscal(Exchange& x);
  void SetAdditionalCoupon(Exchange& x);
  void SetIssDiscount(Exchange& x);
  void SetLinkedToNonFiscal(Exchange& x);
  void SetRvInConference(Exchange& x);
  void SetAutomaticZ(Exchange& x);
  void SetRestaurant(Exchange& x);
  void SetConferenceCoupon(Exchange& x);
  bool SetOddEvenFlag(Exchange& x, bool& flag, bool oddEnables);

  // The electronic journal and the fiscal memory: what a command printed is
  // filed after it ran, from what the state was before it.
  struct JournalMark {
    int coo, crz, cfc, gnf, ncn;
    Document document;
    std::string cnpj;
    DayTotals day;
    std::array<TaxRate, kTaxRateSlots> taxRates;
    std::array<NonFiscalTotalizer, kNonFiscalSlots> nonFiscal;
  };
  JournalMark MarkJournal() const;
  void Journalise(const JournalMark& before, uint16_t code, const std::string& parameters);
  void FileDocument(JournalKind kind, int coo, std::string lines);
  void FileReduction(const JournalMark& before);
  std::string ReceiptLines(int coo);
  std::string ReductionLines(const JournalMark& before);

  // Downloads of the memories.
  void PrepareDownload(Exchange& x);
  void DownloadBlock(Exchange& x);

  PrinterState state_;
  std::function<int64_t()> hostClock_;
};

}  // namespace taloven::emulator
