// The printer's memories: what each document printed goes to the electronic
// journal, each Z reduction to the fiscal memory; both can be downloaded.
#include <algorithm>
#include <cstdio>

#include "formats/crc32.h"
#include "formats/little_endian.h"
#include "formats/mf_image.h"
#include "memories/download.h"
#include "memories/journal_print.h"
#include "printer/bcd.h"
#include "printer/printer.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

constexpr uint16_t kXReadingCodes[] = {6 << 8, 69 << 8};
constexpr uint16_t kFiscalMemoryReadingCode = 8 << 8;
constexpr uint16_t kDetailTapeCode = 65 << 8;
constexpr uint16_t kManagementReportCode = 20 << 8;
constexpr uint16_t kNoSuchBlock = 150;
constexpr size_t kFirmwareBytes = 256 * 1024;

bool ReadNumber(const std::string& text, int64_t& value) {
  return ReadDigits(text, value);
}

// An amount taken off, as the tape shows it.
std::string Deducted(Cents cents) {
  std::string text(1, '-');
  text += FormatMoney(cents);
  return text;
}

std::string Hex8(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08X", value);
  return buffer;
}

std::string Digits(int64_t value, int width) {
  return FormatCounter(value, width);
}

// The records of the journal a download asked for: all, those of a date
// interval, or those of one owner within a COO interval.
std::string SelectJournal(const std::string& journal, int type, int64_t start, int64_t end,
                          int user, bool& badDate) {
  if (type == 0) return journal;
  int first = 0, last = 0;
  if (type == 1) {
    if (!DateKeyFromDdmmyy(Digits(start, 6), first) || !DateKeyFromDdmmyy(Digits(end, 6), last)) {
      badDate = true;
      return {};
    }
  }
  std::string chosen;
  for (const JournalEntry& e : ScanJournal(journal).entries) {
    const bool take = type == 1 ? e.DateKey() >= first && e.DateKey() <= last
                                : e.user == user && e.coo >= start && e.coo <= end;
    if (take)
      chosen.append(e.lines.data() - kJournalHeaderSize, kJournalHeaderSize + e.lines.size());
  }
  return chosen;
}

}  // namespace

std::string FiscalMemoryImage(const PrinterState& state) {
  MfIdentity id;
  id.serialNumber = state.serialNumber;
  id.maker = state.maker;
  id.model = state.model;
  id.type = state.type;
  id.firmware = state.firmware;
  id.cnpj = state.cnpj;
  id.ie = state.ie;
  id.im = state.im;
  id.uf = state.uf;
  id.registerNumber = state.registerNumber;
  id.storeNumber = state.storeNumber;
  return EncodeMfIdentity(id) + state.fiscalMemory;
}

std::string BasicSoftwareBytes(const std::string& version, const std::string& model,
                               std::string_view firmware) {
  std::string image = "KVSB";
  PutField(image, version, 12);
  PutField(image, model, 20);
  PutLittleEndian(image, firmware.size(), 4);
  image += firmware;
  PutLittleEndian(image, Crc32(image), 4);
  return image;
}

std::string BasicSoftwareImage(const PrinterState& state) {
  // The firmware itself: the same bytes for the same version.
  std::string firmware;
  firmware.reserve(kFirmwareBytes);
  uint32_t seed = Crc32(state.firmware + state.model) | 1;
  for (size_t i = 0; i < kFirmwareBytes; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    firmware.push_back(static_cast<char>(seed & 0xFF));
  }
  return BasicSoftwareBytes(state.firmware, state.model, firmware);
}

Printer::JournalMark Printer::MarkJournal() const {
  return {state_.coo,      state_.crz,  state_.cfc, state_.gnf,      state_.ncn,
          state_.document, state_.cnpj, state_.day, state_.taxRates, state_.nonFiscal};
}

void Printer::FileDocument(JournalKind kind, int coo, std::string lines) {
  JournalRecord record;
  record.coo = static_cast<uint32_t>(coo);
  record.kind = kind;
  record.user = static_cast<uint8_t>(state_.user);
  record.when = JournalTime(Now());
  record.lines = std::move(lines);
  AppendJournalRecord(state_.journal, record);
}

