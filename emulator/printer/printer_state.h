#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace taloven::emulator {

// Money is kept in cents, quantities in thousandths, rates in hundredths of
// a percent: the printer counts in whole units of its last digit.
using Cents = int64_t;

constexpr int kTaxRateSlots = 16;
constexpr int kNonFiscalSlots = 30;
constexpr int kPaymentSlots = 20;
constexpr int kReportSlots = 30;
constexpr int kClicheBytes = 186;

struct TaxRate {
  int hundredths = 0;  // 1800 is 18,00 %
  bool iss = false;    // service tax (ISSQN) instead of ICMS
  Cents total = 0;     // sold in the day at this rate
};

struct NonFiscalTotalizer {
  std::string name;  // at most 19 characters; empty: not programmed
  int count = 0;     // operations in the day
  Cents total = 0;
};

struct PaymentForm {
  std::string name;  // at most 16 characters; empty: not programmed
  bool tef = false;
  Cents total = 0;       // received in the day
  Cents lastCoupon = 0;  // received in the last receipt
};

struct ManagementReport {
  std::string name;  // at most 17 characters
  int count = 0;
};

// Totals of the day, zeroed by the Z reduction.
struct DayTotals {
  Cents gross = 0;
  Cents icmsCancelled = 0, icmsDiscount = 0, icmsSurcharge = 0;
  Cents issCancelled = 0, issDiscount = 0, issSurcharge = 0;
  Cents icmsSubstitution = 0, icmsExempt = 0, icmsNonIncidence = 0;
  Cents issSubstitution = 0, issExempt = 0, issNonIncidence = 0;
  Cents nonFiscalCancelled = 0, nonFiscalDiscount = 0, nonFiscalSurcharge = 0;
  Cents change = 0;  // TROCO given back in the day
};

struct ZRecord {
  int crz = 0;
  int coo = 0;
  int64_t when = 0;  // printer clock, seconds since the epoch
  Cents gross = 0;
  Cents grandTotal = 0;
};

// One sold item of the open receipt.
struct SoldItem {
  std::string code, description, tax;  // tax: "01".."16", "II", "NN", "FF", "IS", "NS", "FS"
  int64_t quantity = 0;                // thousandths
  Cents unitPrice = 0;
  Cents gross = 0;
  Cents discount = 0;
  Cents surcharge = 0;
  bool cancelled = false;

  Cents Net() const { return gross - discount + surcharge; }
};

enum class Document {
  kNone,
  kReceiptSelling,    // items may be sold
  kReceiptTotalized,  // the subtotal is closed, payments are taken
  kReceiptPaid,       // paid in full, waiting for its closing text
  kManagementReport,
};

// What the last finished document was, so that it can still be cancelled.
enum class LastDocument { kOther, kReceipt, kNonFiscal };

// Everything the printer remembers; --state writes it between runs.
struct PrinterState {
  // Identity and mode.
  std::string maker = "TALOVEN";
  std::string model = "ECF-T08";
  std::string type = "ECF-IF";
  std::string firmware = "01.00.00";
  std::string serialNumber = "TV0800000000000001";
  bool intervention = false;

  // Owner.
  std::string cnpj = "12.345.678/0001-95";
  std::string ie = "123.456.789.110";
  std::string im = "9876543";
  std::string uf = "SP";
  std::string cliche;  // printer bytes, at most 186
  bool passengerTicket = false;
  int registerNumber = 1;  // ECF
  int storeNumber = 1;     // loja

  // Clock: the printer's time is the host's plus this offset.
  int64_t clockOffset = 0;
  bool daylightSaving = false;

  // Tables.
  int taxRateCount = 0;
  std::array<TaxRate, kTaxRateSlots> taxRates{};
  std::array<NonFiscalTotalizer, kNonFiscalSlots> nonFiscal{};
  std::array<PaymentForm, kPaymentSlots> payments{};
  std::array<ManagementReport, kReportSlots> reports{};
  std::string promotionalMessage;

  // Operating flags.
  bool additionalCoupon = false;
  bool issDiscount = false;
  bool linkedToNonFiscal = true;
  bool rvInConference = true;
  bool automaticZ = false;
  bool restaurant = false;
  int conferenceParameter = 0;
  bool truncation = false;

  // Counters.
  int coo = 0;  // Contador de Ordem de Operação
  int crz = 0;  // Contador de Reduções Z
  int cro = 1;  // Contador de Reinício de Operação
  int ccf = 0;  // Contador de Cupom Fiscal
  int gnf = 0;  // Geral de Operação Não Fiscal
  int grg = 0;  // Geral de Relatório Gerencial
  int cdc = 0;  // Comprovante de Crédito ou Débito
  int ncn = 0;  // Geral Oper. Não-Fiscal Canc.
  int cfc = 0;  // Cupom Fiscal Cancelado
  int cfd = 0;  // Contador de Fita-Detalhe
  int printedLines = 0;

  // Totals.
  Cents grandTotal = 0;
  DayTotals day;
  int64_t movementDay = 0;  // printer day (days since the epoch) of the open movement; 0: none
  int64_t zDay = 0;         // printer day of the last Z reduction
  std::vector<ZRecord> zHistory;

  // The document in progress.
  Document document = Document::kNone;
  LastDocument lastDocument = LastDocument::kOther;
  std::vector<SoldItem> items;
  Cents subtotalDiscount = 0, subtotalSurcharge = 0;
  Cents paid = 0;
  std::array<Cents, kPaymentSlots> receiptPayments{};
  std::string consumer;
  bool ticketOpen = false;  // the open document is a passenger ticket
  int lastNonFiscalSlot = -1;
  Cents lastNonFiscalValue = 0;
  int lastNonFiscalPayment = 0;
  Cents lastReceiptTotal = 0;
  int openReport = -1;

  // The printer's memories: the electronic journal (one record per printed
  // document, as an MFD file's payload holds them), the fiscal memory's
  // reduction blocks, and the owner number the journal files documents under.
  std::string journal;
  std::string fiscalMemory;
  int user = 1;
  std::string reportText;  // lines of the open management report, code page 850
  // The memory image a download reads block by block (not kept between runs).
  std::string downloadImage;
};

// The fresh printer of a run without --state, for the given model name.
PrinterState DefaultPrinterState(const std::string& model);

}  // namespace taloven::emulator
