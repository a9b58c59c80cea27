#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// Reads a number the way C's atoi does: leading white space, an optional
// sign, then digits; no number gives 0. Values beyond 32 bits saturate.
int32_t ReadLeadingNumber(std::string_view text);

struct CommandParameter {
  virtual ~CommandParameter() = default;
  int32_t size = 0;
  int32_t mandatory = 1;
  std::string title;
  std::string type;
  std::string value;
};

struct ReturnField {
  virtual ~ReturnField() = default;
  int32_t size = 0;
  std::string title;
  std::string type;
  std::string value;
};

// The encoded command frame. It never grows past its 4096 bytes: Append
// refuses what would not fit.
struct FrameBuffer {
  static constexpr size_t kCapacity = 4096;
  std::array<uint8_t, kCapacity> data{};
  uint32_t length = 0;

  bool Append(const uint8_t* bytes, size_t count);
  bool Append(std::string_view bytes) {
    return Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  bool AppendByte(uint8_t byte) { return Append(&byte, 1); }
  // Writes STX and the length and appends the byte-sum checksum; false when
  // the two checksum bytes would not fit.
  bool Seal();
  std::vector<uint8_t> Bytes() const { return {data.begin(), data.begin() + length}; }
};

struct CommandRecord {
  static constexpr int kMaxEscapeBytes = 12;

  CommandRecord() = default;
  CommandRecord(const CommandRecord&) = default;
  CommandRecord& operator=(const CommandRecord&) = default;
  // A move hands the texts and lists over; only the frame is copied.
  CommandRecord(CommandRecord&&) noexcept = default;
  CommandRecord& operator=(CommandRecord&&) noexcept = default;
  virtual ~CommandRecord() = default;

  uint32_t equipmentMask = 0;
  int32_t replyLength = 0;
  FrameBuffer frame;
  std::vector<uint8_t> replyBytes;
  std::string dumpText;
  std::string group;
  std::string title;
  std::string escapeText;
  std::string returnType;
  std::string formattedReturn;
  int32_t escapeLength = 0;
  std::array<uint8_t, kMaxEscapeBytes> escapeBytes{};
  int32_t parameterCount = 0;
  std::vector<CommandParameter> parameters;
  int32_t returnFieldCount = 0;
  std::vector<ReturnField> returnFields;
  int32_t returnSize = 0;

  // Set when the escape text holds more byte values than the record has room
  // for: the first twelve are kept, and execution refuses to send the command
  // rather than send a different one.
  bool escapeTooLong = false;

  void SetTitle(std::string text) { title = std::move(text); }
  // Stores the text and parses it into escapeBytes and escapeLength: pieces
  // cut at every single blank, each read as a number, its low 8 bits kept.
  void SetEscapeText(std::string text);
  void SetReturnSize(int32_t size) { returnSize = size; }
  void AppendParameter(CommandParameter parameter);
  void AppendReturnField(ReturnField field);
};

}  // namespace taloven
