#include "ui/help_topics.h"

#include <array>

namespace taloven {
namespace {

constexpr std::array<HelpPage, 11> kPages = {{
    {HelpTopic::kMainWindow, 1000, "janela_principal.html"},
    {HelpTopic::kSendCommand, 1010, "enviar_comando.html"},
    {HelpTopic::kResults, 1020, "resultados.html"},
    {HelpTopic::kSettings, 1030, "configuracoes.html"},
    {HelpTopic::kSequences, 1040, "sequencias.html"},
    {HelpTopic::kTotalsVerifier, 1050, "verificador_totais.html"},
    {HelpTopic::kProgramming, 1060, "programar_equipamento.html"},
    {HelpTopic::kMfdWindow, 1070, "janela_mfd.html"},
    {HelpTopic::kScanner, 1080, "captura_pdf417.html"},
    {HelpTopic::kInstalling, 1090, "instalacao.html"},
    {HelpTopic::kCommandLine, 1100, "linha_de_comando.html"},
}};

}  // namespace

std::span<const HelpPage> HelpPages() {
  return kPages;
}

const HelpPage& HelpPageOf(HelpTopic topic) {
  return kPages[static_cast<size_t>(topic)];
}

}  // namespace taloven
