#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace taloven {

// The scanner's receive buffer: a symbol longer than this is not taken.
constexpr size_t kScannerBufferBytes = 1024;

// What became of one symbol's bytes.
enum class SymbolVerdict {
  Stored,
  Repeated,
  TooShort,  // fewer bytes than a head and a trailer, or a piece cut short
  OtherSet,  // not a piece of the set being read
  TooLong,   // did not fit the receive buffer
};

// The texts of the capture window.
struct CaptureDisplay {
  std::string setSize;    // "Total de símbolos do conjunto:"
  std::string readCount;  // "Total de símbolos já lidos:"
  std::string status;     // "Resultado da Leitura"
  std::string dump;       // "Dump"
};

// The symbols of one capture, by number, and the window's texts about them.
// Not locked: its owner guards it.
class CaptureState {
 public:
  void Clear();

  // Judges one symbol's received bytes (head, payload and trailer), stores
  // it when it belongs, and rewrites the status and the dump.
  SymbolVerdict Accept(std::string_view received);
  // A symbol that overflowed the buffer: the bytes that fitted are dumped.
  void RejectTooLong(std::string_view held);
  // A fault of the line, shown where the symbols' results are.
  void ShowLineError(const std::string& text) { display_.status = text; }

  bool SetKnown() const { return count_ > 0; }
  uint32_t SetSize() const { return count_; }
  uint32_t ReadCount() const { return static_cast<uint32_t>(symbols_.size()); }
  bool AllRead() const { return SetKnown() && ReadCount() == count_; }
  // The stored payloads in order of offset, without heads and trailers; a
  // symbol not read leaves no gap.
  std::string Payload() const;
  const CaptureDisplay& Display() const { return display_; }

 private:
  void SetStatus(const std::string& status, std::string_view received);

  uint32_t total_ = 0;
  uint32_t count_ = 0;
  std::map<uint32_t, std::string> symbols_;  // received bytes by symbol number
  CaptureDisplay display_;
};

// Bytes as the dump shows them: 8 a line, each line led by its offset.
std::string DumpText(std::string_view bytes);

}  // namespace taloven
