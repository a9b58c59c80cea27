#include "printer/state_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "base/atomic_file.h"
#include "base/read_file.h"
#include "memories/memory_files.h"
#include "printer/exchange.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

std::string Escape(const std::string& cp850) {
  std::string out;
  for (char c : cp850) {
    const auto byte = static_cast<uint8_t>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else if (byte >= 0x80) {
      const std::string utf8 = Cp850ToUtf8(std::string(1, c));
      if (utf8 == "?") {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", byte);
        out += hex;
      } else {
        out += utf8;
      }
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool Unescape(const std::string& text, std::string& cp850) {
  cp850.clear();
  std::string plain;
  auto flush = [&] {
    cp850 += Utf8To850(plain);
    plain.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain.push_back(text[i]);
      continue;
    }
    flush();
    if (i + 1 >= text.size()) return false;
    const char next = text[++i];
    if (next == '\\') {
      cp850.push_back('\\');
    } else if (next == 'n') {
      cp850.push_back('\n');
    } else if (next == 'x' && i + 2 < text.size()) {
      unsigned value = 0;
      if (std::sscanf(text.substr(i + 1, 2).c_str(), "%2X", &value) != 1) return false;
      cp850.push_back(static_cast<char>(value));
      i += 2;
    } else {
      return false;
    }
  }
  flush();
  return true;
}

// One field of the state: how to write it and how to read it back.
struct Field {
  std::string key;
  std::function<std::string(const PrinterState&)> get;
  std::function<bool(PrinterState&, const std::string&)> set;
};

bool ParseInteger(const std::string& text, int64_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  value = parsed;
  return true;
}

template <typename T>
Field Number(std::string key, T PrinterState::*member) {
  return {
      key,
      [member](const PrinterState& s) { return std::to_string(static_cast<int64_t>(s.*member)); },
      [member](PrinterState& s, const std::string& v) {
        int64_t n = 0;
        if (!ParseInteger(v, n)) return false;
        s.*member = static_cast<T>(n);
        return true;
      }};
}

Field Flag(std::string key, bool PrinterState::*member) {
  return {key, [member](const PrinterState& s) { return std::string(s.*member ? "1" : "0"); },
          [member](PrinterState& s, const std::string& v) {
            if (v != "0" && v != "1") return false;
            s.*member = v == "1";
            return true;
          }};
}

Field Text(std::string key, std::string PrinterState::*member) {
  return {key, [member](const PrinterState& s) { return Escape(s.*member); },
          [member](PrinterState& s, const std::string& v) { return Unescape(v, s.*member); }};
}

std::string Key(const char* table, size_t index, const char* field) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s.%02zu.%s", table, index + 1, field);
  return buffer;
}

template <typename Element, typename Member, size_t N>
void TableNumbers(std::vector<Field>& fields, const char* table,
                  std::array<Element, N> PrinterState::*array, const char* name,
                  Member Element::*member) {
  for (size_t i = 0; i < N; ++i) {
    fields.push_back({Key(table, i, name),
                      [=](const PrinterState& s) { return std::to_string((s.*array)[i].*member); },
                      [=](PrinterState& s, const std::string& v) {
                        int64_t n = 0;
                        if (!ParseInteger(v, n)) return false;
                        (s.*array)[i].*member = static_cast<Member>(n);
                        return true;
                      }});
  }
}

template <typename Element, size_t N>
void TableTexts(std::vector<Field>& fields, const char* table,
                std::array<Element, N> PrinterState::*array, const char* name,
                std::string Element::*member) {
  for (size_t i = 0; i < N; ++i) {
    fields.push_back({Key(table, i, name),
                      [=](const PrinterState& s) { return Escape((s.*array)[i].*member); },
                      [=](PrinterState& s, const std::string& v) {
                        return Unescape(v, (s.*array)[i].*member);
                      }});
  }
}

Field DayTotal(std::string key, Cents DayTotals::*member) {
  return {key, [member](const PrinterState& s) { return std::to_string(s.day.*member); },
          [member](PrinterState& s, const std::string& v) {
            int64_t n = 0;
            if (!ParseInteger(v, n)) return false;
            s.day.*member = n;
            return true;
          }};
}

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = [] {
    std::vector<Field> f = {
        Text("maker", &PrinterState::maker),
        Text("model", &PrinterState::model),
        Text("type", &PrinterState::type),
        Text("firmware", &PrinterState::firmware),
        Text("serialNumber", &PrinterState::serialNumber),
        Flag("intervention", &PrinterState::intervention),
        Text("cnpj", &PrinterState::cnpj),
        Text("ie", &PrinterState::ie),
        Text("im", &PrinterState::im),
        Text("uf", &PrinterState::uf),
        Text("cliche", &PrinterState::cliche),
        Flag("passengerTicket", &PrinterState::passengerTicket),
        Number("registerNumber", &PrinterState::registerNumber),
        Number("storeNumber", &PrinterState::storeNumber),
        Number("clockOffset", &PrinterState::clockOffset),
        Flag("daylightSaving", &PrinterState::daylightSaving),
        Number("taxRateCount", &PrinterState::taxRateCount),
        Text("promotionalMessage", &PrinterState::promotionalMessage),
        Flag("additionalCoupon", &PrinterState::additionalCoupon),
        Flag("issDiscount", &PrinterState::issDiscount),
        Flag("linkedToNonFiscal", &PrinterState::linkedToNonFiscal),
        Flag("rvInConference", &PrinterState::rvInConference),
        Flag("automaticZ", &PrinterState::automaticZ),
        Flag("restaurant", &PrinterState::restaurant),
        Number("conferenceParameter", &PrinterState::conferenceParameter),
        Flag("truncation", &PrinterState::truncation),
        Number("coo", &PrinterState::coo),
        Number("crz", &PrinterState::crz),
        Number("cro", &PrinterState::cro),
        Number("ccf", &PrinterState::ccf),
        Number("gnf", &PrinterState::gnf),
        Number("grg", &PrinterState::grg),
        Number("cdc", &PrinterState::cdc),
        Number("ncn", &PrinterState::ncn),
        Number("cfc", &PrinterState::cfc),
        Number("cfd", &PrinterState::cfd),
        Number("printedLines", &PrinterState::printedLines),
        Number("grandTotal", &PrinterState::grandTotal),
        Number("movementDay", &PrinterState::movementDay),
        Number("zDay", &PrinterState::zDay),
        DayTotal("day.gross", &DayTotals::gross),
        DayTotal("day.icmsCancelled", &DayTotals::icmsCancelled),
        DayTotal("day.icmsDiscount", &DayTotals::icmsDiscount),
        DayTotal("day.icmsSurcharge", &DayTotals::icmsSurcharge),
        DayTotal("day.issCancelled", &DayTotals::issCancelled),
        DayTotal("day.issDiscount", &DayTotals::issDiscount),
        DayTotal("day.issSurcharge", &DayTotals::issSurcharge),
        DayTotal("day.icmsSubstitution", &DayTotals::icmsSubstitution),
        DayTotal("day.icmsExempt", &DayTotals::icmsExempt),
        DayTotal("day.icmsNonIncidence", &DayTotals::icmsNonIncidence),
        DayTotal("day.issSubstitution", &DayTotals::issSubstitution),
        DayTotal("day.issExempt", &DayTotals::issExempt),
        DayTotal("day.issNonIncidence", &DayTotals::issNonIncidence),
        DayTotal("day.nonFiscalCancelled", &DayTotals::nonFiscalCancelled),
        DayTotal("day.nonFiscalDiscount", &DayTotals::nonFiscalDiscount),
        DayTotal("day.nonFiscalSurcharge", &DayTotals::nonFiscalSurcharge),
        DayTotal("day.change", &DayTotals::change),
        Number("document", &PrinterState::document),
        Number("lastDocument", &PrinterState::lastDocument),
        Number("subtotalDiscount", &PrinterState::subtotalDiscount),
        Number("subtotalSurcharge", &PrinterState::subtotalSurcharge),
        Number("paid", &PrinterState::paid),
        Text("consumer", &PrinterState::consumer),
        Flag("ticketOpen", &PrinterState::ticketOpen),
        Number("lastNonFiscalSlot", &PrinterState::lastNonFiscalSlot),
        Number("lastNonFiscalValue", &PrinterState::lastNonFiscalValue),
        Number("lastNonFiscalPayment", &PrinterState::lastNonFiscalPayment),
        Number("lastReceiptTotal", &PrinterState::lastReceiptTotal),
        Number("openReport", &PrinterState::openReport),
    };
    for (size_t i = 0; i < kPaymentSlots; ++i) {
      f.push_back({Key("receiptPayment", i, "value"),
                   [i](const PrinterState& s) { return std::to_string(s.receiptPayments[i]); },
                   [i](PrinterState& s, const std::string& v) {
                     int64_t n = 0;
                     if (!ParseInteger(v, n)) return false;
                     s.receiptPayments[i] = n;
                     return true;
                   }});
    }
    TableNumbers(f, "taxRate", &PrinterState::taxRates, "hundredths", &TaxRate::hundredths);
    TableNumbers(f, "taxRate", &PrinterState::taxRates, "iss", &TaxRate::iss);
    TableNumbers(f, "taxRate", &PrinterState::taxRates, "total", &TaxRate::total);
    TableTexts(f, "nonFiscal", &PrinterState::nonFiscal, "name", &NonFiscalTotalizer::name);
    TableNumbers(f, "nonFiscal", &PrinterState::nonFiscal, "count", &NonFiscalTotalizer::count);
    TableNumbers(f, "nonFiscal", &PrinterState::nonFiscal, "total", &NonFiscalTotalizer::total);
    TableTexts(f, "payment", &PrinterState::payments, "name", &PaymentForm::name);
    TableNumbers(f, "payment", &PrinterState::payments, "tef", &PaymentForm::tef);
    TableNumbers(f, "payment", &PrinterState::payments, "total", &PaymentForm::total);
    TableNumbers(f, "payment", &PrinterState::payments, "lastCoupon", &PaymentForm::lastCoupon);
    TableTexts(f, "report", &PrinterState::reports, "name", &ManagementReport::name);
    TableNumbers(f, "report", &PrinterState::reports, "count", &ManagementReport::count);
    return f;
  }();
  return fields;
}

