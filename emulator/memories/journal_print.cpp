#include "memories/journal_print.h"

#include <cstdio>

#include "printer/bcd.h"
#include "printer/reports.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

std::string DateTimeText(int64_t when) {
  const std::tm c = Calendar(when);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", c.tm_mday, c.tm_mon + 1,
                c.tm_year + 1900, c.tm_hour, c.tm_min, c.tm_sec);
  return buffer;
}

}  // namespace

std::string JournalTime(int64_t when) {
  const std::tm c = Calendar(when);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d%02d%04d%02d%02d%02d", c.tm_mday, c.tm_mon + 1,
                c.tm_year + 1900, c.tm_hour, c.tm_min, c.tm_sec);
  return buffer;
}

DocumentPrint::DocumentPrint(const PrinterState& state, int64_t when, int coo)
    : state_(state), when_(when) {
  size_t start = 0;
  while (start < state.cliche.size()) {
    size_t end = state.cliche.find('\n', start);
    if (end == std::string::npos) end = state.cliche.size();
    Line850(state.cliche.substr(start, std::min(end - start, kLineWidth)));
    start = end + 1;
  }
  Line("CNPJ:" + state.cnpj);
  Line("IE:" + state.ie);
  if (!state.im.empty()) Line("IM:" + state.im);
  Rule();
  const std::string counters =
      "CCF:" + FormatCounter(state.ccf, 6) + " COO:" + FormatCounter(coo, 6);
  Row(DateTimeText(when), counters);
}

void DocumentPrint::Line(std::string_view utf8) {
  Line850(Utf8To850(utf8));
}

void DocumentPrint::Line850(const std::string& line) {
  text_ += line.substr(0, kLineWidth);
  text_ += '\n';
}

void DocumentPrint::Row(std::string_view label, const std::string& value) {
  std::string line = Utf8To850(label);
  const size_t used = line.size() + value.size();
  line.append(used < kLineWidth ? kLineWidth - used : 1, ' ');
  Line850(line + value);
}

void DocumentPrint::Centred(std::string_view utf8) {
  const std::string middle = Utf8To850(utf8);
  const size_t left = middle.size() < kLineWidth ? (kLineWidth - middle.size()) / 2 : 0;
  const size_t right = kLineWidth > left + middle.size() ? kLineWidth - left - middle.size() : 0;
  Line850(std::string(left, ' ') + middle + std::string(right, ' '));
}

void DocumentPrint::Rule() {
  Line850(std::string(kLineWidth, '-'));
}

std::string DocumentPrint::Finish() {
  Rule();
  // Maker, model and type in columns 0, 16 and 37, the line filled to the
  // paper's width: the form journal readers look for.
  Line850(Fit(Fit(state_.maker, 16) + Fit(state_.model, 21) + state_.type, kLineWidth));
  Line("VERSÃO:" + state_.firmware + " ECF:" + FormatCounter(state_.registerNumber, 3) +
       " LJ:" + FormatCounter(state_.storeNumber, 4));
  Line850("FAB:" + Fit(state_.serialNumber, 20) + "    " + DateTimeText(when_));
  return std::move(text_);
}

}  // namespace taloven::emulator
