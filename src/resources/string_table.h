#pragma once

// The string table: every numbered text with the name the code knows it by,
// written here in UTF-8. strings.h makes the names of it and strings.cpp the
// texts, so there is no name without its text.
#define TALOVEN_STRING_TABLE(X)                                                                    \
  X(kCommandNotReceived, 32777, "COMANDO NÃO RECEBIDO")                                            \
  X(kSendFailed, 32778, "Falha no envio do comando")                                               \
  X(kMandatoryParameterEmpty, 32779, "Parâmetro obrigatório não preenchido")                       \
  X(kParameterWrongSize, 32780, "Parâmetro com tamanho errado")                                    \
  X(kError, 32782, "ERRO")                                                                         \
  X(kCatalogueNotLoaded, 32784,                                                                    \
    "Não foi possível carregar o arquivo \".xml\" de definição de comandos ")                      \
  X(kCommandCancelled, 32785, "Comando cancelado.")                                                \
  X(kSequenceCancelled, 32786, "Sequência cancelada.")                                             \
  X(kSurcharge, 32796, "&Acréscimo")                                                               \
  X(kSurchargeAndDiscount, 32797, "A&créscimo e desconto")                                         \
  X(kAddButton, 32798, "Adicionar >>")                                                             \
  X(kAddress, 32799, "Endereço")                                                                   \
  X(kLeftAlignOn, 32800, "Alinhamento à esquerda ativado")                                         \
  X(kLeftAlignOff, 32801, "Alinhamento à esquerda desativado")                                     \
  X(kAllGroups, 32804, "TODOS")                                                                    \
  X(kAllowTef, 32805, "Permitir operação de TEF?")                                                 \
  X(kAuthentication, 32806, "Autenticação")                                                        \
  X(kAuthenticationChar1, 32807, "Caracter de autenticação 1")                                     \
  X(kRunCount, 32808, "Nº de execuções:")                                                          \
  X(kAuthenticationChar2, 32809, "Caracter de autenticação 2")                                     \
  X(kAuthenticationChar3, 32811, "Caracter de autenticação 3")                                     \
  X(kPauseBetweenCommands, 32812, "Tempo de espera entre comandos:")                               \
  X(kAuthenticationChar4, 32813, "Caracter de autenticação 4")                                     \
  X(kStepByStep, 32814, "Execução passo a passo")                                                  \
  X(kAuthenticationChar5, 32815, "Caracter de autenticação 5")                                     \
  X(kContinueSequence, 32816, "Clique em OK para continuar a execução da sequência.")              \
  X(kAvailableCommands, 32817, "Comandos Disponíveis")                                             \
  X(kAvailableSequences, 32818, "Sequências Disponíveis")                                          \
  X(kSequenceStartBanner, 32819, "***Início de execução de sequência de comandos***")              \
  X(kCancel, 32820, "Cancelar")                                                                    \
  X(kChooseDataAmount, 32821, "Escolha a quantidade de dados")                                     \
  X(kChooseIntervalKind, 32822, "Escolha o tipo de intervalo")                                     \
  X(kDrawerSensorLevel0, 32826, "Sensor de gaveta nível 0.")                                       \
  X(kDrawerSensorLevel1, 32827, "Sensor de gaveta nível 1.")                                       \
  X(kCommand, 32834, "Comando")                                                                    \
  X(kCommandGroups, 32837, "Tipos de comando")                                                     \
  X(kNextDocumentCutOn, 32839, "Corte do próximo documento ativado")                               \
  X(kNextDocumentCutOff, 32840, "Corte do próximo documento desativado")                           \
  X(kCutter, 32841, "Cutter")                                                                      \
  X(kDateInterval, 32842, "Intervalo de data")                                                     \
  X(kDate, 32843, "Data")                                                                          \
  X(kDelete, 32845, "Excluir")                                                                     \
  X(kRemoveButton, 32847, "<<Excluir")                                                             \
  X(kDetectingModel, 32848, "Detectando modelo do equipamento...")                                 \
  X(kDiscount, 32850, "&Desconto")                                                                 \
  X(kDrawer, 32852, "Gaveta")                                                                      \
  X(kEdit, 32853, "Editar")                                                                        \
  X(kSequenceEndBanner, 32854, "***Fim de execução de sequência de comandos***")                   \
  X(kEpromConnected, 32855, "EPROM conectada")                                                     \
  X(kEpromDisconnected, 32856, "EPROM desconectada")                                               \
  X(kExit, 32858, "Sair")                                                                          \
  X(kFiscalCoupon, 32863, "Cupom Fiscal")                                                          \
  X(kHelpMenu, 32866, "Ajuda")                                                                     \
  X(kAboutTitle, 32867, "Sobre o Taloven")                                                         \
  X(kHelpTopics, 32868, "Tópicos da Ajuda (F1)")                                                   \
  X(kTime, 32869, "Hora")                                                                          \
  X(kInvalidName, 32873, "Nome inválido")                                                          \
  X(kItemNumber, 32876, "Número do item")                                                          \
  X(kLoadComputerTime, 32879, "Carregar horário do computador")                                    \
  X(kMfd, 32882, "MFD")                                                                            \
  X(kName, 32884, "Nome")                                                                          \
  X(kNo, 32885, "não")                                                                             \
  X(kNormalOperation, 32886, "Equipamento em modo de operação normal")                             \
  X(kRecordNotSaved, 32887, "Registro não salvo")                                                  \
  X(kRecordNotDeleted, 32888, "Registro não excluído")                                             \
  X(kMandatoryColumn, 32890, "Obrig.")                                                             \
  X(kOperationsMenu, 32891, "Operações")                                                           \
  X(kReplaceRecord, 32892, "Deseja substituir o registro já existente?")                           \
  X(kParameterValue, 32894, "Valor do Parâmetro")                                                  \
  X(kParameters, 32895, "Parâmetros")                                                              \
  X(kPaymentDescription, 32897, "Descrição de forma de pagamento")                                 \
  X(kPercentage, 32898, "&Percentual")                                                             \
  X(kPresenter, 32901, "Presenter")                                                                \
  X(kPrinting, 32902, "Impressão")                                                                 \
  X(kPrintOrPort, 32903, "Impressão ou recebimento pela porta de comunicação")                     \
  X(kConnectedNormal, 32904, "Impressora Fiscal conectada à porta %s\nModo Normal")                \
  X(kConnectedIntervention, 32905,                                                                 \
    "Impressora Fiscal conectada à porta %s\nModo Intervenção Técnica.")                           \
  X(kNotConnected, 32906, "Atenção!\nNão foi possível efetuar a conexão com a Impressora Fiscal.") \
  X(kConnecting, 32907, "Conectando...")                                                           \
  X(kProgramEquipment, 32908, "Programar Equipamento")                                             \
  X(kProgramGraphicCliche, 32909, "Programar Clichê Gráfico")                                      \
  X(kYes, 32910, "sim")                                                                            \
  X(kReductionInterval, 32912, "Intervalo de reduções")                                            \
  X(kReturnMessage, 32914, "Mensagem de retorno")                                                  \
  X(kProductName, 32915, "Taloven")                                                                \
  X(kRg, 32916, "RG")                                                                              \
  X(kRoundingOn, 32917, "Arredondamento ativado")                                                  \
  X(kAutomaticZ, 32919, "RZ Automática")                                                           \
  X(kZByCommand, 32920, "RZ Por comando")                                                          \
  X(kSave, 32921, "Salvar")                                                                        \
  X(kSequences, 32925, "Sequências")                                                               \
  X(kSequenceCommands, 32926, "Comandos da Sequência")                                             \
  X(kCommandSequences, 32927, "Sequências de Comandos")                                            \
  X(kCommunicationPort, 32929, "Porta de Comunicação")                                             \
  X(kDaylightSaving, 32931, "Horário de verão")                                                    \
  X(kTechnicalIntervention, 32932, "Equipamento em intervenção técnica")                           \
  X(kTravelTicket, 32934, "Bilhete de passagem")                                                   \
  X(kRoadIntercity, 32935, "Rodoviário Intermunicipal")                                            \
  X(kRailIntercity, 32936, "Ferroviário Intermunicipal")                                           \
  X(kWaterIntercity, 32937, "Aquaviário Intermunicipal")                                           \
  X(kRoadInterstate, 32938, "Rodoviário Interestadual")                                            \
  X(kRailInterstate, 32939, "Ferroviário Interestadual")                                           \
  X(kWaterInterstate, 32940, "Aquaviário Interestadual")                                           \
  X(kRoadInternational, 32941, "Rodoviário Internacional")                                         \
  X(kRailInternational, 32942, "Ferroviário Internacional")                                        \
  X(kWaterInternational, 32943, "Aquaviário Internacional")                                        \
  X(kTruncationOn, 32947, "Truncamento ativado")                                                   \
  X(kSelectDate, 32948, "Selecione a data")                                                        \
  X(kEnterFinalDate, 32949, "Digite a data final")                                                 \
  X(kEnterFinalReduction, 32950, "Digite a Redução final")                                         \
  X(kSelectTime, 32951, "Selecione a hora")                                                        \
  X(kEnterTaxRateCount, 32952, "Digite o número de alíquotas: (0 - 16)")                           \
  X(kEnterInitialDate, 32953, "Digite a data inicial")                                             \
  X(kEnterInitialReduction, 32954, "Digite a Redução inicial")                                     \
  X(kEnterSequenceName, 32955, "Digite o nome da sequência. \r\n obs: Não utilize acentos")        \
  X(kDestinationState, 32958, "UF Destino")                                                        \
  X(kAmount, 32961, "&Valor")                                                                      \
  X(kVersion, 32962, "Versão")                                                                     \
  X(kAddPaymentDescription, 32963, "Deseja adicionar mais uma descrição forma de pagamento?")      \
  X(kPleaseWait, 32964, "Por favor, aguarde.....")                                                 \
  X(kCommandReferenceMenu, 32966, "Referência dos Comandos")                                       \
  X(kSettings, 32968, "Configurações")                                                             \
  X(kEquipment, 32969, "Equipamento:")                                                             \
  X(kShowResults, 32970, "Mostrar resultados após execução dos comandos")                          \
  X(kExtendedReturn, 32972, "Retorno Estendido")                                                   \
  X(kInitialCoo, 32973, "COO Inicial")                                                             \
  X(kFinalCoo, 32974, "COO Final")                                                                 \
  X(kUserNumber, 32975, "Número do Usuário")                                                       \
  X(kCooInterval, 32976, "Intervalo de COO")                                                       \
  X(kMessage, 32977, "Mensagem")                                                                   \
  X(kDump, 32978, "Dump")                                                                          \
  X(kLoadingCatalogue, 32979, "Carregando o arquivo \".xml\" de definição dos comandos...")        \
  X(kProgress, 32983, "Progresso")                                                                 \
  X(kProcessingReply, 32984, "Processando retorno")                                                \
  X(kReceivingReply, 32985, "Recebendo Retorno...")                                                \
  X(kDateCorrect, 32986, "A data está correta?")                                                   \
  X(kAddCommandTip, 32987, "Adicionar  comando")                                                   \
  X(kRemoveCommandTip, 32988, "Remover  comando")                                                  \
  X(kCommandReferenceTip, 32989, "Referência dos comandos")                                        \
  X(kHelpTip, 32990, "Ajuda")                                                                      \
  X(kSettingsTip, 32991, "Configurações")                                                          \
  X(kRemoveSequenceTip, 32992, "Remove sequência")                                                 \
  X(kNewSequenceTip, 32993, "Nova sequência")                                                      \
  X(kRunSequenceTip, 32994, "Executar sequência")                                                  \
  X(kSaveSequenceTip, 32995, "Salvar Sequência")                                                   \
  X(kRunningSequence, 32996, "Executando sequência")                                               \
  X(kAcceptComputerClock, 32997, "Aceitar data e horário do computador?")                          \
  X(kGraphicCliche, 33005, "Clichê Gráfico")                                                       \
  X(kUsbDriverFailed, 33006, "Erro na instalação do driver USB")                                   \
  X(kInstallUsbDriver, 33007, "Instalar Driver USB")                                               \
  X(kEnterInteger, 61712, "Digite um número inteiro.")                                             \
  X(kEnterIntegerBetween, 61714, "Digite um número inteiro entre %1 e %2.")
