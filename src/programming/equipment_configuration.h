#pragma once

#include <array>
#include <string>
#include <vector>

namespace taloven {

constexpr int kConfigurationTaxRates = 16;
constexpr int kConfigurationTotalizerNames = 50;

// One printer's configuration, kept per serial number in equipamentos.xml.
// Texts are Windows-1252; flags are true when set.
struct EquipmentConfiguration {
  std::string serialNumber;
  std::string client;
  std::string cnpj;
  std::string ie;
  std::string im;
  std::string uf;
  std::string storeNumber;
  std::string registerNumber;
  std::string date;  // DDMMYY
  std::string time;  // HHMMSS
  bool daylightSaving = false;
  // Lines end in CR LF; styles are carried as the cliché tokens.
  std::string cliche;
  bool additionalCoupon = false;
  bool issDiscount = false;
  bool linkedToNonFiscal = false;
  bool rvInConference = false;
  bool automaticZ = false;
  bool passengerTicket = false;
  std::array<std::string, kConfigurationTaxRates> taxRates;           // "1800" is 18,00 %
  std::string issLinkage = std::string(kConfigurationTaxRates, '0');  // '1' = ISS
  std::string restaurantOrShop;                                       // "0" restaurant, "1" shop
  std::string conferenceCoupon;  // "-1" not parametrized, else "0".."3"
  std::array<std::string, kConfigurationTotalizerNames> totalizerNames;
  // Never stored in the file: a record read back always has the fresh value.
  std::string password = std::string(10, ' ');

  EquipmentConfiguration() { taxRates.fill("0000"); }
  bool operator==(const EquipmentConfiguration&) const = default;
};

// One stored field: its element name in the file and where its value lives
// (exactly one of text and flag is set).
struct ConfigurationField {
  std::string element;
  std::string* text = nullptr;
  bool* flag = nullptr;
};

// Every stored field in the file's order (the password is not one of them).
std::vector<ConfigurationField> StoredFields(EquipmentConfiguration& configuration);

// A field's value as the file holds it: flags as "1" or "0".
std::string StoredValue(const ConfigurationField& field);

// The text without any blank.
std::string WithoutSpaces(const std::string& text);

}  // namespace taloven
