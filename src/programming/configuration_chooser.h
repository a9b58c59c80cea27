#pragma once

#include <optional>
#include <string>
#include <vector>

#include "programming/configuration_file.h"
#include "ui/ui.h"

namespace taloven {

// The logic of "Carregar configurações existentes": it searches the stored
// records by client and serial number, describes, deletes and picks one.
// The window shows what it holds and hands it the user's actions.
class ConfigurationChooser {
 public:
  ConfigurationChooser(std::string workingDirectory, Ui& ui);

  // Reads the file under the wait window and fills both drop-downs. A
  // missing or unreadable file leaves them empty.
  void Open();

  // Drop-down contents: each client once (case ignored, blanks skipped) and
  // every serial number, sorted as the boxes show them.
  const std::vector<std::string>& Clients() const { return clients_; }
  const std::vector<std::string>& Serials() const { return serials_; }
  // The found records (their serial numbers) and the description box.
  const std::vector<std::string>& Found() const { return found_; }
  const std::string& Description() const { return description_; }

  // The client box lost focus: a client typed there narrows the serials.
  void ClientLeft(const std::string& client);
  // "Procurar" with the two boxes' texts.
  void Search(const std::string& client, const std::string& serial);
  // An entry of the found list was selected.
  void Select(const std::string& serial);
  // "Excluir" on the selected entry.
  void Delete(const std::string& serial);
  // "Carregar configuração": true when the dialog may close with a record.
  bool Confirm();

  // The chosen record, with the fresh password.
  const std::optional<EquipmentConfiguration>& Chosen() const { return chosen_; }
  const ConfigurationList& Records() const { return records_; }

 private:
  void Refill();
  void SaveIfWanted();

  std::string path_;
  Ui& ui_;
  ConfigurationList records_;
  std::vector<std::string> clients_, serials_, found_;
  std::string description_;
  std::optional<EquipmentConfiguration> chosen_;
  bool modified_ = false;
};

}  // namespace taloven
