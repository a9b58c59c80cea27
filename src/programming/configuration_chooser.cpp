#include "programming/configuration_chooser.h"

#include <algorithm>
#include <cctype>

#include "base/encoding.h"
#include "resources/strings.h"

namespace taloven {
namespace {

std::string Folded(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Sorted as a sorted drop-down lists its entries: case ignored.
void SortLikeDropDown(std::vector<std::string>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    return Folded(a) < Folded(b);
  });
}

}  // namespace

ConfigurationChooser::ConfigurationChooser(std::string workingDirectory, Ui& ui)
    : path_(ConfigurationsPath(workingDirectory)), ui_(ui) {}

void ConfigurationChooser::Open() {
  {
    auto wait = ui_.ShowWait(Str(StrId::kPleaseWait));
    // A file that does not load lists nothing, and nothing can be deleted.
    static_cast<void>(LoadConfigurations(path_, records_));
  }
  Refill();
}

void ConfigurationChooser::Refill() {
  clients_.clear();
  serials_.clear();
  found_.clear();
  description_.clear();
  for (const EquipmentConfiguration& record : records_) {
    const bool known = std::any_of(clients_.begin(), clients_.end(), [&](const std::string& c) {
      return Folded(c) == Folded(record.client);
    });
    if (!record.client.empty() && !known) clients_.push_back(record.client);
    serials_.push_back(record.serialNumber);
  }
  SortLikeDropDown(clients_);
  SortLikeDropDown(serials_);
}

void ConfigurationChooser::ClientLeft(const std::string& client) {
  if (client.empty()) return;
  serials_.clear();
  for (const EquipmentConfiguration& record : records_)
    if (record.client == client) serials_.push_back(record.serialNumber);
  SortLikeDropDown(serials_);
}

void ConfigurationChooser::Search(const std::string& client, const std::string& serial) {
  found_.clear();
  description_.clear();
  for (const EquipmentConfiguration& record : records_) {
    const bool bySerial = !serial.empty() && client.empty() && record.serialNumber == serial;
    const bool byClient = serial.empty() && !client.empty() && record.client == client;
    const bool byBoth = !client.empty() && record.client == client && record.serialNumber == serial;
    if (bySerial || byClient || byBoth) found_.push_back(record.serialNumber);
  }
  serials_.clear();
  for (const EquipmentConfiguration& record : records_) serials_.push_back(record.serialNumber);
  SortLikeDropDown(serials_);
  chosen_.reset();
}

void ConfigurationChooser::Select(const std::string& serial) {
  for (const EquipmentConfiguration& record : records_)
    if (record.serialNumber == serial) chosen_ = record;
  if (!chosen_) return;
  const EquipmentConfiguration& c = *chosen_;
  description_ = W("Número de série: ") + c.serialNumber + "\r\nCliente: " + c.client +
                 "\r\nCNPJ: " + c.cnpj + "\r\nIE: " + c.ie + "\r\nIM: " + c.im;
}

void ConfigurationChooser::Delete(const std::string& serial) {
  const auto removed = std::erase_if(
      records_, [&](const EquipmentConfiguration& r) { return r.serialNumber == serial; });
  if (removed > 0) {
    modified_ = true;
    SaveIfWanted();
  }
  chosen_.reset();
  Refill();
}

void ConfigurationChooser::SaveIfWanted() {
  if (ui_.Message(W("Deseja salvar as alterações?"), "", MessageButtons::YesNo,
                  MessageIcon::Question) != MessageAnswer::Yes)
    return;
  // The user asked for the deletion to be kept: a failed write must say so.
  if (const Status saved = SaveConfigurations(path_, records_); !saved.ok())
    ui_.Message(Str(StrId::kRecordNotDeleted) + "\r\n\r\n" + saved.message(),
                Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

bool ConfigurationChooser::Confirm() {
  if (modified_) SaveIfWanted();
  if (chosen_) return true;
  ui_.Message(W("Por favor, escolha um registro."), Str(StrId::kProductName), MessageButtons::Ok,
              MessageIcon::Exclamation);
  return false;
}

}  // namespace taloven