// A reduction is one line: crz coo when gross grandTotal.
bool ParseReduction(const std::string& value, ZRecord& z) {
  std::istringstream in(value);
  long long crz = 0, coo = 0, when = 0, gross = 0, total = 0;
  if (!(in >> crz >> coo >> when >> gross >> total)) return false;
  z = {static_cast<int>(crz), static_cast<int>(coo), when, gross, total};
  return in.eof() || (in >> std::ws).eof();
}

// A sold item of the receipt is one line: the three texts, then quantity,
// unit price, gross, discount, surcharge and the cancelled flag, separated
// by '|' (escaped texts never hold one).
std::string ItemLine(const SoldItem& item) {
  auto bar = [](const std::string& text) {
    std::string out;
    for (char c : Escape(text)) out += c == '|' ? std::string("\\x7C") : std::string(1, c);
    return out;
  };
  return bar(item.code) + "|" + bar(item.description) + "|" + bar(item.tax) + "|" +
         std::to_string(item.quantity) + "|" + std::to_string(item.unitPrice) + "|" +
         std::to_string(item.gross) + "|" + std::to_string(item.discount) + "|" +
         std::to_string(item.surcharge) + "|" + (item.cancelled ? "1" : "0");
}

bool ParseItem(const std::string& value, SoldItem& item) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar = value.find('|'); bar != std::string::npos; bar = value.find('|', start)) {
    parts.push_back(value.substr(start, bar - start));
    start = bar + 1;
  }
  parts.push_back(value.substr(start));
  if (parts.size() != 9) return false;
  int64_t numbers[6] = {};
  for (int k = 0; k < 6; ++k)
    if (!ParseInteger(parts[static_cast<size_t>(3 + k)], numbers[k])) return false;
  if (numbers[5] != 0 && numbers[5] != 1) return false;
  if (!Unescape(parts[0], item.code) || !Unescape(parts[1], item.description) ||
      !Unescape(parts[2], item.tax))
    return false;
  item.quantity = numbers[0];
  item.unitPrice = numbers[1];
  item.gross = numbers[2];
  item.discount = numbers[3];
  item.surcharge = numbers[4];
  item.cancelled = numbers[5] == 1;
  return true;
}

}  // namespace

