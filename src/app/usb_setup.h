#pragma once

#include <functional>
#include <string>
#include <vector>

namespace taloven {

class Ui;

// How the set-up reaches the system: whether a desktop can ask for the
// password (pkexec) or the terminal must (sudo), and how a program starts
// (0, or the errno of the failed start).
struct UsbSetupSystem {
  bool desktop = true;
  std::function<int(const std::vector<std::string>& arguments, const std::string& directory)> start;
};

UsbSetupSystem RealUsbSetupSystem();

// Where the rule is taken from (in the working directory) and put.
constexpr const char* kUsbRuleSource = "usb/99-taloven-ecf.rules";
constexpr const char* kUsbRuleTarget = "/etc/udev/rules.d/99-taloven-ecf.rules";

// "Instalar Driver USB": installs the udev rule that gives the user access to
// the printer's USB device, then reloads the rules and triggers the device.
// Only the starts are checked; a failed start is shown with its reason.
void InstallUsbAccess(const std::string& workingDirectory, Ui& ui, const UsbSetupSystem& system);

// The text after string 33006 for a failed start's errno; empty for others.
std::string StartFailureText(int error);

}  // namespace taloven
