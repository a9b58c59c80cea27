#include "replies/extended_error_table.h"

namespace taloven {

// The printer's extended return codes 1 to 213, in code order. UTF-8 here;
// ExtendedErrorText converts them.
const char* const kExtendedErrorTexts[kExtendedErrorCount] = {
    "COMANDO INVÁLIDO",                                                              // 1
    "ERRO DESCONHECIDO",                                                             // 2
    "NÚMERO DE PARÂMETROS INVÁLIDO",                                                 // 3
    "TIPO PAR INVÁLIDO",                                                             // 4
    "TODAS ALIQUOTAS JA PROGRAMADAS",                                                // 5
    "TOT NF JA PROGRAMADO",                                                          // 6
    "CF ABERTO",                                                                     // 7
    "CF NÃO ABERTO",                                                                 // 8
    "ECF BUSY",                                                                      // 9
    "IMPRESSORA ERRO",                                                               // 10
    "IMPRESSORA SEM PAPEL",                                                          // 11
    "IMPRESSORA CABECA LEVANTADA",                                                   // 12
    "IMPRESSORA OFF LINE",                                                           // 13
    "ALIQ NÃO PROGRAMADA",                                                           // 14
    "TERMINADOR DE STRING FALTANDO",                                                 // 15
    "ACRESC DESC MAIOR QUE TOTAL CF",                                                // 16
    "CF SEM ITEM VENDIDO",                                                           // 17
    "COMANDO NÃO EFETIVADO",                                                         // 18
    "SEM ESPACO PARA NOVAS FORMAS DE PAGAMENTO",                                     // 19
    "FORMA DE PAGAMENTO NÃO PROGRAMADA",                                             // 20
    "INDICE MAIOR QUE NUMERO DE FP",                                                 // 21
    "FORMAS DE PAGAMENTO ENCERRADA",                                                 // 22
    "CUPOM NÃO TOTALIZADO",                                                          // 23
    "COMANDO MAIOR QUE 7F",                                                          // 24
    "CUPOM FIS ABERTO E SEM ITEM",                                                   // 25
    "CANCELAMENTO NÃO IMEDIATAMENTE APOS",                                           // 26
    "CANCELAMENTO JA EFETUADO",                                                      // 27
    "CNFV NÃO PERMITIDO OU JA EMITIDO",                                              // 28
    "MEIO DE PAGAMENTO NÃO PERMITE TEF",                                             // 29
    "SEM NÃO FISCAL ABERTO",                                                         // 30
    "CNFV JA ABERTO",                                                                // 31
    "REIMPRESSAO NÃO PERMITIDA",                                                     // 32
    "NÃO FISCAL JA ABERTO",                                                          // 33
    "TOT NF NÃO PROGRAMADO",                                                         // 34
    "CNF SEM ITEM VENDIDO",                                                          // 35
    "ACRESC DESC MAIOR QUE TOTAL CNF",                                               // 36
    "MP NÃO INICIADO",                                                               // 37
    "MP DIFERENTE DO TOTAL DO RECEBIMENTO",                                          // 38
    "NÃO PERMITIDO MAIS DE UMA SANGRIA OU SUPRIMENTO",                               // 39
    "RELATORIO JA PROGRAMADO",                                                       // 40
    "RELATORIO GERENCIAL NÃO PROGRAMADO",                                            // 41
    "RELATORIO GERENCIAL NÃO PERMITIDO",                                             // 42
    "MFD NÃO INICIALIZADA",                                                          // 43
    "MFD AUSENTE",                                                                   // 44
    "MFD SEM NUMERO DE SERIE",                                                       // 45
    "MFD JA INICIALIZADA",                                                           // 46
    "MFD LOTADA",                                                                    // 47
    "NÃO FISCAL ABERTO",                                                             // 48
    "MEMORIA FISCAL DESCONECTADA",                                                   // 49
    "MEMORIA FISCAL SEM NS DA MFD",                                                  // 50
    "MEMORIA FISCAL LOTADA",                                                         // 51
    "DATA INICIAL INVALIDA",                                                         // 52
    "DATA FINAL INVALIDA",                                                           // 53
    "CRZ INICIAL INVÁLIDO",                                                          // 54
    "CRZ FINAL INVÁLIDO",                                                            // 55
    "ERRO DE ALOCAÇÃO",                                                              // 56
    "DADOS DO RTC INCORRETOS",                                                       // 57
    "DATA MENOR QUE ULTIMO DOC",                                                     // 58
    "NÃO EM INTERVENÇÃO TECNICA",                                                    // 59
    "EM INTERVENÇÃO TECNICA",                                                        // 60
    "ERRO NA MEMORIA DE TRABALHO",                                                   // 61
    "JA HOUVE MOV NO DIA",                                                           // 62
    "BLOQUEIO POR RZ",                                                               // 63
    " FP ABERTA",                                                                    // 64
    "AGUARDANDO PRIMEIRO PROPRIETARIO",                                              // 65
    "AGUARDANDO RZ",                                                                 // 66
    "ECF OU LOJA IGUAL A ZERO",                                                      // 67
    "CUPOM ADICIONAL NÃO PERMITIDO",                                                 // 68
    "DESC MAIOR QUE TOTAL VENDIDO EM ICMS",                                          // 69
    "RECEBIMENTO NF NULO NÃO PERMITIDO",                                             // 70
    "ACRESC DESC MAIOR QUE TOTAL NF",                                                // 71
    "MEMORIA FISCAL LOTADA PARA NOVO CARTUCHO",                                      // 72
    "ERRO DE GRAVAÇÃO NA MF",                                                        // 73
    "ERRO DE GRAVAÇÃO NA MFD",                                                       // 74
    "DADOS DO RTC ANTERIORES AO ULTIMO DOC ARMAZENADO",                              // 75
    "MF SEM ESPACO PARA GRAVAR LEITURAS DA MFD",                                     // 76
    "MF SEM ESPACO PARA GRAVAR VERSAO DO SB",                                        // 77
    "DESCRIÇÃO IGUAL A DEFAULT NÃO PERMITIDO",                                       // 78
    "EXTRAPOLADO NUMERO DE REPETICOES PERMITIDAS",                                   // 79
    "SEGUNDA VIA CNFV NÃO PERMITIDA",                                                // 80
    "PARCELAMENTO FORA DA SEQUENCIA",                                                // 81
    "CNFV ABERTO",                                                                   // 82
    "TEXTO COM SEQUENCIA DE ESC INVALIDA",                                           // 83
    "TEXTO COM SEQUENCIA DE ESC INCOMPLETA",                                         // 84
    "VENDA COM VALOR NULO",                                                          // 85
    "ESTORNO DE VALOR NULO",                                                         // 86
    "FP DIFERENTE DO TOTAL DA SANGRIA",                                              // 87
    "REDUÇÃO NÃO PERMITIDA EM IT",                                                   // 88
    "AGUARDANDO RZ PARA ENTRADA EM IT",                                              // 89
    "FP COM VALOR NULO NÃO PERMITIDO",                                               // 90
    "ACRESC DESCONTO MAIOR QUE VALOR DO ITEM",                                       // 91
    "AUTENTICAÇÃO NÃO PERMITIDA",                                                    // 92
    "TIMEOUT NA VALIDAÇÃO",                                                          // 93
    "COMANDO NÃO EXECUTADO EM IMPR BILHETE DE PASSAGEM",                             // 94
    "COMANDO NÃO EXECUTADO EM IMPR DE CUPOM FISCAL",                                 // 95
    "NÃO FISCAL FECHADO",                                                            // 96
    "PARAM NÃO ASCII EM CAMPO ASCII",                                                // 97
    "PARAM NÃO ASCII NUM EM CAMPO ASCII NUM",                                        // 98
    "TIPO DE TRANSPORTE INVÁLIDO",                                                   // 99
    "DATA E HORA INVALIDA",                                                          // 100
    "SEM RELATORIO GERENCIAL OU VINCULADO ABERTO",                                   // 101
    "NUMERO DO TOTALIZADOR NF INVÁLIDO",                                             // 102
    "PARAM ACRES DESC INVÁLIDO",                                                     // 103
    "ACR DESC EM SANGRIA OU SUPRIMENTO NÃO PERMITIDO",                               // 104
    "NUMERO DO RELATORIO GERENCIAL INVÁLIDO",                                        // 105
    "FORMA DE PAGAMENTO FONTE NÃO PROGRAMADA",                                       // 106
    "FORMA DE PAGAMENTO DESTINO NÃO PROGRAMADA",                                     // 107
    "ESTORNO MAIOR QUE FORMA PAGAMENTO FONTE",                                       // 108
    "CARACTER NUMERICO NA CODIFICAÇÃO GT NÃO PERMITIDO",                             // 109
    "ERRO NA INICIALIZAÇÃO DA MF",                                                   // 110
    "NOME DO TOTALIZADOR EM BRANCO NÃO PERMITIDO",                                   // 111
    "DATA E HORA ANTERIORES AO ULTIMO DOC ARMAZENADO",                               // 112
    "PAR ACRESCIMO DESCONTO INVÁLIDO",                                               // 113
    "ITEM ANTERIOR AOS 300 ULTIMOS",                                                 // 114
    "ITEM NÃO EXISTE OU JA CANCELADO",                                               // 115
    "CODIGO COM ESPACOS NÃO PERMITIDO",                                              // 116
    "DESCRIÇÃO SEM CARACTER ALFABETICO NÃO PERMITIDO",                               // 117
    "ACRESCIMO MAIOR QUE VALOR DO ITEM",                                             // 118
    "DESCONTO MAIOR QUE VALOR DO ITEM",                                              // 119
    "DESCONTO EM ISS NÃO PERMITIDO",                                                 // 120
    "ACRESCIMO EM ITEM JA EFETUADO",                                                 // 121
    "DESCONTO EM ITEM JA EFETUADO",                                                  // 122
    "ERRO NA MF CHAMAR CREDENCIADO",                                                 // 123
    "AGUARDANDO GRAVAÇÃO NA MF",                                                     // 124
    "CARACTER REPETIDO NA CODIFICAÇÃO DO GT",                                        // 125
    "VERSAO JA GRAVADA NA MF",                                                       // 126
    "ESTOURO DE CAPACIDADE NO CHEQUE",                                               // 127
    "TIMEOUT NA LEITURA DO CHEQUE",                                                  // 128
    "MES INVÁLIDO",                                                                  // 129
    "COORDENADA INVALIDA",                                                           // 130
    "SOBREPOSIÇÃO DE TEXTO",                                                         // 131
    "SOBREPOSIÇÃO DE TEXTO NO VALOR",                                                // 132
    "SOBREPOSIÇÃO DE TEXTO NO EXTENSO",                                              // 133
    "SOBREPOSIÇÃO DE TEXTO NO FAVORECIDO",                                           // 134
    "SOBREPOSIÇÃO DE TEXTO NA LOCALIDADE",                                           // 135
    "SOBREPOSIÇÃO DE TEXTO NO OPCIONAL",                                             // 136
    "SOBREPOSIÇÃO DE TEXTO NO DIA",                                                  // 137
    "SOBREPOSIÇÃO DE TEXTO NO MES",                                                  // 138
    "SOBREPOSIÇÃO DE TEXTO NO ANO",                                                  // 139
    "USANDO MFD DE OUTRO ECF",                                                       // 140
    "PRIMEIRO DADO DIF DE ESC OU 1C",                                                // 141
    "NÃO PERMITIDO ALTERAR SEM INTERVENÇÃO TECNICA",                                 // 142
    "DADOS DA ULTIMA RZ CORROMPIDOS",                                                // 143
    "CMD NÃO PERMITIDO NO MODO INICIALIZAÇÃO",                                       // 144
    "AGUARDANDO ACERTAR RELOGIO",                                                    // 145
    "MFD JA INICIALIZADA PARA OUTRA MF",                                             // 146
    "AGUARDANDO ACERTO DO RELOGIO OU DESBLOQUEIO PELO TECLADO",                      // 147
    "VALOR FP MAIOR QUE MAX PERMITIDO",                                              // 148
    "RAZAO SOCIAL EM BRANCO",                                                        // 149
    "NOME DE FANTASIA EM BRANCO",                                                    // 150
    "ENDERECO EM BRANCO",                                                            // 151
    "ESTORNO DE CDC NÃO PERMITIDO",                                                  // 152
    "DADOS DO PROPRIETARIO IGUAIS AO ATUAL",                                         // 153
    "ESTORNO DE FORMA DE PAGAMENTO NÃO PERMITIDO",                                   // 154
    "DESCRIÇÃO FP IGUAL JA PROGRAMADA",                                              // 155
    "ACERTO DE HORARIO DE VERAO SO IMEDIATAMENTE APOS RZ",                           // 156
    "IT NÃO PERMITIDA MF RESERVADA PARA RZ",                                         // 157
    "SENHA CNPJ INVALIDA",                                                           // 158
    "TIMEOUT INICIALIZAÇÃO NOVA MF",                                                 // 159
    "NÃO ENCONTRADO DADOS NA MFD",                                                   // 160
    "SANGRIA OU SUPRIMENTO DEVEM SER UNICOS NO CNF",                                 // 161
    "INDICE FP NULO NÃO PERMITIDO",                                                  // 162
    "UF DESTINO INVALIDA",                                                           // 163
    "TIPO DE TRANSPORTE INCOMPATIVEL COM UF DESTINO",                                // 164
    "DESCRIÇÃO DO PRIMEIRO ITEM DO BP DIFERENTE DE TARIFA",                          // 165
    "AGUARDANDO IMPRESSAO DE CHEQUE OU AUTENTICAÇÃO",                                // 166
    "NÃO PERMITIDO PROGRAMAÇÃO CNPJ IE COM ESPACOS EM BRANCO",                       // 167
    "NÃO PERMITIDO PROGRAMAÇÃO UF COM ESPACOS EM BRANCO",                            // 168
    "NUMERO DE IMPRESSOES NESTA IT ESGOTADO",                                        // 169
    "CF JA SUBTOTALIZADO",                                                           // 170
    "CUPOM NÃO SUBTOTALIZADO",                                                       // 171
    "ACRESCIMO EM SUBTOTAL JA EFETUADO",                                             // 172
    "DESCONTO EM SUBTOTAL JA EFETUADO",                                              // 173
    "ACRESCIMO NULO NÃO PERMITIDO",                                                  // 174
    "DESCONTO NULO NÃO PERMITIDO",                                                   // 175
    "CANCELAMENTO DE SUBTOTAL NÃO PERMITIDO",                                        // 176
    "DATA INVALIDA",                                                                 // 177
    "VALOR DO CHEQUE NULO NÃO PERMITIDO",                                            // 178
    "VALOR DO CHEQUE INVÁLIDO",                                                      // 179
    "CHEQUE SEM LOCALIDADE NÃO PERMITIDO",                                           // 180
    "CANCELAMENTO ACRESCIMO EM ITEM NÃO PERMITIDO",                                  // 181
    "CANCELAMENTO DESCONTO EM ITEM NÃO PERMITIDO",                                   // 182
    "NUMERO MAXIMO DE ITENS ATINGIDO",                                               // 183
    "NUMERO DE ITEM NULO NÃO PERMITIDO",                                             // 184
    "MAIS QUE DUAS ALIQ DIFERENTES NO BP NÃO PERMITIDO",                             // 185
    "RETORNO ACRESIMO/DESCONTO EM ITEM NÃO PERMITIDO",                               // 186
    "RETORNO CANCELAMENTO ACRES DESC EM ITEM NAO PERMITIDO",                         // 187
    "RETORNO CLICHE JA IMPRESSO",                                                    // 188
    "RETORNO TEXTO OPCIONAL EXCEDEU O MAXIMO DE LINHAS PERMITIDO",                   // 189
    "RETORNO IMPRESSAO AUTOMATICA NO VERSO NAO DISPONIVEL NO MECANISMO",             // 190
    "RETORNO TIMEOUT NA INSERCAO DO CHEQUE",                                         // 191
    "RETORNO ESTOURO NA CAPACIDADE DE TEXTO NO CDC",                                 // 192
    "RETORNO CUPOM SPACING MENOR QUE 4 NAO PERMITIDO",                               // 193
    "RETORNO MECANISMO NAO POSSUI LEITOR CHEQUE",                                    // 194
    "RETORNO PROGRAMACAO COM ALIQUOTA ZERO NAO PERMITIDO",                           // 195
    "RETORNO PARAMETRO BAUDRATE INVALIDO",                                           // 196
    "RETORNO CONFIGURACAO PERMITIDA SOMENTE PELA PORTA DO FISCO",                    // 197
    "RETORNO VALOR TOTAL DO ITEM EXCEDE 11 DIGITOS",                                 // 198
    "RETORNO NAO PERMITIDO PROGRAMACAO MOEDA COM ESPACOS EM BRANCO",                 // 199
    "RETORNO CASAS DECIMAIS DEVE SER PROGRAMADA COM 2 OU 3",                         // 200
    "RETORNO NAO PERMITE PROGRAMAR USUARIOS DIFERENTES NA MESMA MFD",                // 201
    "RETORNO IDENTIFICACAO DO CONSUMIDOR NAO PERMITIDO PARA SANGRIA OU SUPRIMENTO",  // 202
    "RETORNO CASAS DECIMAIS DA QTDE MAIOR QUE A PERMITIDA",                          // 203
    "RETORNO CASAS DECIMAIS DO UNITARIO MAIOR QUE O PERMITIDO",                      // 204
    "RETORNO POSICAO RESERVADA PARA ICMS",                                           // 205
    "RETORNO POSICAO RESERVADA PARA ISS",                                            // 206
    "RETORNO TODAS ALIQUOTAS COM MESMA VINCULACAO NAO PERMITIDO",                    // 207
    "RETORNO DATA DE EMBARQUE ANTERIOR A DATA DA EMISSAO",                           // 208
    "RETORNO ALIQUOTA DE ISS NAO PERMITIDO SEM INSCRICAO MUNICIPAL",                 // 209
    "RETORNO PACOTE CLICHE FORA DA SEQUENCIA",                                       // 210
    "RETORNO ESPACO PARA PARA ARMAZENAMENTO CLICHE ESGOTADO",                        // 211
    "RETORNO CLICHE GRAFICO NAO DISPONIVEL PARA CONFIRMACAO",                        // 212
    "RETORNO CRC DO CLICHE GRAFICO DIFERENTE DO INFORMADO",                          // 213
};

}  // namespace taloven