std::string Printer::ReceiptLines(int coo) {
  DocumentPrint print(state_, Now(), coo);
  print.Centred("CUPOM FISCAL");
  print.Line("ITEM CÓDIGO DESCRIÇÃO QTD.UN.VL UNIT(R$) ST VL ITEM(R$)");
  int number = 0;
  for (const SoldItem& item : state_.items) {
    ++number;
    print.Line850(Digits(number, 3) + " " + item.code + " " + Fit(item.description, 29));
    char quantity[32];
    std::snprintf(quantity, sizeof quantity, "%lld,%03lld",
                  static_cast<long long>(item.quantity / 1000),
                  static_cast<long long>(item.quantity % 1000));
    print.Row(std::string("    ") + quantity + " x " + FormatMoney(item.unitPrice) + " " + item.tax,
              FormatMoney(item.gross));
    if (item.discount > 0) print.Row("    desconto item", Deducted(item.discount));
    if (item.cancelled) print.Row("    cancelamento item", Deducted(item.Net()));
  }
  if (state_.subtotalDiscount > 0) print.Row("Desconto", Deducted(state_.subtotalDiscount));
  if (state_.subtotalSurcharge > 0) print.Row("Acréscimo", FormatMoney(state_.subtotalSurcharge));
  print.Row("TOTAL R$", FormatMoney(ReceiptTotal()));
  for (int k = 0; k < kPaymentSlots; ++k) {
    const Cents paid = state_.receiptPayments[static_cast<size_t>(k)];
    if (paid > 0)
      print.Row(Cp850ToUtf8(state_.payments[static_cast<size_t>(k)].name), FormatMoney(paid));
  }
  if (state_.paid > ReceiptTotal())
    print.Row("TROCO R$", FormatMoney(state_.paid - ReceiptTotal()));
  return print.Finish();
}

std::string Printer::ReductionLines(const JournalMark& before) {
  DocumentPrint print(state_, Now(), state_.coo);
  print.Centred("REDUÇÃO Z");
  print.Row("CONTADOR DE REDUÇÃO Z:", Digits(state_.crz, 4));
  print.Row("CONTADOR DE REINÍCIO DE OPERAÇÃO:", Digits(state_.cro, 4));
  print.Row("TOTALIZADOR GERAL:", FormatMoney(state_.grandTotal));
  print.Row("VENDA BRUTA DIÁRIA:", FormatMoney(before.day.gross));
  print.Row("CANCELAMENTOS:", FormatMoney(before.day.icmsCancelled + before.day.issCancelled));
  print.Row("DESCONTOS:", FormatMoney(before.day.icmsDiscount + before.day.issDiscount));
  for (int k = 0; k < state_.taxRateCount; ++k) {
    const TaxRate& rate = before.taxRates[static_cast<size_t>(k)];
    char label[32];
    std::snprintf(label, sizeof label, "%s%02d %d,%02d%%", rate.iss ? "S" : "T", k + 1,
                  rate.hundredths / 100, rate.hundredths % 100);
    print.Row(label, FormatMoney(rate.total));
  }
  return print.Finish();
}

void Printer::FileReduction(const JournalMark& before) {
  MfReduction r;
  r.crz = static_cast<uint32_t>(state_.crz);
  r.coo = static_cast<uint32_t>(state_.coo);
  r.cro = static_cast<uint32_t>(state_.cro);
  r.when = JournalTime(Now());
  r.grandTotal = state_.grandTotal;
  r.gross = before.day.gross;
  r.cancellations = before.day.icmsCancelled + before.day.issCancelled;
  r.discounts = before.day.icmsDiscount + before.day.issDiscount;
  r.surcharges = before.day.icmsSurcharge + before.day.issSurcharge;
  r.exempt = before.day.icmsExempt + before.day.issExempt;
  r.nonIncidence = before.day.icmsNonIncidence + before.day.issNonIncidence;
  r.substitution = before.day.icmsSubstitution + before.day.issSubstitution;
  r.rateCount = std::min(state_.taxRateCount, kMfTaxRates);
  for (int k = 0; k < r.rateCount; ++k) {
    const TaxRate& rate = before.taxRates[static_cast<size_t>(k)];
    r.rates[static_cast<size_t>(k)] = {rate.hundredths, rate.iss, rate.total};
  }
  state_.fiscalMemory += EncodeMfReduction(r);
}

