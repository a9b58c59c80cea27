#include "app/model_detection.h"

#include <algorithm>
#include <memory>

#include "base/printer_models.h"
#include "catalogue/command_record.h"
#include "link/execute.h"
#include "link/port.h"
#include "link/serial_devices.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kBaudRate = 9600;
constexpr int kProbeTimeoutMs = 2000;
constexpr int kAnswerLength = 4;
constexpr int kFailedReadsInARow = 3;
constexpr int kShowResultMs = 1000;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNormalMode = 'U';
const char* const kUsb = "USB";
const char* const kFile = "FILE";
const char* const kFallbackPort = "COM1:";

// Reads single bytes until the answer is in or the third read in a row failed.
std::vector<uint8_t> ReadAnswer(Port& port) {
  std::vector<uint8_t> answer;
  int failures = 0;
  while (answer.size() < static_cast<size_t>(kAnswerLength) && failures < kFailedReadsInARow) {
    uint8_t byte = 0;
    if (port.Read(&byte, 1, kProbeTimeoutMs)) {
      answer.push_back(byte);
      failures = 0;
    } else {
      ++failures;
    }
  }
  return answer;
}

// Sends the probe on one port: the answer when the port is the printer's.
// The port is closed whatever happened, also after an open that failed half
// way, so that no line stays held.
std::vector<uint8_t> Probe(PortFactory& ports, const std::string& name) {
  std::unique_ptr<Port> port = ports.Create(name);
  const bool usb = name == kUsb;
  std::vector<uint8_t> answer;
  if (port->Open(kBaudRate)) {
    if (!usb) port->Purge();
    port->Write(kDetectionProbe.data(), static_cast<int>(kDetectionProbe.size()), kProbeTimeoutMs);
    answer = ReadAnswer(*port);
  }
  port->Close();
  const bool taken =
      answer.size() == static_cast<size_t>(kAnswerLength) && (usb || answer[0] == kAck);
  if (!taken) answer.clear();
  return answer;
}

std::string ConnectedText(const std::vector<uint8_t>& answer, const std::string& portName) {
  std::string text =
      Str(answer[1] == kNormalMode ? StrId::kConnectedNormal : StrId::kConnectedIntervention);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, portName);
  return text;
}

// The ports in the order they are tried, each once.
std::vector<std::string> ProbeOrder(const std::string& given,
                                    const std::vector<std::string>& adapters) {
  std::vector<std::string> order;
  auto add = [&order](const std::string& name) {
    if (std::find(order.begin(), order.end(), name) == order.end()) order.push_back(name);
  };
  if (!given.empty()) add(given);
  add(kUsb);
  for (char digit = '1'; digit <= '8'; ++digit) add(std::string("COM") + digit + ":");
  for (const std::string& adapter : adapters) add(adapter);
  return order;
}

void AskModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock) {
  auto wait = ui.ShowWait(Str(StrId::kDetectingModel));
  CommandRecord record = BrandModelAndTypeRecord();
  ExecutionContext context{settings, ui, ports, clock};
  settings.modelMask = kUnknownModelMask;
  if (Execute(record, context) != kExecuteOk) {
    settings.modelName.clear();
    return;
  }
  settings.modelName = record.returnFields[1].value;
  bool recognised = false;
  const ModelMask mask = MaskForDetectedModel(settings.modelName, &recognised);
  if (recognised) {
    settings.modelMask = mask;
    settings.extendedReturn = 1;
  }
}

}  // namespace

CommandRecord BrandModelAndTypeRecord() {
  CommandRecord record;
  record.SetTitle("Marca, Modelo e Tipo");
  record.SetEscapeText("35 60");
  record.SetReturnSize(42);
  for (const auto& [title, size] : {std::pair{"Marca", 15}, {"Modelo", 20}, {"Tipo", 7}}) {
    ReturnField field;
    field.title = title;
    field.type = "ASCII";
    field.size = size;
    record.AppendReturnField(field);
  }
  return record;
}

bool DetectModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock) {
  return DetectModel(settings, ui, ports, clock, SerialDevicesToProbe());
}

bool DetectModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock,
                 const std::vector<std::string>& adapters) {
  const std::string given = settings.portName;
  settings.portName.clear();
  auto connection = ui.ShowConnection(Str(StrId::kConnecting));

  // The file exchange cannot be probed byte by byte: a given "FILE" is taken
  // as it is and the model query alone tells whether a printer is there.
  bool foundOnUsb = false;
  bool found = given == kFile;
  if (found) settings.portName = given;
  for (const std::string& name : found ? std::vector<std::string>{} : ProbeOrder(given, adapters)) {
    std::vector<uint8_t> answer = Probe(ports, name);
    if (answer.empty()) continue;
    settings.portName = name;
    connection->SetText(ConnectedText(answer, name));
    found = true;
    foundOnUsb = name == kUsb;
    break;
  }

  if (!foundOnUsb) {
    if (!found) {
      connection->SetText(Str(StrId::kNotConnected));
      // A port the user named stays his choice: the printer may be switched
      // on later, and its commands must not go to another line.
      settings.portName = given.empty() ? kFallbackPort : given;
    }
    ui.Pause(kShowResultMs);
    connection->Hide();
    if (!found) {
      settings.modelName.clear();
      settings.modelMask = kUnknownModelMask;
      return false;
    }
  }
  AskModel(settings, ui, ports, clock);
  return true;
}

}  // namespace taloven
