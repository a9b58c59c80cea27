#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// Reads a number the way C's atoi does: leading white space, an optional
// sign, then digits; no number gives 0. Values beyond 32 bits saturate.
int32_t ReadLeadingNumber(std::string_view text);

struct CommandParameter {
  CommandParameter() = default;
  CommandParameter(const CommandParameter&) = default;
  CommandParameter(CommandParameter&&) noexcept = default;
  CommandParameter& operator=(const CommandParameter&) = default;
  CommandParameter& operator=(CommandParameter&&) noexcept = default;
  virtual ~CommandParameter() = default;
  int32_t size = 0;
  int32_t mandatory = 1;
  std::string title;
  std::string type;
  std::string value;
};

struct ReturnField {
  ReturnField() = default;
  ReturnField(const ReturnField&) = default;
  ReturnField(ReturnField&&) noexcept = default;
  ReturnField& operator=(const ReturnField&) = default;
  ReturnField& operator=(ReturnField&&) noexcept = default;
  virtual ~ReturnField() = default;
  int32_t size = 0;
  std::string title;
  std::string type;
  std::string value;
};

struct CommandRecord {
  static constexpr int kMaxEscapeBytes = 12;

  // Copied whole when handed on; moved into the catalogue as it is read.
  CommandRecord() = default;
  CommandRecord(const CommandRecord&) = default;
  CommandRecord(CommandRecord&&) noexcept = default;
  CommandRecord& operator=(const CommandRecord&) = default;
  CommandRecord& operator=(CommandRecord&&) noexcept = default;
  virtual ~CommandRecord() = default;

  uint32_t equipmentMask = 0;
  int32_t replyLength = 0;
  // The encoded frame of its latest sending, empty until one is built and
  // after a refusal.
  std::vector<uint8_t> frame;
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