std::string StateToText(const PrinterState& state) {
  std::string out =
      "# taloven-emulator printer state: one \"key = value\" a line; money in cents,\n"
      "# rates in hundredths of a percent, days and times on the printer's clock.\n"
      "# document: 0 none, 1 receipt selling, 2 totalized, 3 paid, 4 management report.\n";
  for (const Field& field : Fields()) out += field.key + " = " + field.get(state) + "\n";
  for (const ZRecord& z : state.zHistory) {
    out += "reduction = " + std::to_string(z.crz) + " " + std::to_string(z.coo) + " " +
           std::to_string(z.when) + " " + std::to_string(z.gross) + " " +
           std::to_string(z.grandTotal) + "\n";
  }
  for (const SoldItem& item : state.items) out += "item = " + ItemLine(item) + "\n";
  return out;
}

Status StateFromText(const std::string& text, PrinterState& state) {
  std::map<std::string, const Field*> byKey;
  for (const Field& field : Fields()) byKey[field.key] = &field;
  PrinterState read = state;
  read.zHistory.clear();
  read.items.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find(" = ");
    const std::string key = equals == std::string::npos ? line : line.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : line.substr(equals + 3);
    auto fail = [&](const std::string& why) {
      return Status::Failure("line " + std::to_string(number) + ": " + why);
    };
    if (equals == std::string::npos) return fail("no \" = \" in \"" + line + "\"");
    if (key == "reduction") {
      ZRecord z;
      if (!ParseReduction(value, z)) return fail("bad reduction \"" + value + "\"");
      read.zHistory.push_back(z);
      continue;
    }
    if (key == "item") {
      SoldItem item;
      if (!ParseItem(value, item)) return fail("bad item \"" + value + "\"");
      read.items.push_back(item);
      continue;
    }
    const auto found = byKey.find(key);
    if (found == byKey.end()) return fail("unknown key \"" + key + "\"");
    if (!found->second->set(read, value))
      return fail("bad value for " + key + ": \"" + value + "\"");
  }
  if (read.taxRateCount < 0 || read.taxRateCount > kTaxRateSlots) {
    return Status::Failure("taxRateCount must be 0 to 16");
  }
  const int document = static_cast<int>(read.document);
  const int last = static_cast<int>(read.lastDocument);
  if (document < 0 || document > static_cast<int>(Document::kManagementReport) || last < 0 ||
      last > static_cast<int>(LastDocument::kNonFiscal) ||
      read.lastNonFiscalSlot >= kNonFiscalSlots || read.lastNonFiscalPayment >= kPaymentSlots ||
      read.openReport > kReportSlots ||
      (read.lastDocument == LastDocument::kNonFiscal && read.lastNonFiscalSlot < 0) ||
      (read.document == Document::kManagementReport && read.openReport < 1)) {
    return Status::Failure("the document in progress is not one this printer knows");
  }
  for (const SoldItem& item : read.items) {
    int64_t rate = 0;
    const bool fixed = item.tax == "II" || item.tax == "NN" || item.tax == "FF" ||
                       item.tax == "IS" || item.tax == "NS" || item.tax == "FS";
    if (!fixed && !(ReadDigits(item.tax, rate) && rate >= 1 && rate <= kTaxRateSlots)) {
      return Status::Failure("item with unknown tax \"" + item.tax + "\"");
    }
  }
  state = std::move(read);
  return {};
}

Status LoadStateFile(const std::string& path, PrinterState& state) {
  std::string content;
  const Status read = ReadWholeFile(path, content);
  if (!read.ok()) {
    if (read.systemError() == ENOENT) return {};
    return Status::Failure(path + ": " + std::strerror(read.systemError()), read.systemError());
  }
  if (const Status parsed = StateFromText(content, state); !parsed.ok())
    return Status::Failure(path + ": " + parsed.message());
  return LoadMemoryFiles(path, state);
}

Status SaveStateFile(const std::string& path, const PrinterState& state) {
  if (const Status written = WriteFileAtomically(path, StateToText(state)); !written.ok())
    return Status::Failure(path + ": " + written.message(), written.systemError());
  return SaveMemoryFiles(path, state);
}

}  // namespace taloven::emulator
