#include <cstdio>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/loopback_test.h"
#include "link_command_support.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// Bytes lost or changed on the way round: told apart from a port that does
// not open (4) as a difference found, like a verification's.
constexpr int kLoopbackFaultStatus = 9;

}  // namespace

int RunPortTestCommand(CommandContext& context) {
  if (context.arguments.size() != 1)
    return context.UsageError(W("port-test precisa do nome da porta, e só dele"));
  const std::string& name = context.arguments[0];
  DefaultPortFactory ports;
  InterruptCancel interrupts;
  const std::vector<LoopbackResult> results =
      RunLoopbackTest(ports, name, LoopbackSpeeds(), &InterruptCancel::Requested);
  bool clean = true;
  for (const LoopbackResult& result : results) {
    if (!result.failure.empty()) {
      context.Fail(W("porta ") + context.ToCore(name) + ": " + result.failure);
      return ExitStatusFor(-4);
    }
    // The table starts with its first row, so that a port that does not
    // open says only why.
    if (&result == &results.front())
      context.out << context.Out(W("velocidade  enviados  recebidos  perdidos  alterados")) << '\n';
    char line[96];
    std::snprintf(line, sizeof line, "%10d  %8d  %9d  %8d  %9d", result.baudRate, result.sent,
                  result.received, result.sent - result.received, result.changed);
    context.out << line << '\n';
    clean = clean && result.Clean();
  }
  if (InterruptCancel::Requested()) {
    context.Fail(W("teste interrompido"));
    return ExitStatusFor(-5);
  }
  if (!clean) {
    context.out << context.Out(
                       W("bytes perdidos ou alterados: o adaptador, o cabo ou o plugue de teste "
                         "está com defeito"))
                << '\n';
    return kLoopbackFaultStatus;
  }
  context.out << context.Out(W("todos os bytes voltaram intactos: o adaptador está bom")) << '\n';
  return context.out ? 0 : 1;
}

}  // namespace taloven
