#include "monitor/monitor_entry.h"

#include <cstdio>

#include "base/encoding.h"

namespace taloven {

Moment MomentNow() {
  timespec real{}, steady{};
  clock_gettime(CLOCK_REALTIME, &real);
  clock_gettime(CLOCK_MONOTONIC, &steady);
  Moment moment;
  moment.ms = static_cast<int64_t>(steady.tv_sec) * 1000 + steady.tv_nsec / 1000000;
  localtime_r(&real.tv_sec, &moment.local);
  moment.millisecond = static_cast<int>(real.tv_nsec / 1000000);
  return moment;
}

std::string MomentText(const Moment& moment) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", moment.local.tm_hour % 100,
                moment.local.tm_min % 100, moment.local.tm_sec % 100, moment.millisecond % 1000);
  return text;
}

std::string SummaryText(const MonitorCounts& counts) {
  std::string text = W("Resumo do monitor:\n");
  auto line = [&text](const char* label, int64_t value) {
    text += W(label);
    text += std::to_string(value);
    text += '\n';
  };
  line("  trocas: ", counts.exchanges);
  line("  recusados pela impressora: ", counts.refused);
  line("  sem resposta completa: ", counts.unanswered);
  line("  quadros desconhecidos: ", counts.unknown);
  line("  quadros com defeito: ", counts.badFrames);
  line("  NAKs: ", counts.naks);
  line("  bytes fora de quadros: ", counts.strayBytes);
  return text;
}

}  // namespace taloven
