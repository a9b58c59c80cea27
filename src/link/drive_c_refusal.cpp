#include "link/drive_c_refusal.h"

#include <cstring>

#include "base/encoding.h"

namespace taloven {

std::string DriveCRefusalText(const DriveC& drive) {
  const std::string folder = W("A pasta de troca de arquivos ") + drive.directory;
  const std::string remedy =
      W("; apague-a (o programa a recria só para você) ou escolha outra em TALOVEN_DRIVE_C.");
  switch (drive.fault) {
    case DriveCFault::kNone:
      return {};
    case DriveCFault::kCannotCreate:
      return W("Não foi possível criar a pasta de troca de arquivos ") + drive.directory + ": " +
             std::strerror(drive.error);
    case DriveCFault::kNotDirectory:
      return folder + W(" não é uma pasta") + remedy;
    case DriveCFault::kSymbolicLink:
      return folder + W(" é um link simbólico e pode levar à pasta de outra pessoa") + remedy;
    case DriveCFault::kNotOwned:
      return folder +
             W(" pertence a outro usuário, que poderia ler os comandos e forjar respostas") +
             remedy;
    case DriveCFault::kOpenToOthers:
      return folder +
             W(" pode ser alterada por outros usuários (permissões de grupo ou de todos)") + remedy;
  }
  return {};
}

}  // namespace taloven
