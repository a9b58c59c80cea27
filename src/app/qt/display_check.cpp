#include "app/qt/display_check.h"

namespace taloven {

std::string MissingDisplayMessage(const std::function<std::string(const char*)>& environment,
                                  bool platformArgument) {
  if (platformArgument) return "";
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (!environment(name).empty()) return "";
  return "taloven: nenhuma tela gráfica disponível (DISPLAY e WAYLAND_DISPLAY vazios).\n"
         "O Taloven precisa de uma tela; numa máquina sem tela, use uma tela virtual:\n"
         "    xvfb-run -a ./scripts/run\n";
}

}  // namespace taloven
