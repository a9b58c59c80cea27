#include "link/frame_builder.h"

#include <algorithm>
#include <string>

#include "base/encoding.h"
#include "link/execute.h"
#include "link/frame_buffer.h"
#include "link/parameter_encoding.h"
#include "resources/strings.h"

namespace taloven {
namespace {

int Refuse(CommandRecord& record, int code, const std::string& text) {
  record.frame.clear();
  record.formattedReturn += text;
  return code;
}

int RefuseTooLong(CommandRecord& record) {
  return Refuse(record, kExecuteWrongSize,
                W("Parâmetros longos demais: o comando passaria de 4096 bytes e não foi "
                  "enviado"));
}

}  // namespace

int BuildCommandFrame(CommandRecord& record, bool extendedReturn) {
  if (record.escapeTooLong) {
    return Refuse(record, kExecuteWrongSize,
                  W("Código do comando com mais de 12 bytes: o comando não foi enviado"));
  }
  if (record.returnSize > kMaxReturnSize) {
    return Refuse(record, kExecuteWrongSize,
                  W("Tamanho de retorno do catálogo grande demais: o comando não foi enviado"));
  }
  FrameBuffer frame;
  frame.Start();
  frame.AppendByte(extendedReturn ? kExtendedStartByte : kStartByte);
  record.replyLength = extendedReturn ? kExtendedHeaderCount : kHeaderCount;
  const int escapeLength = std::clamp(record.escapeLength, 0, CommandRecord::kMaxEscapeBytes);
  frame.Append(record.escapeBytes.data(), static_cast<size_t>(escapeLength));

  std::string bytes;
  for (CommandParameter& parameter : record.parameters) {
    if (parameter.value.empty()) {
      if (parameter.mandatory && parameter.type != "NOT_EDITABLE")
        return Refuse(record, kExecuteMandatoryEmpty, Str(StrId::kMandatoryParameterEmpty));
      if (!parameter.mandatory) continue;
    }
    bytes.clear();
    switch (EncodeParameter(parameter, bytes)) {
      case EncodeOutcome::Added:
        // Two bytes of checksum must still fit behind the parameters.
        if (bytes.size() + 2 > FrameBuffer::kCapacity - frame.length) return RefuseTooLong(record);
        frame.Append(bytes);
        break;
      case EncodeOutcome::Skipped:
        break;
      case EncodeOutcome::WrongSize:
        if (parameter.mandatory)
          return Refuse(record, kExecuteWrongSize, Str(StrId::kParameterWrongSize));
        break;
      case EncodeOutcome::TooLong:
        return RefuseTooLong(record);
    }
  }
  if (!frame.Seal()) return RefuseTooLong(record);
  record.frame = frame.Bytes();
  return 0;
}

bool IsVariableLengthReply(const CommandRecord& record) {
  if (record.returnSize < 0) return true;
  constexpr uint32_t kReadingModeByte = 17;
  return record.escapeLength > 0 && record.escapeBytes[0] == 8 &&
         record.frame.size() > kReadingModeByte &&
         (record.frame[kReadingModeByte] == 'R' || record.frame[kReadingModeByte] == 'r');
}

}  // namespace taloven
