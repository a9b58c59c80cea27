#include "resources/strings.h"

#include <map>
#include <utility>

#include "base/encoding.h"

namespace taloven {
namespace {

// The numbered texts, written here in UTF-8 and served in Windows-1252.
constexpr std::pair<int, const char*> kTexts[] = {
    {32777, "COMANDO NÃO RECEBIDO"},
    {32778, "Falha no envio do comando"},
    {32779, "Parâmetro obrigatório não preenchido"},
    {32780, "Parâmetro com tamanho errado"},
    {32782, "ERRO"},
    {32784, "Não foi possível carregar o arquivo \".xml\" de definição de comandos "},
    {32785, "Comando cancelado."},
    {32786, "Sequência cancelada."},
    {32796, "&Acréscimo"},
    {32797, "A&créscimo e desconto"},
    {32798, "Adicionar >>"},
    {32799, "Endereço"},
    {32800, "Alinhamento à esquerda ativado"},
    {32801, "Alinhamento à esquerda desativado"},
    {32804, "TODOS"},
    {32805, "Permitir operação de TEF?"},
    {32806, "Autenticação"},
    {32807, "Caracter de autenticação 1"},
    {32808, "Nº de execuções:"},
    {32809, "Caracter de autenticação 2"},
    {32811, "Caracter de autenticação 3"},
    {32812, "Tempo de espera entre comandos:"},
    {32813, "Caracter de autenticação 4"},
    {32814, "Execução passo a passo"},
    {32815, "Caracter de autenticação 5"},
    {32816, "Clique em OK para continuar a execução da sequência."},
    {32817, "Comandos Disponíveis"},
    {32818, "Sequências Disponíveis"},
    {32819, "***Início de execução de sequência de comandos***"},
    {32820, "Cancelar"},
    {32821, "Escolha a quantidade de dados"},
    {32822, "Escolha o tipo de intervalo"},
    {32826, "Sensor de gaveta nível 0."},
    {32827, "Sensor de gaveta nível 1."},
    {32834, "Comando"},
    {32837, "Tipos de comando"},
    {32839, "Corte do próximo documento ativado"},
    {32840, "Corte do próximo documento desativado"},
    {32841, "Cutter"},
    {32842, "Intervalo de data"},
    {32843, "Data"},
    {32845, "Excluir"},
    {32847, "<<Excluir"},
    {32848, "Detectando modelo do equipamento..."},
    {32850, "&Desconto"},
    {32852, "Gaveta"},
    {32853, "Editar"},
    {32854, "***Fim de execução de sequência de comandos***"},
    {32855, "EPROM conectada"},
    {32856, "EPROM desconectada"},
    {32858, "Sair"},
    {32863, "Cupom Fiscal"},
    {32866, "Ajuda"},
    {32867, "Sobre o Taloven"},
    {32868, "Tópicos da Ajuda (F1)"},
    {32869, "Hora"},
    {32873, "Nome inválido"},
    {32876, "Número do item"},
    {32879, "Carregar horário do computador"},
    {32882, "MFD"},
    {32884, "Nome"},
    {32885, "não"},
    {32886, "Equipamento em modo de operação normal"},
    {32887, "Registro não salvo"},
    {32888, "Registro não excluído"},
    {32890, "Obrig."},
    {32891, "Operações"},
    {32892, "Deseja substituir o registro já existente?"},
    {32894, "Valor do Parâmetro"},
    {32895, "Parâmetros"},
    {32897, "Descrição de forma de pagamento"},
    {32898, "&Percentual"},
    {32901, "Presenter"},
    {32902, "Impressão"},
    {32903, "Impressão ou recebimento pela porta de comunicação"},
    {32904, "Impressora Fiscal conectada à porta %s\nModo Normal"},
    {32905, "Impressora Fiscal conectada à porta %s\nModo Intervenção Técnica."},
    {32906, "Atenção!\nNão foi possível efetuar a conexão com a Impressora Fiscal."},
    {32907, "Conectando..."},
    {32908, "Programar Equipamento"},
    {32909, "Programar Clichê Gráfico"},
    {32910, "sim"},
    {32912, "Intervalo de reduções"},
    {32914, "Mensagem de retorno"},
    {32915, "Taloven"},
    {32916, "RG"},
    {32917, "Arredondamento ativado"},
    {32919, "RZ Automática"},
    {32920, "RZ Por comando"},
    {32921, "Salvar"},
    {32925, "Sequências"},
    {32926, "Comandos da Sequência"},
    {32927, "Sequências de Comandos"},
    {32929, "Porta de Comunicação"},
    {32931, "Horário de verão"},
    {32932, "Equipamento em intervenção técnica"},
    {32934, "Bilhete de passagem"},
    {32935, "Rodoviário Intermunicipal"},
    {32936, "Ferroviário Intermunicipal"},
    {32937, "Aquaviário Intermunicipal"},
    {32938, "Rodoviário Interestadual"},
    {32939, "Ferroviário Interestadual"},
    {32940, "Aquaviário Interestadual"},
    {32941, "Rodoviário Internacional"},
    {32942, "Ferroviário Internacional"},
    {32943, "Aquaviário Internacional"},
    {32947, "Truncamento ativado"},
    {32948, "Selecione a data"},
    {32949, "Digite a data final"},
    {32950, "Digite a Redução final"},
    {32951, "Selecione a hora"},
    {32952, "Digite o número de alíquotas: (0 - 16)"},
    {32953, "Digite a data inicial"},
    {32954, "Digite a Redução inicial"},
    {32955, "Digite o nome da sequência. \r\n obs: Não utilize acentos"},
    {32958, "UF Destino"},
    {32961, "&Valor"},
    {32962, "Versão"},
    {32963, "Deseja adicionar mais uma descrição forma de pagamento?"},
    {32964, "Por favor, aguarde....."},
    {32966, "Referência dos Comandos"},
    {32968, "Configurações"},
    {32969, "Equipamento:"},
    {32970, "Mostrar resultados após execução dos comandos"},
    {32972, "Retorno Estendido"},
    {32973, "COO Inicial"},
    {32974, "COO Final"},
    {32975, "Número do Usuário"},
    {32976, "Intervalo de COO"},
    {32977, "Mensagem"},
    {32978, "Dump"},
    {32979, "Carregando o arquivo \".xml\" de definição dos comandos..."},
    {32983, "Progresso"},
    {32984, "Processando retorno"},
    {32985, "Recebendo Retorno..."},
    {32986, "A data está correta?"},
    {32987, "Adicionar  comando"},
    {32988, "Remover  comando"},
    {32989, "Referência dos comandos"},
    {32990, "Ajuda"},
    {32991, "Configurações"},
    {32992, "Remove sequência"},
    {32993, "Nova sequência"},
    {32994, "Executar sequência"},
    {32995, "Salvar Sequência"},
    {32996, "Executando sequência"},
    {32997, "Aceitar data e horário do computador?"},
    {33005, "Clichê Gráfico"},
    {33006, "Erro na instalação do driver USB"},
    {33007, "Instalar Driver USB"},
    {61712, "Please enter an integer."},
    {61714, "Please enter an integer between %1 and %2."},
};

const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = [] {
    std::map<int, std::string> built;
    for (const auto& [id, text] : kTexts) built.emplace(id, Utf8ToCp1252(text));
    return built;
  }();
  return table;
}

}  // namespace

const std::string& Str(int id) {
  static const std::string missing;
  const auto& table = Table();
  auto it = table.find(id);
  return it != table.end() ? it->second : missing;
}

bool HasStr(int id) {
  return Table().count(id) != 0;
}

}  // namespace taloven
