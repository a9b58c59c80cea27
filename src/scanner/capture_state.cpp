#include "scanner/capture_state.h"

#include <cstdio>

#include "base/encoding.h"
#include "formats/symbol_record.h"

namespace taloven {

void CaptureState::Clear() {
  total_ = 0;
  count_ = 0;
  symbols_.clear();
  display_ = CaptureDisplay{};
}

SymbolVerdict CaptureState::Accept(std::string_view received) {
  SymbolRecord record;
  switch (ReadSymbolRecord(received, record)) {
    case SymbolCheck::TooShort:
      SetStatus(W("Símbolo incompleto: descartado"), received);
      return SymbolVerdict::TooShort;
    case SymbolCheck::OutOfSet:
      SetStatus(W("Símbolo de outro conjunto: descartado"), received);
      return SymbolVerdict::OtherSet;
    case SymbolCheck::Sound:
      break;
  }
  // A symbol of another journal would otherwise land in this one's table.
  if (SetKnown() && record.total != total_) {
    SetStatus(W("Símbolo de outro conjunto: descartado"), received);
    return SymbolVerdict::OtherSet;
  }
  const uint32_t number = SymbolNumber(record.offset);
  if (symbols_.count(number) != 0) {
    SetStatus(W("Símbolo já foi lido"), received);
    return SymbolVerdict::Repeated;
  }
  if (!SetKnown()) {
    total_ = record.total;
    count_ = SymbolCount(record.total);
    display_.setSize = std::to_string(count_);
  }
  symbols_.emplace(number, std::string(received));
  char status[64];
  std::snprintf(status, sizeof status, "%u/%u", number + 1, count_);
  SetStatus(W("Símbolo lido: ") + status, received);
  display_.readCount = std::to_string(ReadCount());
  return SymbolVerdict::Stored;
}

void CaptureState::RejectTooLong(std::string_view held) {
  SetStatus(W("Símbolo maior que o buffer de 1024 bytes: descartado"), held);
}

std::string CaptureState::Payload() const {
  std::string payload;
  for (const auto& [number, bytes] : symbols_) {
    // Stored only once judged sound, so the record reads back.
    SymbolRecord record;
    ReadSymbolRecord(bytes, record);
    payload += record.payload;
  }
  return payload;
}

void CaptureState::SetStatus(const std::string& status, std::string_view received) {
  display_.status = status;
  display_.dump = DumpText(received);
}

std::string DumpText(std::string_view bytes) {
  std::string text;
  char piece[16];
  for (size_t at = 0; at < bytes.size(); at += 8) {
    std::snprintf(piece, sizeof piece, "%06X  ", static_cast<unsigned>(at));
    text += piece;
    for (size_t i = at; i < at + 8 && i < bytes.size(); ++i) {
      std::snprintf(piece, sizeof piece, "%02X ", static_cast<uint8_t>(bytes[i]));
      text += piece;
    }
    text += '\n';
  }
  return text;
}

}  // namespace taloven
