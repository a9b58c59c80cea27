#pragma once

#include <string>
#include <vector>

#include "base/profile_file.h"

namespace taloven {

// The scanner's line as kept in the profile: the port's name and, for the
// rest, positions in the settings dialog's lists.
struct ScannerSettings {
  std::string portName = "COM1:";
  int baud = 7;        // 1200 ... 115200
  int byteLength = 3;  // 5 ... 8 data bits
  int parity = 0;      // none, even, odd
  int stopBits = 0;    // 1, 1,5, 2
  int handshake = 0;   // none, RTS
};

// The capture and the settings dialog fill missing keys differently: the
// dialog shows no data-bits entry selected and the RTS handshake chosen.
enum class ScannerDefaults { Capture, Dialog };

ScannerSettings ReadScannerSettings(const ProfileFile& profile, ScannerDefaults defaults);
void StoreScannerSettings(ProfileFile& profile, const ScannerSettings& settings);

// The list entries, Windows-1252.
const std::vector<std::string>& ScannerPortChoices();  // "COM1:" ... "COM4:"
const std::vector<int>& ScannerBaudRates();
const std::vector<int>& ScannerDataBits();
std::vector<std::string> ScannerParityChoices();
std::vector<std::string> ScannerStopBitChoices();
std::vector<std::string> ScannerHandshakeChoices();

// The port list's entry for a stored "COMn" or "COMn:" name: its fourth
// character ('1' is entry 0); -1 when that names no entry of the list (a
// device path, "COM12:", or a COM port beyond the list).
int ScannerPortPosition(const std::string& storedName);
// The name stored when entry position is chosen: a "COMn" or "COMn:" name
// keeps all but its fourth character; any other stored name gives way to
// the entry's own.
std::string ScannerPortNameFor(const std::string& storedName, int position);

enum class Parity { None, Even, Odd };
enum class StopBits { One, OneAndHalf, Two };

// What the port is opened with. A position outside its list gives 1200
// bit/s, 8 data bits, no parity, one stop bit and no handshake.
struct ScannerLine {
  int baudRate = 1200;
  int dataBits = 8;
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::One;
  bool rtsHandshake = false;
};

ScannerLine LineFor(const ScannerSettings& settings);

}  // namespace taloven
