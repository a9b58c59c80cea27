#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/clock.h"
#include "link/dump_text.h"
#include "link/execute.h"
#include "link/frame_buffer.h"
#include "link/frame_builder.h"
#include "link/reply_results.h"
#include "link_command_support.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// A reply to ETX that never ends is given up after this long, when --timeout
// sets no other bound: a printer's own edge cases must not hang the command.
constexpr int kVariableReplyBoundMs = 20000;

struct RawRequest {
  std::vector<std::string> hex;
  int replySize = -1;  // data bytes after the header; -1 reads to ETX
  bool bare = false;   // --bytes: no frame around the bytes
};

bool ParseReplySize(const std::string& text, int* size) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 7)
    return false;
  *size = static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
  return *size <= kMaxReturnSize;
}

// False, reported, for a usage error.
bool ReadRequest(const CommandContext& context, RawRequest* request) {
  const std::vector<std::string>& args = context.arguments;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--bytes") {
      request->bare = true;
    } else if (args[i] == "--reply-size") {
      if (i + 1 >= args.size() || !ParseReplySize(args[++i], &request->replySize)) {
        context.UsageError(W("--reply-size pede um número de bytes, de 0 a 1048576"));
        return false;
      }
    } else {
      request->hex.push_back(args[i]);
    }
  }
  if (request->hex.empty()) {
    context.UsageError(W("faltam os bytes a enviar"));
    return false;
  }
  return true;
}

}  // namespace

int RunRawCommand(CommandContext& context) {
  RawRequest request;
  if (!ReadRequest(context, &request)) return 1;
  std::vector<uint8_t> bytes;
  if (!ParseHexBytes(request.hex, &bytes) || bytes.empty())
    return context.UsageError(W("bytes inválidos: dê pares hexadecimais, como 23 3C"));
  const bool extended = context.settings.extendedReturn != 0;

  CommandRecord record;
  record.title = W("Bytes avulsos");
  for (uint8_t byte : bytes) AppendDumpByte(record.escapeText, byte);
  record.escapeText.erase(0, 1);
  record.replyLength = extended ? kExtendedHeaderCount : kHeaderCount;
  record.returnSize = request.replySize;
  if (request.bare) {
    record.frame = bytes;
  } else {
    FrameBuffer frame;
    frame.Start();
    frame.AppendByte(extended ? kExtendedStartByte : kStartByte);
    if (!frame.Append(bytes.data(), bytes.size()) || !frame.Seal())
      return context.Fail(W("bytes demais: o quadro passaria de 4096 bytes"));
    record.frame = frame.Bytes();
  }
  record.formattedReturn = ResultsHeader(record.title);

  DefaultPortFactory ports;
  const int bound = context.options.timeoutMs > 0 || request.replySize >= 0
                        ? context.options.timeoutMs
                        : kVariableReplyBoundMs;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings, context.ui, ports, RealClock(), bound, &refusals};
  int result = kExecuteOk;
  {
    InterruptCancel interrupts;
    result = ExchangeFrame(record, execution);
  }
  // The bytes that went and came, then what send would show for them.
  std::string received;
  if (const size_t at = record.dumpText.find("RET:"); at != std::string::npos)
    received = record.dumpText.substr(
        std::min(record.dumpText.size(), record.dumpText.find_first_not_of(' ', at + 4)));
  while (!received.empty() && (received.back() == '\n' || received.back() == '\r'))
    received.pop_back();
  std::string sent;
  for (uint8_t byte : record.frame) AppendDumpByte(sent, byte);
  return WithRefusals(
      context, refusals,
      PrintResults(context, ">" + sent + "\n< " + received + "\n" + record.formattedReturn,
                   result));
}

}  // namespace taloven
