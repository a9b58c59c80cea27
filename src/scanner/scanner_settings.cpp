#include "scanner/scanner_settings.h"

#include "base/encoding.h"

namespace taloven {
namespace {

constexpr const char* kSection = "Scanner Port";
constexpr const char* kPortKey = "Port name";
constexpr const char* kBaudKey = "Baud rate";
constexpr const char* kByteLengthKey = "Byte length";
constexpr const char* kParityKey = "Parity";
constexpr const char* kStopBitsKey = "Stop bits";
constexpr const char* kHandshakeKey = "Handshake";

template <typename T>
bool InList(const std::vector<T>& list, int position) {
  return position >= 0 && static_cast<size_t>(position) < list.size();
}

bool InRange(int position, int count) {
  return position >= 0 && position < count;
}

// "COMn" or "COMn:": the names the fourth-character rule was made for. Any
// other name (a device path, "COM12:") is not one of the list's entries.
bool IsComName(const std::string& name) {
  return (name.size() == 4 || (name.size() == 5 && name[4] == ':')) &&
         name.compare(0, 3, "COM") == 0 && name[3] >= '0' && name[3] <= '9';
}

}  // namespace

ScannerSettings ReadScannerSettings(const ProfileFile& profile, ScannerDefaults defaults) {
  const bool dialog = defaults == ScannerDefaults::Dialog;
  ScannerSettings settings;
  settings.portName = profile.GetString(kSection, kPortKey, "COM1:");
  settings.baud = profile.GetInt(kSection, kBaudKey, 7);
  settings.byteLength = profile.GetInt(kSection, kByteLengthKey, dialog ? 8 : 3);
  settings.parity = profile.GetInt(kSection, kParityKey, 0);
  settings.stopBits = profile.GetInt(kSection, kStopBitsKey, 0);
  settings.handshake = profile.GetInt(kSection, kHandshakeKey, dialog ? 1 : 0);
  return settings;
}

void StoreScannerSettings(ProfileFile& profile, const ScannerSettings& settings) {
  profile.SetString(kSection, kPortKey, settings.portName);
  profile.SetInt(kSection, kBaudKey, settings.baud);
  profile.SetInt(kSection, kByteLengthKey, settings.byteLength);
  profile.SetInt(kSection, kParityKey, settings.parity);
  profile.SetInt(kSection, kStopBitsKey, settings.stopBits);
  profile.SetInt(kSection, kHandshakeKey, settings.handshake);
}

const std::vector<std::string>& ScannerPortChoices() {
  static const std::vector<std::string> ports = {"COM1:", "COM2:", "COM3:", "COM4:"};
  return ports;
}

const std::vector<int>& ScannerBaudRates() {
  static const std::vector<int> rates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  return rates;
}

const std::vector<int>& ScannerDataBits() {
  static const std::vector<int> bits = {5, 6, 7, 8};
  return bits;
}

std::vector<std::string> ScannerParityChoices() {
  return {"Nenhuma", "Par", W("Ímpar")};
}

std::vector<std::string> ScannerStopBitChoices() {
  return {"1", "1,5", "2"};
}

std::vector<std::string> ScannerHandshakeChoices() {
  return {"Nenhum", "Hardware"};
}

int ScannerPortPosition(const std::string& storedName) {
  if (!IsComName(storedName)) return -1;
  const int position = storedName[3] - '1';
  return InList(ScannerPortChoices(), position) ? position : -1;
}

std::string ScannerPortNameFor(const std::string& storedName, int position) {
  if (!InList(ScannerPortChoices(), position)) return storedName;
  if (!IsComName(storedName)) return ScannerPortChoices()[static_cast<size_t>(position)];
  std::string name = storedName;
  name[3] = static_cast<char>('1' + position);
  return name;
}

ScannerLine LineFor(const ScannerSettings& settings) {
  ScannerLine line;
  if (InList(ScannerBaudRates(), settings.baud))
    line.baudRate = ScannerBaudRates()[static_cast<size_t>(settings.baud)];
  if (InList(ScannerDataBits(), settings.byteLength))
    line.dataBits = ScannerDataBits()[static_cast<size_t>(settings.byteLength)];
  if (InRange(settings.parity, 3)) line.parity = static_cast<Parity>(settings.parity);
  if (InRange(settings.stopBits, 3)) line.stopBits = static_cast<StopBits>(settings.stopBits);
  line.rtsHandshake = settings.handshake == 1;
  return line;
}

}  // namespace taloven
