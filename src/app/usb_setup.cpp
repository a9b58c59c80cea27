#include "app/usb_setup.h"

#include <cerrno>
#include <filesystem>

#include "app/program_start.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kAfterInstallMs = 8000;
constexpr int kAfterTriggerMs = 10000;
const char* const kReloadAndTrigger =
    "udevadm control --reload-rules && "
    "udevadm trigger --action=add --subsystem-match=usb "
    "--attr-match=idVendor=2843 --attr-match=idProduct=0000";

void ShowStartFailure(Ui& ui, int error) {
  ui.Message(Str(StrId::kUsbDriverFailed) + StartFailureText(error), Str(StrId::kProductName),
             MessageButtons::Ok, MessageIcon::Error);
}

}  // namespace

UsbSetupSystem RealUsbSetupSystem() {
  return {DesktopSession(), StartProgram};
}

std::string StartFailureText(int error) {
  switch (error) {
    case ENOENT:
      return "The specified file was not found.";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return "The specified path was not found.";
    case ENOMEM:
    case EAGAIN:
      return "The system is out of memory or resources.";
    case ENOEXEC:
    case EACCES:
      return "The .EXE file is invalid.";
    default:
      return "";
  }
}

void InstallUsbAccess(const std::string& workingDirectory, Ui& ui, const UsbSetupSystem& system) {
  auto wait = ui.ShowWait(Str(StrId::kPleaseWait));
  // Without the rule the installer would start and fail unseen.
  std::error_code error;
  const std::filesystem::path rule =
      std::filesystem::absolute(std::filesystem::path(workingDirectory) / kUsbRuleSource, error);
  if (!std::filesystem::is_regular_file(rule, error)) {
    ShowStartFailure(ui, ENOENT);
    return;
  }
  const std::string elevate = system.desktop ? "pkexec" : "sudo";
  int result = system.start({elevate, "install", "-m", "0644", rule.string(), kUsbRuleTarget},
                            workingDirectory);
  if (result != 0) {
    ShowStartFailure(ui, result);
    return;
  }
  ui.Pause(kAfterInstallMs);
  result = system.start({elevate, "sh", "-c", kReloadAndTrigger}, workingDirectory);
  if (result != 0) {
    ShowStartFailure(ui, result);
    return;
  }
  ui.Pause(kAfterTriggerMs);
}

}  // namespace taloven