void Printer::Journalise(const JournalMark& before, uint16_t code, const std::string& parameters) {
  const bool receiptWasOpen = before.document == Document::kReceiptSelling ||
                              before.document == Document::kReceiptTotalized ||
                              before.document == Document::kReceiptPaid;
  if (code == kManagementReportCode && parameters.size() > 2) {
    std::string text = parameters.substr(2);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
    state_.reportText += text + "\n";
  }
  if (state_.crz != before.crz) {
    FileDocument(JournalKind::kZReduction, state_.coo, ReductionLines(before));
    FileReduction(before);
  } else if (state_.cfc != before.cfc) {
    DocumentPrint print(state_, Now(), state_.coo);
    print.Centred("CUPOM FISCAL CANCELADO");
    FileDocument(JournalKind::kReceiptCancellation, state_.coo, print.Finish());
  } else if (receiptWasOpen && state_.document == Document::kNone) {
    FileDocument(JournalKind::kFiscalReceipt, state_.coo, ReceiptLines(state_.coo));
  } else if (state_.gnf != before.gnf) {
    const NonFiscalTotalizer& t = state_.nonFiscal[static_cast<size_t>(state_.lastNonFiscalSlot)];
    DocumentPrint print(state_, Now(), state_.coo);
    print.Centred("COMPROVANTE NÃO FISCAL");
    print.Row(Cp850ToUtf8(t.name), FormatMoney(state_.lastNonFiscalValue));
    FileDocument(JournalKind::kNonFiscal, state_.coo, print.Finish());
  } else if (state_.ncn != before.ncn) {
    DocumentPrint print(state_, Now(), state_.coo);
    print.Centred("COMPROVANTE NÃO FISCAL CANCELADO");
    print.Row("VALOR CANCELADO R$", FormatMoney(state_.lastNonFiscalValue));
    FileDocument(JournalKind::kNonFiscalCancellation, state_.coo, print.Finish());
  } else if (before.document == Document::kManagementReport && state_.document == Document::kNone) {
    DocumentPrint print(state_, Now(), state_.coo);
    print.Centred("RELATÓRIO GERENCIAL");
    std::string text = std::move(state_.reportText);
    state_.reportText.clear();
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find('\n', start);
      print.Line850(text.substr(start, end - start));
      start = end + 1;
    }
    FileDocument(JournalKind::kManagementReport, state_.coo, print.Finish());
  } else if (state_.coo != before.coo) {
    DocumentPrint print(state_, Now(), state_.coo);
    JournalKind kind = JournalKind::kXReading;
    if (code == kFiscalMemoryReadingCode) {
      kind = JournalKind::kFiscalMemoryReading;
      print.Centred("LEITURA DA MEMÓRIA FISCAL");
    } else if (code == kDetailTapeCode) {
      print.Centred("LEITURA DA FITA-DETALHE");
    } else if (code == kXReadingCodes[0] || code == kXReadingCodes[1]) {
      print.Centred("LEITURA X");
      print.Row("VENDA BRUTA DIÁRIA:", FormatMoney(state_.day.gross));
      print.Row("TOTALIZADOR GERAL:", FormatMoney(state_.grandTotal));
    } else {
      // A receipt or a management report opened: it is filed when it closes.
      if (state_.document != Document::kNone) return;
      print.Centred("DOCUMENTO");
    }
    FileDocument(kind, state_.coo, print.Finish());
  }
  if (state_.cnpj != before.cnpj && !before.cnpj.empty()) {
    // The change is the old owner's last document; the new owner's
    // documents are counted from 1, under the next owner number.
    state_.coo++;
    DocumentPrint print(state_, Now(), state_.coo);
    print.Centred("ALTERAÇÃO DE USUÁRIO");
    print.Row("NOVO USUÁRIO:", Digits(state_.user + 1, 2));
    FileDocument(JournalKind::kUserChange, state_.coo, print.Finish());
    state_.user++;
    state_.coo = 0;
  }
}

void Printer::PrepareDownload(Exchange& x) {
  std::string memory, type, start, end, user;
  if (!x.parameters.Take(1, memory) || !x.parameters.Take(1, type) ||
      !x.parameters.Take(6, start) || !x.parameters.Take(6, end) || !x.parameters.Take(3, user) ||
      x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  int64_t m = 0, t = 0, s = 0, e = 0, u = 0;
  if (!ReadNumber(memory, m) || !ReadNumber(type, t) || !ReadNumber(start, s) ||
      !ReadNumber(end, e) || !ReadNumber(user, u) || m < 1 || m > 3 || t > 2)
    return x.RefuseParameterType();
  if (!RequireNoDocument(x)) return;
  bool badDate = false;
  if (m == 1) state_.downloadImage = FiscalMemoryImage(state_);
  if (m == 2)
    state_.downloadImage =
        SelectJournal(state_.journal, static_cast<int>(t), s, e, static_cast<int>(u), badDate);
  if (m == 3) state_.downloadImage = BasicSoftwareImage(state_);
  if (badDate) return x.Refuse(ext::kDateTimeInvalid, 0, st2::kWrongParameterType);
  const size_t size = state_.downloadImage.size();
  std::string info =
      Digits(static_cast<int64_t>(size), 10) +
      Digits(static_cast<int64_t>((size + kDownloadBlockSize - 1) / kDownloadBlockSize), 6) +
      Fit(state_.serialNumber, 20) + Hex8(Crc32(state_.downloadImage));
  info += Hex8(Crc32(info));
  x.Append(info);
}

void Printer::DownloadBlock(Exchange& x) {
  std::string number;
  int64_t block = 0;
  if (!x.parameters.Take(6, number) || x.parameters.Remaining() != 0)
    return x.RefuseParameterCount();
  if (!ReadNumber(number, block)) return x.RefuseParameterType();
  const size_t offset = static_cast<size_t>(block) * kDownloadBlockSize;
  if (offset >= state_.downloadImage.size()) return x.RefuseNotExecuted(kNoSuchBlock);
  std::string reply;
  PutLittleEndian(reply, static_cast<uint64_t>(block), 4);
  std::string data = state_.downloadImage.substr(offset, kDownloadBlockSize);
  data.resize(kDownloadBlockSize, '\0');
  reply += data;
  PutLittleEndian(reply, Crc32(reply), 4);
  x.Append(reply);
}

}  // namespace taloven::emulator
